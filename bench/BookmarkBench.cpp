// Bookmark reader and import throughput on generated bookmark files.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "favorites/BookmarkImport.h"
#include "favorites/BookmarkParser.h"
#include "favorites/StoreTree.h"

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
