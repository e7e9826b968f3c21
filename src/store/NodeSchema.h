#pragma once
#include <string>

#include "store/NodeStore.h"

// The keys and values of a tree node section, shared by the store, the archive's exchange file
// and everything that reads or writes them. Children are listed under itemKey(0), itemKey(1) ...
// (StoreTree.h).

inline constexpr const char kTypeKey[] = "type";
inline constexpr const char kFolderType[] = "folder";
inline constexpr const char kFileType[] = "file";

inline constexpr const char kUrlKey[] = "URL";                  // the link or page address
inline constexpr const char kCreatedDateKey[] = "CREATED_DATE"; // favorites: the day of the import
inline constexpr const char kHrefKey[] = "HREF";                // archive: the saved page file
inline constexpr const char kDateKey[] = "DATE";                // archive: the page's own date text

// What a node is by its "type": none when the key is missing or empty, other for any value but
// "folder" and "file". Walks and exports pass over none and other alike.
enum class NodeKind { none, folder, file, other };

NodeKind nodeKindOf(const std::string& typeValue);
NodeKind readNodeKind(NodeStore& store, const std::string& section);
