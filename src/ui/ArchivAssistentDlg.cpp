#include "ui/ArchivAssistentDlg.h"

#include "archive/ArchiveExport.h"
#include "archive/ArchiveImport.h"
#include "config/ProcessStore.h"
#include "platform/FileSystem.h"
#include "platform/Host.h"
#include "store/LeftOutEntries.h"
#include "store/OperationResult.h"
#include "store/SharedStoreNodes.h"
#include "ui/ResourceIds.h"
#include "ui/UndoChoice.h"

namespace {
const size_t kNamesInMessage = 3;

// The first few paths of the entries, for the message's insert text.
std::string pathsOf(const std::vector<LeftOutEntry>& entries) {
    std::string paths;
    for (size_t i = 0; i < entries.size() && i < kNamesInMessage; ++i)
        paths += (i ? ", " : "") + entries[i].path;
    return entries.size() > kNamesInMessage ? paths + ", ..." : paths;
}

// The success message, or the one that names what was left out where the skin has it.
void reportDone(const char* successKey, const char* incompleteKey, const std::vector<LeftOutEntry>& leftOut) {
    if (leftOut.empty())
        host().ask(successKey, "");
    else
        host().ask(chooseMessageKey(incompleteKey, successKey), pathsOf(leftOut));
}
} // namespace

CArchivAssistentDlg::CArchivAssistentDlg()
    : CAssistentFrame(IDD_ARCHIV_ASSISTENT, "ArchivImportExportAssistent"),
      page1_(IDD_ARCHIV_PAGE1, "ArchivImportExportPage1"), page3_(true) {}

CArchivAssistentDlg::~CArchivAssistentDlg() = default;

CWizardPage* CArchivAssistentDlg::page(int number) const {
    switch (number) {
    case 1:
        return const_cast<CDirectionPage*>(&page1_);
    case 2:
        return const_cast<CArchivFilePage*>(&page2_);
    case 3:
        return const_cast<CTreePage*>(&page3_);
    default:
        return nullptr;
    }
}

void CArchivAssistentDlg::afterInit() {
    // Page 2 is built when it is first needed; its default folder is there from the start.
    page2_.makeDefaultFolder();
    page1_.offerUndo(undoLine(ImportKind::archive, page1_.section()));
    page1_.onChoiceChanged([this] { updateButtons(false, !page1_.isUndo()); });
}

bool CArchivAssistentDlg::checkImportFile(const std::string& file) const {
    if (file.empty()) {
        host().ask("MessageBoxArchivTip1", "");
        return false;
    }
    if (!fileExists(file)) {
        host().ask("MessageBoxArchivTip2", "");
        return false;
    }
    return true;
}

bool CArchivAssistentDlg::beforeStep(int from, int to, bool import) {
    if (page1_.isUndo()) return false; // Finish, not Next, carries the undo out
    if (to == 2 && (from == 1 || !import)) page2_.setMode(import);
    if (import && from == 2 && to == 3) return checkImportFile(page2_.fileName());
    return true;
}

void CArchivAssistentDlg::afterStep(int from, int to, bool import) {
    if (to == 3 && (from == 1 || (import && from == 2))) page3_.tree().setMultiSelect(false);
    if (to != 2) return;
    if (import && from == 3) {
        page2_.setMode(true);
        page2_.enableForward(true);
    } else {
        page2_.enableForward(!page2_.fileName().empty());
    }
}

void CArchivAssistentDlg::onFinish() {
    if (page1_.isUndo()) {
        if (finishUndo(ImportKind::archive, "Archiv")) close();
        return;
    }
    const std::string folder = page3_.getSelectedPath();
    const std::string file = page2_.fileName();
    if (file.empty()) {
        host().ask("MessageBoxArchivTip1", "");
        return;
    }
    if (isImport())
        finishImport(folder, file);
    else
        finishExport(folder, file);
}

void CArchivAssistentDlg::finishImport(const std::string& folder, const std::string& file) {
    if (!fileExists(file)) {
        host().ask("MessageBoxArchivTip2", "");
        return;
    }
    takeLeftOut(); // notes of an earlier run are not this run's
    const int result = import_Archiv(*processStore(), folder, file);
    const std::vector<LeftOutEntry> leftOut = takeLeftOut();
    if (result == kOperationFailed) {
        host().ask("MessageBoxArchivImportError", "");
        return;
    }
    if (result == kOperationDone)
        reportDone("MessageBoxArchivImportSuccess", "MessageBoxArchivImportIncomplete", leftOut);
    close();
}

void CArchivAssistentDlg::finishExport(const std::string& folder, const std::string& file) {
    if (fileExists(file)) {
        const int answer = host().ask("MessageBoxAssistentFileNotAvailable", "").button;
        if (answer != IDYES && answer != IDOK) return;
    }
    takeLeftOut();
    SharedStoreNodes nodes(*processStore());
    const int result = export_Archiv2(nodes, folder, file);
    const std::vector<LeftOutEntry> leftOut = takeLeftOut();
    if (result == kOperationFailed) {
        host().ask("MessageBoxArchivExportError", "");
        return;
    }
    if (result == kOperationDone)
        reportDone("MessageBoxArchivExportSuccess", "MessageBoxArchivExportIncomplete", leftOut);
    if (result == kOperationAbandoned) host().ask("MessageBoxArchivDiskSpace", "");
    close();
}
