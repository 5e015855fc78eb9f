// PNG screenshots of a scripted run in the browser, without libpng: the pixels go into stored
// (uncompressed) deflate blocks, which every PNG reader takes. The test that plays the run
// reads them back from the page's memory.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "PngFile.h"

namespace
{

std::uint32_t Crc(const std::uint8_t* pBytes, size_t uiSize, std::uint32_t uiCrc = 0)
{
    uiCrc = ~uiCrc;
    for (size_t i = 0; i < uiSize; ++i)
    {
        uiCrc ^= pBytes[i];
        for (int k = 0; k < 8; ++k)
        {
            uiCrc = (uiCrc >> 1) ^ (0xEDB88320u & (0u - (uiCrc & 1u)));
        }
    }
    return ~uiCrc;
}

void PutBig32(std::vector<std::uint8_t>* pOut, std::uint32_t uiValue)
{
    for (int i = 3; i >= 0; --i)
    {
        pOut->push_back(static_cast<std::uint8_t>(uiValue >> (8 * i)));
    }
}

void PutChunk(std::vector<std::uint8_t>* pOut, const char* pType,
              const std::vector<std::uint8_t>& tData)
{
    PutBig32(pOut, static_cast<std::uint32_t>(tData.size()));
    const size_t uiStart = pOut->size();
    pOut->insert(pOut->end(), pType, pType + 4);
    pOut->insert(pOut->end(), tData.begin(), tData.end());
    PutBig32(pOut, Crc(pOut->data() + uiStart, pOut->size() - uiStart));
}

}  // namespace

bool PNG_WriteRGBA(const char* pPath, int iWidth, int iHeight, const std::uint8_t* pPixels,
                   bool bBottomUp)
{
    if (pPath == nullptr || pPixels == nullptr || iWidth <= 0 || iHeight <= 0)
    {
        std::printf("PNG: nothing to write to %s\n", pPath != nullptr ? pPath : "(null)");
        return false;
    }
    // Each row: filter byte 0, then the row's RGBA.
    const size_t uiRow = static_cast<size_t>(iWidth) * 4;
    std::vector<std::uint8_t> tRaw;
    tRaw.reserve((uiRow + 1) * static_cast<size_t>(iHeight));
    for (int y = 0; y < iHeight; ++y)
    {
        const int iSource = bBottomUp ? iHeight - 1 - y : y;
        tRaw.push_back(0);
        const std::uint8_t* pRow = pPixels + static_cast<size_t>(iSource) * uiRow;
        tRaw.insert(tRaw.end(), pRow, pRow + uiRow);
    }
    // zlib: header, stored blocks of at most 65535 bytes, Adler-32.
    std::vector<std::uint8_t> tZ = {0x78, 0x01};
    for (size_t uiDone = 0; uiDone < tRaw.size() || tRaw.empty();)
    {
        const size_t uiLength = std::min<size_t>(65535, tRaw.size() - uiDone);
        const bool bLast = uiDone + uiLength == tRaw.size();
        tZ.push_back(bLast ? 1 : 0);
        tZ.push_back(static_cast<std::uint8_t>(uiLength));
        tZ.push_back(static_cast<std::uint8_t>(uiLength >> 8));
        tZ.push_back(static_cast<std::uint8_t>(~uiLength));
        tZ.push_back(static_cast<std::uint8_t>(~uiLength >> 8));
        tZ.insert(tZ.end(), tRaw.begin() + uiDone, tRaw.begin() + uiDone + uiLength);
        uiDone += uiLength;
        if (bLast)
        {
            break;
        }
    }
    std::uint32_t uiA = 1;
    std::uint32_t uiB = 0;
    for (std::uint8_t uiByte : tRaw)
    {
        uiA = (uiA + uiByte) % 65521;
        uiB = (uiB + uiA) % 65521;
    }
    PutBig32(&tZ, (uiB << 16) | uiA);

    std::vector<std::uint8_t> tFile = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> tHeader;
    PutBig32(&tHeader, static_cast<std::uint32_t>(iWidth));
    PutBig32(&tHeader, static_cast<std::uint32_t>(iHeight));
    tHeader.insert(tHeader.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA, no interlace
    PutChunk(&tFile, "IHDR", tHeader);
    PutChunk(&tFile, "IDAT", tZ);
    PutChunk(&tFile, "IEND", {});
    FILE* pFile = std::fopen(pPath, "wb");
    if (pFile == nullptr)
    {
        std::printf("PNG: cannot open %s for writing\n", pPath);
        return false;
    }
    const bool bWritten = std::fwrite(tFile.data(), 1, tFile.size(), pFile) == tFile.size();
    return std::fclose(pFile) == 0 && bWritten;
}
