// The software PVRTC decoder: hand-built 4 bpp blocks with known results for each of its colour
// and weight rules (the game's data holds no 2 bpp texture; fuzz_pvrtc runs both on any data
// under the sanitizers), and the grid's checks.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "PVRTDecompress.h"
#include "TestSupport.h"

namespace
{

using Bytes = std::vector<std::uint8_t>;

// Decodes a level; the 16 bytes after the picture must stay as they were.
Bytes Decode(const Bytes& tData, bool b2, int iWidth, int iHeight)
{
    const size_t uiSize = static_cast<size_t>(iWidth) * iHeight * 4;
    Bytes tOut(uiSize + 16, 0xCD);
    PVRTDecompressPVRTC(tData.data(), b2 ? 1 : 0, iWidth, iHeight, tOut.data());
    EXPECT_EQ(Bytes(tOut.begin() + static_cast<std::ptrdiff_t>(uiSize), tOut.end()),
              Bytes(16, 0xCD))
        << "written past a " << iWidth << "x" << iHeight << " picture";
    return tOut;
}

void PutBlock(Bytes* pData, size_t uiIndex, std::uint32_t uiModulation, std::uint32_t uiColours)
{
    for (int i = 0; i < 4; ++i)
    {
        (*pData)[8 * uiIndex + i] = static_cast<std::uint8_t>(uiModulation >> (8 * i));
        (*pData)[8 * uiIndex + 4 + i] = static_cast<std::uint8_t>(uiColours >> (8 * i));
    }
}

Bytes Uniform(size_t uiBlocks, std::uint32_t uiModulation, std::uint32_t uiColours)
{
    Bytes tData(8 * uiBlocks);
    for (size_t i = 0; i < uiBlocks; ++i)
    {
        PutBlock(&tData, i, uiModulation, uiColours);
    }
    return tData;
}

// Opaque colour words: A (black) in the low half, bit 0 the mode; B (white) in the high half.
constexpr std::uint32_t BLACK_WHITE = 0x8000u | (0xFFFFu << 16);
constexpr std::uint32_t PUNCH_THROUGH = 1;

}  // namespace

TEST(PVRTCBlocks, HandBuiltBlocksDecodeToTheirKnownColours)
{
    // 4 x 2 blocks (4 bpp): the left column white, the rest black, weight 0 everywhere.
    Bytes tEdge = Uniform(8, 0, 0x8000u | (0x8000u << 16));
    for (unsigned y = 0; y < 2; ++y)
    {
        PutBlock(&tEdge, PVRT_TwiddleUV(2, 4, y, 0), 0, 0xFFFFFFFE);
    }
    const std::uint32_t uiRow0 = 0 | (1 << 2) | (2 << 4) | (3 << 6);  // values 0, 1, 2, 3
    const struct
    {
        const char* pWhat;
        Bytes tData;
        int iWidth;
        std::vector<std::array<std::uint32_t, 3>> tPixels;  // x, y, RGBA
    } tCases[] = {
        // Standard weights 0, 3, 5, 8 eighths of the way from A to B.
        {"weights",
         Uniform(4, uiRow0, BLACK_WHITE),
         8,
         {{0, 0, 0x000000FF}, {1, 0, 0x5F5F5FFF}, {2, 0, 0x9F9F9FFF}, {3, 0, 0xFFFFFFFF}}},
        // Punch-through: weights 0, 4, 4, 8, and value 2 is transparent.
        {"punch-through",
         Uniform(4, uiRow0, BLACK_WHITE | PUNCH_THROUGH),
         8,
         {{1, 0, 0x7F7F7FFF}, {2, 0, 0x7F7F7F00}, {3, 0, 0xFFFFFFFF}}},
        // Colours with alpha (top bit clear): 3 alpha bits, then 4-4-4 (B) or 4-4-3 (A) bits of
        // red, green and blue; a translucent red either way.
        {"translucent", Uniform(4, 0, 0x7F00u | (0x7F00u << 16)), 8, {{3, 3, 0xFF0000EE}}},
        // Column 15 lies a quarter of the way to the first block's centre, column 0 half way:
        // both take some of the white of the far edge.
        {"wrap",
         tEdge,
         16,
         {{14, 3, 0x000000FF}, {15, 3, 0x3F3F3FFF}, {0, 3, 0x7F7F7FFF}, {2, 3, 0xFFFFFFFF}}},
    };
    for (const auto& tCase : tCases)
    {
        const Bytes tOut = Decode(tCase.tData, false, tCase.iWidth, 8);
        for (const auto& tPixel : tCase.tPixels)
        {
            const std::uint8_t* p =
                &tOut[(tPixel[1] * static_cast<size_t>(tCase.iWidth) + tPixel[0]) * 4];
            const std::uint32_t uiSeen =
                (std::uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
            EXPECT_EQ(uiSeen, tPixel[2])
                << tCase.pWhat << " pixel " << tPixel[0] << "," << tPixel[1];
        }
    }
}

// A level whose block grid is not a power of two is a programming error here: the loaders
// refuse such files first (test_textures).
TEST(PVRTCBlocks, AGridThatIsNotAPowerOfTwoIsAProgrammingError)
{
    EXPECT_EQ(PVRT_LevelDataSize(true, 4, 4), 32u);  // small levels read a 2 x 2 grid
    EXPECT_FALSE(PVRT_IsDecodableLevel(false, 12, 8));
    BF_EXPECT_ASSERT(PVRTDecompressPVRTC(Bytes(64 * 8).data(), 0, 12, 8, Bytes(12 * 8 * 4).data()),
                     "PVRTDecompress:[0-9]+: failed assertion `POWER_OF_2\\(XSize\\)'");
}
