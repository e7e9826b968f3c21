// Fuzzes the bookmark reader: the parse of any content, in both line modes, and the import of
// the resulting tree into a document.
#include <cstddef>
#include <cstdint>
#include <string>

#include "favorites/BookmarkImport.h"
#include "favorites/BookmarkParser.h"
#include "store/StoreTree.h"

#include "Narrow.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string content(reinterpret_cast<const char*>(data), size);
    CBookmarkParser parser("fuzz.htm", narrow);
    if (size % 2) parser.setRootName("Favoriten");
    parser.loadBuffer(content);
    parser.parse();
    if (!parser.bookmarkRoot) __builtin_trap();
    std::string text = formatTree(*parser.bookmarkRoot);
    (void)isNetscapeBookmarkFormat(content);
    if (size < 4096) { // the store part is quadratic in the depth of the tree
        IniDocument document;
        DocumentNodeStore store(document);
        importBookmarkTree(store, "NVFavTreeRoot", parser.bookmarkRoot.get(), "06.12.2004");
    }
    return 0;
}
