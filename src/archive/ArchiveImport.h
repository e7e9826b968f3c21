#pragma once
#include <string>

// Once true, pages whose names are taken are replaced without asking for the rest of an import.
extern bool replaceAll;

// Unpacks archiveFile into a fresh folder of the offline data folder and merges its exchange
// file into the archive folder section (a path below the archive root). 1 done, -1 refused or
// unpacking failed (then nothing stays on disk and the store is untouched).
int import_Archiv(const std::string& section, const std::string& archiveFile);

// Copies the archive (folder + name, folder ending with "\") into destination (ending with "\")
// and unpacks it there. The copy is removed afterwards.
bool extractArchiveFile(const std::string& name, const std::string& folder, const std::string& destination);

// Merges the children of exchangeSection ("" for the root) of the exchange file into
// targetSection, asking before a page whose name is taken is replaced. Always true.
bool mergeArchivSection(const std::string& exchangeFile, const std::string& targetSection,
                        const std::string& exchangeSection, bool replace);

// Lists the page name in parent (unless it is listed) and writes its DATE, URL and full HREF.
// A page whose HREF is not a plain file name is left out.
void mergeArchivPage(const std::string& parent, const std::string& exchangeSection, const std::string& name,
                     const std::string& exchangeFile);
