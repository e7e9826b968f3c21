#include <gtest/gtest.h>

#include <algorithm>

#include "ArchiveTestFiles.h"
#include "archive/PageFiles.h"
#include "platform/Handles.h"
#include "platform/ProgramPaths.h"
#include "support/TestSupport.h"

namespace {
const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

struct ToolRun {
    DWORD exitCode = 99;
    std::string out;
    std::string err;
};

ScopedHandle inheritableFile(const std::string& path) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    return ScopedHandle(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Runs nvtool as a real process with its output captured in files.
ToolRun runTool(const std::string& exe, const std::string& arguments, const TempDir& dir) {
    ToolRun run;
    {
        ScopedHandle out = inheritableFile(dir.file("stdout.txt"));
        ScopedHandle err = inheritableFile(dir.file("stderr.txt"));
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out.get();
        startup.hStdError = err.get();
        std::string commandLine = "\"" + exe + "\" " + arguments;
        PROCESS_INFORMATION process{};
        if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                            dir.path().c_str(), &startup, &process))
            return run;
        ScopedHandle processHandle(process.hProcess), thread(process.hThread);
        WaitForSingleObject(process.hProcess, 60000);
        GetExitCodeProcess(process.hProcess, &run.exitCode);
    }
    run.out = readTextFile(dir.file("stdout.txt"));
    run.err = readTextFile(dir.file("stderr.txt"));
    return run;
}

// A demo installation: nvtool copied into its own program folder with a per-user file holding a
// page archive, the suite's current user, "system.ini" and a redirected personal folder.
class NvToolArchive : public testing::Test {
  protected:
    TempDir dir;
    std::string program = dir.file("Programm");
    std::string tool = program + "\\nvtool.exe";
    RegistryValueGuard user{HKEY_CURRENT_USER, "Software\\Quendal\\Quendal_Software_5\\Browser",
                            "CurrentUser", "demo"};
    RegistryValueGuard personal{HKEY_CURRENT_USER, kShellFolders, "Personal", dir.file("Eigene Dateien")};
    std::string systemIni = getIniFilePath("system.ini");
    bool ownSystemIni = false;

    void SetUp() override {
        ASSERT_TRUE(createDirectory(program + "\\ini", false));
        ASSERT_TRUE(CopyFileA((testExecutableDirectory() + "nvtool.exe").c_str(), tool.c_str(), FALSE));
        if (!fileExists(systemIni)) {
            ownSystemIni = writeBytes(systemIni, "[System]\r\nDemo=\"1\"\r\n");
            ASSERT_TRUE(ownSystemIni);
        }
        writeBytes(dir.file("Seiten\\Rom.htm"), "<html>Rom</html>");
        writeBytes(dir.file("Seiten\\Rom-Dateien\\bild.gif"), "GIF89a");
        writeBytes(dir.file("Seiten\\Wien.htm"), "<html>Wien</html>");
        const std::string userFile =
            "[Registry_HKCU]\r\nCurrentSkin=\"Skin0000\"\r\n"
            "[NVOfflineTreeRoot]\r\nitem_0=\"Reisen\"\r\n"
            "[NVOfflineTreeRoot\\Reisen]\r\ntype=\"folder\"\r\nitem_0=\"Rom\"\r\n"
            "item_1=\"Staedte\"\r\n"
            "[NVOfflineTreeRoot\\Reisen\\Rom]\r\ntype=\"file\"\r\nDATE=\"d1\"\r\n"
            "URL=\"http://rom.example/\"\r\nHREF=\"" +
            dir.file("Seiten\\Rom.htm") +
            "\"\r\n"
            "[NVOfflineTreeRoot\\Reisen\\Staedte]\r\ntype=\"folder\"\r\nitem_0=\"Wien\"\r\n"
            "[NVOfflineTreeRoot\\Reisen\\Staedte\\Wien]\r\ntype=\"file\"\r\n"
            "HREF=\"" +
            dir.file("Seiten\\Wien.htm") + "\"\r\n";
        writeBytes(program + "\\ini\\demo.ini", userFile);
    }
    void TearDown() override {
        if (ownSystemIni) DeleteFileA(systemIni.c_str());
    }
    ToolRun runNvTool(const std::string& arguments) { return runTool(tool, arguments, dir); }
    std::string offline() const { return dir.file("Eigene Dateien\\Quendal_Software_5\\Offline\\Data"); }
    // The one folder an import unpacked into.
    std::string unpackedFolder() const {
        std::vector<std::string> files = filesBelow(offline());
        return files.empty() ? "" : offline() + "\\" + files[0].substr(0, files[0].find('\\'));
    }
    void writeUserFile(const std::string& archiveSections) {
        writeBytes(program + "\\ini\\demo.ini", "[Registry_HKCU]\r\nCurrentSkin=\"Skin0000\"\r\n" + archiveSections);
    }
};
} // namespace

