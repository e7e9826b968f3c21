#include "support/FavoritesFixture.h"

#include "favorites/BookmarkParser.h"
#include "favorites/ExplorerFavorites.h"
#include "favorites/NetscapeTransfer.h"
#include "platform/FileSystem.h"
#include "platform/Handles.h"
#include "platform/Platform.h"

namespace {
const char* const kNavigatorMain = "Software\\Netscape\\Netscape Navigator\\Main";

const std::string kImportFile = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"
                                "<TITLE>Lesezeichen</TITLE>\r\n"
                                "<DL><p>\r\n"
                                "<DT><A HREF=\"http://new/\">suche</A>\r\n"
                                "<DT><H3 ADD_DATE=\"1\">Sport</H3>\r\n"
                                "<DL><p>\r\n"
                                "<DT><A HREF=\"http://kicker/\">Kicker</A>\r\n"
                                "</DL><p>\r\n"
                                "<DT><A HREF=\"http://x/\">a/b: c?</A>\r\n"
                                "</DL><p>\r\n";

class NetscapeTransferTest : public FavoritesTest {
  protected:
    NetscapeTransferTest() { deleteRegistryTree(HKEY_CURRENT_USER, "Software\\Netscape"); }
    ~NetscapeTransferTest() override { deleteRegistryTree(HKEY_CURRENT_USER, "Software\\Netscape"); }

    // A profile user "anna" whose bookmark file lies below the test folder.
    std::string annasBookmarkFile() {
        setRegistryString(HKEY_CURRENT_USER, kNavigatorMain, "Install Directory",
                          dir.file("Netscape\\Communicator"));
        createDirectory(dir.file("Netscape\\Users\\anna"), false);
        return dir.file("Netscape\\Users\\anna\\bookmark.htm");
    }
    void newsFolder() {
        nodes.setNodeValue("NVFavTreeRoot", "item_0", "Favoriten");
        setFolder("NVFavTreeRoot\\Favoriten", {"News"});
        setFolder("NVFavTreeRoot\\Favoriten\\News", {"Suche"});
        setLink("NVFavTreeRoot\\Favoriten\\News\\Suche", "http://old/");
        nodes.setNodeValue("NVFavTreeRoot\\Favoriten\\News\\Suche", "CREATED_DATE", "01.01.2000");
    }
    // Export: Grüße with "München Straße" and "Eins", and "Preis 5 €" (ANSI, code page 1252).
    void exportFolder();
    // Folders and links below a store folder with names, types and URLs, depth first.
    std::string subtree(const std::string& section, const std::string& indent = "") {
        std::string text;
        for (const std::string& name : children(section)) {
            std::string child = section + "\\" + name;
            text += indent + nodes.getNodeValue(child, "type") + " [" + name + "] [" +
                    nodes.getNodeValue(child, "URL") + "]\n";
            text += subtree(child, indent + "  ");
        }
        return text;
    }
    static std::string readBack(const std::string& path) {
        CBookmarkParser parser(path);
        if (!parser.loadFile()) return "unreadable";
        parser.parse();
        return formatTree(*parser.bookmarkRoot);
    }
    size_t filesIn(const std::string& folder) {
        size_t count = 0;
        WIN32_FIND_DATAA data;
        ScopedFind find(FindFirstFileA((folder + "\\*").c_str(), &data));
        if (find) do {
                if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
            } while (FindNextFileA(find.get(), &data));
        return count;
    }
    TempDir dir;
};

const std::string kNewsBlock = "<DT><H3 >News</H3>\r\n<DL><p>\r\n"
                               "<DT><A HREF=\"http://old/\">Suche</A>\r\n"
                               "</DL><p>\r\n";
const std::string kDocumentOpening =
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"
    "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\r\n"
    "<TITLE>Bookmarks</TITLE>\r\n"
    "<H1>Bookmarks</H1>\r\n"
    "<DL><p>\r\n";
const std::string kNewsDocument = kDocumentOpening + kNewsBlock + "</DL><p>\r\n";
// Grüße, München Straße and the euro sign in code page 1252 and in UTF-8.
const std::string kGruesse = "Gr\xFC\xDF"
                             "e";
const std::string kMuenchen = "M\xFCnchen Stra\xDF"
                              "e";
const std::string kGruesseUtf8 = "Gr\xC3\xBC\xC3\x9F"
                                 "e";
const std::string kMuenchenUtf8 = "M\xC3\xBCnchen Stra\xC3\x9F"
                                  "e";

std::string exportBlock(const std::string& gruesse, const std::string& muenchen, const std::string& umlaut,
                        const std::string& euro) {
    return "<DT><H3 >Export</H3>\r\n<DL><p>\r\n<DT><H3 >" + gruesse + "</H3>\r\n<DL><p>\r\n" +
           "<DT><A HREF=\"http://m" + umlaut + "nchen/\">" + muenchen + "</A>\r\n" +
           "<DT><A HREF=\"http://eins/\">Eins</A>\r\n</DL><p>\r\n" +
           "<DT><A HREF=\"http://preis/\">Preis 5 " + euro + "</A>\r\n</DL><p>\r\n";
}
const std::string kExportBlockAnsi = exportBlock(kGruesse, kMuenchen, "\xFC", "\x80");
const std::string kExportBlockUtf8 = exportBlock(kGruesseUtf8, kMuenchenUtf8, "\xC3\xBC", "\xE2\x82\xAC");
// The reader's tree of the exported folder, one level below the root.
const std::string kExportTree = "  FOLDER [Export] []\r\n    FOLDER [" + kGruesse + "] []\r\n      LINK [" +
                                kMuenchen + "] [http://m\xFCnchen/]\r\n      LINK [Eins] [http://eins/]\r\n" +
                                "    LINK [Preis 5 \x80] [http://preis/]\r\n";

void NetscapeTransferTest::exportFolder() {
    const std::string top = "NVFavTreeRoot\\Favoriten", folder = top + "\\Export";
    nodes.setNodeValue("NVFavTreeRoot", "item_0", "Favoriten");
    setFolder(top, {"Export"});
    setFolder(folder, {kGruesse, "Preis 5 \x80"});
    setFolder(folder + "\\" + kGruesse, {kMuenchen, "Eins"});
    setLink(folder + "\\" + kGruesse + "\\" + kMuenchen, "http://m\xFCnchen/");
    setLink(folder + "\\" + kGruesse + "\\Eins", "http://eins/");
    setLink(folder + "\\Preis 5 \x80", "http://preis/");
}
} // namespace

