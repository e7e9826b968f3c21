// The guided tour of the demo installation (scripts/demo.sh without a display): it runs the
// real program in the demo prefix, goes through both wizards in both directions with mouse
// clicks and key presses, carries out real conversions and checks their results from outside.
//
// usage: demo_tour PROGRAM_FOLDER PICTURE_FOLDER LOG_FILE [favorites] [archive] [missing-user]
//   (without parts: favorites and archive). Exit code 0 when every step succeeded.
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "Measures.h"
#include "TourDriver.h"
#include "ui/ResourceIds.h"

namespace {
// The demo installation (scripts/demo_data.py).
const std::string kPersonal = "C:\\users\\Demo\\Eigene Dateien";
const std::string kExplorerFavorites = "C:\\users\\Demo\\Favoriten";
const std::string kNetscapeUser = "anna";
const std::string kUserWithoutBookmarks = "bert";
const std::string kNetscapeBookmarks = "C:\\Programme\\Netscape\\Users\\anna\\bookmark.htm";
const std::string kBookmarkFile = kPersonal + "\\Lesezeichen.htm";
const std::string kExportFile = kPersonal + "\\Favoriten.htm";
const std::string kChromeProfile = "chrome:Default";
const std::string kFirefoxProfile = "firefox:x8f2m1ab.default-release";
const std::string kFirefoxBackupProfile = "firefox:k3v9q2lp.laptop";
const std::string kFirefoxLogOnlyLink = "https://neu.example/"; // only in places.sqlite-wal
const std::string kTopFolder = "Favoriten";
const std::string kArchiveFolder = "Reisen";
const std::string kArchiveTarget = "Aus dem Archiv";

std::string fileNameOf(const std::string& path) {
    return path.substr(path.rfind('\\') + 1);
}

std::string folderOf(const std::string& path) {
    return path.substr(0, path.rfind('\\'));
}

bool contains(const std::vector<std::string>& names, const std::string& name) {
    for (const std::string& entry : names)
        if (lstrcmpiA(entry.c_str(), name.c_str()) == 0) return true;
    return false;
}

class DemoTour {
  public:
    explicit DemoTour(TourDriver& driver) : tour_(driver), measures_(driver.programFolder() + "nvtool.exe") {}

    bool favorites() {
        return importFromExplorer() && importFromNetscape() && importFromFile() && importFromChrome() &&
               undoChromeImport() && importFromFirefox() && importFirefoxBackup() && exportToFile();
    }
    bool archive() { return exportArchive() && importArchive(); }
    bool missingUser();

  private:
    bool importFromExplorer();
    bool importFromNetscape();
    bool importFromFile();
    bool importFromChrome();
    bool importFromFirefox();
    bool importFirefoxBackup();
    // Checks that the store folder now holds the links the profile gave.
    bool checkBrowserImport(const std::string& folder, int links, const std::string& remark);
    bool checkHoldsLink(const std::string& folder, const std::string& url, const std::string& what);
    bool undoChromeImport();
    bool exportToFile();
    bool exportArchive();
    bool importArchive();
    // Imports run on page 3 of the favorites wizard: choose the folder, Finish, success.
    bool finishFavoritesImport(const std::string& folder, const std::string& pictureName);
    // Checks that the store folder, empty before, now holds what the source held.
    bool checkImported(const std::string& folder, const LinkCount& source);
    std::optional<LinkCount> favoritesIn(const std::string& folder);
    template <typename T> std::optional<T> measured(std::optional<T> value);

