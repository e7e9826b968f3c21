#include "ui/UndoChoice.h"

#include <windows.h>

#include <initializer_list>

#include "archive/ArchiveUndo.h"
#include "config/ProcessStore.h"
#include "platform/Host.h"

namespace {
// Replaces the "%s" of pattern one after the other by the inserts.
std::string fillIn(std::string pattern, std::initializer_list<std::string> inserts) {
    size_t at = 0;
    for (const std::string& insert : inserts) {
        at = pattern.find("%s", at);
        if (at == std::string::npos) break;
        pattern.replace(at, 2, insert);
        at += insert.size();
    }
    return pattern;
}
} // namespace

std::string undoLine(ImportKind kind, const std::string& pageSection) {
    std::optional<ImportRecord> record = readLastImport(kind);
    if (!record) return {};
    const size_t entries = record->counts.added + record->counts.changed;
    return fillIn(getLayoutSectionValue(pageSection, "UndoLine"),
                  {record->folder, record->date, std::to_string(entries)});
}

bool finishUndo(ImportKind kind, const std::string& prefix) {
    std::optional<ImportRecord> record = readLastImport(kind);
    const std::string folder = record ? record->folder : std::string();
    const int answer = host().ask("MessageBox" + prefix + "UndoConfirm", folder).button;
    if (answer != IDYES && answer != IDOK) return false;
    SharedStore& store = *processStore();
    const UndoResult result =
        kind == ImportKind::archive ? undoLastArchivImport(store) : undoLastImport(store, kind);
    switch (result.outcome) {
    case UndoResult::done:
        host().ask("MessageBox" + prefix + "UndoSuccess", result.folder);
        return true;
    case UndoResult::refused:
        host().ask("MessageBox" + prefix + "UndoRefused", result.folder);
        return false;
    default:
        host().ask("MessageBox" + prefix + "UndoError", result.folder);
        return false;
    }
}
