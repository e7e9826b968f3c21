#include <gtest/gtest.h>

#include <windows.h>

#include <psapi.h>

#include <algorithm>

#include "ArchiveTestFiles.h"
#include "archive/ArchiveExport.h"
#include "archive/ArchiveImport.h"
#include "archive/ArchiveStore.h"
#include "archive/FileArchive.h"
#include "config/SharedStore.h"
#include "favorites/FavoritePaths.h"
#include "platform/Handles.h"
#include "platform/ProfileValues.h"
#include "platform/ProgramPaths.h"
#include "store/LeftOutEntries.h"
#include "store/SharedStoreNodes.h"
#include "support/TestSupport.h"

namespace {
const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::string kRoot = "NVOfflineTreeRoot";

// A page archive in the store with real page files: Reisen holds Rom (with companion folder),
// a "link" entry, the folder Staedte with Wien, and Paris (HREF written with "/").
class ArchiveExchange : public testing::Test {
  protected:
    TempDir dir;
    RegistryValueGuard personal{HKEY_CURRENT_USER, kShellFolders, "Personal", dir.file("Eigene Dateien")};
    SharedStore store;
    SharedStoreNodes nodes{store};

    void SetUp() override {
        takeLeftOut();
        writeBytes(dir.file("Seiten\\Rom.htm"), "<html>Rom</html>");
        writeBytes(dir.file("Seiten\\Rom-Dateien\\bild.gif"), "GIF89a");
        writeBytes(dir.file("Seiten\\Paris.htm"), "<html>Paris</html>");
        writeBytes(dir.file("Seiten\\mehr\\Wien.htm"), "<html>Wien</html>");
        set(kRoot, "item_0", "Reisen");
        set(kRoot, "item_1", "Alt");
        folder("Reisen", {"Rom", "Link", "Staedte", "Paris"});
        page("Reisen\\Rom", dir.file("Seiten\\Rom.htm"), "01.02.2003", "http://rom.example/");
        set(kRoot + "\\Reisen\\Link", "type", "link");
        folder("Reisen\\Staedte", {"Wien"});
        page("Reisen\\Staedte\\Wien", dir.file("Seiten\\mehr\\Wien.htm"), "d3", "http://wien.example/");
        std::string paris = dir.file("Seiten\\Paris.htm");
        std::replace(paris.begin(), paris.end(), '\\', '/');
        page("Reisen\\Paris", paris, "d4", "http://paris.example/");
        folder("Alt", {"staedte"});
        folder("Alt\\staedte", {});
    }
    void set(const std::string& section, const std::string& key, const std::string& value) {
        nodes.setNodeValue(section, key, value);
    }
    std::string get(const std::string& path, const std::string& key) {
        return nodes.getNodeValue(kRoot + "\\" + path, key);
    }
    void folder(const std::string& path, std::vector<std::string> children) {
        set(kRoot + "\\" + path, "type", "folder");
        for (size_t i = 0; i < children.size(); ++i)
            set(kRoot + "\\" + path, "item_" + std::to_string(i), children[i]);
    }
    void page(const std::string& path, const std::string& href, const std::string& date,
              const std::string& url) {
        set(kRoot + "\\" + path, "type", "file");
        set(kRoot + "\\" + path, "DATE", date);
        set(kRoot + "\\" + path, "URL", url);
        set(kRoot + "\\" + path, "HREF", href);
    }
    std::vector<std::string> children(const std::string& path) {
        std::vector<std::string> names;
        for (int i = 0;; ++i) {
            std::string name = get(path, "item_" + std::to_string(i));
            if (name.empty()) return names;
            names.push_back(name);
        }
    }
    std::string offline() const { return dir.file("Eigene Dateien\\Quendal_Software_5\\Offline\\Data"); }
    std::string exportReisen() {
        EXPECT_EQ(export_Archiv2(nodes, "Reisen", dir.file("out.sad")), 1);
        return dir.file("out.sad");
    }
    static std::string getFolderPart(const std::string& path) { return path.substr(0, path.rfind('\\') + 1); }
};

// "section|key" for every entry line of an ini text, in file order.
std::vector<std::string> entryOrder(const std::string& text) {
    std::vector<std::string> order;
    std::string section;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[')
            section = line.substr(1, line.find(']') - 1);
        else if (line.find('=') != std::string::npos)
            order.push_back(section + "|" + line.substr(0, line.find('=')));
        start = end + 1;
    }
    return order;
}

std::vector<std::string> recordNames(const std::string& archivePath) {
    CFileArchive archive(archivePath);
    std::vector<std::string> names;
    if (!archive.loadArchive()) return names;
    ArchiveRecordReader reader(archive.content());
    while (auto record = reader.next())
        names.push_back(record->name);
    std::sort(names.begin(), names.end());
    return names;
}
} // namespace