TEST_F(NetscapeTransferTest, ImportMergesIntoTheExistingFolder) {
    newsFolder();
    writeTextFile(dir.file("b.htm"), kImportFile);
    EXPECT_EQ(import_NC(store, "Favoriten\\News", dir.file("b.htm"), true), 1);
    EXPECT_EQ(children("NVFavTreeRoot\\Favoriten"), std::vector<std::string>{"News"});
    EXPECT_EQ(children("NVFavTreeRoot\\Favoriten\\News"),
              (std::vector<std::string>{"Suche", "Sport", "a b  c"}));
    EXPECT_EQ(nodes.getNodeValue("NVFavTreeRoot\\Favoriten\\News\\Suche", "URL"), "http://new/");
    EXPECT_EQ(nodes.getNodeValue("NVFavTreeRoot\\Favoriten\\News\\Suche", "CREATED_DATE"), getDateString());
    EXPECT_EQ(nodes.getNodeValue("NVFavTreeRoot\\Favoriten\\News\\Sport\\Kicker", "URL"), "http://kicker/");
    EXPECT_EQ(nodes.getNodeValue("NVFavTreeRoot\\Favoriten\\News\\a b  c", "type"), "file");
}

TEST_F(NetscapeTransferTest, ImportIntoAnEmptyStoreCreatesTheTopFolder) {
    writeTextFile(annasBookmarkFile(), kImportFile);
    EXPECT_EQ(import_NC(store, "Favoriten", "anna", false), 1);
    EXPECT_EQ(children("NVFavTreeRoot"), std::vector<std::string>{"Favoriten"});
    EXPECT_EQ(nodes.getNodeValue("NVFavTreeRoot", "type"), "folder");
    EXPECT_EQ(nodes.getNodeValue("NVFavTreeRoot\\Favoriten", "type"), "folder");
    EXPECT_EQ(children("NVFavTreeRoot\\Favoriten"), (std::vector<std::string>{"suche", "Sport", "a b  c"}));
}

