#include "QuadRenderBuffer.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Assert.h"
#include "Textures.h"

namespace
{

constexpr const char* ASSERT_FILE = "QuadRenderBuffer";

// The assertion lines the game reports for a buffer given no texture.
constexpr unsigned int LINE_CONSTRUCTOR_TEXTURE = 28;
constexpr unsigned int LINE_SET_TEXTURE = 50;

// Two triangles over corners (0, 1, 2) and (0, 2, 3).
const GLushort IMAGE_INDICES[6] = {0, 1, 2, 0, 2, 3};

constexpr int VERTEX_STRIDE = sizeof(QuadVertex);
constexpr int OFFSET_UV = 12;
constexpr int OFFSET_COLOUR = 24;
static_assert(offsetof(QuadVertex, u) == OFFSET_UV);
static_assert(offsetof(QuadVertex, tColour) == OFFSET_COLOUR);

std::uint8_t AlphaByte(float fAlpha)
{
    if (fAlpha > 1.0f)
    {
        return 255;
    }
    if (fAlpha < 0.0f)
    {
        return 0;
    }
    return static_cast<std::uint8_t>(fAlpha * 255.0f);
}

}  // namespace

// ---- CImage ----

CImage::CImage() : tVerts{}, fWidth(0.0f), fHeight(0.0f), iTextureID(0) {}

CImage::CImage(GLuint uiTextureID, AtlasRect tRect, int iTextureWidth, int iTextureHeight,
               int iWidth, int iHeight, bool bCentred)
    : CImage()
{
    const int iX = bCentred ? -(iWidth / 2) : 0;
    const int iY = bCentred ? -(iHeight / 2) : 0;
    Setup(uiTextureID, iX, iY, iWidth, iHeight,
          static_cast<float>(tRect.iLeft) / static_cast<float>(iTextureWidth),
          static_cast<float>(tRect.iTop) / static_cast<float>(iTextureHeight),
          static_cast<float>(tRect.iRight) / static_cast<float>(iTextureWidth),
          static_cast<float>(tRect.iBottom) / static_cast<float>(iTextureHeight), false);
}

CImage::CImage(GLuint uiTextureID, AtlasRect tRect, int iTextureWidth, int iTextureHeight,
               AtlasRect tScreen)
    : CImage()
{
    Setup(uiTextureID, tScreen.iLeft, tScreen.iBottom, tScreen.iRight - tScreen.iLeft,
          tScreen.iTop - tScreen.iBottom,
          static_cast<float>(tRect.iLeft) / static_cast<float>(iTextureWidth),
          static_cast<float>(tRect.iTop) / static_cast<float>(iTextureHeight),
          static_cast<float>(tRect.iRight) / static_cast<float>(iTextureWidth),
          static_cast<float>(tRect.iBottom) / static_cast<float>(iTextureHeight), false);
}

