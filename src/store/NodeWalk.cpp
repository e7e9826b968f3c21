#include "store/NodeWalk.h"

#include <vector>

#include "store/StoreTree.h"

namespace {
// A folder whose children are being walked, with the visit that opened it.
struct OpenFolder {
    std::string section;
    std::string name;
    NodeKind kind;
    size_t next = 0;
};
} // namespace

void forEachNode(NodeStore& store, const std::string& section, const VisitNode& visit,
                 const LeaveNode& leave) {
    std::vector<OpenFolder> open;
    open.push_back({section, {}, NodeKind::none});
    while (!open.empty()) {
        OpenFolder& folder = open.back();
        std::string name = store.getNodeValue(folder.section, itemKey(folder.next));
        if (name.empty()) {
            OpenFolder done = std::move(folder);
            open.pop_back();
            if (!open.empty() && leave) leave({done.section, done.name, done.kind, open.size() - 1});
            continue;
        }
        ++folder.next;
        std::string child = childSection(folder.section, name);
        const NodeKind kind = readNodeKind(store, child);
        const size_t depth = open.size() - 1;
        if (visit({child, name, kind, depth}) == WalkStep::descend)
            open.push_back({std::move(child), std::move(name), kind});
    }
}
