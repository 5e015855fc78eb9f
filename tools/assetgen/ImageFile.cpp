#include "ImageFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace
{
constexpr std::uint32_t PVR_HEADER_SIZE = 52;
constexpr std::uint32_t PVR_MAGIC = 0x21525650;  // "PVR!"
constexpr std::uint32_t PVR_TYPE_RGBA8888 = 0x12;
constexpr std::uint32_t PVR_TYPE_PVRTC4 = 0x19;

void PutPVRHeader(std::vector<std::uint8_t>& tOut, int iWidth, int iHeight, std::uint32_t uiFlags,
                  std::uint32_t uiDataSize, std::uint32_t uiBitCount,
                  const std::uint32_t (&tMasks)[4])
{
    IMG_Put32(tOut, PVR_HEADER_SIZE);
    IMG_Put32(tOut, std::uint32_t(iHeight));
    IMG_Put32(tOut, std::uint32_t(iWidth));
    IMG_Put32(tOut, 0);  // no mip-maps beyond level 0
    IMG_Put32(tOut, uiFlags);
    IMG_Put32(tOut, uiDataSize);
    IMG_Put32(tOut, uiBitCount);
    for (std::uint32_t uiMask : tMasks)
    {
        IMG_Put32(tOut, uiMask);
    }
    IMG_Put32(tOut, PVR_MAGIC);
    IMG_Put32(tOut, 1);  // one surface
}
}  // namespace

void IMG_Put16(std::vector<std::uint8_t>& tOut, std::uint32_t uiValue)
{
    tOut.push_back(std::uint8_t(uiValue & 0xFF));
    tOut.push_back(std::uint8_t((uiValue >> 8) & 0xFF));
}

void IMG_Put32(std::vector<std::uint8_t>& tOut, std::uint32_t uiValue)
{
    IMG_Put16(tOut, uiValue & 0xFFFF);
    IMG_Put16(tOut, uiValue >> 16);
}

CImageRGBA IMG_FlipVertical(const CImageRGBA& tImage)
{
    CImageRGBA tOut(tImage.iWidth, tImage.iHeight);
    const std::size_t uiRow = std::size_t(tImage.iWidth) * 4;
    for (int iY = 0; iY < tImage.iHeight; ++iY)
    {
        std::memcpy(tOut.At(0, tImage.iHeight - 1 - iY), tImage.At(0, iY), uiRow);
    }
    return tOut;
}

void IMG_BleedColours(CImageRGBA& tImage, int iPasses)
{
    const int iW = tImage.iWidth;
    const int iH = tImage.iHeight;
    // A pixel counts as "known" once it is visible or has taken a colour in an earlier pass.
    std::vector<std::uint8_t> tKnown(std::size_t(iW) * iH);
    for (int i = 0; i < iW * iH; ++i)
    {
        tKnown[i] = tImage.tPixels[std::size_t(i) * 4 + 3] != 0;
    }
    std::vector<std::uint8_t> tNext = tKnown;
    for (int iPass = 0; iPass < iPasses; ++iPass)
    {
        bool bChanged = false;
        for (int iY = 0; iY < iH; ++iY)
        {
            for (int iX = 0; iX < iW; ++iX)
            {
                if (tKnown[std::size_t(iY) * iW + iX])
                {
                    continue;
                }
                int iSum[3] = {0, 0, 0};
                int iCount = 0;
                for (int iDY = -1; iDY <= 1; ++iDY)
                {
                    for (int iDX = -1; iDX <= 1; ++iDX)
                    {
                        const int iNX = iX + iDX;
                        const int iNY = iY + iDY;
                        if (iNX < 0 || iNY < 0 || iNX >= iW || iNY >= iH ||
                            !tKnown[std::size_t(iNY) * iW + iNX])
                        {
                            continue;
                        }
                        const std::uint8_t* pN = tImage.At(iNX, iNY);
                        iSum[0] += pN[0];
                        iSum[1] += pN[1];
                        iSum[2] += pN[2];
                        ++iCount;
                    }
                }
                if (iCount > 0)
                {
                    std::uint8_t* pP = tImage.At(iX, iY);
                    for (int k = 0; k < 3; ++k)
                    {
                        pP[k] = std::uint8_t(iSum[k] / iCount);
                    }
                    tNext[std::size_t(iY) * iW + iX] = 1;
                    bChanged = true;
                }
            }
        }
        tKnown = tNext;
        if (!bChanged)
        {
            break;
        }
    }
}