CImage::CImage(const char* pTextureName, AtlasRect tRect, int iTextureWidth, int iTextureHeight,
               int iWidth, int iHeight, bool bCentred)
    : CImage()
{
    GLuint uiTexture = 0;
    if (!TEX_LoadPVRTexture(pTextureName, &uiTexture, nullptr) &&
        !TEX_LoadTGATexture(pTextureName, &uiTexture, nullptr, nullptr))
    {
        std::printf("Failed to load image: %s\n", pTextureName);
        return;
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    const int iX = bCentred ? -(iWidth / 2) : 0;
    const int iY = bCentred ? -(iHeight / 2) : 0;
    Setup(uiTexture, iX, iY, iWidth, iHeight,
          static_cast<float>(tRect.iLeft) / static_cast<float>(iTextureWidth),
          static_cast<float>(tRect.iTop) / static_cast<float>(iTextureHeight),
          static_cast<float>(tRect.iRight) / static_cast<float>(iTextureWidth),
          static_cast<float>(tRect.iBottom) / static_cast<float>(iTextureHeight), true);
}

CImage::~CImage()
{
    if (iTextureID != 0)
    {
        TEX_ReleaseTexture(iTextureID);
    }
}

void CImage::Setup(GLuint uiTextureID, int iX, int iY, int iWidth, int iHeight, float fULeft,
                   float fVTop, float fURight, float fVBottom, bool bAlreadyCounted)
{
    const float fX0 = static_cast<float>(iX);
    const float fY0 = static_cast<float>(iY);
    const float fX1 = static_cast<float>(iX + iWidth);
    const float fY1 = static_cast<float>(iY + iHeight);
    const float tX[4] = {fX0, fX0, fX1, fX1};
    const float tY[4] = {fY1, fY0, fY0, fY1};
    const float tU[4] = {fULeft, fULeft, fURight, fURight};
    const float tV[4] = {1.0f - fVTop, 1.0f - fVBottom, 1.0f - fVBottom, 1.0f - fVTop};
    for (int i = 0; i < 4; ++i)
    {
        tVerts[i].x = tX[i];
        tVerts[i].y = tY[i];
        tVerts[i].z = 0.0f;
        tVerts[i].u = tU[i];
        tVerts[i].v = tV[i];
        tVerts[i].fSpare = 0.0f;
        std::memset(tVerts[i].tColour, 255, sizeof(tVerts[i].tColour));
    }
    fWidth = static_cast<float>(iWidth);
    fHeight = static_cast<float>(iHeight);
    iTextureID = uiTextureID;
    if (!bAlreadyCounted)
    {
        TEX_RetainTexture(uiTextureID);
    }
}

void CImage::ChangeTexture(GLuint uiTextureID)
{
    if (iTextureID != 0)
    {
        TEX_ReleaseTexture(iTextureID);
    }
    iTextureID = uiTextureID;
    TEX_RetainTexture(uiTextureID);
}

void CImage::Draw(bool bBlend, float fAlpha)
{
    if (iTextureID == 0)
    {
        return;
    }
    const unsigned char* pCorners = reinterpret_cast<const unsigned char*>(tVerts);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDisableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, VERTEX_STRIDE, pCorners);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, VERTEX_STRIDE, pCorners + OFFSET_UV);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, iTextureID);
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_UNSIGNED_BYTE, VERTEX_STRIDE, pCorners + OFFSET_COLOUR);
    glDisable(GL_LIGHTING);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    if (bBlend)
    {
        const std::uint8_t ucAlpha = AlphaByte(fAlpha);
        for (QuadVertex& tCorner : tVerts)
        {
            tCorner.tColour[3] = ucAlpha;
        }
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    else
    {
        glDisable(GL_BLEND);
    }
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_SHORT, IMAGE_INDICES);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
}

// ---- QuadRenderBuffer ----

QuadRenderBuffer::QuadRenderBuffer()
    : pVertices(static_cast<QuadVertex*>(std::calloc(QRB_MAX_VERTS, sizeof(QuadVertex)))),
      pIndices(static_cast<std::uint16_t*>(std::calloc(QRB_NUM_INDICES, sizeof(std::uint16_t)))),
      iNumVerts(0),
      iStride(VERTEX_STRIDE),
      iNumFaces(0),
      iTextureID(0),
      iNumDropped(0)
{
    BF_ASSERT(ASSERT_FILE, pVertices != NULL && pIndices != NULL);
}

QuadRenderBuffer::QuadRenderBuffer(GLuint iTextureID) : QuadRenderBuffer()
{
    BF_ASSERT_AT(ASSERT_FILE, LINE_CONSTRUCTOR_TEXTURE, iTextureID);
    this->iTextureID = iTextureID;
}

QuadRenderBuffer::~QuadRenderBuffer()
{
    if (iTextureID != 0)
    {
        TEX_ReleaseTexture(iTextureID);
    }
    std::free(pVertices);
    std::free(pIndices);
}

void QuadRenderBuffer::SetTexture(GLuint iTextureID)
{
    BF_ASSERT_AT(ASSERT_FILE, LINE_SET_TEXTURE, iTextureID);
    this->iTextureID = iTextureID;
}

QuadVertex* QuadRenderBuffer::NextQuad()
{
    if (iNumVerts + 4 > QRB_MAX_VERTS || 3 * iNumFaces + 6 > QRB_NUM_INDICES)
    {
        if (iNumDropped++ == 0)
        {
            std::printf("QuadRenderBuffer: QRB_MAX_QUADS (%d) hit, further quads dropped\n",
                        QRB_MAX_QUADS);
        }
        return nullptr;
    }
    return pVertices + iNumVerts;
}

