#include "ui/ArchivFilePage.h"

#include <ctime>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "ui/FileChooser.h"
#include "ui/ResourceIds.h"

namespace {
// "\Seitenarchiv_" followed by the local date as yymmdd and ".sad".
std::string datedArchiveName() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_s(&local, &now);
    char name[64] = {};
    std::strftime(name, sizeof(name), "\\Seitenarchiv_%y%m%d.sad", &local);
    return name;
}
} // namespace

CArchivFilePage::CArchivFilePage() : CWizardPage(IDD_ARCHIV_PAGE2, "ArchivImportExportPage2") {}

CArchivFilePage::~CArchivFilePage() = default;

bool CArchivFilePage::onInitDialog() {
    searchButton_.subclassItem(handle(), IDC_ARCHIV_SEARCH);
    startElements();
    elements()->addButtonElement("Edit", item(IDC_ARCHIV_FILENAME));
    elements()->addButtonElement("ButtonSearch", searchButton_);
    elements()->addPictureElement("Background");
    elements()->addTextElement("Title");
    elements()->addTextElement("DescriptionArchiv2");
    elements()->addTextElement("AuswahlText");
    elements()->loadLayout(false);
    elements()->applyLayout();

    makeDefaultFolder();
    setFileName(defaultFolder_ + datedArchiveName());
    return true;
}

void CArchivFilePage::makeDefaultFolder() {
    defaultFolder_ = getPersonalFolder() + "\\Quendal Browser";
    createDirectory(defaultFolder_, false);
}

void CArchivFilePage::setMode(bool import) {
    if (import != import_) setElementText("DescriptionArchiv2", "");
    import_ = import;
    setElementText("Title", skinText(import ? "Import_Title" : "Export_Title"));
}

void CArchivFilePage::enableForward(bool on) const {
    HWND frame = GetParent(handle());
    EnableWindow(GetDlgItem(frame, import_ ? IDC_FRAME_NEXT : IDC_FRAME_FINISH), on ? TRUE : FALSE);
}

std::string CArchivFilePage::fileName() const {
    return CWindow(item(IDC_ARCHIV_FILENAME)).text();
}

void CArchivFilePage::setFileName(const std::string& name) const {
    CWindow(item(IDC_ARCHIV_FILENAME)).setText(name);
}

void CArchivFilePage::chooseArchiveFile() {
    std::vector<std::string> files;
    if (!chooseFiles(files, defaultFolder_, false, true) || files.size() != 1) return;
    std::string name = files.front();
    if (import_) {
        setFileName(name);
        if (!name.empty()) enableForward(true);
        return;
    }
    if (!name.empty() && !endsWith(name, ".sad")) name += ".sad";
    enableForward(!name.empty());
    setFileName(name);
}

bool CArchivFilePage::onCommand(int id, int notifyCode, HWND) {
    if (id == IDC_ARCHIV_SEARCH && notifyCode == BN_CLICKED) {
        chooseArchiveFile();
        return true;
    }
    if (id == IDC_ARCHIV_FILENAME && notifyCode == EN_CHANGE) {
        enableForward(!fileName().empty());
        return true;
    }
    return false;
}

bool CArchivFilePage::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // Leaving the page frees the forward button of its mode again.
    if (message == WM_SHOWWINDOW && !wParam) enableForward(true);
    return CWizardPage::onMessage(message, wParam, lParam, result);
}
