#include <benchmark/benchmark.h>

#include <string>

#include "config/Blowfish.h"

namespace {
constexpr size_t kSize = 64u << 20;

void BM_Encipher64MiB(benchmark::State& state) {
    std::string data(kSize, 'a');
    for (auto _ : state) {
        encipherContent(data);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSize));
}
BENCHMARK(BM_Encipher64MiB)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_Decipher64MiB(benchmark::State& state) {
    std::string data(kSize, 'a');
    for (auto _ : state) {
        decipherContent(data);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSize));
}
BENCHMARK(BM_Decipher64MiB)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_KeySchedule(benchmark::State& state) {
    for (auto _ : state) {
        CBlowfish cipher;
        cipher.initKey(kConfigCipherKey);
        benchmark::DoNotOptimize(cipher);
    }
}
BENCHMARK(BM_KeySchedule)->Unit(benchmark::kMicrosecond);
} // namespace
