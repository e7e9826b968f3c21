// Imports one archive file into the page archive folder "Speichertest" of an in-memory store and
// prints the result with the process's peak memory figures, for measuring by hand:
//   archive_memory_probe FILE
#include <windows.h>

#include <psapi.h>

#include <cstdio>

#include "HelperHost.h"
#include "archive/ArchiveImport.h"
#include "config/SharedStore.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: archive_memory_probe FILE\n");
        return 2;
    }
    HelperHost helperHost([](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); });
    char full[MAX_PATH] = {};
    GetFullPathNameA(argv[1], sizeof(full), full, nullptr);
    DWORD start = GetTickCount();
    SharedStore store; // never opened: the import stays in memory
    int result = import_Archiv(store, "Speichertest", full);
    DWORD elapsed = GetTickCount() - start;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof(counters));
    std::printf("result %d in %lu ms\nPeakPagefileUsage %.1f MiB\nPrivateUsage %.1f MiB\nPeakWorkingSetSize "
                "%.1f MiB\n",
                result, elapsed, counters.PeakPagefileUsage / 1048576.0, counters.PrivateUsage / 1048576.0,
                counters.PeakWorkingSetSize / 1048576.0);
    return result == 1 ? 0 : 1;
}
