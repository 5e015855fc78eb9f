#include "PvrtcEncoder.h"

#include <algorithm>
#include <cmath>

#include "PVRTDecompress.h"

namespace
{
constexpr int BLOCK_SIZE = 4;
constexpr int MOD_WEIGHTS[4] = {0, 3, 5, 8};  // eighths of the way from colour A to colour B

struct sBlockColours
{
    int tA[3];  // colour A: red, green 5 bits; blue 4 bits
    int tB[3];  // colour B: 5 bits each
};

std::uint32_t MortonIndex(int iX, int iY, int iBlocksX, int iBlocksY)
{
    const int iMin = std::min(iBlocksX, iBlocksY);
    std::uint32_t uiIndex = 0;
    int iBits = 0;
    for (int i = 0; (1 << i) < iMin; ++i)
    {
        uiIndex |= std::uint32_t((iY >> i) & 1) << (2 * i);
        uiIndex |= std::uint32_t((iX >> i) & 1) << (2 * i + 1);
        ++iBits;
    }
    const int iRest = iBlocksX > iBlocksY ? (iX >> iBits) : (iY >> iBits);
    return uiIndex | (std::uint32_t(iRest) << (2 * iBits));
}

int Widen4To5(int iValue)
{
    return (iValue << 1) | (iValue >> 3);
}

// The colours a block's two endpoints decode to, in the 5-bit scale the decoder blends in.
void EndpointsAs5Bit(const sBlockColours& tBlock, int (&tA)[3], int (&tB)[3])
{
    tA[0] = tBlock.tA[0];
    tA[1] = tBlock.tA[1];
    tA[2] = Widen4To5(tBlock.tA[2]);
    for (int k = 0; k < 3; ++k)
    {
        tB[k] = tBlock.tB[k];
    }
}

// Colours A and B at pixel (x, y): bilinear blend of the four blocks around the pixel,
// exactly as the decoder computes it, to 8 bits.
void InterpolatedEndpoints(const std::vector<sBlockColours>& tBlocks, int iBlocksX, int iBlocksY,
                           int iX, int iY, int (&tA8)[3], int (&tB8)[3])
{
    const int iBX = ((iX - 2) >> 2) & (iBlocksX - 1);
    const int iBY = ((iY - 2) >> 2) & (iBlocksY - 1);
    const int iBX1 = (iBX + 1) & (iBlocksX - 1);
    const int iBY1 = (iBY + 1) & (iBlocksY - 1);
    const int iU = ((iX & 3) | ((~iX & 2) << 1)) - 2;
    const int iV = ((iY & 3) | ((~iY & 2) << 1)) - 2;
    int tPA[3], tPB[3], tQA[3], tQB[3], tRA[3], tRB[3], tSA[3], tSB[3];
    EndpointsAs5Bit(tBlocks[std::size_t(iBY) * iBlocksX + iBX], tPA, tPB);
    EndpointsAs5Bit(tBlocks[std::size_t(iBY) * iBlocksX + iBX1], tQA, tQB);
    EndpointsAs5Bit(tBlocks[std::size_t(iBY1) * iBlocksX + iBX], tRA, tRB);
    EndpointsAs5Bit(tBlocks[std::size_t(iBY1) * iBlocksX + iBX1], tSA, tSB);
    for (int k = 0; k < 3; ++k)
    {
        auto Blend = [&](int iP, int iQ, int iR, int iS)
        {
            const int iT1 = iP * 4 + iU * (iQ - iP);
            const int iT2 = iR * 4 + iU * (iS - iR);
            const int iValue = (4 * iT1 + iV * (iT2 - iT1)) >> 1;
            return iValue + (iValue >> 5);
        };
        tA8[k] = Blend(tPA[k], tQA[k], tRA[k], tSA[k]);
        tB8[k] = Blend(tPB[k], tQB[k], tRB[k], tSB[k]);
    }
}

std::uint32_t PackColours(const sBlockColours& tBlock)
{
    const std::uint32_t uiA = 0x8000 | (std::uint32_t(tBlock.tA[0]) << 10) |
                              (std::uint32_t(tBlock.tA[1]) << 5) |
                              (std::uint32_t(tBlock.tA[2]) << 1);  // bit 0: standard modulation
    const std::uint32_t uiB = 0x8000 | (std::uint32_t(tBlock.tB[0]) << 10) |
                              (std::uint32_t(tBlock.tB[1]) << 5) | std::uint32_t(tBlock.tB[2]);
    return uiA | (uiB << 16);
}

int Quantise(double dValue, int iBits)
{
    const int iMax = (1 << iBits) - 1;
    return std::clamp(int(std::lround(dValue / 255.0 * iMax)), 0, iMax);
}

// Colour A and B of one block: the ends of the block's spread along its main colour axis.
sBlockColours FitBlock(const CImageRGBA& tImage, int iBX, int iBY)
{
    double tMean[3] = {0, 0, 0};
    double tPixels[16][3];
    for (int i = 0; i < 16; ++i)
    {
        const std::uint8_t* pP = tImage.At(iBX * 4 + (i & 3), iBY * 4 + (i >> 2));
        for (int k = 0; k < 3; ++k)
        {
            tPixels[i][k] = pP[k];
            tMean[k] += pP[k] / 16.0;
        }
    }
    double tCov[3][3] = {};
    for (auto& tP : tPixels)
    {
        for (int a = 0; a < 3; ++a)
        {
            for (int b = 0; b < 3; ++b)
            {
                tCov[a][b] += (tP[a] - tMean[a]) * (tP[b] - tMean[b]);
            }
        }
    }
    double tAxis[3] = {0.58, 0.58, 0.58};
    for (int iIter = 0; iIter < 8; ++iIter)
    {
        double tNext[3];
        for (int a = 0; a < 3; ++a)
        {
            tNext[a] = tCov[a][0] * tAxis[0] + tCov[a][1] * tAxis[1] + tCov[a][2] * tAxis[2];
        }
        const double dLength =
            std::sqrt(tNext[0] * tNext[0] + tNext[1] * tNext[1] + tNext[2] * tNext[2]);
        if (dLength < 1e-9)
        {
            break;
        }
        for (int a = 0; a < 3; ++a)
        {
            tAxis[a] = tNext[a] / dLength;
        }
    }
    double dMin = 0.0;
    double dMax = 0.0;
    for (auto& tP : tPixels)
    {
        const double dProj = (tP[0] - tMean[0]) * tAxis[0] + (tP[1] - tMean[1]) * tAxis[1] +
                             (tP[2] - tMean[2]) * tAxis[2];
        dMin = std::min(dMin, dProj);
        dMax = std::max(dMax, dProj);
    }
    sBlockColours tBlock;
    for (int k = 0; k < 3; ++k)
    {
        tBlock.tA[k] = Quantise(tMean[k] + tAxis[k] * dMin, k == 2 ? 4 : 5);
        tBlock.tB[k] = Quantise(tMean[k] + tAxis[k] * dMax, 5);
    }
    return tBlock;
}
}  // namespace

