#include "FontBaker.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace
{
constexpr int OUTLINE_RADIUS = 2;  // pixels of dark edge around every glyph
constexpr int GLYPH_SPACING = 2;   // empty pixels between glyphs on the page
constexpr std::uint8_t OUTLINE_RGB[3] = {0x24, 0x16, 0x10};

struct sGlyph
{
    int iId = 0;
    int iX = 0, iY = 0, iWidth = 0, iHeight = 0;
    int iXOffset = 0, iYOffset = 0, iXAdvance = 0;
    std::vector<float> tFill;  // iWidth * iHeight coverage of the letter itself
};

// Outline coverage: the fill grown by OUTLINE_RADIUS with a round pen, anti-aliased.
std::vector<float> Grow(const std::vector<float>& tFill, int iW, int iH)
{
    std::vector<float> tOut(tFill.size(), 0.0f);
    const float fRadius = OUTLINE_RADIUS + 0.5f;
    for (int iY = 0; iY < iH; ++iY)
    {
        for (int iX = 0; iX < iW; ++iX)
        {
            float fBest = 0.0f;
            for (int iDY = -OUTLINE_RADIUS - 1; iDY <= OUTLINE_RADIUS + 1; ++iDY)
            {
                for (int iDX = -OUTLINE_RADIUS - 1; iDX <= OUTLINE_RADIUS + 1; ++iDX)
                {
                    const int iSX = iX + iDX;
                    const int iSY = iY + iDY;
                    if (iSX < 0 || iSY < 0 || iSX >= iW || iSY >= iH)
                    {
                        continue;
                    }
                    const float fDist = std::sqrt(float(iDX * iDX + iDY * iDY));
                    const float fWeight = std::clamp(fRadius - fDist + 0.5f, 0.0f, 1.0f);
                    fBest = std::max(fBest, tFill[std::size_t(iSY) * iW + iSX] * fWeight);
                }
            }
            tOut[std::size_t(iY) * iW + iX] = fBest;
        }
    }
    return tOut;
}

void Put8(std::vector<std::uint8_t>& tOut, std::uint32_t uiValue)
{
    tOut.push_back(std::uint8_t(uiValue));
}

void PutBlockHeader(std::vector<std::uint8_t>& tOut, int iType, std::size_t uiSize)
{
    Put8(tOut, std::uint32_t(iType));
    IMG_Put32(tOut, std::uint32_t(uiSize));
}
}  // namespace

