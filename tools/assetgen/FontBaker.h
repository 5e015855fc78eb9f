#pragma once

// Bakes the game's bitmap font from a TrueType face: printable ASCII as white glyphs with a
// dark outline on one 32-bit page, described by an AngelCode binary (version 3) font file.

#include <cstdint>
#include <string>
#include <vector>

#include "ImageFile.h"

struct sBakedFont
{
    std::vector<std::uint8_t> tFontFile;  // the .fnt bytes
    CImageRGBA tPage;                     // the page, rows top first
    int iLineHeight = 0;
};

constexpr int FONT_FIRST_CHAR = 32;
constexpr int FONT_LAST_CHAR = 126;
constexpr int FONT_PAGE_WIDTH = 512;
constexpr int FONT_PAGE_HEIGHT = 256;

// Returns false (with one line printed) when the face cannot be read or the glyphs do not
// fit the page. strPageName is the page's file name written into the font file.
bool FONT_Bake(const char* pTypefacePath, int iPixelSize, const std::string& strPageName,
               sBakedFont& tOut);

// A picture of sample lines drawn from the baked page with the font file's metrics the way
// the game places glyphs, tinted in a few colours, on a sky-and-grass strip.
CImageRGBA FONT_Sample(const sBakedFont& tFont);
