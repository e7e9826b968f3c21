// Bookmark reader and import throughput on generated bookmark files.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "favorites/BookmarkImport.h"
#include "favorites/BookmarkParser.h"
#include "favorites/ChromiumBookmarks.h"
#include "favorites/PlacesDatabase.h"
#include "store/StoreTree.h"

#include <sqlite3.h>

namespace {
// A Netscape bookmark file with the given number of links spread over folders (one level below
// the outer list). Long URLs give about 125 bytes per link line.
std::string generateBookmarks(int links, int folders, bool longUrls) {
    std::string text = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"
                       "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1252\">\r\n"
                       "<TITLE>Bookmarks</TITLE>\r\n<H1>Bookmarks</H1>\r\n<DL><p>\r\n";
    char line[512];
    int perFolder = links / folders;
    for (int folder = 0; folder < folders; ++folder) {
        std::snprintf(line, sizeof(line),
                      "    <DT><H3 ADD_DATE=\"1100000000\">Ordner %d</H3>\r\n    <DL><p>\r\n", folder);
        text += line;
        for (int link = 0; link < perFolder; ++link) {
            int n = folder * perFolder + link;
            if (longUrls)
                std::snprintf(line, sizeof(line),
                              "        <DT><A HREF=\"http://www.beispiel-%06d.de/pfad/zur/seite/%d.html\" "
                              "ADD_DATE=\"1100000000\">Beispielseite Nr. %d</A>\r\n",
                              n, n, n);
            else
                std::snprintf(line, sizeof(line), "<DT><A HREF=\"http://s%d/\">L%d</A>\r\n", n, n);
            text += line;
        }
        text += "    </DL><p>\r\n";
    }
    text += "</DL><p>\r\n";
    return text;
}

const std::string& bigFile() {
    static const std::string text = [] {
        std::string generated = generateBookmarks(200000, 200, true);
        // The same bytes for the html.parser comparison (bench/html_parser_baseline.py).
        if (FILE* file = std::fopen("/tmp/nv_bench_bookmarks.htm", "wb")) {
            std::fwrite(generated.data(), 1, generated.size(), file);
            std::fclose(file);
        }
        return generated;
    }();
    return text;
}

void ParseBookmarkFile(benchmark::State& state) {
    const std::string& text = bigFile();
    for (auto _ : state) {
        CBookmarkParser parser("bench.htm");
        parser.loadBuffer(text);
        parser.parse();
        benchmark::DoNotOptimize(parser.bookmarkRoot.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
}
BENCHMARK(ParseBookmarkFile)->Unit(benchmark::kMillisecond);

void ImportIntoDocument(benchmark::State& state) {
    std::string text = generateBookmarks(static_cast<int>(state.range(0)), 200, false);
    for (auto _ : state) {
        CBookmarkParser parser("bench.htm");
        parser.setRootName("Import");
        parser.loadBuffer(text);
        parser.parse();
        auto document = std::make_unique<IniDocument>();
        DocumentNodeStore store(*document);
        importBookmarkTree(store, "NVFavTreeRoot\\Favoriten", parser.bookmarkRoot.get(), "06.12.2004");
        benchmark::DoNotOptimize(document->sectionCount());
        state.PauseTiming(); // freeing the document and the tree is not part of the import
        document.reset();
        parser.bookmarkRoot.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(ImportIntoDocument)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

// A hostile file of nested folders (100,000 deep is 1.6 MB): reading and importing it must stay
// linear in its size, since the import stops descending where the paths outgrow the store.
std::string nestedFolders(int depth) {
    std::string text = "<DL><p>\r\n";
    for (int i = 0; i < depth; ++i) text += "<DT><H3>f</H3>\r\n<DL><p>\r\n";
    for (int i = 0; i < depth; ++i) text += "</DL><p>\r\n";
    return text + "</DL><p>\r\n";
}

void ImportNestedFolders(benchmark::State& state) {
    std::string text = nestedFolders(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CBookmarkParser parser("bench.htm");
        parser.setRootName("Import");
        parser.loadBuffer(text);
        parser.parse();
        IniDocument document;
        DocumentNodeStore store(document);
        importBookmarkTree(store, "NVFavTreeRoot\\Favoriten", parser.bookmarkRoot.get(), "06.12.2004");
        benchmark::DoNotOptimize(document.sectionCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(ImportNestedFolders)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond);
} // namespace

namespace {
// The links of generateBookmarks(links, 200, true) as a Chromium-based browser's Bookmarks file:
// the same names and URLs in the same folders, below the bookmark bar.
std::string generateChromiumBookmarks(int links) {
    std::string text =
        R"({"checksum":"0","roots":{"bookmark_bar":{"name":"Lesezeichenleiste","type":"folder",)"
        R"("children":[)";
    char node[512];
    int perFolder = links / 200;
    for (int folder = 0; folder < 200; ++folder) {
        std::snprintf(node, sizeof(node), R"(%s{"name":"Ordner %d","type":"folder","children":[)",
                      folder ? "," : "", folder);
        text += node;
        for (int link = 0; link < perFolder; ++link) {
            int n = folder * perFolder + link;
            std::snprintf(node, sizeof(node),
                          R"(%s{"date_added":"13300000000000000","guid":"0000-%06d","id":"%d",)"
                          R"("name":"Beispielseite Nr. %d","type":"url",)"
                          R"("url":"http://www.beispiel-%06d.de/pfad/zur/seite/%d.html"})",
                          link ? "," : "", n, n, n, n, n);
            text += node;
        }
        text += "]}";
    }
    return text + "]}},\"version\":1}";
}

std::optional<std::string> latin1(std::u16string_view units) {
    std::string text;
    for (char16_t unit : units)
        text += unit < 0x100 ? static_cast<char>(unit) : '?';
    return text;
}

// The links of generateBookmarks(links, 200, true) in a Firefox places.sqlite below the toolbar,
// written to path; returns the file's size.
size_t generatePlacesDatabase(int links, const std::string& path) {
    std::remove(path.c_str());
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    std::string sql =
        "PRAGMA journal_mode=WAL; BEGIN;"
        "CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR);"
        "CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER, parent INTEGER,"
        " position INTEGER, title LONGVARCHAR, dateAdded INTEGER, guid TEXT);"
        "INSERT INTO moz_bookmarks VALUES (1, 2, NULL, 0, 0, '', 0, 'root________');"
        "INSERT INTO moz_bookmarks VALUES (2, 2, NULL, 1, 0, 'toolbar', 0, 'toolbar_____');";
    char row[512];
    int perFolder = links / 200, id = 3;
    for (int folder = 0; folder < 200; ++folder) {
        const int folderId = id++;
        std::snprintf(row, sizeof(row),
                      "INSERT INTO moz_bookmarks VALUES (%d, 2, NULL, 2, %d, 'Ordner %d', 0, '');", folderId,
                      folder, folder);
        sql += row;
        for (int link = 0; link < perFolder; ++link) {
            int n = folder * perFolder + link;
            std::snprintf(
                row, sizeof(row),
                "INSERT INTO moz_places VALUES (%d, 'http://www.beispiel-%06d.de/pfad/zur/seite/%d.html', "
                "'Seite %d');"
                "INSERT INTO moz_bookmarks VALUES (%d, 1, %d, %d, %d, 'Beispielseite Nr. %d', "
                "1600000000000000, '');",
                n + 1, n, n, n, id++, n + 1, folderId, link, n);
            sql += row;
        }
    }
    sqlite3_exec(db, (sql + "COMMIT; PRAGMA wal_checkpoint(TRUNCATE);").c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    FILE* file = std::fopen(path.c_str(), "rb");
    std::fseek(file, 0, SEEK_END);
    size_t size = static_cast<size_t>(std::ftell(file));
    std::fclose(file);
    return size;
}

// The import of the same links from a bookmark file (source 0), a Chromium profile's Bookmarks
// file (1) or a Firefox profile's places.sqlite (2): read, tree built, merged into a fresh
// document.
void ImportSameLinks(benchmark::State& state) {
    const int source = static_cast<int>(state.range(0));
    const bool chromium = source == 1;
    const int links = 20000;
    const std::string places = "/tmp/nv_bench_places.sqlite";
    const std::string text = source == 2 ? std::string()
                             : chromium  ? generateChromiumBookmarks(links)
                                         : generateBookmarks(links, 200, true);
    const size_t bytes = source == 2 ? generatePlacesDatabase(links, places) : text.size();
    const BrowserNodeMaker nodes(latin1, [](uint64_t) { return std::string("18.06.2022"); });
    for (auto _ : state) {
        std::unique_ptr<BookmarkNode> root = std::make_unique<BookmarkNode>(kFolderNode, "Import", "");
        if (source == 2) {
            root->firstChild = buildPlacesTree(readPlacesRows(places).rows, nodes).roots;
        } else if (chromium) {
            ChromiumBookmarkReader reader({"Lesezeichenleiste", "Weitere Lesezeichen", "Mobile Lesezeichen"},
                                          latin1, [](uint64_t) { return std::string("18.06.2022"); });
            reader.add(text);
            root->firstChild = reader.takeTree();
        } else {
            CBookmarkParser parser("bench.htm");
            parser.setRootName("Import");
            parser.loadBuffer(text);
            parser.parse();
            root = std::move(parser.bookmarkRoot);
        }
        auto document = std::make_unique<IniDocument>();
        DocumentNodeStore store(*document);
        importBookmarkTree(store, "NVFavTreeRoot\\Favoriten", root.get(), "06.12.2004");
        benchmark::DoNotOptimize(document->sectionCount());
        state.PauseTiming();
        document.reset();
        root.reset();
        state.ResumeTiming();
    }
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
} // namespace
BENCHMARK(ImportSameLinks)->ArgName("source")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
