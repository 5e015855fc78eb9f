// Speed of the engine's hot paths. Figures are megapixels per second for the decoders.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "PVRTDecompress.h"

namespace
{

constexpr int LEVEL_SIZE = 1024;

void DecodePVRTC(benchmark::State& tState, bool b2bpp)
{
    std::vector<std::uint8_t> tData(PVRT_LevelDataSize(b2bpp, LEVEL_SIZE, LEVEL_SIZE));
    std::mt19937 tRandom(7);
    for (std::uint8_t& b : tData)
    {
        b = static_cast<std::uint8_t>(tRandom());
    }
    std::vector<unsigned char> tPixels(static_cast<size_t>(LEVEL_SIZE) * LEVEL_SIZE * 4);
    for (auto _ : tState)
    {
        PVRTDecompressPVRTC(tData.data(), b2bpp ? 1 : 0, LEVEL_SIZE, LEVEL_SIZE, tPixels.data());
        benchmark::DoNotOptimize(tPixels.data());
        benchmark::ClobberMemory();
    }
    tState.counters["MPix/s"] =
        benchmark::Counter(static_cast<double>(tState.iterations()) * LEVEL_SIZE * LEVEL_SIZE / 1e6,
                           benchmark::Counter::kIsRate);
}

void BM_PVRTC4bpp1024(benchmark::State& tState)
{
    DecodePVRTC(tState, false);
}
BENCHMARK(BM_PVRTC4bpp1024)->Unit(benchmark::kMillisecond);

void BM_PVRTC2bpp1024(benchmark::State& tState)
{
    DecodePVRTC(tState, true);
}
BENCHMARK(BM_PVRTC2bpp1024)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