TEST_F(ArchiveExchange, ArchivePlacesFollowTheProgramAndPersonalFolders) {
    EXPECT_EQ(getArchivIniPath(), getProgramDirectory() + "ini\\nvarchive.ini");
    EXPECT_EQ(getArchivTempFolder(), getProgramDirectory() + "ini\\Temp");
    EXPECT_EQ(getOfflineDataFolder(), offline());
    EXPECT_EQ(getArchivRelativePath("NVOfflineTreeRoot\\Reisen\\Rom"), "Reisen\\Rom");
}

TEST_F(ArchiveExchange, ExportPacksPagesCompanionFoldersAndADenseExchangeFile) {
    std::string archive = exportReisen();
    EXPECT_EQ(recordNames(archive), (std::vector<std::string>{"Paris.htm", "Rom-Dateien\\bild.gif", "Rom.htm",
                                                              "Wien.htm", "nvarchive.ini"}));
    EXPECT_FALSE(isDirectory(getArchivTempFolder()));
    EXPECT_FALSE(fileExists(getArchivTempFolder() + ".sad"));
    EXPECT_FALSE(fileExists(getArchivIniPath()));

    CFileArchive unpacked(archive);
    ASSERT_TRUE(unpacked.loadArchive());
    ASSERT_TRUE(unpacked.extractAll(dir.file("X\\")));
    const std::string x = dir.file("X\\nvarchive.ini");
    EXPECT_EQ(readProfileValue(kRoot, "item_0", x), "Rom");
    EXPECT_EQ(readProfileValue(kRoot, "item_1", x), "Staedte"); // the "link" leaves no gap
    EXPECT_EQ(readProfileValue(kRoot, "item_2", x), "Paris");
    EXPECT_EQ(readProfileValue(kRoot, "item_3", x), "");
    EXPECT_EQ(readProfileValue(kRoot, "type", x), "folder");
    EXPECT_EQ(readProfileValue(kRoot + "\\Paris", "HREF", x), "Paris.htm");
    EXPECT_EQ(readProfileValue(kRoot + "\\Rom", "URL", x), "http://rom.example/");
    EXPECT_EQ(readProfileValue(kRoot + "\\Staedte\\Wien", "DATE", x), "d3");
    EXPECT_EQ(readTextFile(dir.file("X\\Rom-Dateien\\bild.gif")), "GIF89a");

    const std::vector<std::string> expected = {"NVOfflineTreeRoot\\Rom|type",
                                               "NVOfflineTreeRoot\\Rom|DATE",
                                               "NVOfflineTreeRoot\\Rom|URL",
                                               "NVOfflineTreeRoot\\Rom|HREF",
                                               "NVOfflineTreeRoot|item_0",
                                               "NVOfflineTreeRoot|type",
                                               "NVOfflineTreeRoot|item_1",
                                               "NVOfflineTreeRoot|item_2",
                                               "NVOfflineTreeRoot\\Staedte|type",
                                               "NVOfflineTreeRoot\\Staedte|item_0",
                                               "NVOfflineTreeRoot\\Staedte\\Wien|type",
                                               "NVOfflineTreeRoot\\Staedte\\Wien|DATE",
                                               "NVOfflineTreeRoot\\Staedte\\Wien|URL",
                                               "NVOfflineTreeRoot\\Staedte\\Wien|HREF",
                                               "NVOfflineTreeRoot\\Paris|type",
                                               "NVOfflineTreeRoot\\Paris|DATE",
                                               "NVOfflineTreeRoot\\Paris|URL",
                                               "NVOfflineTreeRoot\\Paris|HREF"};
    EXPECT_EQ(entryOrder(readTextFile(x)), expected);
}

