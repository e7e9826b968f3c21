#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <map>

#include "platform/Host.h"
#include "store/LeftOutEntries.h"
#include "tool/Commands.h"
#include "tool/ConsoleHost.h"

namespace {
const char* const kUsage =
    "usage: nvtool config decrypt IN OUT | config encrypt IN OUT | config show FILE\n"
    "       nvtool store get SECTION KEY | store set SECTION KEY VALUE [--save] | store dump\n"
    "       nvtool store hold SECONDS\n"
    "       nvtool favorites import-ie FOLDER | export-ie FOLDER | import-nc FOLDER USER\n"
    "                        | export-nc FOLDER USER | import-file FOLDER FILE | export-file FOLDER FILE\n"
    "                        [--yes | --no]\n"
    "       nvtool favorites list [FOLDER] | netscape-users | undo [--show]\n"
    "       nvtool bookmarks show FILE [--root NAME]\n"
    "       nvtool archive export FOLDER FILE | archive import FOLDER FILE [--yes|--no] [--all]\n"
    "       nvtool archive list FILE | archive extract FILE DIR | archive create DIR FILE\n"
    "       nvtool archive tree [FOLDER] | archive undo [--show]\n";
} // namespace

std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

int usageError(const std::string& text) {
    std::fprintf(stderr, "nvtool: %s\n%s", text.c_str(), kUsage);
    return 2;
}

int failure(const std::string& subject, const std::string& reason) {
    std::fprintf(stderr, "nvtool: %s: %s\n", subject.c_str(), oneLine(reason).c_str());
    return 1;
}

void reportLeftOut() {
    for (const LeftOutEntry& entry : takeLeftOut())
        std::fprintf(stderr, "nvtool: left out: %s: %s\n", entry.path.c_str(), entry.reason.c_str());
}

std::string fullPath(const std::string& path) {
    char full[MAX_PATH] = {};
    DWORD length = GetFullPathNameA(path.c_str(), sizeof(full), full, nullptr);
    return length > 0 && length < sizeof(full) ? std::string(full) : path;
}

void writeStdout(const std::string& bytes) {
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

int main(int argc, char** argv) {
    // Never a message box: the program's messages become lines on standard error.
    ConsoleHost console;
    HostScope consoleScope(console);

    if (argc < 2) return usageError("missing command");
    const std::map<std::string, int (*)(const Args&)> groups = {
        {"config", runConfigCommand},
        {"store", runStoreCommand},
        {"favorites", runFavoritesCommand},
        {"bookmarks", runBookmarksCommand},
        {"archive", runArchiveCommand},
    };
    auto group = groups.find(argv[1]);
    if (group == groups.end()) return usageError(std::string("unknown command '") + argv[1] + "'");
    return group->second(Args(argv + 2, argv + argc));
}