void QuadRenderBuffer::FinishQuad(const QuadVertex* pSource, QuadVertex* pDest,
                                  std::uint8_t ucAlpha)
{
    for (int k = 0; k < 4; ++k)
    {
        pDest[k].u = pSource[k].u;
        pDest[k].v = pSource[k].v;
        pDest[k].fSpare = pSource[k].fSpare;
        std::memcpy(pDest[k].tColour, pSource[k].tColour, 3);
        pDest[k].tColour[3] = ucAlpha;
    }
    const std::uint16_t b = static_cast<std::uint16_t>(iNumVerts);
    std::uint16_t* pIndex = pIndices + 3 * iNumFaces;
    pIndex[0] = b;
    pIndex[1] = static_cast<std::uint16_t>(b + 1);
    pIndex[2] = static_cast<std::uint16_t>(b + 2);
    pIndex[3] = b;
    pIndex[4] = static_cast<std::uint16_t>(b + 2);
    pIndex[5] = static_cast<std::uint16_t>(b + 3);
    iNumVerts += 4;
    iNumFaces += 2;
}

void QuadRenderBuffer::AddQuad(const QuadVertex* pSource, const float* m, std::uint8_t ucAlpha)
{
    QuadVertex* pDest = NextQuad();
    if (pDest == nullptr)
    {
        return;
    }
    for (int k = 0; k < 4; ++k)
    {
        const float x = pSource[k].x;
        const float y = pSource[k].y;
        pDest[k].x = m[12] + (x * m[0] + y * m[4] + 0.0f * m[8]);
        pDest[k].y = m[13] + (x * m[1] + y * m[5] + 0.0f * m[9]);
        pDest[k].z = m[14] + (x * m[2] + y * m[6] + 0.0f * m[10]);
    }
    FinishQuad(pSource, pDest, ucAlpha);
}

void QuadRenderBuffer::AddQuad(const QuadVertex* pSource, float fDX, float fDY, float fZ,
                               std::uint8_t ucAlpha)
{
    QuadVertex* pDest = NextQuad();
    if (pDest == nullptr)
    {
        return;
    }
    for (int k = 0; k < 4; ++k)
    {
        pDest[k].x = pSource[k].x + fDX;
        pDest[k].y = pSource[k].y + fDY;
        pDest[k].z = fZ;
    }
    FinishQuad(pSource, pDest, ucAlpha);
}

void QuadRenderBuffer::AddQuad(const QuadVertex* pSource, std::uint8_t ucAlpha)
{
    QuadVertex* pDest = NextQuad();
    if (pDest == nullptr)
    {
        return;
    }
    for (int k = 0; k < 4; ++k)
    {
        pDest[k].x = pSource[k].x;
        pDest[k].y = pSource[k].y;
        pDest[k].z = pSource[k].z;
    }
    FinishQuad(pSource, pDest, ucAlpha);
}

void QuadRenderBuffer::CheckBounds() const
{
    BF_ASSERT("source/engine/QuadRenderBuffer", iNumVerts >= 0 && iNumVerts <= QRB_MAX_VERTS);
    BF_ASSERT("source/engine/QuadRenderBuffer", iNumVerts % 4 == 0 && iNumFaces * 2 == iNumVerts);
    BF_ASSERT("source/engine/QuadRenderBuffer", 3 * iNumFaces <= QRB_NUM_INDICES);
    BF_ASSERT("source/engine/QuadRenderBuffer", iNumDropped >= 0);
}

void QuadRenderBuffer::Render()
{
    const unsigned char* pBytes = reinterpret_cast<const unsigned char*>(pVertices);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, iTextureID);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisable(GL_CULL_FACE);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisable(GL_LIGHTING);
    glVertexPointer(3, GL_FLOAT, iStride, pBytes);
    glTexCoordPointer(2, GL_FLOAT, iStride, pBytes + OFFSET_UV);
    glColorPointer(4, GL_UNSIGNED_BYTE, iStride, pBytes + OFFSET_COLOUR);
    glDrawElements(GL_TRIANGLES, 3 * iNumFaces, GL_UNSIGNED_SHORT, pIndices);
    iNumFaces = 0;
    iNumVerts = 0;
}