bool FONT_Bake(const char* pTypefacePath, int iPixelSize, const std::string& strPageName,
               sBakedFont& tOut)
{
    FT_Library pLibrary = nullptr;
    FT_Face pFace = nullptr;
    if (FT_Init_FreeType(&pLibrary) != 0 || FT_New_Face(pLibrary, pTypefacePath, 0, &pFace) != 0)
    {
        std::printf("assetgen: cannot open the typeface %s\n", pTypefacePath);
        if (pLibrary != nullptr)
        {
            FT_Done_FreeType(pLibrary);
        }
        return false;
    }
    FT_Set_Pixel_Sizes(pFace, 0, FT_UInt(iPixelSize));
    const int iAscent = int(std::ceil(pFace->size->metrics.ascender / 64.0));
    const int iDescent = int(std::ceil(-pFace->size->metrics.descender / 64.0));
    const int iBase = iAscent + OUTLINE_RADIUS;
    tOut.iLineHeight = iAscent + iDescent + 2 * OUTLINE_RADIUS;

    std::vector<sGlyph> tGlyphs;
    for (int iChar = FONT_FIRST_CHAR; iChar <= FONT_LAST_CHAR; ++iChar)
    {
        if (FT_Load_Char(pFace, FT_ULong(iChar), FT_LOAD_RENDER) != 0)
        {
            std::printf("assetgen: the typeface has no glyph for '%c'\n", iChar);
            FT_Done_Face(pFace);
            FT_Done_FreeType(pLibrary);
            return false;
        }
        const FT_GlyphSlot pSlot = pFace->glyph;
        sGlyph tGlyph;
        tGlyph.iId = iChar;
        tGlyph.iXAdvance = int(std::lround(pSlot->advance.x / 64.0)) + 1;
        const int iBW = int(pSlot->bitmap.width);
        const int iBH = int(pSlot->bitmap.rows);
        if (iChar != ' ' && iBW > 0 && iBH > 0)
        {
            tGlyph.iWidth = iBW + 2 * OUTLINE_RADIUS;
            tGlyph.iHeight = iBH + 2 * OUTLINE_RADIUS;
            tGlyph.iXOffset = pSlot->bitmap_left - OUTLINE_RADIUS;
            tGlyph.iYOffset = iBase - pSlot->bitmap_top - OUTLINE_RADIUS;
            tGlyph.tFill.assign(std::size_t(tGlyph.iWidth) * tGlyph.iHeight, 0.0f);
            for (int iY = 0; iY < iBH; ++iY)
            {
                for (int iX = 0; iX < iBW; ++iX)
                {
                    tGlyph.tFill[std::size_t(iY + OUTLINE_RADIUS) * tGlyph.iWidth + iX +
                                 OUTLINE_RADIUS] =
                        pSlot->bitmap.buffer[iY * pSlot->bitmap.pitch + iX] / 255.0f;
                }
            }
        }
        tGlyphs.push_back(std::move(tGlyph));
    }
    FT_Done_Face(pFace);
    FT_Done_FreeType(pLibrary);

    // Shelf packing in character order.
    tOut.tPage = CImageRGBA(FONT_PAGE_WIDTH, FONT_PAGE_HEIGHT);
    int iPenX = GLYPH_SPACING;
    int iPenY = GLYPH_SPACING;
    int iShelf = 0;
    for (sGlyph& tGlyph : tGlyphs)
    {
        if (tGlyph.iWidth == 0)
        {
            continue;
        }
        if (iPenX + tGlyph.iWidth + GLYPH_SPACING > FONT_PAGE_WIDTH)
        {
            iPenX = GLYPH_SPACING;
            iPenY += iShelf + GLYPH_SPACING;
            iShelf = 0;
        }
        if (iPenY + tGlyph.iHeight + GLYPH_SPACING > FONT_PAGE_HEIGHT)
        {
            std::printf("assetgen: the font's glyphs do not fit a %d x %d page\n", FONT_PAGE_WIDTH,
                        FONT_PAGE_HEIGHT);
            return false;
        }
        tGlyph.iX = iPenX;
        tGlyph.iY = iPenY;
        iPenX += tGlyph.iWidth + GLYPH_SPACING;
        iShelf = std::max(iShelf, tGlyph.iHeight);
        const std::vector<float> tEdge = Grow(tGlyph.tFill, tGlyph.iWidth, tGlyph.iHeight);
        for (int iY = 0; iY < tGlyph.iHeight; ++iY)
        {
            for (int iX = 0; iX < tGlyph.iWidth; ++iX)
            {
                const float fFill = tGlyph.tFill[std::size_t(iY) * tGlyph.iWidth + iX];
                const float fAlpha = std::max(fFill, tEdge[std::size_t(iY) * tGlyph.iWidth + iX]);
                std::uint8_t* pP = tOut.tPage.At(tGlyph.iX + iX, tGlyph.iY + iY);
                const float fWhite = fAlpha > 0.0f ? fFill / fAlpha : 0.0f;
                for (int k = 0; k < 3; ++k)
                {
                    pP[k] =
                        std::uint8_t(std::lround(OUTLINE_RGB[k] + (255 - OUTLINE_RGB[k]) * fWhite));
                }
                pP[3] = std::uint8_t(std::lround(fAlpha * 255.0f));
            }
        }
    }
    IMG_BleedColours(tOut.tPage, 2);

    std::vector<std::uint8_t>& tFile = tOut.tFontFile;
    tFile = {'B', 'M', 'F', 3};
    const char* pName = "DejaVu Sans Bold";
    PutBlockHeader(tFile, 1, 14 + std::strlen(pName) + 1);
    IMG_Put16(tFile, std::uint32_t(iPixelSize));
    Put8(tFile, 0x01 | 0x08);  // smooth, bold
    Put8(tFile, 0);            // ANSI character set
    IMG_Put16(tFile, 100);     // no vertical stretch
    Put8(tFile, 1);            // no supersampling
    for (int i = 0; i < 4; ++i)
    {
        Put8(tFile, 0);  // padding up, right, down, left
    }
    Put8(tFile, GLYPH_SPACING);
    Put8(tFile, GLYPH_SPACING);
    Put8(tFile, OUTLINE_RADIUS);
    tFile.insert(tFile.end(), pName, pName + std::strlen(pName) + 1);

    PutBlockHeader(tFile, 2, 15);
    IMG_Put16(tFile, std::uint32_t(tOut.iLineHeight));
    IMG_Put16(tFile, std::uint32_t(iBase));
    IMG_Put16(tFile, FONT_PAGE_WIDTH);
    IMG_Put16(tFile, FONT_PAGE_HEIGHT);
    IMG_Put16(tFile, 1);  // pages
    Put8(tFile, 0);       // not packed
    Put8(tFile, 0);       // alpha channel holds the glyph
    Put8(tFile, 0);       // colour channels hold the glyph's colours
    Put8(tFile, 0);
    Put8(tFile, 0);

    PutBlockHeader(tFile, 3, strPageName.size() + 1);
    tFile.insert(tFile.end(), strPageName.begin(), strPageName.end());
    tFile.push_back(0);

    PutBlockHeader(tFile, 4, tGlyphs.size() * 20);
    for (const sGlyph& tGlyph : tGlyphs)
    {
        IMG_Put32(tFile, std::uint32_t(tGlyph.iId));
        IMG_Put16(tFile, std::uint32_t(tGlyph.iX));
        IMG_Put16(tFile, std::uint32_t(tGlyph.iY));
        IMG_Put16(tFile, std::uint32_t(tGlyph.iWidth));
        IMG_Put16(tFile, std::uint32_t(tGlyph.iHeight));
        IMG_Put16(tFile, std::uint32_t(std::uint16_t(std::int16_t(tGlyph.iXOffset))));
        IMG_Put16(tFile, std::uint32_t(std::uint16_t(std::int16_t(tGlyph.iYOffset))));
        IMG_Put16(tFile, std::uint32_t(std::uint16_t(std::int16_t(tGlyph.iXAdvance))));
        Put8(tFile, 0);   // page
        Put8(tFile, 15);  // all channels
    }
    return true;
}

