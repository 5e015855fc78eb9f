// Speed of the engine's hot paths. Figures are megapixels per second for the decoders.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "PVRTDecompress.h"
#include "QuadRenderBuffer.h"
#include "TGAFile.h"

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

// A 1024 x 1024 32-bit run-length TGA like a sprite atlas: rows of runs and raw stretches.
std::string WriteAtlasTGA()
{
    std::vector<std::uint8_t> tFile = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 4, 32, 0};
    std::mt19937 tRandom(11);
    size_t uiPixels = 0;
    const size_t uiTotal = static_cast<size_t>(LEVEL_SIZE) * LEVEL_SIZE;
    while (uiPixels < uiTotal)
    {
        size_t uiCount = 1 + tRandom() % 128;
        if (uiCount > uiTotal - uiPixels)
        {
            uiCount = uiTotal - uiPixels;
        }
        const bool bRun = (tRandom() & 1) != 0;
        tFile.push_back(static_cast<std::uint8_t>((bRun ? 0x80 : 0) | (uiCount - 1)));
        for (size_t i = 0; i < (bRun ? 1 : uiCount); ++i)
        {
            for (int k = 0; k < 4; ++k)
            {
                tFile.push_back(static_cast<std::uint8_t>(tRandom()));
            }
        }
        uiPixels += uiCount;
    }
    char strPath[] = "/tmp/bf-bench-XXXXXX";
    const int iFile = mkstemp(strPath);
    if (iFile < 0 || write(iFile, tFile.data(), tFile.size()) != static_cast<ssize_t>(tFile.size()))
    {
        std::abort();
    }
    close(iFile);
    return strPath;
}

void BM_TGALoadRLE1024(benchmark::State& tState)
{
    const std::string strPath = WriteAtlasTGA();
    for (auto _ : tState)
    {
        FILE* pFile = std::fopen(strPath.c_str(), "rb");
        TGAPixels tImage;
        if (!TGA_ReadPixels(pFile, &tImage))
        {
            tState.SkipWithError("TGA read failed");
        }
        benchmark::DoNotOptimize(tImage.pPixels);
        TGA_FreePixels(&tImage);
        std::fclose(pFile);
    }
    std::remove(strPath.c_str());
    tState.counters["MPix/s"] =
        benchmark::Counter(static_cast<double>(tState.iterations()) * LEVEL_SIZE * LEVEL_SIZE / 1e6,
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TGALoadRLE1024)->Unit(benchmark::kMillisecond);

// One frame's worth of the tree: 512 quads, each through its own matrix.
void BM_AddQuadsMatrix512(benchmark::State& tState)
{
    const CImage tImage(1, AtlasRect{0, 32, 0, 32}, 256, 256, 32, 32, true);
    QuadRenderBuffer tBuffer;
    float tMatrices[QRB_MAX_QUADS][16];
    for (int i = 0; i < QRB_MAX_QUADS; ++i)
    {
        const float fAngle = 0.01f * i;
        const float tM[16] = {std::cos(fAngle),
                              std::sin(fAngle),
                              0,
                              0,
                              -std::sin(fAngle),
                              std::cos(fAngle),
                              0,
                              0,
                              0,
                              0,
                              1,
                              0,
                              float(i % 480),
                              float(i % 320),
                              0,
                              1};
        std::copy(tM, tM + 16, tMatrices[i]);
    }
    for (auto _ : tState)
    {
        for (int i = 0; i < QRB_MAX_QUADS; ++i)
        {
            tBuffer.AddQuad(tImage.tVerts, tMatrices[i], 200);
        }
        benchmark::DoNotOptimize(tBuffer.pVertices);
        benchmark::ClobberMemory();
        tBuffer.iNumVerts = 0;  // what Render does after drawing
        tBuffer.iNumFaces = 0;
    }
    tState.counters["quads/s"] = benchmark::Counter(
        static_cast<double>(tState.iterations()) * QRB_MAX_QUADS, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_AddQuadsMatrix512)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
