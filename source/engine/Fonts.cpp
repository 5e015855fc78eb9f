#include "Fonts.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Assert.h"
#include "FileSystem.h"
#include "Host.h"
#include "Textures.h"

namespace
{

constexpr const char* ASSERT_FILE = "Fonts";

// Chars records are read in place from the little-endian file.
static_assert(std::endian::native == std::endian::little);

enum eBlockType
{
    BLOCK_INFO = 1,
    BLOCK_COMMON = 2,
    BLOCK_PAGES = 3,
    BLOCK_CHARS = 4,
    BLOCK_KERNING = 5,
};

constexpr int BLOCK_HEADER_SIZE = 5;            // type byte and 32-bit body size
constexpr std::uint32_t COMMON_BODY_USED = 10;  // lineHeight .. pages
constexpr int PAGE_EXTENSION_LENGTH = 4;        // ".tga" cut from the page's file name

int ReadLE16(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8);
}

std::uint32_t ReadLE32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint32_t BlockSize(const std::uint8_t* pBlock)
{
    return ReadLE32(pBlock);
}

const std::uint8_t* BlockBody(const std::uint8_t* pBlock)
{
    return pBlock + 4;
}

}  // namespace

CFont::CFont()
    : uiTextureID(0),
      pInfoBlock(nullptr),
      pCommonBlock(nullptr),
      pPagesBlock(nullptr),
      pCharsBlock(nullptr),
      pKerningBlock(nullptr),
      pFileData(nullptr),
      iFileSize(0),
      iGlyphIndex{},
      fScaleX(1.0f),
      fScaleY(1.0f),
      fLineSpacing(1.1f),
      fExtraSpace(0.0f),
      pVerts(nullptr),
      pIndices(nullptr),
      iNumVerts(0),
      iNumFaces(0),
      iStride(sizeof(FontVertex)),
      iCapacity(0),
      iNumRecords(0),
      iNumDropped(0)
{
}

CFont::~CFont()
{
    Clear();
}

void CFont::Clear()
{
    if (uiTextureID != 0)
    {
        TEX_ReleaseTexture(uiTextureID);
    }
    std::free(pFileData);
    std::free(pVerts);
    std::free(pIndices);
    uiTextureID = 0;
    pInfoBlock = pCommonBlock = pPagesBlock = pCharsBlock = pKerningBlock = nullptr;
    pFileData = nullptr;
    iFileSize = 0;
    std::memset(iGlyphIndex, 0, sizeof(iGlyphIndex));
    fScaleX = fScaleY = 1.0f;
    fLineSpacing = 1.1f;
    fExtraSpace = 0.0f;
    pVerts = nullptr;
    pIndices = nullptr;
    iNumVerts = iNumFaces = 0;
    iCapacity = 0;
    iNumRecords = 0;
    iNumDropped = 0;
}