CImageRGBA FONT_Sample(const sBakedFont& tFont)
{
    // Reads the glyph records back from the file bytes, as the game does.
    const std::vector<std::uint8_t>& tFile = tFont.tFontFile;
    auto U16 = [&](std::size_t uiAt) { return int(tFile[uiAt] | (tFile[uiAt + 1] << 8)); };
    auto S16 = [&](std::size_t uiAt) { return int(std::int16_t(U16(uiAt))); };
    std::size_t uiChars = 0;
    std::size_t uiCount = 0;
    for (std::size_t uiAt = 4; uiAt + 5 <= tFile.size();)
    {
        const std::size_t uiSize = std::size_t(U16(uiAt + 1)) | (std::size_t(U16(uiAt + 3)) << 16);
        if (tFile[uiAt] == 4)
        {
            uiChars = uiAt + 5;
            uiCount = uiSize / 20;
        }
        uiAt += 5 + uiSize;
    }
    const int iLine = tFont.iLineHeight;
    const char* tLines[4] = {"Play  Options  Free Games", "Hi Score: 1250   x3   Paused",
                             "Get Ready!  Game Over", "The quick brown fox jumps: 0123456789?"};
    const std::uint8_t tTints[4][3] = {{255, 255, 255}, {77, 61, 36}, {51, 204, 51}, {255, 0, 0}};
    CImageRGBA tOut(640, iLine * 4 + 16);
    for (int iY = 0; iY < tOut.iHeight; ++iY)
    {
        for (int iX = 0; iX < tOut.iWidth; ++iX)
        {
            std::uint8_t* pP = tOut.At(iX, iY);
            const bool bSky = iX < 320;
            pP[0] = bSky ? 150 : 230;
            pP[1] = bSky ? 205 : 210;
            pP[2] = bSky ? 240 : 160;
            pP[3] = 255;
        }
    }
    for (int iRow = 0; iRow < 4; ++iRow)
    {
        int iPen = 8;
        for (const char* pC = tLines[iRow]; *pC != 0; ++pC)
        {
            for (std::size_t i = 0; i < uiCount; ++i)
            {
                const std::size_t uiR = uiChars + i * 20;
                if (int(tFile[uiR]) != *pC)
                {
                    continue;
                }
                const int iGX = U16(uiR + 4), iGY = U16(uiR + 6), iGW = U16(uiR + 8),
                          iGH = U16(uiR + 10);
                const int iXOff = S16(uiR + 12), iYOff = S16(uiR + 14), iAdv = S16(uiR + 16);
                for (int iY = 0; iY < iGH; ++iY)
                {
                    for (int iX = 0; iX < iGW; ++iX)
                    {
                        const int iDX = iPen + iXOff + iX;
                        const int iDY = 8 + iRow * iLine + iYOff + iY;
                        if (iDX < 0 || iDY < 0 || iDX >= tOut.iWidth || iDY >= tOut.iHeight)
                        {
                            continue;
                        }
                        const std::uint8_t* pS = tFont.tPage.At(iGX + iX, iGY + iY);
                        std::uint8_t* pD = tOut.At(iDX, iDY);
                        for (int k = 0; k < 3; ++k)
                        {
                            const int iSrc = pS[k] * tTints[iRow][k] / 255;
                            pD[k] = std::uint8_t((iSrc * pS[3] + pD[k] * (255 - pS[3])) / 255);
                        }
                    }
                }
                iPen += iAdv;
                break;
            }
        }
    }
    return tOut;
}
