#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "config/IniDocument.h"
#include "config/SharedText.h"

namespace {
// A merged configuration of about 1 MiB.
std::string megabyteText() {
    std::string text;
    for (int s = 0; text.size() < (1u << 20) - 300; ++s)
        text += "[NVFavTreeRoot\\Favoriten\\Ordner " + std::to_string(s) +
                "]\r\ntype=\"file\"\r\nURL=\"http://www.example.com/" + std::to_string(s) +
                "/index.html\"\r\nCREATED_DATE=\"06.12.2004\"\r\n";
    return text;
}

void BM_PublishOneMegabyte(benchmark::State& state) {
    IniDocument document;
    document.parse(megabyteText(), nullptr);
    std::vector<unsigned char> block(kSharedBlockSize);
    for (auto _ : state) {
        auto text = publicationText(document);
        benchmark::DoNotOptimize(writePublication(block.data(), *text));
    }
}
BENCHMARK(BM_PublishOneMegabyte)->Unit(benchmark::kMillisecond);

void BM_JoinOneMegabyte(benchmark::State& state) {
    std::vector<unsigned char> block(kSharedBlockSize);
    std::string text = megabyteText();
    writePublication(block.data(), text);
    for (auto _ : state) {
        IniDocument document;
        benchmark::DoNotOptimize(document.parse(std::string(sharedText(block.data())), nullptr));
    }
}
BENCHMARK(BM_JoinOneMegabyte)->Unit(benchmark::kMillisecond);
} // namespace
