// Fuzzes the reader of Chromium-based browsers' Bookmarks files: any text, added twice as a
// profile's and its account's file, and the import of the resulting tree into a document.
#include <cstddef>
#include <cstdint>
#include <string>

#include "favorites/BookmarkImport.h"
#include "favorites/ChromiumBookmarks.h"
#include "favorites/ChromiumLocalState.h"
#include "store/StoreTree.h"

#include "Narrow.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    ChromiumBookmarkReader reader({"Leiste", "Weitere", "Mobil"}, narrow,
                                  [](uint64_t microseconds) { return std::to_string(microseconds); });
    bool added = reader.add(text);
    if (reader.add(text) != added) __builtin_trap();
    std::unique_ptr<BookmarkNode> tree = reader.takeTree();
    if (tree && !added) __builtin_trap();
    IniDocument document;
    DocumentNodeStore store(document);
    importBookmarkTree(store, "NVFavTreeRoot\\Favoriten", tree.get(), "08.12.2026");
    (void)parseLocalStateProfiles(text);
    return 0;
}
