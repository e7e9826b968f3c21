#pragma once
#include <string>

class NodeStore;

// Writes the archive folder section (a path below the archive root) with its sub-folders, pages
// and companion folders into the archive file destination, which is replaced in one step. 1
// written, 0 not enough free space on the destination's drive, -1 the destination's folder is
// not there, packing or copying failed (the destination is then unchanged). Each page whose file
// could not be read is noted as left out (noteLeftOut); its entry travels without its file.
int export_Archiv2(NodeStore& store, const std::string& section, const std::string& destination);
