#pragma once
#include <string>

#include "archive/LeftOutEntry.h"

// Writes the archive folder section (a path below the archive root) with its sub-folders, pages
// and companion folders into the archive file destination, which is replaced in one step. 1
// written, 0 not enough free space on the destination's drive, -1 packing or copying failed
// (the destination is then unchanged). Pages whose file could not be read are named in leftOut:
// their entries travel without their files.
int export_Archiv2(const std::string& section, const std::string& destination, LeftOutEntries* leftOut = nullptr);