TEST_F(NetscapeTransferTest, ImportFromTheDefaultProfileFallsBackToProgramFiles) {
    RegistryValueGuard programFiles(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                                    "ProgramFilesDir", dir.path(), KEY_WOW64_32KEY);
    createDirectory(dir.file("Netscape\\Users\\default"), false);
    writeTextFile(dir.file("Netscape\\Users\\default\\bookmark.htm"), kImportFile);
    EXPECT_EQ(import_NC(store, "Favoriten", "default", false), 1);
    EXPECT_EQ(children("NVFavTreeRoot\\Favoriten").size(), 3u);
    store.document().clear(); // as a fresh store
    EXPECT_EQ(import_NC(store, "Favoriten", "Default", false), -1);
}

TEST_F(NetscapeTransferTest, UnreadableSourcesLeaveTheStoreUntouched) {
    newsFolder();
    std::string before = storeText();
    EXPECT_EQ(import_NC(store, "Favoriten\\News", "niemand", false), -1);
    annasBookmarkFile();
    EXPECT_EQ(import_NC(store, "Favoriten\\News", "anna", false), -1); // the profile has no bookmark file
    EXPECT_EQ(import_NC(store, "Favoriten\\News", dir.file("missing.htm"), true), -1);
    EXPECT_EQ(storeText(), before);
}

TEST_F(NetscapeTransferTest, ImportFileTestsTheFormatFirst) {
    newsFolder();
    std::string before = storeText();
    writeTextFile(dir.file("text.txt"), "<DT><A HREF=\"http://x/\">x</A>\r\n");
    {
        QuestionScript questions({IDOK, false});
        EXPECT_EQ(import_NCFile(store, "Favoriten\\News", dir.file("text.txt")), 0);
        EXPECT_EQ(import_NCFile(store, "Favoriten\\News", dir.file("missing.htm")), 0);
        ASSERT_EQ(questions.asked().size(), 2u);
        EXPECT_EQ(questions.asked()[0].key, "MessageBoxFavExportNotNetscapeFormat");
        EXPECT_EQ(questions.asked()[0].insert, "");
    }
    EXPECT_EQ(storeText(), before);
    writeTextFile(dir.file("b.htm"), kImportFile);
    EXPECT_EQ(import_NCFile(store, "Favoriten\\News", dir.file("b.htm")), 1);
    EXPECT_EQ(children("NVFavTreeRoot\\Favoriten\\News").size(), 3u);
}

TEST_F(NetscapeTransferTest, ImportFileReportsARefusedImport) {
    // 20,000 links exceed the per-user file's limit: the import is refused whole.
    std::string file = "<DL><p>\r\n";
    for (int i = 0; i < 20000; ++i)
        file += "<DT><A HREF=\"http://www.example.org/a/rather/long/path/" + std::to_string(i) +
                ".html\">Link " + std::to_string(i) + "</A>\r\n";
    file += "</DL><p>\r\n";
    writeTextFile(dir.file("big.htm"), file);
    newsFolder();
    store.setFileName(dir.file("user.ini"));
    std::string before = storeText();
    MessageCapture messages;
    EXPECT_EQ(import_NCFile(store, "Favoriten\\News", dir.file("big.htm")), -1);
    EXPECT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(storeText(), before);
    EXPECT_EQ(store.batchDepth(), 0);
    EXPECT_FALSE(fileExists(dir.file("user.ini")));
}

TEST_F(NetscapeTransferTest, AFileLargerThanAnyStoreCouldTakeIsRefusedUnread) {
    std::string path = dir.file("huge.htm");
    writeTextFile(path, kImportFile);
    {
        // Grown past the limit without writing the bytes: the end of the file is set further on.
        ScopedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(file);
        LARGE_INTEGER end;
        end.QuadPart = static_cast<LONGLONG>(kMaxBookmarkFileSize) + 1;
        ASSERT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.get()));
    }
    newsFolder();
    std::string before = storeText();
    EXPECT_EQ(import_NCFile(store, "Favoriten\\News", path), -1);
    EXPECT_EQ(storeText(), before);
}

TEST_F(NetscapeTransferTest, AFailedSaveFailsTheImport) {
    writeTextFile(dir.file("b.htm"), kImportFile);
    TempDir favorites;
    RegistryValueGuard shellFolder{HKEY_CURRENT_USER, kShellFolders, "Favorites", favorites.path()};
    writeTextFile(favorites.file("A.url"), "[InternetShortcut]\r\nURL=http://a/\r\n");
    store.setFileName(dir.file("kein Ordner\\user.ini")); // its folder does not exist
    MessageCapture messages;
    EXPECT_EQ(import_NCFile(store, "Favoriten\\News", dir.file("b.htm")), -1);
    EXPECT_EQ(import_MIE(store, "Favoriten"), -1);
    EXPECT_EQ(messages.texts().size(), 2u); // each save said why it failed
}

