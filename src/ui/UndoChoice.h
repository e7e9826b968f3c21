#pragma once
#include <string>

#include "store/LastImport.h"

// The wizards' third choice on page 1: undo the last import of their kind.

// The line that names the last import ("UndoLine" of the page's skin section, its "%s" filled
// with the folder, the date and the number of entries); "" when there is nothing to undo.
std::string undoLine(ImportKind kind, const std::string& pageSection);

// Finish with the choice: asks "MessageBox<prefix>UndoConfirm", undoes and shows
// "MessageBox<prefix>UndoSuccess", "MessageBox<prefix>UndoRefused" or "MessageBox<prefix>UndoError"
// (prefix "Fav" or "Archiv"), each with the folder as insert. True when the import was undone.
bool finishUndo(ImportKind kind, const std::string& prefix);
