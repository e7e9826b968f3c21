#include "favorites/BookmarkImport.h"

#include <vector>

#include "store/LeftOutEntries.h"
#include "store/NodeSchema.h"
#include "store/StoreTree.h"

void sanitizeName(std::string& name) {
    for (char special : {'\\', '/', ':', '*', '?', '"', '>', '<', '|', '\''})
        for (char& c : name)
            if (c == special) c = ' ';
    // White space bytes are below every trail byte of a multi-byte code page, so trimming byte by
    // byte never splits a character.
    const char* const whiteSpace = " \t\n\v\f\r";
    size_t first = name.find_first_not_of(whiteSpace);
    if (first == std::string::npos) {
        name.clear();
        return;
    }
    name.erase(0, first);
    name.erase(name.find_last_not_of(whiteSpace) + 1);
    // After the trimming, so that "News]" stays apart from a "News" beside it.
    replaceUnstorableCharacters(name);
}

void importBookmarkTree(NodeStore& store, const std::string& section, BookmarkNode* node,
                        const std::string& date) {
    ChildAppender appender(store);
    // Depth first in file order, without recursion: one entry per open folder.
    struct Pending {
        std::string section;
        BookmarkNode* next;
    };
    std::vector<Pending> pending;
    pending.push_back({section, node});
    while (!pending.empty()) {
        BookmarkNode* current = pending.back().next;
        if (!current) {
            pending.pop_back();
            continue;
        }
        pending.back().next = current->nextSibling.get();
        std::string parent = pending.back().section;
        sanitizeName(current->name);
        // Checked before anything is written or built below it: a folder that does not fit is
        // not entered, so no path ever grows past what the store can hold.
        NodeValues values;
        if (current->kind != kFolderNode) values.emplace_back(kUrlKey, current->url);
        if (std::string refusal = storeRefusal(parent, current->name, values); !refusal.empty()) {
            noteLeftOut(pathBelowRoot(childSection(parent, current->name)), refusal);
            continue;
        }
        if (current->kind == kFolderNode) {
            std::string child = appender.addChild(parent, current->name, true);
            store.setNodeValue(child, kTypeKey, kFolderType);
            pending.push_back({std::move(child), current->firstChild.get()});
        } else {
            std::string child = appender.addChild(parent, current->name, false);
            store.setNodeValue(child, kTypeKey, kFileType);
            store.setNodeValue(child, kUrlKey, current->url);
            store.setNodeValue(child, kCreatedDateKey, current->date.empty() ? date : current->date);
        }
    }
}
