// A program of the suite as the store tests need it: it opens the shared store like every
// program does and performs one scripted action, reporting on standard output.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "config/SharedStore.h"
#include "config/SharedMapping.h"
#include "config/SharedText.h"
#include "HelperHost.h"

namespace {
void say(const std::string& text) {
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
}

size_t textHash(std::string_view text) { return std::hash<std::string_view>{}(text); }

// Reads the mapping under the mutex: the text must parse completely and the generation must
// never go down.
bool checkMapping(const SharedStore& store, uint32_t& lastGeneration, size_t minimumSections,
                  std::string& why) {
    std::string text;
    uint32_t generation;
    {
        SharedLock lock(store.mutex());
        generation = readGeneration(store.view());
        text = sharedText(store.view());
    }
    if (generation < lastGeneration) {
        why = "generation went down from " + std::to_string(lastGeneration) + " to " + std::to_string(generation);
        return false;
    }
    lastGeneration = generation;
    IniDocument document;
    document.parse(text, nullptr);
    std::string again;
    document.serialize(again, true);
    if (again != text || document.sectionCount() < minimumSections) {
        why = "text does not parse: " + text.substr(0, 200);
        return false;
    }
    return true;
}

int stress(SharedStore& store, const std::string& id, int rounds) {
    if (!store.open()) return say("fail open"), 1;
    size_t sections = store.document().sectionCount();
    uint32_t lastGeneration = 0;
    std::string why;
    for (int i = 0; i < rounds; ++i) {
        std::string value = std::to_string(i);
        store.setValue("Stress", "p" + id, value);
        // Another process's later publication may not hold this value: the last one wins.
        store.getValue("Stress", "p" + id, "");
        if (!checkMapping(store, lastGeneration, sections, why)) return say("fail " + why), 1;
    }
    say("ok lastgen=" + std::to_string(store.generationSeen()));
    HANDLE final = OpenEventA(SYNCHRONIZE, FALSE, "NvStoreStressFinal");
    if (final) WaitForSingleObject(final, 60000);
    store.getValue("Stress", "x", ""); // refresh
    std::string text;
    store.document().serialize(text, true);
    say("final=" + std::to_string(textHash(text)));
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    HelperHost helperHost([](const std::string& text) { say("message: " + text); });
    std::string mode = argc > 1 ? argv[1] : "";
    SharedStore store;
    if (mode == "hold") {
        say("open " + std::to_string(store.open() ? 1 : 0));
        Sleep(INFINITE);
    }
    if (mode == "get" && argc == 4) {
        say("open " + std::to_string(store.open() ? 1 : 0));
        say("value=" + store.getValue(argv[2], argv[3], "<none>"));
        return 0;
    }
    if (mode == "set" && argc >= 5) {
        say("open " + std::to_string(store.open() ? 1 : 0));
        bool published = store.setValue(argv[2], argv[3], argv[4]);
        say("published " + std::to_string(published ? 1 : 0));
        if (argc == 6 && std::string(argv[5]) == "--save")
            say("saved " + std::to_string(store.save() ? 1 : 0));
        return 0;
    }
    if (mode == "getlater" && argc == 4) {
        // Holds the store: reads, waits for the event "NvStoreGo", then reads again.
        say("open " + std::to_string(store.open() ? 1 : 0));
        say("value=" + store.getValue(argv[2], argv[3], "<none>"));
        HANDLE go = OpenEventA(SYNCHRONIZE, FALSE, "NvStoreGo");
        if (go) WaitForSingleObject(go, 60000);
        say("later=" + store.getValue(argv[2], argv[3], "<none>"));
        return 0;
    }
    if (mode == "setlater" && argc == 5) {
        say("open " + std::to_string(store.open() ? 1 : 0));
        HANDLE go = OpenEventA(SYNCHRONIZE, FALSE, "NvStoreGo");
        if (go) WaitForSingleObject(go, 60000);
        store.setValue(argv[2], argv[3], argv[4]);
        say("saved " + std::to_string(store.save() ? 1 : 0));
        say("saved again " + std::to_string(store.save() ? 1 : 0));
        return 0;
    }
    if (mode == "sections") {
        say("open " + std::to_string(store.open() ? 1 : 0));
        say("sections=" + store.getValue("", "", ""));
        return 0;
    }
    if (mode == "lockmutex") {
        HANDLE mutex = CreateMutexA(nullptr, FALSE, "NvIniFileMutex");
        WaitForSingleObject(mutex, INFINITE);
        say("locked");
        Sleep(INFINITE);
    }
    if (mode == "stress" && argc == 4) return stress(store, argv[2], std::atoi(argv[3]));
    say("usage: store_child hold | get S K | getlater S K | set S K V [--save] | sections | lockmutex | "
        "stress ID N");
    return 2;
}
