#include "store/NodeSchema.h"

NodeKind nodeKindOf(const std::string& typeValue) {
    if (typeValue.empty()) return NodeKind::none;
    if (typeValue == kFolderType) return NodeKind::folder;
    if (typeValue == kFileType) return NodeKind::file;
    return NodeKind::other;
}

NodeKind readNodeKind(NodeStore& store, const std::string& section) {
    return nodeKindOf(store.getNodeValue(section, kTypeKey));
}
