#include "TGAFile.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "Host.h"

namespace
{

char s_strLastError[160];

// Prints one diagnostic line and keeps it for TGA_LastError.
void Report(const char* pLine)
{
    std::snprintf(s_strLastError, sizeof(s_strLastError), "%s", pLine);
    std::printf("%s\n", pLine);
}

constexpr int TGA_HEADER_SIZE = 18;
constexpr int TGA_TYPE_TRUE_COLOUR = 2;
constexpr int TGA_TYPE_TRUE_COLOUR_RLE = 10;

// File order is B, G, R[, A]; memory order R, G, B[, A].
inline void CopyPixel(unsigned char* pDest, const unsigned char* pSource, int iBytesPerPixel)
{
    pDest[0] = pSource[2];
    pDest[1] = pSource[1];
    pDest[2] = pSource[0];
    if (iBytesPerPixel == 4)
    {
        pDest[3] = pSource[3];
    }
}

bool ReadPlain(FILE* pFile, size_t uiAvailable, TGAPixels* pImage, size_t uiPixels)
{
    const int iBytes = pImage->iBytesPerPixel;
    const size_t uiNeeded = uiPixels * static_cast<size_t>(iBytes);
    if (uiAvailable < uiNeeded || HostFileRead(pImage->pPixels, 1, uiNeeded, pFile) != uiNeeded)
    {
        Report("TGA pixel data ends early");
        return false;
    }
    unsigned char* pPixel = pImage->pPixels;
    for (size_t i = 0; i < uiPixels; ++i, pPixel += iBytes)
    {
        const unsigned char ucBlue = pPixel[0];
        pPixel[0] = pPixel[2];
        pPixel[2] = ucBlue;
    }
    return true;
}

bool ReadRunLength(FILE* pFile, size_t uiAvailable, TGAPixels* pImage, size_t uiPixels)
{
    unsigned char* pData = static_cast<unsigned char*>(std::malloc(uiAvailable + 1));
    if (pData == nullptr || HostFileRead(pData, 1, uiAvailable, pFile) != uiAvailable)
    {
        std::free(pData);
        Report("TGA pixel data cannot be read");
        return false;
    }
    const int iBytes = pImage->iBytesPerPixel;
    const unsigned char* pRead = pData;
    const unsigned char* pEnd = pData + uiAvailable;
    unsigned char* pWrite = pImage->pPixels;
    size_t uiFilled = 0;
    bool bOk = true;
    while (uiFilled < uiPixels)
    {
        if (pRead >= pEnd)
        {
            Report("TGA pixel data ends early");
            bOk = false;
            break;
        }
        const unsigned char ucPacket = *pRead++;
        const size_t uiCount = static_cast<size_t>(ucPacket & 0x7F) + 1;
        if (uiCount > uiPixels - uiFilled)
        {
            Report("TGA run-length packet runs past the last pixel");
            bOk = false;
            break;
        }
        const size_t uiSourceBytes = (ucPacket & 0x80) ? iBytes : uiCount * iBytes;
        if (static_cast<size_t>(pEnd - pRead) < uiSourceBytes)
        {
            Report("TGA pixel data ends early");
            bOk = false;
            break;
        }
        if (ucPacket & 0x80)
        {
            // A run: one pixel stored count times.
            unsigned char tPixel[4] = {0, 0, 0, 0};
            CopyPixel(tPixel, pRead, iBytes);
            for (size_t i = 0; i < uiCount; ++i, pWrite += iBytes)
            {
                std::memcpy(pWrite, tPixel, static_cast<size_t>(iBytes));
            }
        }
        else
        {
            for (size_t i = 0; i < uiCount; ++i, pWrite += iBytes)
            {
                CopyPixel(pWrite, pRead + i * iBytes, iBytes);
            }
        }
        pRead += uiSourceBytes;
        uiFilled += uiCount;
    }
    std::free(pData);
    return bOk;
}

}  // namespace

bool TGA_ReadPixels(FILE* pFile, TGAPixels* pImage)
{
    s_strLastError[0] = '\0';
    std::memset(pImage, 0, sizeof(*pImage));
    unsigned char tHeader[TGA_HEADER_SIZE];
    if (HostFileRead(tHeader, 1, sizeof(tHeader), pFile) != sizeof(tHeader))
    {
        Report("TGA header is truncated");
        return false;
    }
    const int iIDLength = tHeader[0];
    if (tHeader[1] != 0)
    {
        Report("Palletized TGA files are not currently supported");
        return false;
    }
    const int iType = tHeader[2];
    if (iType != TGA_TYPE_TRUE_COLOUR && iType != TGA_TYPE_TRUE_COLOUR_RLE)
    {
        Report(
            "TGA image type is not supported - currently supported formats are RGB and RGB "
            "RLE");
        return false;
    }
    // Bytes 3-7: colour-map fields; 8-11: origin (not used).
    const int iWidth = tHeader[12] | (tHeader[13] << 8);
    const int iHeight = tHeader[14] | (tHeader[15] << 8);
    const int iDepth = tHeader[16];
    if (iDepth != 24 && iDepth != 32)
    {
        Report(
            "TGA bit depth not supported - currently supported bit depths are 24 (RGB) and 32 "
            "(RGBA)");
        return false;
    }
    if (iWidth == 0 || iHeight == 0)
    {
        Report("TGA image has no pixels");
        return false;
    }

    const long iStart = HostFileTell(pFile) + iIDLength;
    const long iLength = HostFileLength(pFile);
    if (iStart > iLength || HostFileSeek(pFile, iStart, SEEK_SET) != 0)
    {
        Report("TGA pixel data ends early");
        return false;
    }
    const size_t uiAvailable = static_cast<size_t>(iLength - iStart);

    const size_t uiPixels = static_cast<size_t>(iWidth) * static_cast<size_t>(iHeight);
    // The fewest bytes that can hold the pixels: raw, or packets of 128-pixel runs. A file
    // shorter than that fails before the picture's buffer is allocated.
    const size_t uiBytesPerPixel = static_cast<size_t>(iDepth / 8);
    const size_t uiLeast = iType == TGA_TYPE_TRUE_COLOUR
                               ? uiPixels * uiBytesPerPixel
                               : (uiPixels + 127) / 128 * (1 + uiBytesPerPixel);
    if (uiAvailable < uiLeast)
    {
        Report("TGA pixel data ends early");
        return false;
    }
    pImage->iWidth = iWidth;
    pImage->iHeight = iHeight;
    pImage->iBytesPerPixel = iDepth / 8;
    pImage->pPixels = static_cast<unsigned char*>(std::malloc(uiPixels * pImage->iBytesPerPixel));
    if (pImage->pPixels == nullptr)
    {
        Report("TGA image does not fit in memory");
        return false;
    }
    const bool bOk = iType == TGA_TYPE_TRUE_COLOUR
                         ? ReadPlain(pFile, uiAvailable, pImage, uiPixels)
                         : ReadRunLength(pFile, uiAvailable, pImage, uiPixels);
    if (!bOk)
    {
        TGA_FreePixels(pImage);
    }
    return bOk;
}

void TGA_FreePixels(TGAPixels* pImage)
{
    std::free(pImage->pPixels);
    std::memset(pImage, 0, sizeof(*pImage));
}

const char* TGA_LastError()
{
    return s_strLastError;
}