int CFont::LoadFont(const char* pName, int iNewCapacity)
{
    BF_ASSERT(ASSERT_FILE, iNewCapacity > 0 && iNewCapacity <= FONT_MAX_CAPACITY);
    char strPath[FS_MAX_PATH];
    const bool bPathFits = FS_FormatPath(strPath, sizeof(strPath), "Fonts/%s.fnt", pName);
    Clear();
    if (!bPathFits)
    {
        return 0;
    }
    iCapacity = iNewCapacity;
    pVerts =
        static_cast<FontVertex*>(std::calloc(static_cast<size_t>(iCapacity), sizeof(FontVertex)));
    pIndices = static_cast<std::uint16_t*>(
        std::calloc(static_cast<size_t>(iCapacity) * 3, sizeof(std::uint16_t)));

    FILE* pFile = FS_OpenResourceFile(strPath);
    if (pFile == nullptr || pVerts == nullptr || pIndices == nullptr)
    {
        HostFileClose(pFile);
        Clear();
        return 0;
    }
    const long iLength = FS_FileSize(pFile);
    if (iLength < 1 || iLength > 0x7FFFFFFF)
    {
        std::printf("Font file is empty: %s\n", strPath);
        HostFileClose(pFile);
        Clear();
        return 0;
    }
    iFileSize = static_cast<int>(iLength);
    pFileData = static_cast<std::uint8_t*>(std::malloc(static_cast<size_t>(iFileSize)));
    const size_t uiRead = pFileData != nullptr
                              ? HostFileRead(pFileData, 1, static_cast<size_t>(iFileSize), pFile)
                              : 0;
    HostFileClose(pFile);
    if (uiRead != static_cast<size_t>(iFileSize))
    {
        std::printf("Font file cannot be read: %s\n", strPath);
        Clear();
        return 0;
    }
    if (!Parse())
    {
        std::printf("Font file is malformed: %s\n", strPath);
        Clear();
        return 0;
    }

    // The page: "Fonts/" + its file name without the extension, read as a TGA texture.
    const char* pPage = reinterpret_cast<const char*>(BlockBody(pPagesBlock));
    const int iPageLength = static_cast<int>(std::strlen(pPage));
    char strTexture[MAX_TEXTURE_NAME];
    const int iWritten = std::snprintf(strTexture, sizeof(strTexture), "%s%.*s", "Fonts/",
                                       iPageLength - PAGE_EXTENSION_LENGTH, pPage);
    if (iPageLength <= PAGE_EXTENSION_LENGTH || iWritten >= static_cast<int>(sizeof(strTexture)) ||
        !TEX_LoadTGATexture(strTexture, &uiTextureID, nullptr, nullptr))
    {
        std::printf("Font page cannot be loaded: %s\n", pPage);
        Clear();
        return 0;
    }

    const FontCharRecord* pRecords =
        reinterpret_cast<const FontCharRecord*>(BlockBody(pCharsBlock));
    for (int i = 0; i < iNumRecords; ++i)
    {
        if (pRecords[i].id < FONT_NUM_GLYPH_CODES)
        {
            iGlyphIndex[pRecords[i].id] = i;
        }
    }
    return 1;
}

int FONT_CheckFile(const std::uint8_t* pData, size_t uiSize, char* pReason, size_t uiReasonSize)
{
    auto Fail = [&](int iResult, const char* pFormat, auto... tArgs)
    {
        if constexpr (sizeof...(tArgs) == 0)
        {
            std::snprintf(pReason, uiReasonSize, "%s", pFormat);
        }
        else
        {
            std::snprintf(pReason, uiReasonSize, pFormat, tArgs...);
        }
        return iResult;
    };
    if (uiSize < 4 || pData[0] != 'B' || pData[1] != 'M' || pData[2] != 'F' || pData[3] != 3)
    {
        return Fail(FONT_FILE_WRONG_KIND, "Font file is not an AngelCode binary font, version 3");
    }
    const std::uint8_t* tBlocks[6] = {};
    int tCounts[6] = {};
    size_t uiPos = 4;
    size_t uiLeft = uiSize - 4;
    while (uiLeft > 0)
    {
        if (uiLeft < BLOCK_HEADER_SIZE)
        {
            return Fail(FONT_FILE_BAD, "Font block header is cut short at byte %zu", uiPos);
        }
        const int iType = pData[uiPos];
        if (iType == 0 || iType > BLOCK_KERNING)
        {
            return Fail(FONT_FILE_WRONG_KIND, "Font block type %d is unknown", iType);
        }
        const std::uint32_t uiBlockSize = ReadLE32(pData + uiPos + 1);
        if (uiBlockSize > uiLeft - BLOCK_HEADER_SIZE)
        {
            return Fail(FONT_FILE_BAD, "Font block %d of %u bytes runs past the end of the file",
                        iType, uiBlockSize);
        }
        tBlocks[iType] = pData + uiPos + 1;
        ++tCounts[iType];
        uiPos += BLOCK_HEADER_SIZE + uiBlockSize;
        uiLeft -= BLOCK_HEADER_SIZE + uiBlockSize;
    }
    for (int iType = BLOCK_INFO; iType <= BLOCK_KERNING; ++iType)
    {
        if ((iType != BLOCK_KERNING && tCounts[iType] != 1) || tCounts[iType] > 1)
        {
            return Fail(FONT_FILE_WRONG_KIND, "Font block %d appears %d times", iType,
                        tCounts[iType]);
        }
    }
    if (BlockSize(tBlocks[BLOCK_COMMON]) < COMMON_BODY_USED)
    {
        return Fail(FONT_FILE_BAD, "Font common block is too short");
    }
    const std::uint8_t* pCommon = BlockBody(tBlocks[BLOCK_COMMON]);
    if (ReadLE16(pCommon + 8) != 1)
    {
        return Fail(FONT_FILE_WRONG_KIND, "Font has %d pages; one is supported",
                    ReadLE16(pCommon + 8));
    }
    if (ReadLE16(pCommon + 4) == 0 || ReadLE16(pCommon + 6) == 0)
    {
        return Fail(FONT_FILE_BAD, "Font page size is 0");
    }
    if (std::memchr(BlockBody(tBlocks[BLOCK_PAGES]), '\0', BlockSize(tBlocks[BLOCK_PAGES])) ==
        nullptr)
    {
        return Fail(FONT_FILE_BAD, "Font page name is not terminated");
    }
    if (BlockSize(tBlocks[BLOCK_CHARS]) < sizeof(FontCharRecord))
    {
        return Fail(FONT_FILE_BAD, "Font has no characters");
    }
    return Fail(FONT_FILE_OK, "");
}

