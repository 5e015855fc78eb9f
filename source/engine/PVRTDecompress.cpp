#include "PVRTDecompress.h"

#include <cstdint>
#include <cstring>

#include "Assert.h"

namespace
{

constexpr const char* ASSERT_FILE = "PVRTDecompress";

constexpr bool POWER_OF_2(unsigned int uiValue)
{
    return uiValue != 0 && (uiValue & (uiValue - 1)) == 0;
}

// Modulation weights in eighths: the standard table and the punch-through table.
constexpr int STANDARD_WEIGHTS[4] = {0, 3, 5, 8};
constexpr int PUNCH_THROUGH_WEIGHTS[4] = {0, 4, 4, 8};

constexpr int BLOCK_HEIGHT = 4;
constexpr int MAX_BLOCK_WIDTH = 8;

// A block unpacked: its two colours (red, green, blue 5 bits, alpha 4 bits) and the modulation
// value of each of its pixels, rows of up to 8 columns.
struct sUnpackedBlock
{
    int tColourA[4];
    int tColourB[4];
    std::uint8_t tValues[BLOCK_HEIGHT][MAX_BLOCK_WIDTH];
    int iMode;
};

inline int Widen4To5(int iValue)
{
    return (iValue << 1) | (iValue >> 3);
}

inline int Widen3To5(int iValue)
{
    return (iValue << 2) | (iValue >> 1);
}

inline std::uint32_t ReadWord(const std::uint8_t* pBytes)
{
    return static_cast<std::uint32_t>(pBytes[0]) | (static_cast<std::uint32_t>(pBytes[1]) << 8) |
           (static_cast<std::uint32_t>(pBytes[2]) << 16) |
           (static_cast<std::uint32_t>(pBytes[3]) << 24);
}

// Colour B: the upper half of the colour word.
void UnpackColourB(std::uint32_t uiHalf, int* pColour)
{
    if (uiHalf & 0x8000)
    {
        pColour[0] = (uiHalf >> 10) & 0x1F;
        pColour[1] = (uiHalf >> 5) & 0x1F;
        pColour[2] = uiHalf & 0x1F;
        pColour[3] = 15;
    }
    else
    {
        pColour[0] = Widen4To5((uiHalf >> 8) & 0xF);
        pColour[1] = Widen4To5((uiHalf >> 4) & 0xF);
        pColour[2] = Widen4To5(uiHalf & 0xF);
        pColour[3] = ((uiHalf >> 12) & 0x7) << 1;
    }
}

// Colour A: the lower half of the colour word, whose bit 0 is the mode flag (taken as 0).
void UnpackColourA(std::uint32_t uiHalf, int* pColour)
{
    uiHalf &= ~1u;
    if (uiHalf & 0x8000)
    {
        pColour[0] = (uiHalf >> 10) & 0x1F;
        pColour[1] = (uiHalf >> 5) & 0x1F;
        pColour[2] = Widen4To5((uiHalf >> 1) & 0xF);
        pColour[3] = 15;
    }
    else
    {
        pColour[0] = Widen4To5((uiHalf >> 8) & 0xF);
        pColour[1] = Widen4To5((uiHalf >> 4) & 0xF);
        pColour[2] = Widen3To5((uiHalf >> 1) & 0x7);
        pColour[3] = ((uiHalf >> 12) & 0x7) << 1;
    }
}

void UnpackBlock(const std::uint8_t* pBlock, bool b2bpp, sUnpackedBlock* pOut)
{
    std::uint32_t ModulationBits = ReadWord(pBlock);
    const std::uint32_t uiColours = ReadWord(pBlock + 4);
    UnpackColourA(uiColours & 0xFFFF, pOut->tColourA);
    UnpackColourB(uiColours >> 16, pOut->tColourB);
    pOut->iMode = static_cast<int>(uiColours & 1);

    if (!b2bpp)
    {
        for (int y = 0; y < BLOCK_HEIGHT; ++y)
        {
            for (int x = 0; x < 4; ++x)
            {
                pOut->tValues[y][x] = static_cast<std::uint8_t>(ModulationBits & 3);
                ModulationBits >>= 2;
            }
        }
    }
    else if (pOut->iMode == 0)
    {
        for (int y = 0; y < BLOCK_HEIGHT; ++y)
        {
            for (int x = 0; x < 8; ++x)
            {
                pOut->tValues[y][x] = (ModulationBits & 1) ? 3 : 0;
                ModulationBits >>= 1;
            }
        }
    }
    else
    {
        // Only the pixels whose column and row share parity are stored; the others are
        // interpolated from their four stored neighbours when decoded.
        for (int y = 0; y < BLOCK_HEIGHT; ++y)
        {
            for (int x = 0; x < 8; ++x)
            {
                if (((x ^ y) & 1) == 0)
                {
                    pOut->tValues[y][x] = static_cast<std::uint8_t>(ModulationBits & 3);
                    ModulationBits >>= 2;
                }
                else
                {
                    pOut->tValues[y][x] = 0;
                }
            }
        }
    }
    BF_ASSERT(ASSERT_FILE, ModulationBits == 0);
}

// Interpolated colours of one pixel before modulation: red, green, blue, alpha at 8 bits.
// With 5-bit colours and 4-bit alpha the results stay at most 248 + 7 and 240 + 15.
static_assert((31 * 16 >> 1) + (31 * 16 >> 1 >> 5) < 256 && 15 * 16 + 15 < 256,
              "interpolated channels fit a byte");

// The 2 x 2 blocks around one neighbourhood cell, as the table of modulation values of the
// pixels they cover (8 rows by up to 16 columns) plus their colours.
struct sNeighbourhood
{
    const sUnpackedBlock* pBlocks[4];  // upper-left, upper-right, lower-left, lower-right
    std::uint8_t tValues[2 * BLOCK_HEIGHT][2 * MAX_BLOCK_WIDTH];
};

void BuildTable(sNeighbourhood* pCell, int iBlockWidth)
{
    for (int q = 0; q < 4; ++q)
    {
        const int iRow0 = (q >> 1) * BLOCK_HEIGHT;
        const int iCol0 = (q & 1) * iBlockWidth;
        for (int y = 0; y < BLOCK_HEIGHT; ++y)
        {
            std::memcpy(&pCell->tValues[iRow0 + y][iCol0], pCell->pBlocks[q]->tValues[y],
                        static_cast<size_t>(iBlockWidth));
        }
    }
}

// Interpolated colour channel at 8 bits: colours are 5 bits, alpha 4, scaled by 4 x the block
// width; the top bits are copied into the low ones so that full intensity reaches 255.
template <int DOWN, int REPEAT>
inline int ToByte(int iScaled)
{
    const int iValue = iScaled >> DOWN;
    return iValue + (iValue >> REPEAT);
}

// Decodes the pixels of one neighbourhood cell whose upper-left block sits at virtual block
// column iCellX and row iCellY (one before the grid at most; pixel positions outside the image
// are skipped).
template <bool B2BPP>
void DecodeCell(const sNeighbourhood& tCell, int iCellX, int iCellY, int iWidth, int iHeight,
                unsigned char* pResult)
{
    constexpr int BW = B2BPP ? 8 : 4;
    constexpr int COLOUR_DOWN = B2BPP ? 2 : 1;
    constexpr int ALPHA_DOWN = B2BPP ? 1 : 0;
    const int iX0 = iCellX * BW + BW / 2;
    const int iY0 = iCellY * BLOCK_HEIGHT + BLOCK_HEIGHT / 2;

    // Channels 0-3: colour A red, green, blue, alpha; 4-7 the same of colour B.
    int tP[8], tQ[8], tR[8], tS[8];
    for (int c = 0; c < 4; ++c)
    {
        tP[c] = tCell.pBlocks[0]->tColourA[c];
        tQ[c] = tCell.pBlocks[1]->tColourA[c];
        tR[c] = tCell.pBlocks[2]->tColourA[c];
        tS[c] = tCell.pBlocks[3]->tColourA[c];
        tP[c + 4] = tCell.pBlocks[0]->tColourB[c];
        tQ[c + 4] = tCell.pBlocks[1]->tColourB[c];
        tR[c + 4] = tCell.pBlocks[2]->tColourB[c];
        tS[c + 4] = tCell.pBlocks[3]->tColourB[c];
    }
    const bool bInside = iX0 >= 0 && iX0 + BW <= iWidth;

    for (int v = 0; v < BLOCK_HEIGHT; ++v)
    {
        const int iY = iY0 + v;
        if (iY < 0 || iY >= iHeight)
        {
            continue;
        }
        // Across a row the value is linear in u: 4 t1 + v (t2 - t1) with t1 = P s + u (Q - P)
        // and t2 = R s + u (S - R).
        int tBase[8], tStep[8];
        for (int k = 0; k < 8; ++k)
        {
            tBase[k] = 4 * BW * tP[k] + v * BW * (tR[k] - tP[k]);
            tStep[k] = 4 * (tQ[k] - tP[k]) + v * ((tS[k] - tR[k]) - (tQ[k] - tP[k]));
        }

        const int iRow = v + BLOCK_HEIGHT / 2;
        const int iLower = iRow >= BLOCK_HEIGHT ? 2 : 0;
        int tWeights[BW];
        bool tTransparent[BW];
        for (int u = 0; u < BW; ++u)
        {
            const int iCol = u + BW / 2;
            const int iValue = tCell.tValues[iRow][iCol];
            tTransparent[u] = false;
            if (tCell.pBlocks[iLower + (iCol >= BW ? 1 : 0)]->iMode == 0)
            {
                tWeights[u] = STANDARD_WEIGHTS[iValue];
            }
            else if (!B2BPP)
            {
                tWeights[u] = PUNCH_THROUGH_WEIGHTS[iValue];
                tTransparent[u] = iValue == 2;
            }
            else if (((iCol ^ iRow) & 1) == 0)
            {
                tWeights[u] = STANDARD_WEIGHTS[iValue];
            }
            else
            {
                tWeights[u] = (STANDARD_WEIGHTS[tCell.tValues[iRow - 1][iCol]] +
                               STANDARD_WEIGHTS[tCell.tValues[iRow + 1][iCol]] +
                               STANDARD_WEIGHTS[tCell.tValues[iRow][iCol - 1]] +
                               STANDARD_WEIGHTS[tCell.tValues[iRow][iCol + 1]] + 2) /
                              4;
            }
        }

        unsigned char* pOutRow = pResult + static_cast<size_t>(iY) * iWidth * 4;
        for (int u = 0; u < BW; ++u)
        {
            const int iX = iX0 + u;
            if (!bInside && (iX < 0 || iX >= iWidth))
            {
                continue;
            }
            const int iWeight = tWeights[u];
            unsigned char* pOut = pOutRow + static_cast<size_t>(iX) * 4;
            for (int k = 0; k < 3; ++k)
            {
                const int iA = ToByte<COLOUR_DOWN, 5>(tBase[k] + u * tStep[k]);
                const int iB = ToByte<COLOUR_DOWN, 5>(tBase[k + 4] + u * tStep[k + 4]);
                pOut[k] = static_cast<unsigned char>((iA * 8 + iWeight * (iB - iA)) >> 3);
            }
            const int iA = ToByte<ALPHA_DOWN, 4>(tBase[3] + u * tStep[3]);
            const int iB = ToByte<ALPHA_DOWN, 4>(tBase[7] + u * tStep[7]);
            pOut[3] = tTransparent[u]
                          ? 0
                          : static_cast<unsigned char>((iA * 8 + iWeight * (iB - iA)) >> 3);
        }
    }
}

inline int Wrap(int iValue, int iSize)
{
    // Grid sizes are powers of two.
    return iValue & (iSize - 1);
}

}  // namespace

