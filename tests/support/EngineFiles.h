#pragma once

// Builders of the engine's data files for tests that write their own: PVR textures, TGA
// pictures and AngelCode binary fonts (version 3). All integers little-endian.

#include <cstdint>
#include <string>
#include <vector>

using TestBytes = std::vector<std::uint8_t>;

// Appends the iBytes low bytes of a value, least significant first.
void TEST_PutLE(TestBytes* pBytes, std::uint32_t uiValue, int iBytes);

// A PVR file: a header of uiHeaderSize bytes (44 or 52, or anything else on purpose) whose
// dataSize is the size of tData, then tData; magic "PVR!".
TestBytes TEST_PVRFile(std::uint32_t uiHeaderSize, std::uint32_t uiWidth, std::uint32_t uiHeight,
                       std::uint32_t uiFlags, std::uint32_t uiBitCount, const TestBytes& tData,
                       std::uint32_t uiMipMaps = 0, std::uint32_t uiSurfaces = 0,
                       std::uint32_t uiAlphaMask = 0);

// A TGA file: the 18-byte header, an image ID of iIDLength bytes, then the payload as given.
TestBytes TEST_TGAFile(int iType, int iDepth, int iWidth, int iHeight, const TestBytes& tPayload,
                       int iColourMap = 0, int iIDLength = 0);

struct TestGlyph
{
    std::uint32_t id;
    int x, y, width, height, xoffset, yoffset, xadvance;
};

// One font block: type, 32-bit body size, body.
void TEST_PutFontBlock(TestBytes* pBytes, int iType, const TestBytes& tBody);

// A pages block body: the page's file name and its NUL.
TestBytes TEST_FontPagesBody(const std::string& strPage);

// A whole font: info, common (line height, base 12, page size, page count), pages, chars.
TestBytes TEST_FontFile(int iLineHeight, int iPageWidth, int iPageHeight, int iPages,
                        const std::string& strPage, const std::vector<TestGlyph>& tGlyphs);

// Writes a font whose printable characters (codes 32..126) are all 8 x 16 boxes advancing
// iAdvance units, as "<dir>/Fonts/<name>.fnt", with its white 32 x 32 page
// "<dir>/Textures/Fonts/<name>_0.tga"; missing folders are made. False on failure.
bool TEST_WriteMonoFont(const std::string& strDir, const std::string& strName, int iLineHeight,
                        int iAdvance);
