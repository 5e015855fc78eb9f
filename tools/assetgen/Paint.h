#pragma once

// Drawing helpers over cairo shared by the atlas painters: colours, canvases that turn into
// straight-alpha RGBA pictures, outlined shapes with soft shading, and text in the game's
// typeface (DejaVu Sans Bold through cairo-ft).

#include <cairo.h>

#include <cstdint>

#include "ImageFile.h"

struct sColour
{
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
    double a = 1.0;
};

// 0xRRGGBB, opaque.
constexpr sColour PAINT_Hex(std::uint32_t uiRGB)
{
    return {((uiRGB >> 16) & 0xFF) / 255.0, ((uiRGB >> 8) & 0xFF) / 255.0, (uiRGB & 0xFF) / 255.0,
            1.0};
}
// The dark brown every painted object is outlined and lettered with.
constexpr sColour PAINT_INK = PAINT_Hex(0x2A1712);
sColour PAINT_Mix(const sColour& tA, const sColour& tB, double dT);
sColour PAINT_Lighten(const sColour& tC, double dT);  // towards white
sColour PAINT_Darken(const sColour& tC, double dT);   // towards black
sColour PAINT_WithAlpha(const sColour& tC, double dAlpha);
void PAINT_Set(cairo_t* pCairo, const sColour& tC);

// A transparent ARGB canvas and its cairo context.
class CCanvas
{
public:
    CCanvas(int iWidth, int iHeight);
    ~CCanvas();
    CCanvas(const CCanvas&) = delete;
    CCanvas& operator=(const CCanvas&) = delete;

    cairo_t* Cairo() const { return pCairo; }
    cairo_surface_t* Surface() const { return pSurface; }
    // The picture as straight-alpha RGBA, rows top first.
    CImageRGBA ToImage() const;

private:
    cairo_surface_t* pSurface;
    cairo_t* pCairo;
};

// Fills the current path with the pattern (or colour) and strokes it with an outline of the
// given width that lies half outside the shape; the path is consumed.
void PAINT_FillOutlined(cairo_t* pCairo, cairo_pattern_t* pFill, const sColour& tOutline,
                        double dWidth);
void PAINT_FillOutlinedColour(cairo_t* pCairo, const sColour& tFill, const sColour& tOutline,
                              double dWidth);

// A vertical two-colour gradient from y0 to y1. The caller destroys it.
cairo_pattern_t* PAINT_Vertical(double dY0, const sColour& tTop, double dY1,
                                const sColour& tBottom);
// Soft ball shading for a round body in the box (cx, cy, rx, ry): light from the upper left.
cairo_pattern_t* PAINT_BallShade(double dCX, double dCY, double dRX, double dRY,
                                 const sColour& tBase);
// The outline of a cloud of five puffs centred on (x, y), as the current path; the caller fills.
void PAINT_CloudPath(cairo_t* pCairo, double dX, double dY, double dScale);
// A soft white gloss spot.
void PAINT_Gloss(cairo_t* pCairo, double dX, double dY, double dRX, double dRY, double dAlpha);

// The game's typeface at a pixel size on the context.
void PAINT_SetFont(cairo_t* pCairo, double dSize);
// Width of a text in the current font.
double PAINT_TextWidth(cairo_t* pCairo, const char* pText);
// Text with its left baseline point at (x, y) (iAlign 1: x is the centre), an outline of the
// given width around the letters, then the fill.
void PAINT_Text(cairo_t* pCairo, const char* pText, double dX, double dY, int iAlign,
                const sColour& tFill, const sColour& tOutline, double dOutline);

// Where the typeface lives (set once by the program before any text is drawn).
void PAINT_SetFontPath(const char* pPath);
const char* PAINT_FontPath();

// A small deterministic random source (xorshift), so every build paints the same picture.
class CRandom
{
public:
    explicit CRandom(std::uint32_t uiSeed) : uiState(uiSeed != 0 ? uiSeed : 1) {}
    std::uint32_t Next();
    double Unit();                         // [0, 1)
    double Range(double dLo, double dHi);  // [lo, hi)

private:
    std::uint32_t uiState;
};
