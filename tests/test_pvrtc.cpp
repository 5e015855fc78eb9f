// The software PVRTC decoder: hand-built blocks with known results, and a round trip on random
// data against a plain per-pixel decoder written here independently of the engine's.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "PVRTDecompress.h"
#include "TestSupport.h"

namespace
{

using Bytes = std::vector<std::uint8_t>;

// ---- A slow reference decoder: every pixel on its own, straight from the format's rules ----

struct RefColour
{
    int c[4];  // r, g, b (5 bits), a (4 bits)
};

int Bits(std::uint32_t uiValue, int iLow, int iCount)
{
    return static_cast<int>((uiValue >> iLow) & ((1u << iCount) - 1));
}

RefColour RefColourB(std::uint32_t h)
{
    if (h & 0x8000)
    {
        return {{Bits(h, 10, 5), Bits(h, 5, 5), Bits(h, 0, 5), 15}};
    }
    auto w = [](int v) { return v * 2 + v / 8; };
    return {{w(Bits(h, 8, 4)), w(Bits(h, 4, 4)), w(Bits(h, 0, 4)), Bits(h, 12, 3) * 2}};
}

RefColour RefColourA(std::uint32_t l)
{
    auto w4 = [](int v) { return v * 2 + v / 8; };
    if (l & 0x8000)
    {
        return {{Bits(l, 10, 5), Bits(l, 5, 5), w4(Bits(l, 1, 4)), 15}};
    }
    const int b3 = Bits(l, 1, 3);
    return {{w4(Bits(l, 8, 4)), w4(Bits(l, 4, 4)), b3 * 4 + b3 / 2, Bits(l, 12, 3) * 2}};
}

unsigned RefMorton(unsigned X, unsigned Y, unsigned x, unsigned y)
{
    unsigned m = X < Y ? X : Y;
    unsigned idx = 0;
    int k = 0;
    for (; (1u << k) < m; ++k)
    {
        idx |= ((y >> k) & 1u) << (2 * k);
        idx |= ((x >> k) & 1u) << (2 * k + 1);
    }
    unsigned rest = (Y < X ? x : y) >> k;
    return idx + rest * m * m;
}

struct RefDecoder
{
    const Bytes& tData;
    bool b2;
    int X, Y;  // grid

    std::uint32_t Word(int bx, int by, int w) const
    {
        const size_t o = 8 * RefMorton(X, Y, bx, by) + 4 * w;
        return tData[o] | (tData[o + 1] << 8) | (tData[o + 2] << 16) |
               (static_cast<std::uint32_t>(tData[o + 3]) << 24);
    }
    int Mode(int bx, int by) const { return Word(bx, by, 1) & 1; }

    // Modulation value of pixel (px, py) of block (bx, by); -1 when not stored.
    int Value(int bx, int by, int px, int py) const
    {
        const std::uint32_t m = Word(bx, by, 0);
        if (!b2)
        {
            return Bits(m, 2 * (py * 4 + px), 2);
        }
        if (!Mode(bx, by))
        {
            return Bits(m, py * 8 + px, 1) ? 3 : 0;
        }
        if ((px + py) % 2 != 0)
        {
            return -1;
        }
        return Bits(m, 2 * ((py * 8 + px) / 2), 2);
    }

    // Modulation value of absolute pixel (x, y), wrapping over the tiled picture.
    int AbsValue(int x, int y) const
    {
        const int bw = b2 ? 8 : 4;
        const int W = X * bw;
        const int H = Y * 4;
        x = ((x % W) + W) % W;
        y = ((y % H) + H) % H;
        return Value(x / bw, y / 4, x % bw, y % 4);
    }

