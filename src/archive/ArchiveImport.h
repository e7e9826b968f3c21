#pragma once
#include <string>

class SharedStore;

// Unpacks archiveFile into a fresh folder of the offline data folder and merges its exchange
// file into the archive folder section (a path below the archive root). 1 done; -1 refused,
// unpacking failed, the archive holds files but no exchange file (then nothing stays on disk and
// the store is untouched), or the store could not be saved. Entries that the store cannot hold
// are left out and noted (noteLeftOut); "\" and "]" in names become blanks.
//
// A page whose name is taken by a page is replaced only when the user agrees; an answer given
// with the box "for all" ticked holds for every later page of the import (Yes or OK replaces
// them all, No or Cancel keeps them all). A folder or page whose name is taken by an entry of the
// other kind comes in under a free name ("Rom (2)"), so that both stay visible.
int import_Archiv(SharedStore& store, const std::string& section, const std::string& archiveFile);

// Copies the archive (folder + name, folder ending with "\") into destination (ending with "\")
// and unpacks it there. The copy is removed afterwards.
bool extractArchiveFile(const std::string& name, const std::string& folder, const std::string& destination);
