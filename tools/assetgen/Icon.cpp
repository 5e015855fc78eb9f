#include "Icon.h"

#include <cmath>

#include "AtlasLayout.h"
#include "Paint.h"
#include "Pommos.h"

namespace
{
// The icon is drawn on a 256-unit square and scaled to the size asked for.
constexpr double UNITS = 256.0;
// The red pommo's atlas box, drawn this much larger, its stalk at the bough.
constexpr double POMMO_SCALE = 1.9;
constexpr int ICON_POMMO_TYPE = 0;
constexpr int ICON_POMMO_FRAME = 2;  // ripe, eyes open

const sColour BARK = PAINT_Hex(0x8E5B32);
const sColour BARK_INK = PAINT_Hex(0x3B2212);

// The bough's centre line runs from the left edge to the right, rising a little.
double BoughY(double dX)
{
    return 66.0 - dX * 0.11 + 6.0 * std::sin(dX / UNITS * M_PI);
}

void Bough(cairo_t* pCairo)
{
    constexpr double LEFT = 10.0;
    constexpr double RIGHT = 246.0;
    constexpr double HALF_LEFT = 12.0;  // the bough thins towards its tip on the right
    constexpr double HALF_RIGHT = 7.0;
    cairo_new_path(pCairo);
    for (int i = 0; i <= 32; ++i)
    {
        const double dX = LEFT + (RIGHT - LEFT) * i / 32.0;
        const double dHalf = HALF_LEFT + (HALF_RIGHT - HALF_LEFT) * i / 32.0;
        cairo_line_to(pCairo, dX, BoughY(dX) - dHalf);
    }
    cairo_arc(pCairo, RIGHT, BoughY(RIGHT), HALF_RIGHT, -M_PI / 2, M_PI / 2);
    for (int i = 32; i >= 0; --i)
    {
        const double dX = LEFT + (RIGHT - LEFT) * i / 32.0;
        const double dHalf = HALF_LEFT + (HALF_RIGHT - HALF_LEFT) * i / 32.0;
        cairo_line_to(pCairo, dX, BoughY(dX) + dHalf);
    }
    cairo_arc(pCairo, LEFT, BoughY(LEFT), HALF_LEFT, M_PI / 2, 3 * M_PI / 2);
    cairo_close_path(pCairo);
    cairo_pattern_t* pBark = PAINT_Vertical(BoughY(128.0) - HALF_LEFT, PAINT_Lighten(BARK, 0.3),
                                            BoughY(128.0) + HALF_LEFT, PAINT_Darken(BARK, 0.3));
    PAINT_FillOutlined(pCairo, pBark, BARK_INK, 3.0);
    cairo_pattern_destroy(pBark);
}

// A stalk leaf of the pommos' own, at the pommo's scale, its base on the bough.
void Leaf(cairo_t* pCairo, double dX, double dAngle, double dLength)
{
    cairo_save(pCairo);
    cairo_translate(pCairo, dX, BoughY(dX));
    cairo_scale(pCairo, POMMO_SCALE, POMMO_SCALE);
    POMMO_PaintLeaf(pCairo, 0.0, 0.0, dAngle, dLength / POMMO_SCALE, dLength * 0.5 / POMMO_SCALE);
    cairo_restore(pCairo);
}
}  // namespace

CImageRGBA ICON_Paint(int iSize)
{
    CCanvas tCanvas(iSize, iSize);
    cairo_t* pCairo = tCanvas.Cairo();
    cairo_scale(pCairo, iSize / UNITS, iSize / UNITS);
    Leaf(pCairo, 70.0, -2.45, 58.0);
    Bough(pCairo);
    Leaf(pCairo, 196.0, -0.55, 50.0);
    Leaf(pCairo, 40.0, 2.6, 44.0);

    // The pommo's box hangs centred under the bough, its stalk's top on the bough's middle.
    const sAtlasRect& tBox = LEVEL_POMMO[ICON_POMMO_TYPE];
    const double dWidth = tBox.Width() * POMMO_SCALE;
    const double dLeft = (UNITS - dWidth) / 2.0;
    cairo_save(pCairo);
    cairo_translate(pCairo, dLeft, BoughY(UNITS / 2.0));
    cairo_scale(pCairo, POMMO_SCALE, POMMO_SCALE);
    POMMO_Paint(pCairo, ICON_POMMO_TYPE, ICON_POMMO_FRAME, 0.0, 0.0, tBox.Width(), tBox.Height());
    cairo_restore(pCairo);
    return tCanvas.ToImage();
}
