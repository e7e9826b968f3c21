// Times the shared store's protocol under the real kernel objects: a refresh that finds the
// generation unchanged, publishing a 1 MiB document and joining (parsing the mapping's text).
#include <windows.h>

#include <cstdio>
#include <string>

#include "config/IniFile.h"
#include "config/SharedIni.h"
#include "HelperHost.h"

namespace {
double now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}
} // namespace

int main() {
    HelperHost helperHost([](const std::string& text) { std::printf("message: %s\n", text.c_str()); });
    if (!openSharedIni()) std::printf("note: store opened without configuration files\n");
    CIniFile& ini = theIniFile();
    ini.holdCount = 0;

    beginUpdate();
    for (int s = 0; ini.document().serializedSize(true) < (1u << 20) - 300; ++s)
        setIniValue("NVFavTreeRoot\\Favoriten\\Ordner " + std::to_string(s), "URL",
                    "http://www.example.com/" + std::to_string(s) + "/index.html");
    endUpdate();
    std::printf("document: %zu bytes\n", ini.document().serializedSize(true));

    const int publications = 20;
    double start = now();
    for (int i = 0; i < publications; ++i) ini.publish();
    std::printf("publish 1 MiB: %.2f ms\n", (now() - start) * 1000 / publications);

    const int refreshes = 20000;
    start = now();
    for (int i = 0; i < refreshes; ++i) ini.refresh();
    std::printf("refresh, generation unchanged: %.2f us\n", (now() - start) * 1e6 / refreshes);

    const int joins = 20;
    start = now();
    for (int i = 0; i < joins; ++i) {
        ini.generationSeen = -1; // as a joining process sees the block
        ini.refresh();
    }
    std::printf("join (parse the 1 MiB mapping text): %.2f ms\n", (now() - start) * 1000 / joins);
    closeSharedIni();
    return 0;
}
