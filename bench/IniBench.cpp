#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "config/IniDocument.h"
#include "store/ImportRecord.h"

namespace {
// About 1 MiB: 5,000 sections of 4 keys each, in the writer's syntax.
std::string sampleText() {
    std::string text;
    for (int s = 0; s < 5000; ++s) {
        text += "[NVFavTreeRoot\\Favoriten\\Ordner " + std::to_string(s) + "]\r\n";
        text += "type=\"file\"\r\nURL=\"http://www.example.com/seite/" + std::to_string(s) +
                "/index.html?quelle=lesezeichen&x=1\"\r\nCREATED_DATE=\"06.12.2004\"\r\n"
                "item_0=\"Eintrag mit einem etwas l\xE4ngeren Namen " +
                std::to_string(s) + "\"\r\n";
    }
    return text;
}

void BM_ParseOneMegabyte(benchmark::State& state) {
    std::string text = sampleText();
    for (auto _ : state) {
        IniDocument document;
        benchmark::DoNotOptimize(document.parse(text, nullptr));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_ParseOneMegabyte)->Unit(benchmark::kMillisecond);

std::vector<std::string> sectionNames() {
    std::vector<std::string> names;
    for (int s = 0; s < 5000; ++s) names.push_back("NVFavTreeRoot\\Favoriten\\Ordner " + std::to_string(s));
    return names;
}

// Lookups spread over the document (stride 7919) or in document order (stride 1), as the tree
// walks of the importers and exporters do.
void BM_GetValue(benchmark::State& state) {
    IniDocument document;
    document.parse(sampleText(), nullptr);
    std::vector<std::string> names = sectionNames();
    const size_t stride = static_cast<size_t>(state.range(0));
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(document.findValue(names[i], "URL"));
        i = (i + stride) % names.size();
    }
}
BENCHMARK(BM_GetValue)->Arg(7919)->Arg(1)->Iterations(100000);

void BM_SetExistingValue(benchmark::State& state) {
    IniDocument document;
    document.parse(sampleText(), nullptr);
    std::vector<std::string> names = sectionNames();
    size_t i = 0;
    for (auto _ : state) {
        document.setValue(names[i], "URL", "http://www.example.com/neu");
        i = (i + 7919) % names.size();
    }
}
BENCHMARK(BM_SetExistingValue)->Iterations(100000);

void BM_SetNewValue(benchmark::State& state) {
    IniDocument document;
    document.parse(sampleText(), nullptr);
    std::vector<std::string> names = sectionNames();
    std::vector<std::string> keys;
    for (int k = 0; k < 100000; ++k) keys.push_back("item_" + std::to_string(k + 1));
    size_t i = 0;
    for (auto _ : state) {
        document.setValue(names[i % names.size()], keys[i], "Neuer Eintrag");
        ++i;
    }
}
BENCHMARK(BM_SetNewValue)->Iterations(100000);
} // namespace

// The fingerprint an import records of the part it changed: 5,000 sections below the target.
void BM_FingerprintOfImportedPart(benchmark::State& state) {
    IniDocument document;
    document.parse(sampleText(), nullptr);
    const AffectedPart part{"NVFavTreeRoot\\Favoriten", {"NVFavTreeRoot"}};
    for (auto _ : state) benchmark::DoNotOptimize(fingerprintOf(document, part));
}
BENCHMARK(BM_FingerprintOfImportedPart)->Unit(benchmark::kMillisecond);
