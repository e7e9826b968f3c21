// Times the shared store's protocol under the real kernel objects: a refresh that finds the
// generation unchanged, publishing a 1 MiB document and joining (parsing the mapping's text).
#include <windows.h>

#include <cstdio>
#include <string>

#include "HelperHost.h"
#include "config/SharedStore.h"

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
    SharedStore store;
    if (!store.open()) std::printf("note: store opened without configuration files\n");
    // A store whose files could not be read stays held; the bench publishes all the same.
    while (store.batchDepth() > 0)
        store.endUpdate();

    store.beginUpdate();
    for (int s = 0; store.document().serializedSize(true) < (1u << 20) - 300; ++s)
        store.setValue("NVFavTreeRoot\\Favoriten\\Ordner " + std::to_string(s), "URL",
                       "http://www.example.com/" + std::to_string(s) + "/index.html");
    store.endUpdate();
    std::printf("document: %zu bytes\n", store.document().serializedSize(true));

    const int publications = 20;
    double start = now();
    for (int i = 0; i < publications; ++i)
        store.publish();
    std::printf("publish 1 MiB: %.2f ms\n", (now() - start) * 1000 / publications);

    const int refreshes = 20000;
    start = now();
    for (int i = 0; i < refreshes; ++i)
        store.refresh();
    std::printf("refresh, generation unchanged: %.2f us\n", (now() - start) * 1e6 / refreshes);

    const int joins = 20;
    start = now();
    for (int i = 0; i < joins; ++i) {
        SharedStore joining; // as another program of the suite joins the block
        joining.open();
    }
    std::printf("join (open the store: parse the 1 MiB mapping text): %.2f ms\n",
                (now() - start) * 1000 / joins);
    return 0;
}