TEST_F(NetscapeTransferTest, ExportAddsTheFolderAsLastEntryOfTheProfileFile) {
    newsFolder();
    std::string path = annasBookmarkFile();
    const std::string head = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<TITLE>Bookmarks</TITLE>\r\n<DL><p>\r\n"
                             "    <DT><A HREF=\"http://a/\">A</A>\r\n    <DL><p>\r\n    </DL><p>\r\n";
    const std::string tail = "</DL><p>\r\n<!-- trailer -->\r\n";
    writeTextFile(path, head + tail);
    EXPECT_EQ(export_NC(nodes, "Favoriten\\News", "anna"), 1);
    EXPECT_EQ(readTextFile(path), head + kNewsBlock + tail);
    EXPECT_EQ(export_NC(nodes, "Favoriten\\News", "anna"), 1);
    EXPECT_EQ(readTextFile(path), head + kNewsBlock + kNewsBlock + tail);
    EXPECT_EQ(filesIn(dir.file("Netscape\\Users\\anna")), 1u);

    writeTextFile(path, "no list");
    EXPECT_EQ(export_NC(nodes, "Favoriten\\News", "anna"), 1);
    EXPECT_EQ(readTextFile(path), kNewsBlock + "no list");
}

TEST_F(NetscapeTransferTest, ExportToAnUnreadableProfileFails) {
    newsFolder();
    EXPECT_EQ(export_NC(nodes, "Favoriten\\News", "niemand"), -1);
    annasBookmarkFile();
    EXPECT_EQ(export_NC(nodes, "Favoriten\\News", "anna"), -1);
    EXPECT_FALSE(fileExists(dir.file("Netscape\\Users\\anna\\bookmark.htm")));
}