    TourDriver& tour_;
    Measures measures_;
    std::string archiveFile_;
    std::optional<LinkCount> beforeChrome_; // the top folder before the Chrome import
    int run_ = 0;
};

template <typename T> std::optional<T> DemoTour::measured(std::optional<T> value) {
    if (!value) tour_.fail(measures_.problem());
    return value;
}

std::optional<LinkCount> DemoTour::favoritesIn(const std::string& folder) {
    return measured(measures_.favorites(folder));
}

bool DemoTour::finishFavoritesImport(const std::string& folder, const std::string& pictureName) {
    return tour_.chooseFolder({kTopFolder, folder}) && tour_.picture(pictureName + "-target-folder") &&
           tour_.finish() && tour_.answer("MessageBoxFavImportSuccess", IDOK, pictureName + "-done") &&
           tour_.waitForEnd();
}

bool DemoTour::checkImported(const std::string& folder, const LinkCount& source) {
    const std::string path = kTopFolder + "\\" + folder;
    std::optional<LinkCount> after = favoritesIn(path);
    if (!after) return false;
    if (!(*after == source))
        return tour_.fail("the store folder " + path + " holds " + describe(*after) + ", expected " +
                          describe(source));
    tour_.note("result: " + describe(*after) + " imported into " + path);
    return true;
}

bool DemoTour::importFromExplorer() {
    const std::string folder = "Aus dem Internet Explorer";
    tour_.heading(std::to_string(++run_) + ". Favorites wizard: import the Internet Explorer favorites");
    const LinkCount source = countShortcuts(kExplorerFavorites);
    std::optional<LinkCount> before = favoritesIn(kTopFolder + "\\" + folder);
    if (!before) return false;
    tour_.note(kExplorerFavorites + " holds " + describe(source) + "; " + kTopFolder + "\\" + folder +
               " holds " + describe(*before));
    return tour_.start("-Favorites") && tour_.picture("favorites-import-direction") &&
           tour_.clickFrameButton(IDC_FRAME_NEXT, WizardPage::FavoritesSource) &&
           tour_.picture("favorites-import-source-explorer") &&
           tour_.clickFrameButton(IDC_FRAME_NEXT, WizardPage::Tree) &&
           finishFavoritesImport(folder, "favorites-import-explorer") && checkImported(folder, source);
}

bool DemoTour::importFromNetscape() {
    const std::string folder = "Aus Netscape";
    tour_.heading(std::to_string(++run_) + ". Favorites wizard: import a Netscape profile's bookmarks");
    std::optional<LinkCount> source = measured(measures_.bookmarkFile(kNetscapeBookmarks, 1));
    if (!source) return false;
    tour_.note("the profile user " + kNetscapeUser + " has " + describe(*source) + " in " +
               kNetscapeBookmarks + "; " + kUserWithoutBookmarks + " has no bookmark file");
    return tour_.start("-Favorites") && tour_.clickFrameButton(IDC_FRAME_NEXT, WizardPage::FavoritesSource) &&
           tour_.tick(IDC_FAV_NC, "Netscape Navigator") &&
           tour_.picture("favorites-import-netscape-source") && tour_.chooseUser(kUserWithoutBookmarks) &&
           tour_.answer("MessageBoxSearchBookmark", IDNO, "favorites-import-netscape-no-bookmark-file") &&
           tour_.chooseUser(kNetscapeUser) && tour_.clickFrameButton(IDC_FRAME_NEXT, WizardPage::Tree) &&
           finishFavoritesImport(folder, "favorites-import-netscape") && checkImported(folder, *source);
}

bool DemoTour::importFromFile() {
    const std::string folder = "Aus einer Datei";
    tour_.heading(std::to_string(++run_) + ". Favorites wizard: import a bookmark file");
    std::optional<LinkCount> source = measured(measures_.bookmarkFile(kBookmarkFile, 1));
    if (!source) return false;
    tour_.note(kBookmarkFile + " holds " + describe(*source));
    return tour_.start("-Favorites") && tour_.clickFrameButton(IDC_FRAME_NEXT, WizardPage::FavoritesSource) &&
           tour_.tick(IDC_FAV_NCFILE, "bookmark file") && tour_.typeInto(IDC_FAV_FILENAME, kBookmarkFile) &&
           tour_.picture("favorites-import-file-source") &&
           tour_.clickFrameButton(IDC_FRAME_NEXT, WizardPage::Tree) &&
           finishFavoritesImport(folder, "favorites-import-file") && checkImported(folder, *source);
}

bool DemoTour::importFromChrome() {
    const std::string folder = "Aus Chrome";
    tour_.heading(std::to_string(++run_) + ". Favorites wizard: import a Google Chrome profile's bookmarks");
    std::optional<int> links = measured(measures_.browserLinks(kChromeProfile));
    if (!links) return false;
    beforeChrome_ = favoritesIn(kTopFolder);
    if (!beforeChrome_) return false;
    tour_.note("the Chrome profile " + kChromeProfile + " has " + std::to_string(*links) +
               " links besides an internal page, with two folders \"Neuer Ordner\"");
    if (!(tour_.start("-Favorites") && tour_.clickFrameButton(IDC_FRAME_NEXT, WizardPage::FavoritesSource) &&
          tour_.tick(IDC_FAV_BROWSER, "another browser") &&
          tour_.picture("favorites-import-browser-source") &&
          tour_.clickFrameButton(IDC_FRAME_NEXT, WizardPage::Tree) &&
          finishFavoritesImport(folder, "favorites-import-chrome")))
        return false;
    std::optional<LinkCount> after = favoritesIn(kTopFolder + "\\" + folder);
    if (!after) return false;
    if (after->links != *links)
        return tour_.fail("the store folder holds " + describe(*after) + ", expected " +
                          std::to_string(*links) + " links");
    tour_.note("result: " + describe(*after) + " imported into " + kTopFolder + "\\" + folder +
               " (the browser's roots and both \"Neuer Ordner\" folders among them)");
    return true;
}

bool DemoTour::checkBrowserImport(const std::string& folder, int links, const std::string& remark) {
    std::optional<LinkCount> after = favoritesIn(kTopFolder + "\\" + folder);
    if (!after) return false;
    if (after->links != links)
        return tour_.fail("the store folder holds " + describe(*after) + ", expected " +
                          std::to_string(links) + " links");
    tour_.note("result: " + describe(*after) + " imported into " + kTopFolder + "\\" + folder + " (" +
               remark + ")");
    return true;
}

bool DemoTour::checkHoldsLink(const std::string& folder, const std::string& url, const std::string& what) {
    std::optional<bool> holds = measured(measures_.holdsLink(folder, url));
    if (!holds) return false;
    if (!*holds) return tour_.fail(folder + " lacks " + what + " (" + url + ")");
    tour_.note(folder + " holds " + what + " (" + url + ")");
    return true;
}

bool DemoTour::importFromFirefox() {
    const std::string folder = "Aus Firefox";
    tour_.heading(std::to_string(++run_) + ". Favorites wizard: import a Firefox profile's bookmarks");
    std::optional<int> links = measured(measures_.browserLinks(kFirefoxProfile));
    if (!links) return false;
    tour_.note("the Firefox profile " + kFirefoxProfile + " (the one its installation uses) has " +
               std::to_string(*links) +
               " links in places.sqlite, the newest only in places.sqlite-wal; its "
               "tags, a place: query and an internal page are left out");
    return tour_.start("-Favorites") && tour_.clickFrameButton(IDC_FRAME_NEXT, WizardPage::FavoritesSource) &&
           tour_.tick(IDC_FAV_BROWSER, "another browser") &&
           tour_.chooseBrowserProfile("Mozilla Firefox \x96 Privat") &&
           tour_.picture("favorites-import-firefox-source") &&
           tour_.clickFrameButton(IDC_FRAME_NEXT, WizardPage::Tree) &&
           finishFavoritesImport(folder, "favorites-import-firefox") &&
           checkBrowserImport(folder, *links, "its roots and both \"Neuer Ordner\" folders among them") &&
           checkHoldsLink(kTopFolder + "\\" + folder, kFirefoxLogOnlyLink,
                          "the bookmark of places.sqlite-wal");
}

bool DemoTour::importFirefoxBackup() {
    const std::string folder = "Aus der Firefox-Sicherung";
    tour_.heading(std::to_string(++run_) +
                  ". Favorites wizard: import a Firefox profile that has only backups");
    std::optional<int> links = measured(measures_.browserLinks(kFirefoxBackupProfile));
    if (!links) return false;
    tour_.note("the Firefox profile " + kFirefoxBackupProfile +
               " has no places.sqlite; its newest backup has " + std::to_string(*links) + " links");
    return tour_.start("-Favorites") && tour_.clickFrameButton(IDC_FRAME_NEXT, WizardPage::FavoritesSource) &&
           tour_.tick(IDC_FAV_BROWSER, "another browser") &&
           tour_.chooseBrowserProfile("Mozilla Firefox \x96 Laptop") &&
           tour_.clickFrameButton(IDC_FRAME_NEXT, WizardPage::Tree) &&
           tour_.chooseFolder({kTopFolder, folder}) && tour_.finish() &&
           tour_.answer("MessageBoxFavImportBrowserBackup", IDOK, "favorites-import-firefox-backup-date") &&
           tour_.answer("MessageBoxFavImportSuccess", IDOK, "favorites-import-firefox-backup-done") &&
           tour_.waitForEnd() && checkBrowserImport(folder, *links, "from the backup of 02.12.2024");
}

bool DemoTour::undoChromeImport() {
    tour_.heading(std::to_string(++run_) + ". Favorites wizard: undo the last import (the Chrome profile's)");
    std::optional<LinkCount> before = favoritesIn(kTopFolder);
    if (!before) return false;
    tour_.note("the store folder " + kTopFolder + " holds " + describe(*before) +
               "; before the Chrome import it held " + describe(*beforeChrome_));
    if (!(tour_.start("-Favorites") && tour_.tick(IDC_PAGE1_UNDO, "undo the last import") &&
          tour_.picture("favorites-undo-choice") && tour_.finish() &&
          tour_.answer("MessageBoxFavUndoConfirm", IDYES, "favorites-undo-question") &&
          tour_.answer("MessageBoxFavUndoSuccess", IDOK, "favorites-undo-done") && tour_.waitForEnd()))
        return false;
    std::optional<LinkCount> after = favoritesIn(kTopFolder);
    if (!after) return false;
    if (!(*after == *beforeChrome_))
        return tour_.fail("the store folder " + kTopFolder + " holds " + describe(*after) + ", expected " +
                          describe(*beforeChrome_) + " as before the Chrome import");
    tour_.note("result: " + kTopFolder + " holds " + describe(*after) +
               " again, as before the Chrome import");
    return true;
}

bool DemoTour::exportToFile() {
    tour_.heading(std::to_string(++run_) + ". Favorites wizard: export the favorites to a bookmark file");
    std::optional<LinkCount> source = favoritesIn(kTopFolder);
    if (!source) return false;
    tour_.note("the store folder " + kTopFolder + " holds " + describe(*source));
    if (!(tour_.start("-Favorites") && tour_.tick(IDC_PAGE1_EXPORT, "export") &&
          tour_.picture("favorites-export-direction") &&
          tour_.clickFrameButton(IDC_FRAME_NEXT, WizardPage::Tree) && tour_.chooseFolder({kTopFolder}) &&
          tour_.picture("favorites-export-folder") &&
          tour_.clickFrameButton(IDC_FRAME_NEXT, WizardPage::FavoritesSource) &&
          tour_.tick(IDC_FAV_NCFILE, "bookmark file") && tour_.typeInto(IDC_FAV_FILENAME, kExportFile) &&
          tour_.picture("favorites-export-target-file") && tour_.finish() &&
          tour_.answer("MessageBoxFavExportSuccess", IDOK, "favorites-export-file-done") &&
          tour_.waitForEnd()))
        return false;
    // The file holds the exported folder itself below its nameless root.
    std::optional<LinkCount> written = measured(measures_.bookmarkFile(kExportFile, 2));
    if (!written) return false;
    if (!(*written == *source))
        return tour_.fail(kExportFile + " holds " + describe(*written) + ", expected " + describe(*source));
    tour_.note("result: " + kExportFile + " written with the folder " + kTopFolder + ": " +
               describe(*written));
    return true;
}

bool DemoTour::exportArchive() {
    tour_.heading(std::to_string(++run_) + ". Page archive wizard: export a folder into an archive file");
    std::optional<PageTree> source = measured(measures_.archiveTree(kArchiveFolder));
    if (!source) return false;
    tour_.note("the page archive folder " + kArchiveFolder + " holds " + describe(*source));
    if (!(tour_.start("-Archiv") && tour_.tick(IDC_PAGE1_EXPORT, "export") &&
          tour_.picture("archive-export-direction") &&
          tour_.clickFrameButton(IDC_FRAME_NEXT, WizardPage::Tree) && tour_.chooseFolder({kArchiveFolder}) &&
          tour_.picture("archive-export-folder") &&
          tour_.clickFrameButton(IDC_FRAME_NEXT, WizardPage::ArchiveFile)))
        return false;
    archiveFile_ = tour_.controlText(IDC_ARCHIV_FILENAME);
    tour_.note("the proposed archive file: " + archiveFile_);
    if (!(tour_.picture("archive-export-file") && tour_.finish() &&
          tour_.answer("MessageBoxArchivExportSuccess", IDOK, "archive-export-done") && tour_.waitForEnd()))
        return false;
    std::optional<ArchiveContent> written = measured(measures_.archiveFile(archiveFile_));
    if (!written) return false;
    if (!contains(written->names, "nvarchive.ini")) return tour_.fail(archiveFile_ + " has no nvarchive.ini");
    int companionFiles = 0;
    for (const std::string& name : written->names)
        companionFiles += name.find('\\') != std::string::npos ? 1 : 0;
    for (const std::string& page : source->pageFiles)
        if (!contains(written->names, fileNameOf(page)))
            return tour_.fail(archiveFile_ + " lacks the page " + fileNameOf(page));
    tour_.note("result: " + archiveFile_ + " written with " + std::to_string(written->names.size()) +
               " files: nvarchive.ini, the " + std::to_string(source->pageFiles.size()) + " pages and " +
               std::to_string(companionFiles) + " images and style sheets of their companion folders (" +
               std::to_string(written->dataBytes) + " bytes)");
    return true;
}

bool DemoTour::importArchive() {
    tour_.heading(std::to_string(++run_) +
                  ". Page archive wizard: import the archive file into another folder");
    std::optional<PageTree> expected = measured(measures_.archiveTree(kArchiveFolder));
    std::optional<PageTree> before = measured(measures_.archiveTree(kArchiveTarget));
    if (!expected || !before) return false;
    tour_.note("the page archive folder " + kArchiveTarget + " holds " + describe(*before));
    if (!(tour_.start("-Archiv") && tour_.picture("archive-import-direction") &&
          tour_.clickFrameButton(IDC_FRAME_NEXT, WizardPage::ArchiveFile)))
        return false;
    if (tour_.controlText(IDC_ARCHIV_FILENAME) != archiveFile_ &&
        !tour_.typeInto(IDC_ARCHIV_FILENAME, archiveFile_))
        return false;
    if (!(tour_.picture("archive-import-file") && tour_.clickFrameButton(IDC_FRAME_NEXT, WizardPage::Tree) &&
          tour_.chooseFolder({kArchiveTarget}) && tour_.picture("archive-import-target-folder") &&
          tour_.finish() && tour_.answer("MessageBoxArchivImportSuccess", IDOK, "archive-import-done") &&
          tour_.waitForEnd()))
        return false;
    std::optional<PageTree> after = measured(measures_.archiveTree(kArchiveTarget));
    if (!after) return false;
    if (after->folders != expected->folders || after->pageFiles.size() != expected->pageFiles.size())
        return tour_.fail("the folder " + kArchiveTarget + " holds " + describe(*after) + ", expected " +
                          describe(*expected));
    for (const std::string& page : after->pageFiles)
        if (GetFileAttributesA(page.c_str()) == INVALID_FILE_ATTRIBUTES)
            return tour_.fail("the imported page file " + page + " does not exist");
    const std::string unpacked = after->pageFiles.empty() ? "" : folderOf(after->pageFiles.front());
    tour_.note("result: " + describe(*after) + " imported into the page archive folder " + kArchiveTarget +
               "; their files lie in " + unpacked + " (" + std::to_string(countFiles(unpacked)) + " files)");
    return true;
}

bool DemoTour::missingUser() {
    tour_.heading(std::to_string(++run_) + ". Without \"CurrentUser\": the program's fixed message");
    return tour_.start("-Favorites", false) && tour_.answerPlain("CurrentUser", "missing-current-user") &&
           tour_.waitForEnd();
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: demo_tour PROGRAM_FOLDER PICTURE_FOLDER LOG_FILE [favorites] [archive] "
                             "[missing-user]\n");
        return 2;
    }
    std::vector<std::string> parts(argv + 4, argv + argc);
    if (parts.empty()) parts = {"favorites", "archive"};
    std::string programFolder = argv[1];
    if (programFolder.back() != '\\') programFolder += '\\';

    TourDriver driver(programFolder, argv[2], argv[3]);
    DemoTour tour(driver);
    const DWORD startTick = GetTickCount();
    for (const std::string& part : parts) {
        const bool done = part == "favorites"      ? tour.favorites()
                          : part == "archive"      ? tour.archive()
                          : part == "missing-user" ? tour.missingUser()
                                                   : driver.fail("unknown part " + part);
        if (!done) break;
    }
    driver.heading(std::string(driver.failed() ? "The tour FAILED" : "The tour succeeded") + " after " +
                   std::to_string((GetTickCount() - startTick + 500) / 1000) + " s with " +
                   std::to_string(driver.pictures()) + (driver.pictures() == 1 ? " picture." : " pictures."));
    return driver.failed() ? 1 : 0;
}