TEST_F(ArchiveExchange, ExportOfAnEmptyFolderIsAHiddenBareHeader) {
    folder("Leer", {});
    ASSERT_EQ(export_Archiv2(nodes, "Leer", dir.file("leer.sad")), 1);
    EXPECT_EQ(readTextFile(dir.file("leer.sad")).size(), 520u);
    EXPECT_NE(GetFileAttributesA(dir.file("leer.sad").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST_F(ArchiveExchange, ExportClearsLeftoversOfAnEarlierAbortedExport) {
    writeBytes(getArchivTempFolder() + "\\alt.htm", "stale");
    writeProfileValue(kRoot, "item_0", "Geist", getArchivIniPath());
    std::string archive = exportReisen();
    auto names = recordNames(archive);
    EXPECT_EQ(std::count(names.begin(), names.end(), "alt.htm"), 0);
    CFileArchive unpacked(archive);
    ASSERT_TRUE(unpacked.loadArchive() && unpacked.extractAll(dir.file("X\\")));
    EXPECT_EQ(readProfileValue(kRoot, "item_0", dir.file("X\\nvarchive.ini")), "Rom");
}

// A drive or folder that is not there is a failure, not a lack of room.
TEST_F(ArchiveExchange, ExportToAMissingDriveOrFolderFails) {
    EXPECT_EQ(export_Archiv2(nodes, "Reisen", "Q:\\kein\\laufwerk.sad"), -1);
    EXPECT_EQ(export_Archiv2(nodes, "Reisen", dir.file("fehlt\\out.sad")), -1);
    EXPECT_FALSE(fileExists(dir.file("fehlt\\out.sad")));
    EXPECT_FALSE(fileExists(getArchivTempFolder() + ".sad"));
    EXPECT_FALSE(isDirectory(getArchivTempFolder()));
}

TEST_F(ArchiveExchange, ExportToANetworkShare) {
    WineShare share;
    if (!share.available()) GTEST_SKIP() << "no share";
    ASSERT_EQ(export_Archiv2(nodes, "Reisen", share.file("reisen.sad")), 1);
    CFileArchive written(share.file("reisen.sad"));
    ASSERT_TRUE(written.loadArchive());
    EXPECT_EQ(export_Archiv2(nodes, "Reisen", "\\\\nvtest\\fehlt\\reisen.sad"), -1);
}

TEST_F(ArchiveExchange, ImportAppendsPagesReusesFoldersAndPointsIntoTheUnpackedFolder) {
    std::string archive = exportReisen();
    ASSERT_EQ(import_Archiv(store, "Alt", archive), 1);
    EXPECT_EQ(children("Alt"), (std::vector<std::string>{"staedte", "Rom", "Paris"}));
    EXPECT_EQ(children("Alt\\staedte"), std::vector<std::string>{"Wien"});
    EXPECT_EQ(get("Alt\\Rom", "type"), "file");
    EXPECT_EQ(get("Alt\\Rom", "DATE"), "01.02.2003");
    EXPECT_EQ(get("Alt\\Rom", "URL"), "http://rom.example/");
    const std::string href = get("Alt\\Rom", "HREF");
    const std::string unpacked = getFolderPart(href);
    EXPECT_EQ(getFolderPart(unpacked.substr(0, unpacked.size() - 1)), offline() + "\\");
    EXPECT_EQ(href, unpacked + "Rom.htm");
    EXPECT_EQ(readTextFile(href), "<html>Rom</html>");
    EXPECT_EQ(readTextFile(unpacked + "Rom-Dateien\\bild.gif"), "GIF89a");
    EXPECT_EQ(get("Alt\\staedte\\Wien", "HREF"), unpacked + "Wien.htm");
    EXPECT_EQ(get("Alt\\Paris", "HREF"), unpacked + "Paris.htm");
    EXPECT_FALSE(fileExists(unpacked + "out.sad")); // the copy of the archive is gone
    EXPECT_TRUE(fileExists(unpacked + "nvarchive.ini"));
    EXPECT_EQ(get("Reisen\\Rom", "HREF"), dir.file("Seiten\\Rom.htm")); // the source is untouched
}

TEST_F(ArchiveExchange, ImportIntoAnEmptyFolderCreatesFoldersAndPages) {
    std::string archive = exportReisen();
    ASSERT_EQ(import_Archiv(store, "Neu", archive), 1);
    EXPECT_EQ(children("Neu"), (std::vector<std::string>{"Rom", "Staedte", "Paris"}));
    EXPECT_EQ(get("Neu\\Staedte", "type"), "folder");
    EXPECT_EQ(children("Neu\\Staedte"), std::vector<std::string>{"Wien"});
}

TEST_F(ArchiveExchange, ImportAgainAsksBeforeEachReplacement) {
    std::string archive = exportReisen();
    ASSERT_EQ(import_Archiv(store, "Alt", archive), 1);
    const std::string firstRom = get("Alt\\Rom", "HREF");
    {
        QuestionScript questions;
        questions.push(IDNO);
        questions.push(IDCANCEL);
        questions.push(IDYES);
        ASSERT_EQ(import_Archiv(store, "Alt", archive), 1);
        ASSERT_EQ(questions.asked().size(), 3u);
        EXPECT_EQ(questions.asked()[0].key, "MessageBoxArchivReplace");
        EXPECT_EQ(questions.asked()[0].insert, "Alt\\Rom");
        EXPECT_EQ(questions.asked()[1].insert, "Alt\\staedte\\Wien"); // the spelling the tree shows
        EXPECT_EQ(questions.asked()[2].insert, "Alt\\Paris");
    }
    EXPECT_EQ(children("Alt"), (std::vector<std::string>{"staedte", "Rom", "Paris"}));
    EXPECT_EQ(get("Alt\\Rom", "HREF"), firstRom);
    EXPECT_EQ(getFolderPart(get("Alt\\staedte\\Wien", "HREF")), getFolderPart(firstRom));
    EXPECT_NE(getFolderPart(get("Alt\\Paris", "HREF")), getFolderPart(firstRom));
    EXPECT_EQ(readTextFile(get("Alt\\Paris", "HREF")), "<html>Paris</html>");
}

TEST_F(ArchiveExchange, AnAnswerWithTheBoxForAllTickedHoldsForEveryLaterPage) {
    std::string archive = exportReisen();
    ASSERT_EQ(import_Archiv(store, "Alt", archive), 1);
    const std::string first = getFolderPart(get("Alt\\Rom", "HREF"));
    auto folders = [&] {
        return std::vector<std::string>{getFolderPart(get("Alt\\Rom", "HREF")),
                                        getFolderPart(get("Alt\\staedte\\Wien", "HREF")),
                                        getFolderPart(get("Alt\\Paris", "HREF"))};
    };
    for (int keep : {IDNO, IDCANCEL}) {
        QuestionScript questions;
        questions.push(keep, true);
        ASSERT_EQ(import_Archiv(store, "Alt", archive), 1);
        EXPECT_EQ(questions.asked().size(), 1u);
        EXPECT_EQ(folders(), std::vector<std::string>(3, first)) << keep;
    }
    QuestionScript questions;
    questions.push(IDYES, true);
    ASSERT_EQ(import_Archiv(store, "Alt", archive), 1);
    EXPECT_EQ(questions.asked().size(), 1u);
    const std::string last = getFolderPart(get("Alt\\Rom", "HREF"));
    EXPECT_NE(last, first);
    EXPECT_EQ(folders(), std::vector<std::string>(3, last));
    EXPECT_EQ(children("Alt"), (std::vector<std::string>{"staedte", "Rom", "Paris"}));
}

TEST_F(ArchiveExchange, ANewcomerWhoseNameATreeEntryOfTheOtherKindHoldsGetsAFreeName) {
    folder("Mix", {"Rom", "Paris", "Rom (2)"});
    page("Mix\\Rom", dir.file("Seiten\\Rom.htm"), "d1", "http://rom.example/");
    folder("Mix\\Paris", {});
    page("Mix\\Rom (2)", dir.file("Seiten\\Rom.htm"), "d1", "http://rom.example/");
    const std::string exchange = "[NVOfflineTreeRoot]\r\nitem_0=\"rom\"\r\nitem_1=\"Paris\"\r\n"
                                 "[NVOfflineTreeRoot\\rom]\r\ntype=\"folder\"\r\nitem_0=\"Forum\"\r\n"
                                 "[NVOfflineTreeRoot\\rom\\Forum]\r\ntype=\"file\"\r\nHREF=\"forum.htm\"\r\n"
                                 "[NVOfflineTreeRoot\\Paris]\r\ntype=\"file\"\r\nHREF=\"paris.htm\"\r\n";
    writeBytes(dir.file("mix.sad"), archiveHeader() + archiveRecord("nvarchive.ini", exchange) +
                                        archiveRecord("forum.htm", "forum") + archiveRecord("paris.htm", "paris"));
    QuestionScript questions;
    ASSERT_EQ(import_Archiv(store, "Mix", dir.file("mix.sad")), 1);
    EXPECT_TRUE(questions.asked().empty());
    EXPECT_EQ(children("Mix"), (std::vector<std::string>{"Rom", "Paris", "Rom (2)", "rom (3)", "Paris (2)"}));
    EXPECT_EQ(get("Mix\\Rom", "HREF"), dir.file("Seiten\\Rom.htm"));
    EXPECT_EQ(get("Mix\\Paris", "type"), "folder");
    EXPECT_EQ(children("Mix\\rom (3)"), std::vector<std::string>{"Forum"});
    EXPECT_EQ(readTextFile(get("Mix\\rom (3)\\Forum", "HREF")), "forum");
    EXPECT_EQ(readTextFile(get("Mix\\Paris (2)", "HREF")), "paris");
}

TEST_F(ArchiveExchange, AnArchiveWithFilesButWithoutExchangeFileIsRefused) {
    writeBytes(dir.file("ohne.sad"), archiveHeader() + archiveRecord("seite.htm", "page"));
    EXPECT_EQ(import_Archiv(store, "Alt", dir.file("ohne.sad")), -1);
    EXPECT_EQ(entriesIn(offline()), 0u);
    writeBytes(dir.file("leer.sad"), archiveHeader()); // an exported empty folder
    EXPECT_EQ(import_Archiv(store, "Alt", dir.file("leer.sad")), 1);
    EXPECT_EQ(entriesIn(offline()), 0u);
    EXPECT_EQ(children("Alt"), std::vector<std::string>{"staedte"});
}

TEST_F(ArchiveExchange, FailedPackingLeavesNeitherArchiveNorExchangeFileBehind) {
    // A file in the staging folder that another program holds open: packing stops there.
    const std::string held = getArchivTempFolder() + "\\zz_offen.htm";
    writeBytes(held, "held");
    ScopedHandle holder(
        CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    MessageCapture messages;
    EXPECT_EQ(export_Archiv2(nodes, "Reisen", dir.file("out.sad")), -1);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"unable to open input file"});
    EXPECT_FALSE(fileExists(getArchivTempFolder() + ".sad"));
    EXPECT_FALSE(fileExists(getArchivIniPath()));
    EXPECT_FALSE(fileExists(dir.file("out.sad")));
    holder.reset();
    deleteDirectory(getArchivTempFolder());
}

TEST_F(ArchiveExchange, ExportReplacesTheOldArchiveWithoutWritingIntoIt) {
    writeBytes(dir.file("out.sad"), "das alte Archiv");
    // A second name of the old archive's file: an export that wrote into the old file would
    // change what it holds.
    ASSERT_TRUE(CreateHardLinkA(dir.file("sicherung.sad").c_str(), dir.file("out.sad").c_str(), nullptr));
    exportReisen();
    EXPECT_EQ(readTextFile(dir.file("sicherung.sad")), "das alte Archiv");
    EXPECT_EQ(recordNames(dir.file("out.sad")).size(), 5u);
    EXPECT_EQ(entriesIn(dir.path()), 3u); // out.sad, sicherung.sad and Seiten: no temporary file
}

TEST_F(ArchiveExchange, ImportLeavesOutPagesWhoseHrefIsNotAPlainFileName) {
    const std::string exchange =
        "[NVOfflineTreeRoot]\r\n"
        "item_0=\"Gut\"\r\nitem_1=\"Hoch\"\r\nitem_2=\"Abs\"\r\nitem_3=\"Leer\"\r\n"
        "item_4=\"Schraeg\"\r\nitem_5=\"Punkte\"\r\nitem_6=\"Auch\"\r\nitem_7=\"..\\Pfad\"\r\n"
        "[NVOfflineTreeRoot\\Gut]\r\ntype=\"file\"\r\nHREF=\"gut.htm\"\r\nURL=\"u1\"\r\n"
        "[NVOfflineTreeRoot\\Hoch]\r\ntype=\"file\"\r\nHREF=\"..\\..\\boot.ini\"\r\n"
        "[NVOfflineTreeRoot\\Abs]\r\ntype=\"file\"\r\nHREF=\"C:\\windows\\win.ini\"\r\n"
        "[NVOfflineTreeRoot\\Leer]\r\ntype=\"file\"\r\nHREF=\"\"\r\n"
        "[NVOfflineTreeRoot\\Schraeg]\r\ntype=\"file\"\r\nHREF=\"a/b.htm\"\r\n"
        "[NVOfflineTreeRoot\\Punkte]\r\ntype=\"file\"\r\nHREF=\"..\"\r\n"
        "[NVOfflineTreeRoot\\Auch]\r\ntype=\"file\"\r\nHREF=\"auch..gut.htm\"\r\n"
        "[NVOfflineTreeRoot\\..\\Pfad]\r\ntype=\"file\"\r\nHREF=\"gut.htm\"\r\n";
    writeBytes(dir.file("hand.sad"),
               archiveHeader() + archiveRecord("nvarchive.ini", exchange) + archiveRecord("gut.htm", "gut"));
    ASSERT_EQ(import_Archiv(store, "Hand", dir.file("hand.sad")), 1);
    EXPECT_EQ(children("Hand"), (std::vector<std::string>{"Gut", "Auch", ".. Pfad"}));
    EXPECT_EQ(readTextFile(get("Hand\\Gut", "HREF")), "gut");
    EXPECT_EQ(get("Hand\\Gut", "URL"), "u1");
    EXPECT_EQ(get("Hand\\Hoch", "HREF"), "");
    EXPECT_EQ(get("Hand\\Abs", "type"), "");
    // A child name holding "\" names no section below another: it is stored with a space instead.
    EXPECT_EQ(get("Hand\\..\\Pfad", "HREF"), "");
    EXPECT_EQ(readTextFile(get("Hand\\.. Pfad", "HREF")), "gut");
}

TEST_F(ArchiveExchange, ImportStopsAtAbsurdlyDeepExchangeSections) {
    std::string exchange, section = "NVOfflineTreeRoot";
    for (int depth = 0; depth < 300; ++depth) {
        exchange += "[" + section + "]\r\ntype=\"folder\"\r\nitem_0=\"d\"\r\n";
        section += "\\d";
    }
    writeBytes(dir.file("tief.sad"), archiveHeader() + archiveRecord("nvarchive.ini", exchange));
    ASSERT_EQ(import_Archiv(store, "Tief", dir.file("tief.sad")), 1);
    std::string path = "Tief";
    int depth = 0;
    while (!children(path).empty())
        path += "\\" + children(path)[0], ++depth;
    // The store holds no section name over 511 bytes ("NVOfflineTreeRoot\\Tief" and 244 times
    // "\\d"), which stops it before the import's own limit of 256 levels.
    EXPECT_EQ(depth, 244);
    const std::vector<LeftOutEntry> leftOut = takeLeftOut();
    ASSERT_EQ(leftOut.size(), 1u);
    EXPECT_EQ(leftOut[0].path, path + "\\d");
}

TEST_F(ArchiveExchange, DamagedOrTraversalArchiveIsRefusedAndWritesNothing) {
    std::string good = readTextFile(exportReisen());
    const std::string before = store.document().getSectionNames();
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {{"cut", good.substr(0, good.size() - 2)},
                 {"traversal", good + archiveRecord("..\\..\\..\\entkommen.htm", "evil")},
                 {"drive", good + archiveRecord("C:\\entkommen.htm", "evil")},
                 {"too short", good.substr(0, 100)}};
    createDirectory(offline(), false);
    for (const Case& test : cases) {
        writeBytes(dir.file("bad.sad"), test.bytes);
        EXPECT_EQ(import_Archiv(store, "Alt", dir.file("bad.sad")), -1) << test.what;
        EXPECT_EQ(entriesIn(offline()), 0u) << test.what;
        EXPECT_FALSE(fileExists(dir.file("Eigene Dateien\\entkommen.htm"))) << test.what;
        EXPECT_EQ(children("Alt"), std::vector<std::string>{"staedte"}) << test.what;
    }
    EXPECT_EQ(import_Archiv(store, "Alt", dir.file("fehlt.sad")), -1);
    EXPECT_EQ(entriesIn(offline()), 0u);
    EXPECT_EQ(store.document().getSectionNames(), before);
}

namespace {
size_t peakPrivateBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PeakPagefileUsage;
}

// An archive with an exchange file and one page of size bytes, written a block at a time.
bool writeLargeArchive(const std::string& path, size_t size) {
    ScopedHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    const std::string exchange = "[NVOfflineTreeRoot]\r\nitem_0=\"Gross\"\r\n"
                                 "[NVOfflineTreeRoot\\Gross]\r\ntype=\"file\"\r\nHREF=\"gross.htm\"\r\n";
    std::string start = archiveHeader() + archiveRecord("nvarchive.ini", exchange) +
                        encodeRecordHead("gross.htm", static_cast<uint32_t>(size));
    std::string block(1 << 20, 'g');
    DWORD written = 0;
    if (!file || !WriteFile(file.get(), start.data(), static_cast<DWORD>(start.size()), &written, nullptr))
        return false;
    for (size_t left = size; left > 0; left -= std::min(left, block.size()))
        if (!WriteFile(file.get(), block.data(), static_cast<DWORD>(std::min(left, block.size())), &written,
                       nullptr))
            return false;
    return true;
}
} // namespace

TEST_F(ArchiveExchange, ImportReadsTheArchiveWithoutCopyingItIntoMemory) {
    const size_t size = 96u << 20;
    ASSERT_TRUE(writeLargeArchive(dir.file("gross.sad"), size));
    ASSERT_EQ(import_Archiv(store, "Gross", dir.file("gross.sad")), 1);
    const std::string href = get("Gross\\Gross", "HREF");
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExA(href.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, size);
    EXPECT_LT(peakPrivateBytes(), 64u << 20); // a heap copy of the archive alone would be 96 MiB
}