TEST_F(NvToolArchive, ExportThenImportIntoAnotherFolderAndAskAgainOnTheSecondImport) {
    ToolRun exported = runNvTool("archive export Reisen out.sad");
    ASSERT_EQ(exported.exitCode, 0u) << exported.err;
    ASSERT_TRUE(fileExists(dir.file("out.sad")));

    ToolRun imported = runNvTool("archive import Alt out.sad");
    ASSERT_EQ(imported.exitCode, 0u) << imported.err;
    EXPECT_EQ(imported.err, "");

    // A new process reads the saved per-user file.
    ToolRun tree = runNvTool("archive tree Alt");
    ASSERT_EQ(tree.exitCode, 0u) << tree.err;
    ASSERT_EQ(entriesIn(offline()), 1u);
    const std::string unpacked =
        offline() + "\\" + filesBelow(offline())[0].substr(0, filesBelow(offline())[0].find('\\'));
    EXPECT_EQ(tree.out, "Rom\t" + unpacked + "\\Rom.htm\nStaedte\\\n  Wien\t" + unpacked + "\\Wien.htm\n");
    EXPECT_EQ(readTextFile(unpacked + "\\Rom-Dateien\\bild.gif"), "GIF89a");

    ToolRun again = runNvTool("archive import Alt out.sad --no");
    EXPECT_EQ(again.exitCode, 0u);
    EXPECT_NE(again.err.find("question MessageBoxArchivReplace \"Alt\\Rom\" answered No"), std::string::npos);
    EXPECT_NE(again.err.find("\"Alt\\Staedte\\Wien\""), std::string::npos);
    EXPECT_EQ(runNvTool("archive tree Alt").out, tree.out);

    // The box "for all" ticked: No keeps every page without further questions, Yes replaces them.
    ToolRun keepAll = runNvTool("archive import Alt out.sad --no --all");
    EXPECT_EQ(keepAll.exitCode, 0u);
    EXPECT_EQ(keepAll.err.find("question", keepAll.err.find("question") + 1), std::string::npos) << keepAll.err;
    EXPECT_EQ(runNvTool("archive tree Alt").out, tree.out);
    ToolRun replaceAll = runNvTool("archive import Alt out.sad --yes --all");
    EXPECT_EQ(replaceAll.exitCode, 0u);
    const std::string replaced = runNvTool("archive tree Alt").out;
    EXPECT_NE(replaced, tree.out);
    EXPECT_EQ(std::count(replaced.begin(), replaced.end(), '\t'), 2);
    EXPECT_EQ(replaced.find(unpacked), std::string::npos); // both pages point at the newest copy
}

TEST_F(NvToolArchive, PagesWithTheSameFileNameKeepTheirOwnFiles) {
    for (const char* side : {"a", "b"}) {
        writeBytes(dir.file(std::string("Seiten\\") + side + "\\index.htm"), std::string("<html>") + side);
        writeBytes(dir.file(std::string("Seiten\\") + side + "\\index-Dateien\\bild.gif"), std::string("GIF") + side);
    }
    writeUserFile("[NVOfflineTreeRoot]\r\nitem_0=\"Web\"\r\n"
                  "[NVOfflineTreeRoot\\Web]\r\ntype=\"folder\"\r\nitem_0=\"Start\"\r\nitem_1=\"Mehr\"\r\n"
                  "[NVOfflineTreeRoot\\Web\\Start]\r\ntype=\"file\"\r\nHREF=\"" + dir.file("Seiten\\a\\index.htm") +
                  "\"\r\n[NVOfflineTreeRoot\\Web\\Mehr]\r\ntype=\"folder\"\r\nitem_0=\"Start\"\r\n"
                  "[NVOfflineTreeRoot\\Web\\Mehr\\Start]\r\ntype=\"file\"\r\nHREF=\"" + dir.file("Seiten\\b\\index.htm") +
                  "\"\r\n");
    ASSERT_EQ(runNvTool("archive export Web web.sad").exitCode, 0u);
    ASSERT_EQ(runNvTool("archive import Neu web.sad").exitCode, 0u);

    const std::string tree = runNvTool("archive tree Neu").out;
    const std::string a = tree.substr(tree.find('\t') + 1, tree.find('\n') - tree.find('\t') - 1);
    const std::string b = tree.substr(tree.rfind('\t') + 1, tree.rfind('\n') - tree.rfind('\t') - 1);
    EXPECT_EQ(readTextFile(a), "<html>a");
    EXPECT_EQ(readTextFile(b), "<html>b");
    std::string companion;
    EXPECT_EQ(readTextFile(getPageFilesFolder(b, companion) + "/bild.gif"), "GIFb");
    EXPECT_EQ(readTextFile(getPageFilesFolder(a, companion) + "/bild.gif"), "GIFa");
}