std::vector<std::uint8_t> PVRTC_Encode4bpp(const CImageRGBA& tImage)
{
    const int iBlocksX = tImage.iWidth / BLOCK_SIZE;
    const int iBlocksY = tImage.iHeight / BLOCK_SIZE;
    std::vector<sBlockColours> tColours(std::size_t(iBlocksX) * iBlocksY);
    for (int iBY = 0; iBY < iBlocksY; ++iBY)
    {
        for (int iBX = 0; iBX < iBlocksX; ++iBX)
        {
            tColours[std::size_t(iBY) * iBlocksX + iBX] = FitBlock(tImage, iBX, iBY);
        }
    }
    std::vector<std::uint8_t> tOut(std::size_t(iBlocksX) * iBlocksY * 8);
    for (int iBY = 0; iBY < iBlocksY; ++iBY)
    {
        for (int iBX = 0; iBX < iBlocksX; ++iBX)
        {
            std::uint32_t uiModulation = 0;
            for (int i = 0; i < 16; ++i)
            {
                const int iX = iBX * 4 + (i & 3);
                const int iY = iBY * 4 + (i >> 2);
                int tA[3], tB[3];
                InterpolatedEndpoints(tColours, iBlocksX, iBlocksY, iX, iY, tA, tB);
                const std::uint8_t* pP = tImage.At(iX, iY);
                int iBest = 0;
                long lBestError = -1;
                for (int m = 0; m < 4; ++m)
                {
                    long lError = 0;
                    for (int k = 0; k < 3; ++k)
                    {
                        const int iValue = (tA[k] * 8 + MOD_WEIGHTS[m] * (tB[k] - tA[k])) >> 3;
                        lError += long(iValue - pP[k]) * (iValue - pP[k]);
                    }
                    if (lBestError < 0 || lError < lBestError)
                    {
                        lBestError = lError;
                        iBest = m;
                    }
                }
                uiModulation |= std::uint32_t(iBest) << (2 * i);
            }
            const std::uint32_t uiColours =
                PackColours(tColours[std::size_t(iBY) * iBlocksX + iBX]);
            std::uint8_t* pBlock =
                &tOut[std::size_t(MortonIndex(iBX, iBY, iBlocksX, iBlocksY)) * 8];
            for (int b = 0; b < 4; ++b)
            {
                pBlock[b] = std::uint8_t(uiModulation >> (8 * b));
                pBlock[4 + b] = std::uint8_t(uiColours >> (8 * b));
            }
        }
    }
    return tOut;
}

CImageRGBA PVRTC_Decode4bpp(const std::vector<std::uint8_t>& tBlocks, int iWidth, int iHeight)
{
    // The game's own decoder: the previews and checks show exactly what the game will show.
    CImageRGBA tOut(iWidth, iHeight);
    if (tBlocks.size() >= PVRT_LevelDataSize(false, iWidth, iHeight))
    {
        PVRTDecompressPVRTC(tBlocks.data(), 0, iWidth, iHeight, tOut.tPixels.data());
    }
    return tOut;
}
