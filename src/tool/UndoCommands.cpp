#include <cstdio>
#include <optional>
#include <string>

#include "archive/ArchiveUndo.h"
#include "config/SharedStore.h"
#include "store/LastImport.h"
#include "tool/Commands.h"

namespace {
int showLastImport(SharedStore& store, ImportKind kind, const std::string& subject) {
    std::optional<ImportRecord> record = readLastImport(kind);
    if (!record) return failure(subject, "there is no import to undo");
    writeStdout(describeLastImport(store, *record));
    return 0;
}

int undo(SharedStore& store, ImportKind kind, const std::string& subject) {
    UndoResult result =
        kind == ImportKind::archive ? undoLastArchivImport(store) : undoLastImport(store, kind);
    if (result.outcome != UndoResult::done) return failure(subject, result.why);
    writeStdout("undone " + result.folder + "\r\n");
    return 0;
}
} // namespace

int runUndoCommand(ImportKind kind, const Args& args) {
    const std::string subject = std::string(importKindName(kind)) + " undo";
    const bool show = args.size() == 2 && args[1] == "--show";
    if (args.size() > 2 || (args.size() == 2 && !show)) return usageError(subject + " takes [--show]");
    SharedStore store;
    if (!store.open()) std::fprintf(stderr, "nvtool: the shared configuration store could not be opened\n");
    return show ? showLastImport(store, kind, subject) : undo(store, kind, subject);
}
