#pragma once
#include <string>

// Writes the archive folder section (a path below the archive root) with its sub-folders, pages
// and companion folders into the archive file destination. 1 written, 0 not enough free space on
// the destination's drive, -1 the destination's folder is not there, packing or copying failed.
int export_Archiv2(const std::string& section, const std::string& destination);

// Walks a store section: writes its folder and page children into the exchange file below
// exchangeSection (dense item numbers) and copies the pages into the staging folder.
void writeArchivSection(const std::string& storeSection, const std::string& stagingFolder,
                        const std::string& exchangeFile, const std::string& exchangeSection);
