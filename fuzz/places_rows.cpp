// Fuzzes the tree built from places rows: any set of rows (ids, parents, types, positions, titles,
// guids of the roots, URLs), as a damaged database may hold them, and the import of the tree.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "favorites/BookmarkImport.h"
#include "favorites/FirefoxPlaces.h"
#include "store/StoreTree.h"

#include "Narrow.h"

namespace {
const char* const kGuids[] = {"root________", "menu________", "toolbar_____", "tags________",
                              "unfiled_____", "mobile______", "other"};
const char* const kUrls[] = {"https://a.example/", "place:sort=8", "about:blank", "javascript:x", ""};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    std::vector<PlacesRow> rows;
    while (input.remaining_bytes() > 0 && rows.size() < 4096) {
        PlacesRow row;
        row.id = input.ConsumeIntegralInRange<int64_t>(0, 64);
        row.parent = input.ConsumeIntegralInRange<int64_t>(0, 64);
        row.type = input.ConsumeIntegralInRange<int>(0, 4);
        row.position = input.ConsumeIntegral<int8_t>();
        row.guid = kGuids[input.ConsumeIntegralInRange<size_t>(0, 6)];
        row.url = input.ConsumeBool() ? kUrls[input.ConsumeIntegralInRange<size_t>(0, 4)]
                                      : input.ConsumeRandomLengthString(32);
        row.title = input.ConsumeRandomLengthString(16);
        row.pageTitle = input.ConsumeRandomLengthString(16);
        row.dateAdded = input.ConsumeIntegral<int64_t>();
        rows.push_back(std::move(row));
    }
    BrowserNodeMaker nodes(narrow, [](uint64_t microseconds) { return std::to_string(microseconds); });
    PlacesTree tree = buildPlacesTree(rows, nodes);
    for (BookmarkNode* root = tree.roots.get(); root; root = root->nextSibling.get())
        if (root->kind != kFolderNode || !root->firstChild) __builtin_trap();
    if (tree.links > rows.size()) __builtin_trap();
    IniDocument document;
    DocumentNodeStore store(document);
    importBookmarkTree(store, "NVFavTreeRoot\\Favoriten", tree.roots.get(), "08.12.2026");
    return 0;
}
