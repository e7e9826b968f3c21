#include <cstdio>
#include <optional>
#include <string>

#include "archive/ArchiveUndo.h"
#include "config/SharedIni.h"
#include "store/LastImport.h"
#include "tool/Commands.h"

namespace {
int showLastImport(ImportKind kind, const std::string& subject) {
    std::optional<ImportRecord> record = readLastImport(kind);
    if (!record) return failure(subject, "there is no import to undo");
    writeStdout(describeLastImport(*record));
    return 0;
}

int undo(ImportKind kind, const std::string& subject) {
    UndoResult result = kind == ImportKind::archive ? undoLastArchivImport() : undoLastImport(kind);
    if (result.outcome != UndoResult::done) return failure(subject, result.why);
    writeStdout("undone " + result.folder + "\r\n");
    return 0;
}
} // namespace

int runUndoCommand(ImportKind kind, const Args& args) {
    const std::string subject = std::string(importKindName(kind)) + " undo";
    const bool show = args.size() == 2 && args[1] == "--show";
    if (args.size() > 2 || (args.size() == 2 && !show)) return usageError(subject + " takes [--show]");
    if (!openSharedIni())
        std::fprintf(stderr, "nvtool: the shared configuration store could not be opened\n");
    const int code = show ? showLastImport(kind, subject) : undo(kind, subject);
    closeSharedIni();
    return code;
}
