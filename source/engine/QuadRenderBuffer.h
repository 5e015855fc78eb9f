#pragma once

// Textured 2D quads. CImage is one textured, coloured rectangle cut out of a texture (usually a
// sprite atlas), drawn on its own with one draw call. QuadRenderBuffer collects up to 512 such
// rectangles, each transformed into place on the CPU, into one vertex and index array sharing
// one texture, and draws them with one call. AtlasRect names a picture inside an atlas in
// pixels. Both hold their texture through the texture manager's reference counts. Render
// thread only.

#include <cstdint>

#include "GLES.h"

// One corner of a quad: 28 bytes, the layout CImage and QuadRenderBuffer share.
struct QuadVertex
{
    float x;
    float y;
    float z;
    float u;                  // texture s
    float v;                  // texture t
    float fSpare;             // copied along, never given to GL
    std::uint8_t tColour[4];  // R, G, B, A
};
static_assert(sizeof(QuadVertex) == 28);

// A rectangle in atlas pixels, vertical pair first: rows iTop..iBottom (divided by the texture
// height), columns iLeft..iRight (divided by the texture width).
struct AtlasRect
{
    int iTop;
    int iBottom;
    int iLeft;
    int iRight;

    void Set(int iNewTop, int iNewBottom, int iNewLeft, int iNewRight)
    {
        iTop = iNewTop;
        iBottom = iNewBottom;
        iLeft = iNewLeft;
        iRight = iNewRight;
    }
    constexpr int Width() const { return iRight - iLeft; }
    constexpr int Height() const { return iBottom - iTop; }
};

class CImage
{
public:
    // Corner 0 (x, y + h), corner 1 (x, y), corner 2 (x + w, y), corner 3 (x + w, y + h).
    QuadVertex tVerts[4];
    float fWidth;
    float fHeight;
    GLuint iTextureID;  // 0 = no texture: the image draws nothing

    // An image without texture or size.
    CImage();

    // From an atlas rectangle of a texture of iTextureWidth x iTextureHeight pixels, drawn
    // iWidth x iHeight; centred on the origin (integer halving) or with its lower left there.
    // The texture is retained.
    CImage(GLuint uiTextureID, AtlasRect tRect, int iTextureWidth, int iTextureHeight, int iWidth,
           int iHeight, bool bCentred);

    // From an atlas rectangle placed on a screen rectangle: x = iLeft, y = iBottom, width
    // iRight - iLeft, height iTop - iBottom (which may be negative). The texture is retained.
    CImage(GLuint uiTextureID, AtlasRect tRect, int iTextureWidth, int iTextureHeight,
           AtlasRect tScreen);

    // As the atlas form, loading the texture by name (PVR, then TGA). When both fail it prints
    // "Failed to load image: <name>" and the image stays without texture.
    CImage(const char* pTextureName, AtlasRect tRect, int iTextureWidth, int iTextureHeight,
           int iWidth, int iHeight, bool bCentred);

    ~CImage();
    CImage(const CImage&) = delete;
    CImage& operator=(const CImage&) = delete;

    // The core of every constructor: corners, size and texture coordinates (v is flipped:
    // v = 1 - vTop at the top). Retains the texture unless bAlreadyCounted.
    void Setup(GLuint uiTextureID, int iX, int iY, int iWidth, int iHeight, float fULeft,
               float fVTop, float fURight, float fVBottom, bool bAlreadyCounted);

    // Releases the old texture and retains the new one.
    void ChangeTexture(GLuint uiTextureID);

    float GetWidth() const { return fWidth; }
    float GetHeight() const { return fHeight; }

    // One draw call. With bBlend the alpha (clamped to 0..1, times 255, truncated) is written
    // into all four corners, where it stays, and drawn blended; without, blending is off and
    // the stored alphas are used.
    void Draw(bool bBlend, float fAlpha);
};

constexpr int QRB_MAX_QUADS = 512;  // quads one buffer collects between renders
constexpr int QRB_MAX_VERTS = 4 * QRB_MAX_QUADS;
constexpr int QRB_NUM_INDICES = 12288;  // room for 6 per quad and more
static_assert(QRB_MAX_VERTS <= 65536, "16-bit indices reach every vertex");
static_assert(QRB_NUM_INDICES >= 6 * QRB_MAX_QUADS);

class QuadRenderBuffer
{
public:
    QuadVertex* pVertices;    // QRB_MAX_VERTS vertices
    std::uint16_t* pIndices;  // QRB_NUM_INDICES indices
    int iNumVerts;
    int iStride;        // 28, the vertex size
    int iNumFaces;      // two per quad
    GLuint iTextureID;  // the one texture of every quad
    int iNumDropped;    // quads refused since construction because the buffer was full

    QuadRenderBuffer();
    // iTextureID must not be 0 (assertion "QuadRenderBuffer").
    explicit QuadRenderBuffer(GLuint iTextureID);
    // Releases the texture reference the buffer holds and frees both arrays.
    ~QuadRenderBuffer();
    QuadRenderBuffer(const QuadRenderBuffer&) = delete;
    QuadRenderBuffer& operator=(const QuadRenderBuffer&) = delete;

    // Takes over one reference of a non-zero texture (not retained here; released when the
    // buffer goes).
    void SetTexture(GLuint iTextureID);

    // The three ways of adding a quad from four source corners (a CImage's tVerts). Each writes
    // four vertices and six indices in place and never allocates. A full buffer (512 quads)
    // drops the quad: it is counted in iNumDropped and reported once.
    // Matrix: column-major 4 x 4 (elements 12, 13, 14 translate); corners are taken as
    // (x, y, 0, 1), with no division by w.
    void AddQuad(const QuadVertex* pSource, const float* pMatrix, std::uint8_t ucAlpha);
    // Offset: (x + fDX, y + fDY, fZ).
    void AddQuad(const QuadVertex* pSource, float fDX, float fDY, float fZ, std::uint8_t ucAlpha);
    // Plain: the source positions.
    void AddQuad(const QuadVertex* pSource, std::uint8_t ucAlpha);

    // The counts are within the arrays, two faces to four vertices (assertions
    // "source/engine/QuadRenderBuffer"). The soak checks it every frame.
    void CheckBounds() const;
    // Draws every quad collected with the buffer's texture, blended, in one call, then empties
    // the buffer. GL state is left as set.
    void Render();

private:
    // The first vertex of the next quad, or null when the buffer is full.
    QuadVertex* NextQuad();
    void FinishQuad(const QuadVertex* pSource, QuadVertex* pDest, std::uint8_t ucAlpha);
};