TEST_F(NetscapeTransferTest, FailedExportKeepsTheProfileFile) {
    newsFolder();
    std::string path = annasBookmarkFile();
    const std::string original = "<DL><p>\r\n<DT><A HREF=\"http://a/\">A</A>\r\n</DL><p>\r\n";
    writeTextFile(path, original);
    {
        // Another program holds the file: it can be read but not replaced.
        ScopedHandle holder(
            CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        MessageCapture messages;
        EXPECT_EQ(export_NC(nodes, "Favoriten\\News", "anna"), -1);
        ASSERT_EQ(messages.texts().size(), 1u);
        EXPECT_EQ(messages.texts()[0], "unable to write file '" + path + "'");
    }
    EXPECT_EQ(readTextFile(path), original);
    EXPECT_EQ(filesIn(dir.file("Netscape\\Users\\anna")), 1u);
}

TEST_F(NetscapeTransferTest, ExportFileWritesACompleteDocument) {
    newsFolder();
    EXPECT_EQ(export_NCFile(nodes, "Favoriten\\News", dir.file("neu.htm")), 1);
    EXPECT_EQ(readTextFile(dir.file("neu.htm")), kNewsDocument);
    EXPECT_EQ(export_NCFile(nodes, "Favoriten", dir.file("alles.htm")), 1);
    EXPECT_EQ(readTextFile(dir.file("alles.htm")), kDocumentOpening +
                                                       "<DT><H3 >Favoriten</H3>\r\n<DL><p>\r\n" + kNewsBlock +
                                                       "</DL><p>\r\n</DL><p>\r\n");
}

TEST_F(NetscapeTransferTest, ExportedFileReadsBackIntoTheSameFoldersAndUmlauts) {
    exportFolder();
    std::string path = dir.file("export.htm");
    EXPECT_EQ(export_NCFile(nodes, "Favoriten\\Export", path), 1);
    EXPECT_EQ(readTextFile(path), kDocumentOpening + kExportBlockUtf8 + "</DL><p>\r\n");
    EXPECT_EQ(readBack(path), "FOLDER [Bookmarks] []\r\n" + kExportTree);

    EXPECT_EQ(import_NCFile(store, "Kopie", path), 1);
    EXPECT_EQ(children("NVFavTreeRoot\\Kopie"), std::vector<std::string>{"Export"});
    std::string original = subtree("NVFavTreeRoot\\Favoriten\\Export");
    ASSERT_FALSE(original.empty());
    EXPECT_EQ(subtree("NVFavTreeRoot\\Kopie\\Export"), original);
}

TEST_F(NetscapeTransferTest, ExportIntoAProfileFileFollowsItsDeclaredEncoding) {
    exportFolder();
    std::string path = annasBookmarkFile();
    // A file of today's browsers (UTF-8, LF) and one of the old kind (ANSI, CR LF), each with an
    // umlaut of its own encoding.
    const std::string utf8Head = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
                                 "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                                 "<TITLE>Bookmarks</TITLE>\n<DL><p>\n"
                                 "    <DT><A HREF=\"http://alt/\" ADD_DATE=\"1\">Alt \xC3\xA4</A>\n";
    const std::string ansiHead = "<TITLE>Bookmarks</TITLE>\r\n<DL><p>\r\n"
                                 "<DT><A HREF=\"http://alt/\">Alt \xE4</A>\r\n";
    struct Case {
        std::string head, tail, block;
    };
    for (const Case& file : {Case{utf8Head, "</DL><p>\n", kExportBlockUtf8},
                             Case{ansiHead, "</DL><p>\r\n<!-- Ende \xE4 -->\r\n", kExportBlockAnsi}}) {
        writeTextFile(path, file.head + file.tail);
        EXPECT_EQ(export_NC(nodes, "Favoriten\\Export", "anna"), 1);
        EXPECT_EQ(readTextFile(path), file.head + file.block + file.tail);
        EXPECT_EQ(readBack(path),
                  "FOLDER [Bookmarks] []\r\n  LINK [Alt \xE4] [http://alt/]\r\n" + kExportTree);
    }
}

TEST_F(NetscapeTransferTest, ExportFileAsksBeforeReplacing) {
    newsFolder();
    std::string path = dir.file("vorhanden.htm");
    QuestionScript questions;
    for (int button : {7, 2}) {
        writeTextFile(path, "old");
        questions.push(button);
        EXPECT_EQ(export_NCFile(nodes, "Favoriten\\News", path), 0) << button;
        EXPECT_EQ(readTextFile(path), "old");
    }
    for (int button : {6, 1}) {
        writeTextFile(path, "old");
        questions.push(button);
        EXPECT_EQ(export_NCFile(nodes, "Favoriten\\News", path), 1) << button;
        EXPECT_EQ(readTextFile(path), kNewsDocument);
    }
    ASSERT_EQ(questions.asked().size(), 4u);
    EXPECT_EQ(questions.asked()[0].key, "MessageBoxAssistentFileNotAvailable");
    EXPECT_EQ(questions.asked()[0].insert, "");
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

TEST_F(NetscapeTransferTest, FailedExportFileKeepsTheOldFile) {
    newsFolder();
    std::string path = dir.file("vorhanden.htm");
    writeTextFile(path, "old bookmarks");
    QuestionScript questions({IDYES, false});
    MessageCapture messages;
    {
        ScopedHandle holder(
            CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_EQ(export_NCFile(nodes, "Favoriten\\News", path), -1);
    }
    EXPECT_EQ(readTextFile(path), "old bookmarks");
    EXPECT_EQ(filesIn(dir.path()), 1u);
    EXPECT_EQ(export_NCFile(nodes, "Favoriten\\News", dir.file("kein Ordner\\neu.htm")), -1);
    ASSERT_EQ(messages.texts().size(), 2u);
    EXPECT_EQ(messages.texts()[1], "unable to write file '" + dir.file("kein Ordner\\neu.htm") + "'");
}

TEST_F(NetscapeTransferTest, MalformedContentNeverFailsTheImport) {
    writeTextFile(dir.file("broken.htm"),
                  "<DL><p>\r\n<DT><H3 no end\r\n<DT><A HREF=\"http://a/\r\n"
                  "<DT><A without target</A>\r\n<DT><H3>Offen</H3>\r\n"
                  "<DT><A HREF=\"http://b/\">B</A>\r\n<DT><A HREF=\"http://c/\">last line");
    EXPECT_EQ(import_NC(store, "Favoriten", dir.file("broken.htm"), true), 1);
    EXPECT_EQ(children("NVFavTreeRoot\\Favoriten"), std::vector<std::string>{"no end"});
    EXPECT_EQ(children("NVFavTreeRoot\\Favoriten\\no end"), (std::vector<std::string>{"Offen"}));
    EXPECT_EQ(nodes.getNodeValue("NVFavTreeRoot\\Favoriten\\no end\\Offen\\B", "URL"), "http://b/");
}
