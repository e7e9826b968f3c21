// Start-up benchmark: how long after its process starts the wizard frame is visible, against a
// bare window with the same four buttons (bare_window.exe), started and timed the same way in
// the same run, alternating, so that both see the same machine and the same Wine.
//
// usage: startup_bench PROGRAM ARGUMENT BARE_WINDOW [RUNS [BARE_ARGUMENT]]
// (BARE_WINDOW may be another build of the program, with its switch as BARE_ARGUMENT.)
// Per run and program, from CreateProcess on: "visible" until the process has a visible
// top-level window; "painted" until, besides, nothing of that window or of its visible children
// waits to be painted (the window shows what it draws; watched from outside, without a message
// to the process); "ready" until its thread also answers a message (it runs its message loop and
// takes input). Prints every run, the medians and their ratios, the fastest runs (the least
// disturbed on a busy machine) and theirs, and the median of each run's own ratio: a frame and
// its bare window start one right after the other, so their ratio holds when the machine's speed
// drifts from run to run.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
double now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Search {
    DWORD process;
    HWND found;
};

HWND visibleWindowOf(DWORD process) {
    Search search{process, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) {
            auto* wanted = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != wanted->process || !IsWindowVisible(window)) return TRUE;
            wanted->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct Timing {
    double visible = -1;
    double painted = -1;
    double ready = -1;
};

bool waitsForPaint(HWND window) {
    if (GetUpdateRect(window, nullptr, FALSE)) return true;
    bool waiting = false;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) {
            if (!IsWindowVisible(child) || !GetUpdateRect(child, nullptr, FALSE)) return TRUE;
            *reinterpret_cast<bool*>(data) = true;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&waiting));
    return waiting;
}

std::string folderOf(const std::string& path) {
    const size_t last = path.find_last_of("\\/");
    return last == std::string::npos ? std::string(".") : path.substr(0, last);
}

Timing timeStart(const std::string& program, const std::string& argument) {
    Timing timing;
    std::string commandLine = "\"" + program + "\"" + (argument.empty() ? "" : " " + argument);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const double start = now();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folderOf(program).c_str(), &startup, &process))
        return timing;
    HWND window = nullptr;
    while (!window && now() - start < 20000 && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
        window = visibleWindowOf(process.dwProcessId);
        if (!window) Sleep(1);
    }
    if (window) {
        timing.visible = now() - start;
        while (waitsForPaint(window) && now() - start < 20000)
            Sleep(1);
        timing.painted = now() - start;
        DWORD_PTR result = 0;
        if (SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result))
            timing.ready = now() - start;
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return timing;
}

double median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: startup_bench PROGRAM ARGUMENT BARE_WINDOW [RUNS [BARE_ARGUMENT]]\n");
        return 2;
    }
    const std::string program = argv[1], argument = argv[2], bare = argv[3];
    const int runs = argc > 4 ? std::max(1, std::atoi(argv[4])) : 9;
    const std::string bareArgument = argc > 5 ? argv[5] : "";
    timeStart(bare, bareArgument); // warm the caches of both before timing
    timeStart(program, argument);

    std::vector<Timing> frames, bares;
    for (int run = 0; run < runs; ++run) {
        // Alternate which one goes first, so that neither always follows the other.
        Timing frame, yardstick;
        if (run % 2 == 0) {
            frame = timeStart(program, argument);
            yardstick = timeStart(bare, bareArgument);
        } else {
            yardstick = timeStart(bare, bareArgument);
            frame = timeStart(program, argument);
        }
        if (frame.ready < 0 || yardstick.ready < 0) {
            std::fprintf(stderr, "run %d: a window did not appear or did not answer\n", run + 1);
            return 1;
        }
        std::printf("run %2d  frame: visible %6.1f, painted %6.1f, ready %6.1f ms   "
                    "bare window: visible %6.1f, painted %6.1f, ready %6.1f ms\n",
                    run + 1, frame.visible, frame.painted, frame.ready, yardstick.visible, yardstick.painted,
                    yardstick.ready);
        frames.push_back(frame);
        bares.push_back(yardstick);
    }
    const struct {
        const char* name;
        double Timing::*field;
    } measures[] = {{"visible", &Timing::visible}, {"painted", &Timing::painted}, {"ready", &Timing::ready}};
    for (const auto& measure : measures) {
        std::vector<double> frameTimes, bareTimes, pairRatios;
        for (int run = 0; run < runs; ++run) {
            frameTimes.push_back(frames[run].*measure.field);
            bareTimes.push_back(bares[run].*measure.field);
            pairRatios.push_back(frameTimes.back() / bareTimes.back());
        }
        const double frame = median(frameTimes), yardstick = median(bareTimes);
        const double frameBest = *std::min_element(frameTimes.begin(), frameTimes.end());
        const double bareBest = *std::min_element(bareTimes.begin(), bareTimes.end());
        std::printf("%-7s median of %d: frame %6.1f ms, bare window %6.1f ms, ratio %.2f   "
                    "(fastest: %6.1f / %6.1f ms, ratio %.2f; median of the runs' own ratios %.2f)\n",
                    measure.name, runs, frame, yardstick, frame / yardstick, frameBest, bareBest,
                    frameBest / bareBest, median(pairRatios));
    }
    std::fflush(stdout);
    return 0;
}
