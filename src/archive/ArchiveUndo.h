#pragma once
#include "store/LastImport.h"

// Undoes the last archive import (undoLastImport) and removes the folder it unpacked its pages
// into, which nothing in the store points to any more.
UndoResult undoLastArchivImport(SharedStore& store);