bool IMG_MakeDirsFor(const std::string& strFilePath)
{
    for (std::size_t uiPos = strFilePath.find('/', 1); uiPos != std::string::npos;
         uiPos = strFilePath.find('/', uiPos + 1))
    {
        const std::string strDir = strFilePath.substr(0, uiPos);
        if (mkdir(strDir.c_str(), 0755) != 0 && errno != EEXIST)
        {
            std::printf("assetgen: cannot create folder %s: %s\n", strDir.c_str(),
                        std::strerror(errno));
            return false;
        }
    }
    return true;
}

bool IMG_WriteFile(const std::string& strPath, const std::vector<std::uint8_t>& tBytes)
{
    if (!IMG_MakeDirsFor(strPath))
    {
        return false;
    }
    FILE* pFile = std::fopen(strPath.c_str(), "wb");
    if (pFile == nullptr)
    {
        std::printf("assetgen: cannot write %s: %s\n", strPath.c_str(), std::strerror(errno));
        return false;
    }
    const std::size_t uiWritten = std::fwrite(tBytes.data(), 1, tBytes.size(), pFile);
    const bool bClosed = std::fclose(pFile) == 0;
    if (uiWritten != tBytes.size() || !bClosed)
    {
        std::printf("assetgen: short write to %s\n", strPath.c_str());
        return false;
    }
    return true;
}

std::vector<std::uint8_t> IMG_EncodeTGA(const CImageRGBA& tImage)
{
    std::vector<std::uint8_t> tOut;
    tOut.reserve(18 + tImage.tPixels.size());
    tOut.push_back(0);  // no image ID
    tOut.push_back(0);  // no colour map
    tOut.push_back(2);  // uncompressed true colour
    for (int i = 0; i < 5; ++i)
    {
        tOut.push_back(0);  // colour-map fields
    }
    IMG_Put16(tOut, 0);  // x origin
    IMG_Put16(tOut, 0);  // y origin
    IMG_Put16(tOut, std::uint32_t(tImage.iWidth));
    IMG_Put16(tOut, std::uint32_t(tImage.iHeight));
    tOut.push_back(32);
    tOut.push_back(8);  // 8 alpha bits, origin bottom left
    for (int iY = tImage.iHeight - 1; iY >= 0; --iY)
    {
        for (int iX = 0; iX < tImage.iWidth; ++iX)
        {
            const std::uint8_t* pP = tImage.At(iX, iY);
            tOut.push_back(pP[2]);
            tOut.push_back(pP[1]);
            tOut.push_back(pP[0]);
            tOut.push_back(pP[3]);
        }
    }
    return tOut;
}

std::vector<std::uint8_t> IMG_EncodePVRRGBA8888(const CImageRGBA& tImage)
{
    std::vector<std::uint8_t> tOut;
    const std::uint32_t uiSize = std::uint32_t(tImage.tPixels.size());
    PutPVRHeader(tOut, tImage.iWidth, tImage.iHeight, PVR_TYPE_RGBA8888, uiSize, 32,
                 {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000});
    tOut.insert(tOut.end(), tImage.tPixels.begin(), tImage.tPixels.end());
    return tOut;
}

std::vector<std::uint8_t> IMG_EncodePVRTC4(int iWidth, int iHeight,
                                           const std::vector<std::uint8_t>& tBlocks)
{
    std::vector<std::uint8_t> tOut;
    PutPVRHeader(tOut, iWidth, iHeight, PVR_TYPE_PVRTC4, std::uint32_t(tBlocks.size()), 4,
                 {0, 0, 0, 0});
    tOut.insert(tOut.end(), tBlocks.begin(), tBlocks.end());
    return tOut;
}
