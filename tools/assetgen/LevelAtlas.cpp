#include "LevelAtlas.h"

#include <cmath>

#include "AtlasLayout.h"
#include "Paint.h"
#include "Pommos.h"

namespace
{
const sColour BARK = PAINT_Hex(0x8E5B32);
const sColour BARK_INK = PAINT_Hex(0x3B2212);
const sColour LEAF_GREEN = PAINT_Hex(0x45A83A);

// The trunk rises from the ground to the point the five limbs fan out from.
constexpr double PIVOT_X = 240.0;
constexpr double PIVOT_Y = 320.0 - 146.0;  // atlas rows count down from the top
constexpr double GROUND_Y = 268.0;

void Cloud(cairo_t* pCairo, double dX, double dY, double dScale)
{
    PAINT_CloudPath(pCairo, dX, dY, dScale);
    cairo_pattern_t* pFill = PAINT_Vertical(dY - 20 * dScale, {1, 1, 1, 0.95}, dY + 18 * dScale,
                                            PAINT_WithAlpha(PAINT_Hex(0xDCEBF7), 0.95));
    cairo_set_source(pCairo, pFill);
    cairo_fill(pCairo);
    cairo_pattern_destroy(pFill);
}

void Hill(cairo_t* pCairo, double dBaseY, double dAmp, double dFreq, double dPhase,
          const sColour& tTop, const sColour& tBottom, double dBottomY)
{
    cairo_new_path(pCairo);
    cairo_move_to(pCairo, -4, dBottomY);
    for (int iX = -4; iX <= 488; iX += 4)
    {
        const double dY = dBaseY - dAmp * (0.6 * std::sin(iX * dFreq + dPhase) +
                                           0.4 * std::sin(iX * dFreq * 2.3 + dPhase * 1.7));
        cairo_line_to(pCairo, iX, dY);
    }
    cairo_line_to(pCairo, 488, dBottomY);
    cairo_close_path(pCairo);
    cairo_pattern_t* pFill = PAINT_Vertical(dBaseY - dAmp, tTop, dBottomY, tBottom);
    cairo_set_source(pCairo, pFill);
    cairo_fill(pCairo);
    cairo_pattern_destroy(pFill);
}

void GrassTuft(cairo_t* pCairo, double dX, double dY, double dSize, const sColour& tColour)
{
    PAINT_Set(pCairo, tColour);
    cairo_set_line_width(pCairo, 1.6);
    for (int i = -2; i <= 2; ++i)
    {
        cairo_move_to(pCairo, dX + i * 1.5, dY);
        cairo_curve_to(pCairo, dX + i * 1.8, dY - dSize * 0.5, dX + i * 3.0,
                       dY - dSize * (0.8 - 0.08 * std::abs(i)), dX + i * 3.6,
                       dY - dSize * (1.0 - 0.15 * std::abs(i)));
    }
    cairo_stroke(pCairo);
}

void Flower(cairo_t* pCairo, double dX, double dY, const sColour& tPetal)
{
    for (int i = 0; i < 5; ++i)
    {
        const double dA = i * 2 * M_PI / 5;
        cairo_new_sub_path(pCairo);
        cairo_arc(pCairo, dX + std::cos(dA) * 2.6, dY + std::sin(dA) * 2.6, 2.2, 0, 2 * M_PI);
    }
    PAINT_Set(pCairo, tPetal);
    cairo_fill(pCairo);
    cairo_arc(pCairo, dX, dY, 1.6, 0, 2 * M_PI);
    PAINT_Set(pCairo, PAINT_Hex(0xFFD23A));
    cairo_fill(pCairo);
}

void BarkStreaks(cairo_t* pCairo, double dCX, double dTop, double dBottom, double dHalfTop,
                 double dHalfBottom, std::uint32_t uiSeed)
{
    CRandom tRandom(uiSeed);
    PAINT_Set(pCairo, PAINT_WithAlpha(PAINT_Darken(BARK, 0.45), 0.55));
    cairo_set_line_width(pCairo, 1.6);
    for (int i = 0; i < 5; ++i)
    {
        const double dF = -0.6 + 0.3 * i + tRandom.Range(-0.08, 0.08);
        const double dY0 = dTop + (dBottom - dTop) * tRandom.Range(0.05, 0.3);
        const double dY1 = dTop + (dBottom - dTop) * tRandom.Range(0.6, 0.95);
        auto XAt = [&](double dY)
        {
            const double dT = (dY - dTop) / (dBottom - dTop);
            return dCX + dF * (dHalfTop + (dHalfBottom - dHalfTop) * dT);
        };
        cairo_move_to(pCairo, XAt(dY0), dY0);
        cairo_curve_to(pCairo, XAt(dY0) + 1.5, dY0 + (dY1 - dY0) * 0.33, XAt(dY1) - 1.5,
                       dY0 + (dY1 - dY0) * 0.66, XAt(dY1), dY1);
        cairo_stroke(pCairo);
    }
}

// Horizontal light-to-dark shading across a bark shape between x0 and x1.
cairo_pattern_t* BarkShade(double dX0, double dX1)
{
    cairo_pattern_t* pPattern = cairo_pattern_create_linear(dX0, 0, dX1, 0);
    const sColour tLight = PAINT_Lighten(BARK, 0.25);
    const sColour tDark = PAINT_Darken(BARK, 0.3);
    cairo_pattern_add_color_stop_rgb(pPattern, 0.0, tLight.r, tLight.g, tLight.b);
    cairo_pattern_add_color_stop_rgb(pPattern, 0.45, BARK.r, BARK.g, BARK.b);
    cairo_pattern_add_color_stop_rgb(pPattern, 1.0, tDark.r, tDark.g, tDark.b);
    return pPattern;
}

void PaintBackground(cairo_t* pCairo)
{
    // Painted 4 pixels past its edges so filtering at the border never reaches other sprites.
    const double dW = 484.0;
    const double dH = 324.0;
    cairo_save(pCairo);
    cairo_rectangle(pCairo, 0, 0, dW, dH);
    cairo_clip(pCairo);
    cairo_pattern_t* pSky = cairo_pattern_create_linear(0, 0, 0, 240);
    cairo_pattern_add_color_stop_rgb(pSky, 0.0, 0.42, 0.74, 0.93);
    cairo_pattern_add_color_stop_rgb(pSky, 0.7, 0.70, 0.88, 0.97);
    cairo_pattern_add_color_stop_rgb(pSky, 1.0, 0.90, 0.96, 0.95);
    cairo_set_source(pCairo, pSky);
    cairo_paint(pCairo);
    cairo_pattern_destroy(pSky);

    // Sun with a soft glow.
    cairo_pattern_t* pGlow = cairo_pattern_create_radial(418, 92, 10, 418, 92, 70);
    cairo_pattern_add_color_stop_rgba(pGlow, 0, 1, 0.97, 0.75, 0.8);
    cairo_pattern_add_color_stop_rgba(pGlow, 1, 1, 0.97, 0.75, 0);
    cairo_set_source(pCairo, pGlow);
    cairo_paint(pCairo);
    cairo_pattern_destroy(pGlow);
    cairo_arc(pCairo, 418, 92, 17, 0, 2 * M_PI);
    PAINT_Set(pCairo, PAINT_Hex(0xFFF3B0));
    cairo_fill(pCairo);

    Cloud(pCairo, 70, 118, 1.1);
    Cloud(pCairo, 345, 48, 0.8);
    Cloud(pCairo, 150, 40, 0.6);
    Cloud(pCairo, 455, 150, 0.7);

    Hill(pCairo, 214, 14, 0.018, 0.6, PAINT_Hex(0xA9D6B4), PAINT_Hex(0x8CC6A0), 300);
    Hill(pCairo, 240, 12, 0.026, 2.1, PAINT_Hex(0x8BCB6E), PAINT_Hex(0x6DB257), 300);

    // Meadow.
    cairo_new_path(pCairo);
    cairo_move_to(pCairo, -4, GROUND_Y + 4);
    cairo_curve_to(pCairo, 120, GROUND_Y - 6, 360, GROUND_Y - 6, 488, GROUND_Y + 4);
    cairo_line_to(pCairo, 488, dH);
    cairo_line_to(pCairo, -4, dH);
    cairo_close_path(pCairo);
    cairo_pattern_t* pGrass =
        PAINT_Vertical(GROUND_Y - 6, PAINT_Hex(0x7CC552), dH, PAINT_Hex(0x4E9838));
    cairo_set_source(pCairo, pGrass);
    cairo_fill_preserve(pCairo);
    cairo_pattern_destroy(pGrass);
    PAINT_Set(pCairo, PAINT_WithAlpha(PAINT_Hex(0xB5E68A), 0.9));
    cairo_set_line_width(pCairo, 2.0);
    cairo_new_path(pCairo);
    cairo_move_to(pCairo, -4, GROUND_Y + 4);
    cairo_curve_to(pCairo, 120, GROUND_Y - 6, 360, GROUND_Y - 6, 488, GROUND_Y + 4);
    cairo_stroke(pCairo);

    // The tree's shadow on the grass.
    cairo_save(pCairo);
    cairo_translate(pCairo, PIVOT_X, 292);
    cairo_scale(pCairo, 92, 11);
    cairo_arc(pCairo, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(pCairo);
    PAINT_Set(pCairo, {0.1, 0.3, 0.05, 0.22});
    cairo_fill(pCairo);

    CRandom tRandom(2024);
    for (int i = 0; i < 26; ++i)
    {
        const double dX = tRandom.Range(6, 474);
        const double dY = tRandom.Range(GROUND_Y + 6, 304);
        GrassTuft(pCairo, dX, dY, tRandom.Range(5, 9), PAINT_Hex(0x3F8A2E));
    }
    const std::uint32_t tPetals[3] = {0xFFFFFF, 0xFF9EC4, 0xFFE066};
    for (int i = 0; i < 9; ++i)
    {
        const double dX = tRandom.Range(10, 470);
        if (std::abs(dX - PIVOT_X) < 40)
        {
            continue;
        }
        Flower(pCairo, dX, tRandom.Range(GROUND_Y + 10, 300), PAINT_Hex(tPetals[i % 3]));
    }

    // Trunk with flared roots, its top rounded under the limbs' bases.
    const double dTopHalf = 15.0;
    const double dFootY = 298.0;
    cairo_new_path(pCairo);
    cairo_move_to(pCairo, PIVOT_X - dTopHalf, PIVOT_Y - 4);
    cairo_curve_to(pCairo, PIVOT_X - dTopHalf - 2, 230, PIVOT_X - 20, 270, PIVOT_X - 40, dFootY);
    cairo_curve_to(pCairo, PIVOT_X - 20, dFootY - 4, PIVOT_X - 10, dFootY + 2, PIVOT_X, dFootY - 2);
    cairo_curve_to(pCairo, PIVOT_X + 10, dFootY + 2, PIVOT_X + 22, dFootY - 4, PIVOT_X + 42,
                   dFootY);
    cairo_curve_to(pCairo, PIVOT_X + 20, 270, PIVOT_X + dTopHalf + 2, 230, PIVOT_X + dTopHalf,
                   PIVOT_Y - 4);
    cairo_arc_negative(pCairo, PIVOT_X, PIVOT_Y - 4, dTopHalf, 0, M_PI);
    cairo_close_path(pCairo);
    cairo_pattern_t* pBark = BarkShade(PIVOT_X - 40, PIVOT_X + 40);
    PAINT_FillOutlined(pCairo, pBark, BARK_INK, 2.5);
    cairo_pattern_destroy(pBark);
    BarkStreaks(pCairo, PIVOT_X, PIVOT_Y + 6, dFootY - 8, dTopHalf, 30, 5);
    // A knot hole.
    cairo_save(pCairo);
    cairo_translate(pCairo, PIVOT_X + 4, 238);
    cairo_scale(pCairo, 4.5, 6.5);
    cairo_arc(pCairo, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(pCairo);
    PAINT_FillOutlinedColour(pCairo, PAINT_Hex(0x3E2414), PAINT_Darken(BARK, 0.2), 1.5);
    cairo_restore(pCairo);
}

void PaintBranch(cairo_t* pCairo, const sAtlasRect& tRect)
{
    // Base at the bottom of the sprite, tip at the top.
    const double dCX = tRect.iLeft + tRect.Width() / 2.0;
    const double dTop = tRect.iTop + 4.0;
    const double dBottom = tRect.iBottom - 4.0;
    const double dTip = 6.5;
    const double dBase = 15.0;
    cairo_new_path(pCairo);
    cairo_move_to(pCairo, dCX - dTip, dTop + dTip);
    cairo_curve_to(pCairo, dCX - dTip - 1, dTop + 80, dCX - dBase + 1, dBottom - 60, dCX - dBase,
                   dBottom - dBase * 0.6);
    cairo_curve_to(pCairo, dCX - dBase, dBottom + 1, dCX + dBase, dBottom + 1, dCX + dBase,
                   dBottom - dBase * 0.6);
    cairo_curve_to(pCairo, dCX + dBase - 1, dBottom - 60, dCX + dTip + 1, dTop + 80, dCX + dTip,
                   dTop + dTip);
    cairo_arc_negative(pCairo, dCX, dTop + dTip, dTip, 0, M_PI);
    cairo_close_path(pCairo);
    cairo_pattern_t* pBark = BarkShade(dCX - dBase, dCX + dBase);
    PAINT_FillOutlined(pCairo, pBark, BARK_INK, 2.5);
    cairo_pattern_destroy(pBark);
    BarkStreaks(pCairo, dCX, dTop + 20, dBottom - 10, dTip, dBase, 9);
    // A small knot.
    cairo_save(pCairo);
    cairo_translate(pCairo, dCX + 3, dTop + 120);
    cairo_scale(pCairo, 3.0, 4.5);
    cairo_arc(pCairo, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(pCairo);
    PAINT_FillOutlinedColour(pCairo, PAINT_Darken(BARK, 0.35), PAINT_Darken(BARK, 0.15), 1.0);
}

void PaintLeaf(cairo_t* pCairo, const sAtlasRect& tRect)
{
    // Stored upside down: the stem at the top row (drawn at the twig), the tip at the bottom.
    const double dCX = tRect.iLeft + tRect.Width() / 2.0;
    const double dStem = tRect.iTop + 1.0;
    const double dBladeTop = tRect.iTop + 14.0;
    const double dTip = tRect.iBottom - 3.0;
    const double dHalf = 11.5;
    cairo_new_path(pCairo);
    cairo_move_to(pCairo, dCX, dStem);
    cairo_line_to(pCairo, dCX, dBladeTop + 2);
    PAINT_Set(pCairo, PAINT_Hex(0x2F6A22));
    cairo_set_line_width(pCairo, 4.0);
    cairo_stroke(pCairo);
    cairo_move_to(pCairo, dCX, dBladeTop);
    cairo_curve_to(pCairo, dCX + dHalf * 1.35, dBladeTop + 12, dCX + dHalf * 1.1, dTip - 40, dCX,
                   dTip);
    cairo_curve_to(pCairo, dCX - dHalf * 1.1, dTip - 40, dCX - dHalf * 1.35, dBladeTop + 12, dCX,
                   dBladeTop);
    cairo_close_path(pCairo);
    cairo_pattern_t* pFill = cairo_pattern_create_linear(dCX - dHalf, 0, dCX + dHalf, 0);
    const sColour tLight = PAINT_Lighten(LEAF_GREEN, 0.3);
    const sColour tDark = PAINT_Darken(LEAF_GREEN, 0.25);
    cairo_pattern_add_color_stop_rgb(pFill, 0, tLight.r, tLight.g, tLight.b);
    cairo_pattern_add_color_stop_rgb(pFill, 0.5, LEAF_GREEN.r, LEAF_GREEN.g, LEAF_GREEN.b);
    cairo_pattern_add_color_stop_rgb(pFill, 0.51, tDark.r, tDark.g, tDark.b);
    cairo_pattern_add_color_stop_rgb(pFill, 1, PAINT_Darken(tDark, 0.1).r,
                                     PAINT_Darken(tDark, 0.1).g, PAINT_Darken(tDark, 0.1).b);
    PAINT_FillOutlined(pCairo, pFill, PAINT_Hex(0x1F4A17), 2.6);
    cairo_pattern_destroy(pFill);
    // Midrib and veins.
    PAINT_Set(pCairo, PAINT_WithAlpha(PAINT_Hex(0xD8F5A8), 0.85));
    cairo_set_line_width(pCairo, 1.6);
    cairo_move_to(pCairo, dCX, dBladeTop + 2);
    cairo_line_to(pCairo, dCX, dTip - 6);
    cairo_stroke(pCairo);
    cairo_set_line_width(pCairo, 1.0);
    for (int i = 0; i < 4; ++i)
    {
        const double dY = dBladeTop + 16 + i * 18;
        const double dW = dHalf * (0.8 - 0.15 * i);
        cairo_move_to(pCairo, dCX, dY);
        cairo_line_to(pCairo, dCX - dW, dY + 9);
        cairo_move_to(pCairo, dCX, dY);
        cairo_line_to(pCairo, dCX + dW, dY + 9);
    }
    cairo_stroke(pCairo);
}

// One basket cell: the back wall seen above the front rim (wide strip, drawn behind the
// pommos) or the woven front rim (thin strip, drawn over them), in the cell's colour. The game
// stretches a cell twice as wide, so horizontal detail is drawn coarse.
void PaintBasketCell(cairo_t* pCairo, double dX, double dY, double dH, const sColour& tBase,
                     bool bFront)
{
    const double dW = BASKET_CELL_WIDTH;
    cairo_save(pCairo);
    cairo_rectangle(pCairo, dX, dY, dW, dH);
    cairo_clip(pCairo);
    const sColour tWall = bFront ? tBase : PAINT_Darken(tBase, 0.3);
    cairo_pattern_t* pFill =
        PAINT_Vertical(dY, PAINT_Lighten(tWall, 0.15), dY + dH, PAINT_Darken(tWall, 0.3));
    cairo_set_source(pCairo, pFill);
    cairo_paint(pCairo);
    cairo_pattern_destroy(pFill);
    const sColour tOver = PAINT_WithAlpha(PAINT_Lighten(tWall, 0.35), 0.9);
    const sColour tUnder = PAINT_WithAlpha(PAINT_Darken(tWall, 0.35), 0.8);
    if (bFront)
    {
        // A braided band: slanted strands leaning left and right in turn.
        for (int i = 0; i < 12; ++i)
        {
            const double dSX = dX + i * 6.0 - 2.0;
            cairo_move_to(pCairo, dSX, dY + 2.5);
            cairo_line_to(pCairo, dSX + 4.0, dY + dH - 1.5);
            PAINT_Set(pCairo, i % 2 == 0 ? tOver : tUnder);
            cairo_set_line_width(pCairo, 2.2);
            cairo_stroke(pCairo);
        }
        cairo_rectangle(pCairo, dX, dY, dW, 1.0);
        PAINT_Set(pCairo, PAINT_INK);
        cairo_fill(pCairo);
        cairo_rectangle(pCairo, dX, dY + 1.0, dW, 1.4);
        PAINT_Set(pCairo, PAINT_Lighten(tBase, 0.55));
        cairo_fill(pCairo);
        cairo_rectangle(pCairo, dX, dY + dH - 1.0, dW, 1.0);
        PAINT_Set(pCairo, PAINT_WithAlpha(PAINT_INK, 0.7));
        cairo_fill(pCairo);
    }
    else
    {
        // Upright staves with strands woven over and under them.
        const double dStave = 8.0;
        for (int iRow = 0; 4.0 + iRow * 3.0 < dH; ++iRow)
        {
            for (int iGap = 0; iGap < 8; ++iGap)
            {
                cairo_rectangle(pCairo, dX + iGap * dStave + 1.0, dY + 4.0 + iRow * 3.0,
                                dStave - 2.0, 2.4);
                PAINT_Set(pCairo, (iRow + iGap) % 2 == 0 ? tOver : tUnder);
                cairo_fill(pCairo);
            }
        }
        for (int iGap = 0; iGap <= 8; ++iGap)
        {
            cairo_rectangle(pCairo, dX + iGap * dStave - 0.6, dY + 3.0, 1.2, dH);
            PAINT_Set(pCairo, PAINT_WithAlpha(PAINT_INK, 0.45));
            cairo_fill(pCairo);
        }
        // The rim along the top: a dark edge, then a light rounded lip.
        cairo_rectangle(pCairo, dX, dY, dW, 1.0);
        PAINT_Set(pCairo, PAINT_INK);
        cairo_fill(pCairo);
        cairo_rectangle(pCairo, dX, dY + 1.0, dW, 2.0);
        PAINT_Set(pCairo, PAINT_Lighten(tBase, 0.5));
        cairo_fill(pCairo);
        cairo_rectangle(pCairo, dX, dY + 3.0, dW, 1.0);
        PAINT_Set(pCairo, PAINT_WithAlpha(PAINT_INK, 0.6));
        cairo_fill(pCairo);
    }
    // Darker rounded ends so that neighbouring baskets read as two.
    for (int iSide = 0; iSide < 2; ++iSide)
    {
        const double dEdge = iSide == 0 ? dX + 2 : dX + dW - 2;
        cairo_pattern_t* pEnd =
            cairo_pattern_create_linear(dEdge, 0, dEdge + (iSide == 0 ? 6 : -6), 0);
        cairo_pattern_add_color_stop_rgba(pEnd, 0, 0.12, 0.07, 0.04, 0.9);
        cairo_pattern_add_color_stop_rgba(pEnd, 0.3, 0.12, 0.07, 0.04, 0.45);
        cairo_pattern_add_color_stop_rgba(pEnd, 1, 0.12, 0.07, 0.04, 0);
        cairo_set_source(pCairo, pEnd);
        cairo_rectangle(pCairo, iSide == 0 ? dX : dX + dW - 8, dY, 8, dH);
        cairo_fill(pCairo);
        cairo_pattern_destroy(pEnd);
    }
    cairo_restore(pCairo);
}

void PaintPause(cairo_t* pCairo, const sAtlasRect& tRect)
{
    const double dCX = tRect.iLeft + 24.0;
    const double dCY = tRect.iTop + 24.0;
    cairo_new_path(pCairo);
    cairo_arc(pCairo, dCX, dCY, 19.5, 0, 2 * M_PI);
    cairo_pattern_t* pFill =
        PAINT_Vertical(dCY - 20, {1.0, 0.98, 0.90, 0.95}, dCY + 20, {0.93, 0.83, 0.62, 0.95});
    PAINT_FillOutlined(pCairo, pFill, PAINT_INK, 2.5);
    cairo_pattern_destroy(pFill);
    for (int iSide = -1; iSide <= 1; iSide += 2)
    {
        cairo_new_path(pCairo);
        const double dX = dCX + iSide * 6.0 - 3.0;
        cairo_move_to(pCairo, dX + 3.0, dCY - 9.5);
        cairo_line_to(pCairo, dX + 3.0, dCY + 9.5);
        PAINT_Set(pCairo, PAINT_Hex(0x6B3F1D));
        cairo_set_line_width(pCairo, 6.0);
        cairo_stroke(pCairo);
    }
    PAINT_Gloss(pCairo, dCX - 7, dCY - 10, 8, 4, 0.6);
}
}  // namespace

CImageRGBA LEVEL_PaintAtlas()
{
    CCanvas tCanvas(ATLAS_SIZE, ATLAS_SIZE);
    cairo_t* pCairo = tCanvas.Cairo();
    PaintBackground(pCairo);
    PaintBranch(pCairo, LEVEL_BRANCH);
    PaintLeaf(pCairo, LEVEL_LEAF);
    for (int iCell = 0; iCell < BASKET_CELLS; ++iCell)
    {
        const sColour tColour = iCell < POMMO_TYPES ? POMMO_Colour(iCell) : PAINT_Hex(0xA9A9A4);
        const double dX = LEVEL_BASKET_WIDE.iLeft + iCell * BASKET_CELL_WIDTH;
        PaintBasketCell(pCairo, dX, LEVEL_BASKET_WIDE.iTop, LEVEL_BASKET_WIDE.Height(), tColour,
                        false);
        PaintBasketCell(pCairo, dX, LEVEL_BASKET_THIN.iTop, LEVEL_BASKET_THIN.Height(), tColour,
                        true);
    }
    PaintPause(pCairo, LEVEL_PAUSE);
    for (int iType = 0; iType < POMMO_TYPES; ++iType)
    {
        const sAtlasRect& tRect = LEVEL_POMMO[iType];
        for (int iFrame = 0; iFrame < POMMO_FRAMES; ++iFrame)
        {
            const int iLeft = tRect.iLeft + iFrame * POMMO_FRAME_STEP;
            cairo_save(pCairo);
            cairo_rectangle(pCairo, iLeft, tRect.iTop, tRect.Width(), tRect.Height());
            cairo_clip(pCairo);
            POMMO_Paint(pCairo, iType, iFrame, iLeft, tRect.iTop, tRect.Width(), tRect.Height());
            cairo_restore(pCairo);
        }
    }
    CImageRGBA tImage = tCanvas.ToImage();
    IMG_BleedColours(tImage, 3);
    return tImage;
}