bool CFont::Parse()
{
    char strReason[128];
    const int iCheck =
        FONT_CheckFile(pFileData, static_cast<size_t>(iFileSize), strReason, sizeof(strReason));
    if (iCheck == FONT_FILE_WRONG_KIND)
    {
        BF_ASSERT(ASSERT_FILE, false);
    }
    if (iCheck != FONT_FILE_OK)
    {
        std::printf("%s\n", strReason);
        return false;
    }
    // Checked above: every block lies inside the file and each appears once.
    const std::uint8_t** tBlocks[] = {nullptr,      &pInfoBlock,  &pCommonBlock,
                                      &pPagesBlock, &pCharsBlock, &pKerningBlock};
    for (size_t uiPos = 4; uiPos < static_cast<size_t>(iFileSize);)
    {
        *tBlocks[pFileData[uiPos]] = pFileData + uiPos + 1;
        uiPos += BLOCK_HEADER_SIZE + ReadLE32(pFileData + uiPos + 1);
    }
    iNumRecords = static_cast<int>(BlockSize(pCharsBlock) / sizeof(FontCharRecord));
    return true;
}

void CFont::SetScale(float fX, float fY)
{
    fScaleX = fX;
    fScaleY = fY;
}

int CFont::LineHeightField() const
{
    return pCommonBlock != nullptr ? ReadLE16(BlockBody(pCommonBlock)) : 0;
}

int CFont::PageWidth() const
{
    return pCommonBlock != nullptr ? ReadLE16(BlockBody(pCommonBlock) + 4) : 0;
}

int CFont::PageHeight() const
{
    return pCommonBlock != nullptr ? ReadLE16(BlockBody(pCommonBlock) + 6) : 0;
}

int CFont::GetLineHeight() const
{
    return static_cast<int>(static_cast<float>(LineHeightField()) * fScaleY);
}

const FontCharRecord* CFont::Glyph(unsigned char ucCode) const
{
    return reinterpret_cast<const FontCharRecord*>(BlockBody(pCharsBlock)) + iGlyphIndex[ucCode];
}

int CFont::GetTextWidth(const char* pText, int iMaxChars) const
{
    if (pCharsBlock == nullptr)
    {
        return 0;
    }
    float fWidth = 0.0f;
    for (int i = 0; pText[i] != '\0' && pText[i] != '\n' && pText[i] != '\r' &&
                    (iMaxChars == 0 || i < iMaxChars);
         ++i)
    {
        if (pText[i] == ' ')
        {
            fWidth += fExtraSpace;
        }
        fWidth += std::rint(Glyph(static_cast<unsigned char>(pText[i]))->xadvance * fScaleX);
    }
    return static_cast<int>(std::ceil(fWidth));
}

