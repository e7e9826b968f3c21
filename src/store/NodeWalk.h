#pragma once
#include <cstddef>
#include <functional>
#include <string>

#include "store/NodeSchema.h"
#include "store/NodeStore.h"

// One child met by a walk.
struct NodeVisit {
    const std::string& section; // the child's own section: its parent's section, "\", its name
    const std::string& name;    // as listed by the parent
    NodeKind kind;
    size_t depth; // 0 for the children of the section the walk starts at
};

enum class WalkStep { skip, descend };

// Called for each child in list order; descend lists the child's children next, before its
// later siblings (depth first), whatever its kind.
using VisitNode = std::function<WalkStep(const NodeVisit&)>;
// Called for a child the walk descended into, after its last child.
using LeaveNode = std::function<void(const NodeVisit&)>;

// Walks the children of section as their parents list them (item_0 upwards, up to the first
// empty value), reading each list one key at a time as the walk reaches it. The start section
// itself is neither visited nor checked. Needs no stack of its own however deep the tree is.
void forEachNode(NodeStore& store, const std::string& section, const VisitNode& visit,
                 const LeaveNode& leave = {});
