#include <gtest/gtest.h>

#include <algorithm>

#include "ArchiveTestFiles.h"
#include "archive/FileArchive.h"
#include "archive/RecordAppender.h"
#include "platform/Handles.h"
#include "support/TestSupport.h"

namespace {
std::string packFolder(const TempDir& dir, const std::string& folder) {
    std::string archive = dir.file("out.sad");
    EXPECT_TRUE(CFileArchive(archive).createArchive(folder));
    return readTextFile(archive);
}

bool unpack(const std::string& archivePath, const std::string& destination) {
    CFileArchive archive(archivePath);
    return archive.loadArchive() && archive.extractAll(destination + "\\");
}
} // namespace

TEST(FileArchive, PacksAFolderIntoHeaderAndRecordsWithRelativeNames) {
    TempDir dir;
    const std::string source = dir.file("T");
    writeBytes(source + "\\x\\y.htm", "<html>");
    std::string bytes = packFolder(dir, source);
    ASSERT_EQ(bytes.size(), 520u + archiveRecord("x\\y.htm", "<html>").size());
    EXPECT_EQ(bytes.substr(0, 4), "\xEF\xBE\xAD\xDE");
    EXPECT_EQ(bytes.compare(8, 23, "Norvalen Internet AG - "), 0);
    EXPECT_EQ(std::string(bytes.c_str() + 264), "Norvalen Internet AG");
    EXPECT_EQ(bytes.substr(520), archiveRecord("x\\y.htm", "<html>"));
    EXPECT_EQ(static_cast<unsigned char>(bytes[520]), 8); // name size with its zero byte
    EXPECT_EQ(GetFileAttributesA(dir.file("out.sad").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST(FileArchive, FolderWithoutFilesGivesHiddenHeaderOnlyArchiveThatExtractsToNothing) {
    TempDir dir;
    createDirectory(dir.file("T\\leer"), false);
    std::string bytes = packFolder(dir, dir.file("T"));
    EXPECT_EQ(bytes.size(), 520u);
    EXPECT_NE(GetFileAttributesA(dir.file("out.sad").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    createDirectory(dir.file("D"), false);
    EXPECT_TRUE(unpack(dir.file("out.sad"), dir.file("D")));
    EXPECT_EQ(entriesIn(dir.file("D")), 0u);
}

TEST(FileArchive, RoundTripsATreeWithEmptyHiddenAndReadOnlyFiles) {
    TempDir dir;
    const std::string source = dir.file("T");
    writeBytes(source + "\\seite.htm", "page");
    writeBytes(source + "\\seite-Dateien\\bild.gif", std::string(10000, '\x7F') + std::string("\0\1\2", 3));
    writeBytes(source + "\\leer.txt", "");
    std::string large(200000, '\0');
    for (size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<char>(i * 31 + i / 4096);
    writeBytes(source + "\\gross.bin", large);
    writeBytes(source + "\\versteckt.txt", "hidden");
    SetFileAttributesA((source + "\\versteckt.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    packFolder(dir, source);
    ASSERT_TRUE(unpack(dir.file("out.sad"), dir.file("D")));
    auto files = filesBelow(dir.file("D"));
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"gross.bin", "leer.txt", "seite-Dateien\\bild.gif",
                                               "seite.htm", "versteckt.txt"}));
    for (const std::string& file : files)
        EXPECT_EQ(readTextFile(dir.file("D\\" + file)), readTextFile(source + "\\" + file)) << file;
    EXPECT_TRUE(fileExists(dir.file("D\\leer.txt")));
}

TEST(FileArchive, AddFileOnItsOwnAppendsToAnExistingArchiveAndMakesItNormal) {
    TempDir dir;
    createDirectory(dir.file("T"), false);
    CFileArchive archive(dir.file("out.sad"));
    ASSERT_TRUE(archive.createArchive(dir.file("T")));
    EXPECT_NE(GetFileAttributesA(dir.file("out.sad").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    writeBytes(dir.file("T\\x\\spaet.htm"), "late");
    ASSERT_TRUE(archive.addFile(dir.file("T\\x\\spaet.htm")));
    EXPECT_EQ(readTextFile(dir.file("out.sad")).substr(520), archiveRecord("x\\spaet.htm", "late"));
    EXPECT_EQ(GetFileAttributesA(dir.file("out.sad").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST(FileArchive, ExtractsSlashNamesIntoSubFoldersAndAcceptsAnyHeader) {
    TempDir dir;
    writeBytes(dir.file("a.sad"), std::string(520, 'Z') + archiveRecord("a/b.gif", "GIF"));
    ASSERT_TRUE(unpack(dir.file("a.sad"), dir.file("D")));
    EXPECT_EQ(readTextFile(dir.file("D\\a\\b.gif")), "GIF");

    writeBytes(dir.file("short.sad"), std::string(519, '\0'));
    EXPECT_FALSE(unpack(dir.file("short.sad"), dir.file("E")));
    writeBytes(dir.file("bare.sad"), std::string(520, '\0'));
    EXPECT_TRUE(unpack(dir.file("bare.sad"), dir.file("E")));
    writeBytes(dir.file("empty.sad"), "");
    EXPECT_FALSE(unpack(dir.file("empty.sad"), dir.file("E")));
    EXPECT_FALSE(unpack(dir.file("missing.sad"), dir.file("E")));
}

TEST(FileArchive, RefusesDamagedAndUnsafeArchivesWholeWithoutWritingAnything) {
    TempDir dir;
    const std::string good = archiveRecord("zuerst.htm", "first") + archiveRecord("sub\\zweit.htm", "second");
    const std::string full = archiveHeader() + good + archiveRecord("seite.htm", "0123456789");
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"cut in a name", full.substr(0, 520 + good.size() + 4 + 4)},
        {"cut in data", full.substr(0, full.size() - 3)},
        {"size past the end", archiveHeader() + good + encodeRecordHead("x.htm", 0x7FFFFFFF) + "abc"},
        {"name without zero byte", archiveHeader() + good + std::string("\3\0\0\0abc\0\0\0\0", 11)},
        {"traversal", archiveHeader() + good + archiveRecord("..\\..\\entkommen.htm", "evil")},
        {"slash traversal", archiveHeader() + good + archiveRecord("sub/../../entkommen.htm", "evil")},
        {"absolute", archiveHeader() + good + archiveRecord("\\entkommen.htm", "evil")},
        {"drive letter", archiveHeader() + good + archiveRecord(dir.file("entkommen.htm"), "evil")},
        {"empty name", archiveHeader() + good + archiveRecord("", "evil")},
    };
    for (const Case& test : cases) {
        const std::string destination = dir.file("D");
        createDirectory(destination, false);
        writeBytes(dir.file("bad.sad"), test.bytes);
        CFileArchive archive(dir.file("bad.sad"));
        ASSERT_TRUE(archive.loadArchive()) << test.what;
        EXPECT_FALSE(archive.extractAll(destination + "\\")) << test.what;
        ASSERT_TRUE(archive.lastProblem()) << test.what;
        EXPECT_EQ(archive.lastProblem()->index, 2u) << test.what;
        EXPECT_EQ(entriesIn(destination), 0u) << test.what;
        EXPECT_FALSE(fileExists(dir.file("entkommen.htm"))) << test.what;
        EXPECT_FALSE(fileExists(getParentPath(dir.path()) + "\\entkommen.htm")) << test.what;
    }
}

TEST(FileArchive, RefusesNamesThatMakeTooLongPaths) {
    TempDir dir;
    writeBytes(dir.file("long.sad"), archiveHeader() + archiveRecord(std::string(250, 'n'), "x"));
    CFileArchive archive(dir.file("long.sad"));
    ASSERT_TRUE(archive.loadArchive());
    EXPECT_FALSE(archive.extractAll(dir.file("D\\")));
    EXPECT_EQ(entriesIn(dir.file("D")), 0u);
}

TEST(FileArchive, ExtractFileStaysInsideTheContent) {
    TempDir dir;
    writeBytes(dir.file("a.sad"), archiveHeader() + archiveRecord("a.txt", "abc"));
    CFileArchive archive(dir.file("a.sad"));
    ASSERT_TRUE(archive.loadArchive());
    size_t position = 520 + 4 + 6 + 4;
    EXPECT_FALSE(archive.extractFile(dir.file(""), "b.txt", 4, position));
    EXPECT_TRUE(archive.extractFile(dir.file(""), "b.txt", 3, position));
    EXPECT_EQ(position, archive.contentSize());
    EXPECT_EQ(readTextFile(dir.file("b.txt")), "abc");
}

TEST(FileArchive, RefusesFilesOf4GiBWithAMessageAndWritesNoRecord) {
    TempDir dir;
    const std::string source = dir.file("T");
    createDirectory(source, false);
    {
        ScopedHandle big(CreateFileA((source + "\\z_gross.bin").c_str(), GENERIC_WRITE, 0, nullptr,
                                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(big);
        LARGE_INTEGER size;
        size.QuadPart = 0x100000000ll; // sparse on the host file system
        ASSERT_TRUE(SetFilePointerEx(big.get(), size, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(big.get()));
    }
    MessageCapture messages;
    const std::string archivePath = dir.file("out.sad");
    EXPECT_FALSE(CFileArchive(archivePath).createArchive(source));
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_NE(messages.texts()[0].find("4 GB"), std::string::npos);
    EXPECT_NE(messages.texts()[0].find("z_gross.bin"), std::string::npos);
    EXPECT_EQ(readTextFile(archivePath).size(), 520u); // no record with a wrong size
}

TEST(FileArchive, MessagesForInputsThatCannotBeOpened) {
    TempDir dir;
    const std::string source = dir.file("T");
    writeBytes(source + "\\gesperrt.htm", "x");
    ScopedHandle holder(CreateFileA((source + "\\gesperrt.htm").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    MessageCapture messages;
    EXPECT_FALSE(CFileArchive(dir.file("out.sad")).createArchive(source));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"unable to open input file"});
    EXPECT_EQ(readTextFile(dir.file("out.sad")).size(), 520u);
}

TEST(RecordAppender, ReadFailureCutsTheArchiveBackToWhereTheRecordBegan) {
    TempDir dir;
    const std::string before = archiveHeader() + archiveRecord("a.htm", "a");
    writeBytes(dir.file("out.sad"), before);
    writeBytes(dir.file("input.bin"), std::string(10000, 'i'));
    ScopedHandle archive(CreateFileA(dir.file("out.sad").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    // A handle without read access: every ReadFile fails for real.
    ScopedHandle input(CreateFileA(dir.file("input.bin").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(archive && input);
    EXPECT_EQ(appendRecord(archive.get(), input.get(), "input.bin", 10000), AppendResult::ReadFailed);
    archive.reset();
    EXPECT_EQ(readTextFile(dir.file("out.sad")), before);
}

TEST(RecordAppender, InputShorterThanItsSizeIsAReadFailure) {
    TempDir dir;
    writeBytes(dir.file("out.sad"), archiveHeader());
    writeBytes(dir.file("input.bin"), std::string(5000, 'i'));
    ScopedHandle archive(CreateFileA(dir.file("out.sad").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    ScopedHandle input(CreateFileA(dir.file("input.bin").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_EQ(appendRecord(archive.get(), input.get(), "input.bin", 9000), AppendResult::ReadFailed);
    archive.reset();
    EXPECT_EQ(readTextFile(dir.file("out.sad")), archiveHeader());
}

TEST(RecordAppender, WriteFailureReportsAndLeavesNoPartialRecord) {
    TempDir dir;
    writeBytes(dir.file("out.sad"), archiveHeader());
    writeBytes(dir.file("input.bin"), "data");
    // A handle without write access: the first WriteFile fails.
    ScopedHandle archive(CreateFileA(dir.file("out.sad").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    ScopedHandle input(CreateFileA(dir.file("input.bin").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_EQ(appendRecord(archive.get(), input.get(), "input.bin", 4), AppendResult::WriteFailed);
    archive.reset();
    EXPECT_EQ(readTextFile(dir.file("out.sad")), archiveHeader());
}

TEST(RecordAppender, ReadFailurePastTheWriteBufferCutsTheArchiveBack) {
    TempDir dir;
    const std::string before = archiveHeader() + archiveRecord("a.htm", "a");
    writeBytes(dir.file("out.sad"), before);
    writeBytes(dir.file("input.bin"), std::string(200000, 'i')); // three flushes of 64 KiB reach the file
    ScopedHandle archive(CreateFileA(dir.file("out.sad").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    ScopedHandle input(CreateFileA(dir.file("input.bin").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_EQ(appendRecord(archive.get(), input.get(), "input.bin", 300000), AppendResult::ReadFailed);
    archive.reset();
    EXPECT_EQ(readTextFile(dir.file("out.sad")), before);
}

namespace {
using UnixFileName = char*(CDECL*)(LPCWSTR);

uint64_t listedSize(const std::string& path) {
    WIN32_FIND_DATAA entry;
    ScopedFind find(FindFirstFileA(path.c_str(), &entry));
    return find ? (uint64_t(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow : 0;
}

// Cuts a file to size as a failing drive would, from below the system: the file is open
// without sharing, so only the host's own truncate reaches it (Wine starts host programs, but
// gives no handle to wait for, so the listed size tells when it is done).
bool truncateFromTheHost(const std::string& path, size_t size) {
    auto unixName = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    std::wstring wide(path.begin(), path.end());
    char* name = unixName ? unixName(wide.c_str()) : nullptr;
    if (!name) return false;
    std::string command = "/usr/bin/truncate -s " + std::to_string(size) + " \"" + name + "\"";
    HeapFree(GetProcessHeap(), 0, name);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    ScopedHandle processHandle(process.hProcess), thread(process.hThread);
    for (int wait = 0; wait < 200 && listedSize(path) != size; ++wait)
        Sleep(50);
    return listedSize(path) == size;
}
} // namespace

TEST(FileArchive, AnArchiveThatCannotBeReadToItsEndIsAFailureNotACrash) {
    TempDir dir;
    const std::string small = archiveRecord("erste.htm", "first");
    const std::string large = archiveRecord("grosse.htm", std::string(300000, 'g'));
    struct Case {
        const char* what;
        std::string bytes;
        size_t readable;
        size_t filesKept;
    } cases[] = {
        {"cut in the data of its second file", archiveHeader() + small + large, 520 + small.size() + 100000, 1},
        {"cut before the head of its second record", archiveHeader() + large + small, 520 + 100000, 0},
    };
    for (const Case& test : cases) {
        const std::string path = dir.file(std::string(test.what) + ".sad");
        const std::string destination = dir.file(test.what);
        writeBytes(path, test.bytes);
        CFileArchive archive(path);
        ASSERT_TRUE(archive.loadArchive());
        if (!truncateFromTheHost(path, test.readable)) GTEST_SKIP() << "no host truncate";
        EXPECT_FALSE(archive.extractAll(destination + "\\")) << test.what;
        EXPECT_EQ(filesBelow(destination), std::vector<std::string>(test.filesKept, "erste.htm")) << test.what;
    }
}