    void Pixel(int x, int y, std::uint8_t* pOut) const
    {
        const int bw = b2 ? 8 : 4;
        const int fx = static_cast<int>(std::floor((x - bw / 2) / double(bw)));
        const int fy = static_cast<int>(std::floor((y - 2) / 4.0));
        const int u = x - bw / 2 - fx * bw;
        const int v = y - 2 - fy * 4;
        auto wx = [&](int b) { return ((b % X) + X) % X; };
        auto wy = [&](int b) { return ((b % Y) + Y) % Y; };
        const int x0 = wx(fx), x1 = wx(fx + 1), y0 = wy(fy), y1 = wy(fy + 1);
        int A[4], B[4];
        for (int pass = 0; pass < 2; ++pass)
        {
            auto col = [&](int bx, int by)
            {
                const std::uint32_t cw = Word(bx, by, 1);
                return pass == 0 ? RefColourA(cw & 0xFFFF) : RefColourB(cw >> 16);
            };
            const RefColour P = col(x0, y0), Q = col(x1, y0), R = col(x0, y1), S = col(x1, y1);
            for (int k = 0; k < 4; ++k)
            {
                // Bilinear weights over the cell, in units of 1 / (4 * bw).
                const int top = P.c[k] * (bw - u) + Q.c[k] * u;
                const int bottom = R.c[k] * (bw - u) + S.c[k] * u;
                int r = top * (4 - v) + bottom * v;
                if (k < 3)
                {
                    r >>= b2 ? 2 : 1;
                    r += r >> 5;
                }
                else
                {
                    r >>= b2 ? 1 : 0;
                    r += r >> 4;
                }
                (pass == 0 ? A : B)[k] = r;
            }
        }
        const int bx = ((x % (X * bw)) + X * bw) % (X * bw) / bw;
        const int by = ((y % (Y * 4)) + Y * 4) % (Y * 4) / 4;
        const int mode = Mode(bx, by);
        const int std_w[4] = {0, 3, 5, 8};
        const int pt_w[4] = {0, 4, 4, 8};
        int w;
        bool clear = false;
        const int val = AbsValue(x, y);
        if (!mode)
        {
            w = std_w[val];
        }
        else if (!b2)
        {
            w = pt_w[val];
            clear = val == 2;
        }
        else if (val >= 0)
        {
            w = std_w[val];
        }
        else
        {
            w = (std_w[AbsValue(x, y - 1)] + std_w[AbsValue(x, y + 1)] + std_w[AbsValue(x - 1, y)] +
                 std_w[AbsValue(x + 1, y)] + 2) /
                4;
        }
        for (int k = 0; k < 4; ++k)
        {
            pOut[k] = static_cast<std::uint8_t>((A[k] * (8 - w) + B[k] * w) / 8);
        }
        if (clear)
        {
            pOut[3] = 0;
        }
    }
};

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

// Known results, which the reference decoder below must agree with too.
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
        bool b2;
        int iWidth;
        std::vector<std::array<std::uint32_t, 3>> tPixels;  // x, y, RGBA
    } tCases[] = {
        {"all white",
         Uniform(4, 0, 0xFFFFFFFE),
         false,
         8,
         {{0, 0, 0xFFFFFFFF}, {7, 7, 0xFFFFFFFF}}},
        // Standard weights 0, 3, 5, 8 eighths of the way from A to B.
        {"weights",
         Uniform(4, uiRow0, BLACK_WHITE),
         false,
         8,
         {{0, 0, 0x000000FF}, {1, 0, 0x5F5F5FFF}, {2, 0, 0x9F9F9FFF}, {3, 0, 0xFFFFFFFF}}},
        // Punch-through: weights 0, 4, 4, 8, and value 2 is transparent.
        {"punch-through",
         Uniform(4, uiRow0, BLACK_WHITE | PUNCH_THROUGH),
         false,
         8,
         {{1, 0, 0x7F7F7FFF}, {2, 0, 0x7F7F7F00}, {3, 0, 0xFFFFFFFF}}},
        // 2 bpp, mode 0: one bit a pixel, set = full B.
        {"2 bpp one bit",
         Uniform(4, 0x00000005, BLACK_WHITE),
         true,
         16,
         {{0, 0, 0xFFFFFFFF}, {1, 0, 0x000000FF}, {2, 0, 0xFFFFFFFF}}},
        // 2 bpp, mode 1: stored values 1 (weight 3); a gap pixel averages (3 x 4 + 2) / 4 = 3.
        {"2 bpp gaps",
         Uniform(4, 0x55555555, BLACK_WHITE | PUNCH_THROUGH),
         true,
         16,
         {{0, 0, 0x5F5F5FFF}, {1, 0, 0x5F5F5FFF}}},
        // Column 15 lies a quarter of the way to the first block's centre, column 0 half way:
        // both take some of the white of the far edge.
        {"wrap",
         tEdge,
         false,
         16,
         {{14, 3, 0x000000FF}, {15, 3, 0x3F3F3FFF}, {0, 3, 0x7F7F7FFF}, {2, 3, 0xFFFFFFFF}}},
    };
    for (const auto& tCase : tCases)
    {
        const Bytes tOut = Decode(tCase.tData, tCase.b2, tCase.iWidth, 8);
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

TEST(PVRTCBlocks, MortonOrderAndGridChecks)
{
    EXPECT_EQ(PVRT_TwiddleUV(4, 4, 0, 1), 2u);  // x goes to the odd bits
    EXPECT_EQ(PVRT_TwiddleUV(4, 4, 3, 3), 15u);
    EXPECT_EQ(PVRT_TwiddleUV(2, 8, 1, 5), 4u * 2 + 3u);  // high x bits above the square
    EXPECT_EQ(PVRT_TwiddleUV(8, 2, 5, 1), 4u * 2 + 3u);
    // Small levels read a 2 x 2 grid.
    EXPECT_EQ(PVRT_LevelDataSize(true, 4, 4), 32u);
    EXPECT_EQ(PVRT_LevelDataSize(false, 1024, 1024), 512u * 1024u);
    EXPECT_EQ(PVRT_LevelDataSize(true, 1024, 512), 128u * 1024u);

    EXPECT_TRUE(PVRT_IsDecodableLevel(false, 1, 1));
    EXPECT_TRUE(PVRT_IsDecodableLevel(true, 32, 8));
    EXPECT_FALSE(PVRT_IsDecodableLevel(false, 12, 8));  // 3 blocks across
    EXPECT_FALSE(PVRT_IsDecodableLevel(true, 16, 24));  // 6 blocks down
    EXPECT_FALSE(PVRT_IsDecodableLevel(false, 0, 8));
    BF_EXPECT_ASSERT(PVRTDecompressPVRTC(Bytes(64 * 8).data(), 0, 12, 8, Bytes(12 * 8 * 4).data()),
                     "PVRTDecompress:[0-9]+: failed assertion `POWER_OF_2\\(XSize\\)'");
}

// Every pixel of random levels, 4 and 2 bpp, small ones included, as the reference decodes it.
TEST(PVRTCRoundTrip, RandomDataMatchesTheReferenceDecoder)
{
    std::mt19937 tRandom(20261206);
    const int tSizes[][2] = {{8, 8}, {32, 16}, {16, 64}, {4, 4}, {2, 1}, {64, 64}, {128, 32}};
    for (bool b2 : {false, true})
    {
        for (const auto& tSize : tSizes)
        {
            const int w = tSize[0], h = tSize[1];
            Bytes tData(PVRT_LevelDataSize(b2, w, h));
            for (std::uint8_t& b : tData)
            {
                b = static_cast<std::uint8_t>(tRandom());
            }
            const Bytes tOut = Decode(tData, b2, w, h);
            const RefDecoder tRef{tData, b2, PVRT_BlocksAcross(b2, w), PVRT_BlocksDown(h)};
            for (int y = 0; y < h; ++y)
            {
                for (int x = 0; x < w; ++x)
                {
                    std::uint8_t tExpected[4];
                    tRef.Pixel(x, y, tExpected);
                    const std::uint8_t* p = &tOut[(static_cast<size_t>(y) * w + x) * 4];
                    ASSERT_TRUE(std::equal(tExpected, tExpected + 4, p))
                        << (b2 ? "2bpp " : "4bpp ") << w << "x" << h << " pixel " << x << "," << y;
                }
            }
        }
    }
}