TEST_F(NvToolArchive, ExportNamesThePagesWhoseFileCannotBeRead) {
    DeleteFileA(dir.file("Seiten\\Wien.htm").c_str());
    ToolRun exported = runNvTool("archive export Reisen out.sad");
    EXPECT_EQ(exported.exitCode, 0u);
    EXPECT_EQ(exported.err, "nvtool: left out: Reisen\\Staedte\\Wien: its page file \"" + dir.file("Seiten\\Wien.htm") +
                                "\" cannot be read\r\n");
}

TEST_F(NvToolArchive, ImportKeepsEveryNameVisibleAndNamesWhatTheStoreCannotHold) {
    const std::string url = "http://lang.example/" + std::string(3000, 'x');
    const std::string exchange = "[NVOfflineTreeRoot]\r\n"
                                 "item_0=\"Bericht [PDF]\"\r\nitem_1=\"News\"\r\nitem_2=\"News]\"\r\nitem_3=\"Lang\"\r\n"
                                 "[NVOfflineTreeRoot\\Bericht [PDF]]\r\ntype=\"file\"\r\nHREF=\"bericht.htm\"\r\n"
                                 "[NVOfflineTreeRoot\\News]\r\ntype=\"folder\"\r\nitem_0=\"Innen\"\r\n"
                                 "[NVOfflineTreeRoot\\News\\Innen]\r\ntype=\"file\"\r\nHREF=\"innen.htm\"\r\n"
                                 "[NVOfflineTreeRoot\\News]]\r\ntype=\"file\"\r\nHREF=\"news.htm\"\r\n"
                                 "[NVOfflineTreeRoot\\Lang]\r\ntype=\"file\"\r\nHREF=\"lang.htm\"\r\nURL=\"" + url +
                                 "\"\r\n";
    writeBytes(dir.file("hand.sad"), archiveHeader() + archiveRecord("nvarchive.ini", exchange) +
                                         archiveRecord("bericht.htm", "b") + archiveRecord("innen.htm", "i") +
                                         archiveRecord("news.htm", "n") + archiveRecord("lang.htm", "l"));
    ToolRun imported = runNvTool("archive import Hand hand.sad");
    EXPECT_EQ(imported.exitCode, 0u);
    EXPECT_EQ(imported.err, "nvtool: left out: Hand\\Lang: its URL is longer than the store can hold (" +
                                std::to_string(url.size()) + " characters)\r\n");

    // A new process reads the saved per-user file.
    const std::string unpacked = unpackedFolder();
    // "]" became a blank, so "News " is a link of its own beside the folder "News".
    EXPECT_EQ(runNvTool("archive tree Hand").out, "Bericht [PDF \t" + unpacked + "\\bericht.htm\nNews\\\n  Innen\t" +
                                                      unpacked + "\\innen.htm\nNews \t" + unpacked + "\\news.htm\n");
}

