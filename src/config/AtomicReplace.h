#pragma once
#include <functional>
#include <string>

// Replacing a file without ever leaving it half written: fill writes the new file under a
// temporary name in the same folder, which then takes the file's place in one step (MoveFileExA).
enum class Replacement {
    done,
    noTemporary, // the folder takes no new file (write rights on the file alone); nothing changed
    failed,      // fill or the move failed; the old file is unchanged, the temporary file gone
};
Replacement replaceThroughTemporary(const std::string& path,
                                    const std::function<bool(const std::string& temporary)>& fill);
// replaceThroughTemporary; where the folder takes no new file (a folder that is not ours, with
// write rights on the file alone), fill writes over the file itself, as it always did there.
bool replaceFile(const std::string& path, const std::function<bool(const std::string& target)>& fill);
