#include "ui/FavAssistentDlg.h"

#include <vector>

#include "config/ProcessStore.h"
#include "favorites/BrowserImport.h"
#include "favorites/ExplorerFavorites.h"
#include "favorites/NetscapeProfiles.h"
#include "favorites/NetscapeTransfer.h"
#include "platform/FileSystem.h"
#include "platform/Host.h"
#include "platform/Trace.h"
#include "store/LeftOutEntries.h"
#include "store/OperationResult.h"
#include "store/SharedStoreNodes.h"
#include "ui/ResourceIds.h"
#include "ui/UndoChoice.h"

using Source = CFavSourcePage::Source;

CFavAssistentDlg::CFavAssistentDlg()
    : CAssistentFrame(IDD_FAV_ASSISTENT, "FavImportExportAssistent"),
      page1_(IDD_FAV_PAGE1, "FavImportExportPage1"), page3_(false) {}

CFavAssistentDlg::~CFavAssistentDlg() = default;

CWizardPage* CFavAssistentDlg::page(int number) const {
    switch (number) {
    case 1:
        return const_cast<CDirectionPage*>(&page1_);
    case 2:
        return const_cast<CFavSourcePage*>(&page2_);
    case 3:
        return const_cast<CTreePage*>(&page3_);
    default:
        return nullptr;
    }
}

void CFavAssistentDlg::pageCreated(int number) {
    if (number == 2) CollectBrowserInfo();
}

void CFavAssistentDlg::collectBrowserProfiles() {
    browserProfiles_ = findBrowserProfiles();
    for (const BrowserProfile& profile : browserProfiles_)
        page2_.addBrowserProfile(profile.problem.empty()
                                     ? profile.displayText
                                     : profile.displayText + " (" + profile.problem + ")");
    if (browserProfiles_.empty()) page2_.disableBrowsers();
}

void CFavAssistentDlg::CollectBrowserInfo() {
    trace("CFavAssistentDlg::CollectBrowserInfo() \n");
    collectBrowserProfiles();
    if (getNetscapeVersion().empty()) {
        EnableWindow(page2_.ncBox(), FALSE);
        EnableWindow(page2_.userList(), FALSE);
        return;
    }
    trace("currentUser: %s \n", getNetscapeCurrentUser().c_str());
    std::vector<std::string> users;
    if (!getNetscapeUserList(users)) return;
    trace("getNetscapeUserList: OK \n");
    trace("userList.GetSize(): %d\n", static_cast<int>(users.size()));
    for (size_t i = 0; i < users.size(); ++i) {
        trace("userName %d : %s \n", static_cast<int>(i), users[i].c_str());
        const std::string path = getUserBookmarkPath(users[i]);
        page2_.addUser(users[i], !path.empty() && fileExists(path), static_cast<int>(i));
    }
}

void CFavAssistentDlg::afterInit() {
    page1_.offerUndo(undoLine(ImportKind::favorites, page1_.section()));
    page1_.onChoiceChanged([this] { updateButtons(false, !page1_.isUndo()); });
}

bool CFavAssistentDlg::checkSource() {
    switch (page2_.chosenSource()) {
    case Source::NCFile:
        if (!page2_.fileName().empty()) return true;
        host().ask("MessageBoxFavImportTip1", "");
        return false;
    case Source::NC:
        return page2_.checkNetscapeUser();
    case Source::Browser:
        return page2_.selectedBrowserProfile() >= 0;
    case Source::IE:
        break;
    }
    return true;
}

bool CFavAssistentDlg::beforeStep(int from, int to, bool import) {
    if (page1_.isUndo()) return false; // Finish, not Next, carries the undo out
    if (import && from == 2 && to == 3) return checkSource();
    return true;
}

void CFavAssistentDlg::afterStep(int from, int to, bool import) {
    if (to == 2) page2_.setDirectionTexts(import);
    if (to == 3 && (from == 2 || from == 1)) page3_.tree().setMultiSelect(false);
}

int CFavAssistentDlg::runOperation(bool import, const std::string& folder, const std::string& user) {
    SharedStore& store = *processStore();
    SharedStoreNodes nodes(store);
    switch (page2_.chosenSource()) {
    case Source::IE:
        return import ? import_MIE(store, folder) : export_MIE(store, folder);
    case Source::NC:
        return import ? import_NC(store, folder, user, false) : export_NC(nodes, folder, user);
    case Source::NCFile:
        return import ? import_NCFile(store, folder, page2_.fileName())
                      : export_NCFile(nodes, folder, page2_.fileName());
    case Source::Browser: {
        const size_t index = static_cast<size_t>(page2_.selectedBrowserProfile());
        if (!import || index >= browserProfiles_.size()) return kOperationFailed;
        BrowserImportNotes notes;
        const int result = import_Browser(store, folder, browserProfiles_[index].id, &notes);
        if (result == kOperationDone && !notes.backupDate.empty()) tellBackupDate(notes.backupDate);
        return result;
    }
    }
    return kOperationFailed;
}

// Firefox's database could not be read, its backup of that day was. Skins without the message
// say nothing.
void CFavAssistentDlg::tellBackupDate(const std::string& date) {
    const char* const key = "MessageBoxFavImportBrowserBackup";
    if (!getLayoutSectionValue(key, "Message").empty()) host().ask(key, date);
}

void CFavAssistentDlg::onFinish() {
    if (page1_.isUndo()) {
        if (finishUndo(ImportKind::favorites, "Fav")) close();
        return;
    }
    const bool import = isImport();
    std::string user;
    if (page2_.chosenSource() == Source::NC) {
        if (!page2_.checkNetscapeUser()) return;
        user = page2_.selectedUser();
    }
    const std::string folder = page3_.getSelectedPath();
    if (!import && page2_.chosenSource() == Source::NCFile && !checkSource()) return;
    takeLeftOut(); // notes of an earlier run are not this run's
    const int result = runOperation(import, folder, user);
    const size_t leftOut = takeLeftOut().size();
    if (result == kOperationAbandoned) return;
    if (result == kOperationDone && import && leftOut > 0)
        host().ask(chooseMessageKey("MessageBoxFavImportIncomplete", "MessageBoxFavImportSuccess"),
                   std::to_string(leftOut));
    else if (result == kOperationDone)
        host().ask(import ? "MessageBoxFavImportSuccess" : "MessageBoxFavExportSuccess", "");
    if (result == kOperationFailed)
        host().ask(import ? "MessageBoxFavImportError" : "MessageBoxFavExportError", "");
    close();
}
