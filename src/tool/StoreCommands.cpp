#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "config/SharedStore.h"
#include "config/SharedText.h"
#include "platform/Handles.h"
#include "tool/Commands.h"

namespace {
int get(const Args& args) {
    if (args.size() != 3) return usageError("store get takes SECTION KEY");
    SharedStore store; // opened as every program of the suite opens it, closed on every path
    if (!store.open()) return failure("store", "the shared configuration could not be opened");
    const char* const missing = "\x01";
    std::string value = store.getValue(args[1], args[2], missing);
    if (value == missing) return failure("[" + args[1] + "] " + args[2], "not set");
    writeStdout(value + "\n");
    return 0;
}

int set(const Args& args) {
    bool save = args.size() == 5 && args[4] == "--save";
    if (args.size() != 4 && !save) return usageError("store set takes SECTION KEY VALUE [--save]");
    SharedStore store;
    if (!store.open()) return failure("store", "the shared configuration could not be opened");
    if (!isReadableSectionName(args[1]) || !isReadableEntry(args[2], args[3]))
        return failure("[" + args[1] + "] " + args[2], "does not fit the configuration's limits");
    if (!store.setValue(args[1], args[2], args[3])) return failure("store", "the value was not published");
    if (save && !store.save()) return failure(getUserIniPath(), "the configuration was not saved");
    return 0;
}

int dump(const Args& args) {
    if (args.size() != 1) return usageError("store dump takes no arguments");
    ScopedHandle mapping(OpenFileMappingA(FILE_MAP_READ, FALSE, "inifilememfilemap"));
    if (!mapping) return failure("store", "no program of the suite holds the shared configuration");
    ScopedView view(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, kSharedBlockSize));
    if (!view) return failure("store", "the shared configuration cannot be read");
    ScopedHandle mutex(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, "NvIniFileMutex"));
    if (mutex) WaitForSingleObject(mutex.get(), INFINITE);
    const auto* block = static_cast<const unsigned char*>(view.get());
    std::string text = "generation " + std::to_string(readGeneration(block)) + "\n" + std::string(sharedText(block));
    if (mutex) ReleaseMutex(mutex.get());
    writeStdout(text);
    return 0;
}

int hold(const Args& args) {
    if (args.size() != 2) return usageError("store hold takes SECONDS");
    int seconds = std::atoi(args[1].c_str());
    SharedStore store;
    const bool opened = store.open();
    std::printf("store %s, holding it for %d s\n", opened ? "open" : "not opened", seconds);
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(seconds) * 1000);
    return opened ? 0 : 1;
}
} // namespace

int runStoreCommand(const Args& args) {
    if (args.empty()) return usageError("store needs get, set, dump or hold");
    if (args[0] == "get") return get(args);
    if (args[0] == "set") return set(args);
    if (args[0] == "dump") return dump(args);
    if (args[0] == "hold") return hold(args);
    return usageError("unknown store command '" + args[0] + "'");
}
