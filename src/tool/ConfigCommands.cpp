#include <optional>

#include "config/Blowfish.h"
#include "config/ConfigFile.h"
#include "config/IniDocument.h"
#include "platform/FileSystem.h"
#include "tool/Commands.h"

namespace {
int transformFile(const Args& args, bool encipher) {
    if (args.size() != 3) return usageError("config " + args[0] + " takes IN and OUT");
    std::optional<std::string> content = readWholeFile(args[1]);
    if (!content) return failure(args[1], "cannot be read");
    if (encipher)
        encipherContent(*content);
    else
        decipherContent(*content);
    if (!writeWholeFile(args[2], content->data(), content->size(), false, false))
        return failure(args[2], "cannot be written");
    return 0;
}

int showFile(const Args& args) {
    if (args.size() != 2) return usageError("config show takes FILE");
    std::optional<std::string> content = readFile(args[1]);
    if (!content) return 1; // readFile has named the file and the reason
    IniDocument document;
    document.parse(*content, nullptr);
    std::string text;
    document.serialize(text, true);
    writeStdout(text);
    return 0;
}
} // namespace

int runConfigCommand(const Args& args) {
    if (args.empty()) return usageError("config needs decrypt, encrypt or show");
    if (args[0] == "encrypt") return transformFile(args, true);
    if (args[0] == "decrypt") return transformFile(args, false);
    if (args[0] == "show") return showFile(args);
    return usageError("unknown config command '" + args[0] + "'");
}
