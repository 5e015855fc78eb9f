#pragma once

// Bitmap fonts in the AngelCode binary layout, version 3: where each character's picture lies
// in one texture page and how far the pen moves after it. DrawText appends two triangles per
// visible character to the font's own arrays; RenderText draws everything collected with one
// draw call. Render thread only.
//
// Files: "Fonts/<name>.fnt" under the resource directory; the page named in the file is read as
// the TGA texture "Fonts/<page without extension>", that is "Textures/Fonts/<page>.tga".

#include <cstddef>
#include <cstdint>

#include "GLES.h"

constexpr int FONT_NUM_GLYPH_CODES = 256;  // character codes reachable from text
constexpr int FONT_MAX_CAPACITY = 65536;   // vertices a font can index with 16 bits

// One record of the chars block, read in place from the file (20 bytes, little-endian, at any
// byte offset: hence packed).
struct __attribute__((packed)) FontCharRecord
{
    std::uint32_t id;
    std::uint16_t x;
    std::uint16_t y;
    std::uint16_t width;
    std::uint16_t height;
    std::int16_t xoffset;
    std::int16_t yoffset;
    std::int16_t xadvance;
    std::uint8_t page;
    std::uint8_t chnl;
};
static_assert(sizeof(FontCharRecord) == 20);

// One vertex of text: 32 bytes.
struct FontVertex
{
    float x;
    float y;
    float u;
    float v;
    float tColour[4];  // R, G, B, A
};
static_assert(sizeof(FontVertex) == 32);

// Text alignments of DrawText.
enum eFontAlign
{
    FONT_ALIGN_LEFT = 0,
    FONT_ALIGN_RIGHT = 1,
    FONT_ALIGN_CENTRE = 2,
    FONT_ALIGN_JUSTIFIED = 3,  // drawn as left
};

// What FONT_CheckFile finds.
enum eFontFileCheck
{
    FONT_FILE_OK = 0,
    FONT_FILE_BAD = 1,         // cut short or unusable: the load fails with a diagnostic
    FONT_FILE_WRONG_KIND = 2,  // wrong magic, unknown, missing or repeated blocks, more than
                               // one page: the game stops (assertion "Fonts")
};

// Checks a whole font file in memory the way LoadFont does, without stopping the program;
// pReason receives one line saying what is wrong. Tools use it before LoadFont.
int FONT_CheckFile(const std::uint8_t* pData, size_t uiSize, char* pReason, size_t uiReasonSize);

class CFont
{
public:
    GLuint uiTextureID;  // the page texture
    // The blocks inside the file buffer, each pointing at its 4-byte size field.
    const std::uint8_t* pInfoBlock;
    const std::uint8_t* pCommonBlock;
    const std::uint8_t* pPagesBlock;
    const std::uint8_t* pCharsBlock;
    const std::uint8_t* pKerningBlock;
    std::uint8_t* pFileData;  // the whole file, kept for the font's life
    int iFileSize;
    int iGlyphIndex[FONT_NUM_GLYPH_CODES];  // chars record per code; 0 where the file has none
    float fScaleX;
    float fScaleY;
    float fLineSpacing;       // 1.1
    float fExtraSpace;        // added to every blank's advance
    FontVertex* pVerts;       // iCapacity vertices
    std::uint16_t* pIndices;  // iCapacity x 3 indices
    int iNumVerts;
    int iNumFaces;
    int iStride;      // 32
    int iCapacity;    // vertices; iCapacity / 4 characters per render
    int iNumRecords;  // records of the chars block
    int iNumDropped;  // characters refused since loading because the arrays were full

    CFont();
    ~CFont();
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    // Loads "Fonts/<name>.fnt" with room for iCapacity vertices (capacity / 4 characters per
    // render). 1 on success; 0 when the file or its page is missing or the file is cut short
    // (with a diagnostic), the font then empty. A file of the wrong kind (magic, unknown or
    // missing or repeated blocks, more than one page) is a fatal assertion in "Fonts".
    int LoadFont(const char* pName, int iCapacity);

    // Releases the page texture, the file and the arrays.
    void Clear();

    void SetScale(float fX, float fY);

    // Integer part of lineHeight x fScaleY.
    int GetLineHeight() const;

    // Width of text up to NUL, "\n", "\r" or iMaxChars characters (0 = no limit).
    int GetTextWidth(const char* pText, int iMaxChars) const;

    // Appends one line of text with its bottom at y (y grows upwards); alignment as
    // eFontAlign; iMaxChars -1 = no limit. Characters past the arrays' capacity are dropped.
    // Returns the line advance: floor(int(lineHeight x fScaleY) x fLineSpacing).
    int DrawText(int iX, int iY, int iAlign, const char* pText, float fR, float fG, float fB,
                 float fA, int iMaxChars);

    // Draws what was collected, blended, in one call; with bClear the arrays are emptied.
    void RenderText(bool bClear);

    // The chars record drawn for a character code.
    const FontCharRecord* Glyph(unsigned char ucCode) const;

    int LineHeightField() const;  // lineHeight of the common block
    int PageWidth() const;        // scaleW
    int PageHeight() const;       // scaleH

private:
    bool Parse();
};