int PVRT_BlocksAcross(bool b2bpp, int iWidth)
{
    const int iBlocks = iWidth / (b2bpp ? 8 : 4);
    return iBlocks < 2 ? 2 : iBlocks;
}

int PVRT_BlocksDown(int iHeight)
{
    const int iBlocks = iHeight / BLOCK_HEIGHT;
    return iBlocks < 2 ? 2 : iBlocks;
}

size_t PVRT_LevelDataSize(bool b2bpp, int iWidth, int iHeight)
{
    return static_cast<size_t>(PVRT_BlocksAcross(b2bpp, iWidth)) *
           static_cast<size_t>(PVRT_BlocksDown(iHeight)) * 8;
}

bool PVRT_IsDecodableLevel(bool b2bpp, int iWidth, int iHeight)
{
    return iWidth > 0 && iHeight > 0 &&
           POWER_OF_2(static_cast<unsigned int>(PVRT_BlocksAcross(b2bpp, iWidth))) &&
           POWER_OF_2(static_cast<unsigned int>(PVRT_BlocksDown(iHeight)));
}

unsigned int PVRT_TwiddleUV(unsigned int YSize, unsigned int XSize, unsigned int YPos,
                            unsigned int XPos)
{
    BF_ASSERT(ASSERT_FILE, YPos < YSize);
    BF_ASSERT(ASSERT_FILE, XPos < XSize);
    BF_ASSERT(ASSERT_FILE, POWER_OF_2(YSize));
    BF_ASSERT(ASSERT_FILE, POWER_OF_2(XSize));

    const unsigned int uiMinDimension = XSize < YSize ? XSize : YSize;
    unsigned int uiTwiddled = 0;
    unsigned int uiSourceBit = 1;
    unsigned int uiDestBit = 1;
    unsigned int uiShift = 0;
    while (uiSourceBit < uiMinDimension)
    {
        if (YPos & uiSourceBit)
        {
            uiTwiddled |= uiDestBit;
        }
        if (XPos & uiSourceBit)
        {
            uiTwiddled |= uiDestBit << 1;
        }
        uiSourceBit <<= 1;
        uiDestBit <<= 2;
        ++uiShift;
    }
    // What is left of the longer side's coordinate goes above the interleaved bits.
    const unsigned int uiHigh = (YSize < XSize ? XPos : YPos) >> uiShift;
    return uiTwiddled | (uiHigh << (2 * uiShift));
}

