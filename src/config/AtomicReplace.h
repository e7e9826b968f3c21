#pragma once
#include <functional>
#include <string>

// Replaces the file at path without ever leaving it half written: fill writes the new file under
// a temporary name in the same folder, which then takes path's place in one step (MoveFileExA).
// False when the folder takes no new file, fill fails or the move fails; path is then unchanged
// and the temporary file is gone. No message.
bool replaceFileAtomically(const std::string& path, const std::function<bool(const std::string& temporary)>& fill);