int CFont::DrawText(int iX, int iY, int iAlign, const char* pText, float fR, float fG, float fB,
                    float fA, int iMaxChars)
{
    const int iAdvance =
        static_cast<int>(std::floor(static_cast<float>(GetLineHeight()) * fLineSpacing));
    if (pCharsBlock == nullptr)
    {
        return iAdvance;
    }
    int iStartX = iX;
    if (iAlign == FONT_ALIGN_RIGHT)
    {
        iStartX = iX - GetTextWidth(pText, 0);
    }
    else if (iAlign == FONT_ALIGN_CENTRE)
    {
        iStartX = iX - GetTextWidth(pText, 0) / 2;
    }
    const float fPageWidth = static_cast<float>(PageWidth());
    const float fPageHeight = static_cast<float>(PageHeight());
    const int iLineHeight = LineHeightField();
    float fPen = 0.0f;
    int iCount = 0;
    for (const char* p = pText; *p != '\0'; ++p)
    {
        const FontCharRecord& r = *Glyph(static_cast<unsigned char>(*p));
        if (*p == ' ')
        {
            fPen += r.xadvance * fScaleX + fExtraSpace;
        }
        else if (*p != '\n' && *p != '\r')
        {
            if (iNumVerts + 4 <= iCapacity)
            {
                const float uL = r.x / fPageWidth;
                const float uR = (r.x + r.width) / fPageWidth;
                const float vT = 1.0f - r.y / fPageHeight;
                const float vB = 1.0f - (r.y + r.height) / fPageHeight;
                const float fX0 = iStartX + std::rint(r.xoffset * fScaleX + fPen);
                const float fX1 = fX0 + r.width * fScaleX;
                const float fY0 = iY + std::rint((iLineHeight - r.yoffset - r.height) * fScaleY);
                const float fY1 = iY + std::rint((iLineHeight - r.yoffset) * fScaleY);
                const float tCorner[4][4] = {
                    {fX0, fY0, uL, vB}, {fX0, fY1, uL, vT}, {fX1, fY1, uR, vT}, {fX1, fY0, uR, vB}};
                const int b = iNumVerts;
                for (int k = 0; k < 4; ++k)
                {
                    FontVertex& tVertex = pVerts[b + k];
                    tVertex.x = tCorner[k][0];
                    tVertex.y = tCorner[k][1];
                    tVertex.u = tCorner[k][2];
                    tVertex.v = tCorner[k][3];
                    tVertex.tColour[0] = fR;
                    tVertex.tColour[1] = fG;
                    tVertex.tColour[2] = fB;
                    tVertex.tColour[3] = fA;
                }
                std::uint16_t* pIndex = pIndices + 3 * iNumFaces;
                const std::uint16_t tOrder[6] = {0, 1, 2, 2, 3, 0};
                for (int k = 0; k < 6; ++k)
                {
                    pIndex[k] = static_cast<std::uint16_t>(b + tOrder[k]);
                }
                iNumVerts += 4;
                iNumFaces += 2;
            }
            else if (iNumDropped++ == 0)
            {
                std::printf("Font capacity of %d characters hit, further text dropped\n",
                            iCapacity / 4);
            }
            fPen += r.xadvance * fScaleX;
        }
        if (++iCount == iMaxChars)
        {
            break;
        }
    }
    return iAdvance;
}

void CFont::RenderText(bool bClear)
{
    const unsigned char* pBytes = reinterpret_cast<const unsigned char*>(pVerts);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, uiTextureID);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glDisable(GL_LIGHTING);
    glDisableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, iStride, pBytes);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, iStride, pBytes + 8);
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, iStride, pBytes + 16);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (iNumFaces > 0)
    {
        glDrawElements(GL_TRIANGLES, 3 * iNumFaces, GL_UNSIGNED_SHORT, pIndices);
    }
    if (bClear)
    {
        iNumVerts = 0;
        iNumFaces = 0;
    }
}