TEST_F(NvToolArchive, ImportFailsWhenTheConfigurationCannotBeSaved) {
    ASSERT_EQ(runNvTool("archive export Reisen out.sad").exitCode, 0u);
    // A program that reads the per-user file and lets nobody replace it.
    ScopedHandle reader(CreateFileA((program + "\\ini\\demo.ini").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(reader);
    EXPECT_EQ(runNvTool("archive import Alt out.sad").exitCode, 1u);
}

TEST_F(NvToolArchive, ListCreateAndExtract) {
    writeBytes(dir.file("T\\a.htm"), "abc");
    writeBytes(dir.file("T\\a-Dateien\\b.gif"), "");
    ASSERT_EQ(runNvTool("archive create T t.sad").exitCode, 0u);
    ToolRun list = runNvTool("archive list t.sad");
    EXPECT_EQ(list.exitCode, 0u);
    EXPECT_TRUE(list.out == "3\ta.htm\n0\ta-Dateien\\b.gif\n2\n" ||
                list.out == "0\ta-Dateien\\b.gif\n3\ta.htm\n2\n")
        << list.out;
    ASSERT_EQ(runNvTool("archive extract t.sad X").exitCode, 0u);
    EXPECT_EQ(readTextFile(dir.file("X\\a.htm")), "abc");
    EXPECT_TRUE(fileExists(dir.file("X\\a-Dateien\\b.gif")));
}

TEST_F(NvToolArchive, DamagedArchivesAreNamedAndRefused) {
    writeBytes(dir.file("bad.sad"), archiveHeader() + archiveRecord("gut.htm", "gut") +
                                        archiveRecord("..\\..\\boese.htm", "evil"));
    ToolRun list = runNvTool("archive list bad.sad");
    EXPECT_EQ(list.exitCode, 1u);
    EXPECT_EQ(list.out, "3\tgut.htm\n");
    EXPECT_NE(list.err.find("record 1 at offset 539 (\"..\\..\\boese.htm\"): name climbs out"),
              std::string::npos)
        << list.err;

    ToolRun extract = runNvTool("archive extract bad.sad X");
    EXPECT_EQ(extract.exitCode, 1u);
    EXPECT_FALSE(fileExists(dir.file("X")));
    EXPECT_FALSE(fileExists(getParentPath(dir.path()) + "\\boese.htm"));

    ToolRun imported = runNvTool("archive import Alt bad.sad");
    EXPECT_EQ(imported.exitCode, 1u);
    EXPECT_EQ(entriesIn(offline()), 0u);
    EXPECT_EQ(runNvTool("archive tree Alt").out, "");

    writeBytes(dir.file("cut.sad"),
               (archiveHeader() + archiveRecord("seite.htm", "0123456789")).substr(0, 540));
    ToolRun cut = runNvTool("archive list cut.sad");
    EXPECT_EQ(cut.exitCode, 1u);
    EXPECT_NE(cut.err.find("data size points past the end"), std::string::npos);
}

TEST_F(NvToolArchive, ExitCodesForUsageNoRoomAndFailure) {
    EXPECT_EQ(runNvTool("archive").exitCode, 2u);
    EXPECT_EQ(runNvTool("archive list").exitCode, 2u);
    EXPECT_EQ(runNvTool("archive import Alt x.sad --vielleicht").exitCode, 2u);
    EXPECT_EQ(runNvTool("archive bogus").exitCode, 2u);
    // A drive that is not there is a failure, not a lack of room.
    ToolRun missingDrive = runNvTool("archive export Reisen Q:\\kein\\laufwerk.sad");
    EXPECT_EQ(missingDrive.exitCode, 1u);
    EXPECT_NE(missingDrive.err.find("Q:\\kein\\laufwerk.sad"), std::string::npos) << missingDrive.err;
    EXPECT_EQ(runNvTool("archive export Reisen fehlt\\out.sad").exitCode, 1u);
    EXPECT_EQ(runNvTool("archive import Alt fehlt.sad").exitCode, 1u);
    EXPECT_EQ(runNvTool("archive list fehlt.sad").exitCode, 1u);
}

namespace {
// The page archive sections of "nvtool config show" output.
std::string archiveSections(const std::string& shown) {
    std::string sections;
    bool inside = false;
    size_t start = 0;
    while (start < shown.size()) {
        size_t end = shown.find('\n', start);
        end = end == std::string::npos ? shown.size() : end + 1;
        const std::string line = shown.substr(start, end - start);
        if (line[0] == '[') inside = line.rfind("[NVOfflineTreeRoot", 0) == 0;
        if (inside) sections += line;
        start = end;
    }
    return sections;
}
} // namespace

TEST_F(NvToolArchive, UndoRestoresTheTreeAndRemovesTheUnpackedFolder) {
    const std::string userFile = "\"" + program + "\\ini\\demo.ini\"";
    ASSERT_EQ(runNvTool("archive export Reisen out.sad").exitCode, 0u);
    const std::string before = archiveSections(runNvTool("config show " + userFile).out);
    ASSERT_NE(before, "");
    // Into the exported folder itself: both pages replaced, a copy of the sub-folder added.
    ToolRun imported = runNvTool("archive import Reisen out.sad --yes --all");
    ASSERT_EQ(imported.exitCode, 0u) << imported.err;
    ASSERT_NE(archiveSections(runNvTool("config show " + userFile).out), before);
    ASSERT_EQ(entriesIn(offline()), 1u);
    const std::string unpacked =
        offline() + "\\" + filesBelow(offline())[0].substr(0, filesBelow(offline())[0].find('\\'));

    ToolRun shown = runNvTool("archive undo --show");
    EXPECT_EQ(shown.exitCode, 0u);
    EXPECT_EQ(shown.out.substr(0, 14), "folder Reisen\r");
    EXPECT_NE(shown.out.find("\r\nadded 0\r\nchanged 2\r\nunpacked " + unpacked + "\r\nundo possible\r\n"),
              std::string::npos)
        << shown.out;

    ToolRun undone = runNvTool("archive undo");
    EXPECT_EQ(undone.exitCode, 0u) << undone.err;
    EXPECT_EQ(undone.out, "undone Reisen\r\n");
    EXPECT_EQ(archiveSections(runNvTool("config show " + userFile).out), before);
    EXPECT_EQ(entriesIn(offline()), 0u);
    EXPECT_EQ(readTextFile(dir.file("Seiten\\Rom.htm")), "<html>Rom</html>");

    ToolRun again = runNvTool("archive undo");
    EXPECT_EQ(again.exitCode, 1u);
    EXPECT_NE(again.err.find("nvtool: archive undo: there is no import to undo"), std::string::npos);
}