void PVRTDecompressPVRTC(const void* pCompressedData, int iDo2bitMode, int iXDim, int iYDim,
                         unsigned char* pResultImage)
{
    const bool b2bpp = iDo2bitMode != 0;
    const int iBlockWidth = b2bpp ? 8 : 4;
    const int iBlocksX = PVRT_BlocksAcross(b2bpp, iXDim);
    const int iBlocksY = PVRT_BlocksDown(iYDim);
    const unsigned int XSize = static_cast<unsigned int>(iBlocksX);
    const unsigned int YSize = static_cast<unsigned int>(iBlocksY);
    BF_ASSERT(ASSERT_FILE, POWER_OF_2(YSize));
    BF_ASSERT(ASSERT_FILE, POWER_OF_2(XSize));
    const std::uint8_t* pBlocks = static_cast<const std::uint8_t*>(pCompressedData);

    // Each neighbourhood cell covers the pixels whose four surrounding blocks are the same:
    // from half a block into its upper-left block to half a block into the lower-right one.
    // Cells run from one before the grid (pixels left of and above the first block centre,
    // which wrap to the far edge) to the last that still covers a pixel of the image.
    const int iLastCellX = (iXDim - 1 - iBlockWidth / 2) / iBlockWidth;
    const int iLastCellY = (iYDim - 1 - BLOCK_HEIGHT / 2) / BLOCK_HEIGHT;

    sUnpackedBlock tColumns[2][2];  // [left/right][upper/lower], slid along each row of cells
    sNeighbourhood tCell;
    for (int iCellY = -1; iCellY <= iLastCellY; ++iCellY)
    {
        const unsigned int uiUpper = static_cast<unsigned int>(Wrap(iCellY, iBlocksY));
        const unsigned int uiLower = static_cast<unsigned int>(Wrap(iCellY + 1, iBlocksY));
        int iSlot = 0;  // which of tColumns holds the cell's left column
        for (int iCellX = -1; iCellX <= iLastCellX; ++iCellX)
        {
            const unsigned int uiLeft = static_cast<unsigned int>(Wrap(iCellX, iBlocksX));
            const unsigned int uiRight = static_cast<unsigned int>(Wrap(iCellX + 1, iBlocksX));
            if (iCellX == -1)
            {
                UnpackBlock(pBlocks + 8 * PVRT_TwiddleUV(iBlocksY, iBlocksX, uiUpper, uiLeft),
                            b2bpp, &tColumns[iSlot][0]);
                UnpackBlock(pBlocks + 8 * PVRT_TwiddleUV(iBlocksY, iBlocksX, uiLower, uiLeft),
                            b2bpp, &tColumns[iSlot][1]);
            }
            sUnpackedBlock* pRight = tColumns[iSlot ^ 1];
            UnpackBlock(pBlocks + 8 * PVRT_TwiddleUV(iBlocksY, iBlocksX, uiUpper, uiRight), b2bpp,
                        &pRight[0]);
            UnpackBlock(pBlocks + 8 * PVRT_TwiddleUV(iBlocksY, iBlocksX, uiLower, uiRight), b2bpp,
                        &pRight[1]);

            tCell.pBlocks[0] = &tColumns[iSlot][0];
            tCell.pBlocks[1] = &pRight[0];
            tCell.pBlocks[2] = &tColumns[iSlot][1];
            tCell.pBlocks[3] = &pRight[1];
            BuildTable(&tCell, iBlockWidth);
            if (b2bpp)
            {
                DecodeCell<true>(tCell, iCellX, iCellY, iXDim, iYDim, pResultImage);
            }
            else
            {
                DecodeCell<false>(tCell, iCellX, iCellY, iXDim, iYDim, pResultImage);
            }
            iSlot ^= 1;
        }
    }
}
