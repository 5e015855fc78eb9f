#pragma once

// Pictures as the generator keeps them (8-bit RGBA, straight alpha, rows top first) and the
// texture files the game reads: 32-bit TGA and version-2 PVR (uncompressed or PVRTC 4 bpp).

#include <cstdint>
#include <string>
#include <vector>

struct CImageRGBA
{
    int iWidth = 0;
    int iHeight = 0;
    std::vector<std::uint8_t> tPixels;  // iWidth * iHeight * 4 bytes, R G B A, top row first

    CImageRGBA() = default;
    CImageRGBA(int iW, int iH) : iWidth(iW), iHeight(iH), tPixels(std::size_t(iW) * iH * 4, 0) {}
    std::uint8_t* At(int iX, int iY) { return &tPixels[(std::size_t(iY) * iWidth + iX) * 4]; }
    const std::uint8_t* At(int iX, int iY) const
    {
        return &tPixels[(std::size_t(iY) * iWidth + iX) * 4];
    }
};

// The same picture upside down (the game's texture files keep the bottom row first).
CImageRGBA IMG_FlipVertical(const CImageRGBA& tImage);

// Gives fully transparent pixels the colour of their nearest visible neighbour (up to
// iPasses pixels away), so that linear filtering at a sprite's edge blends towards the
// sprite's own colour and not towards black.
void IMG_BleedColours(CImageRGBA& tImage, int iPasses);

// Creates every missing folder of a path's directory part. False on failure.
bool IMG_MakeDirsFor(const std::string& strFilePath);

// Writes bytes to a file, creating its folders; false (with one line printed) on failure.
bool IMG_WriteFile(const std::string& strPath, const std::vector<std::uint8_t>& tBytes);

// 32-bit uncompressed TGA (type 2), bottom-left origin: the first stored row is the
// picture's bottom row, so the loader's file-order upload puts the atlas top at v = 1.
std::vector<std::uint8_t> IMG_EncodeTGA(const CImageRGBA& tImage);

// PVR version 2 (52-byte header, one surface, no mip-maps).
// RGBA 8888 (pixel type 0x12), rows in file order = the image's rows as given.
std::vector<std::uint8_t> IMG_EncodePVRRGBA8888(const CImageRGBA& tImage);
// PVRTC 4 bpp (pixel type 0x19, opaque) from already encoded blocks.
std::vector<std::uint8_t> IMG_EncodePVRTC4(int iWidth, int iHeight,
                                           const std::vector<std::uint8_t>& tBlocks);

// Little-endian appenders shared by the binary writers.
void IMG_Put16(std::vector<std::uint8_t>& tOut, std::uint32_t uiValue);
void IMG_Put32(std::vector<std::uint8_t>& tOut, std::uint32_t uiValue);
