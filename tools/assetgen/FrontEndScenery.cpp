#include "FrontEndScenery.h"

#include <cmath>

#include "Pommos.h"

const sColour SCENE_WOOD = PAINT_Hex(0xE9C98F);

namespace
{
const sColour GREEN = PAINT_Hex(0x56B441);

void Cloud(cairo_t* pCairo, double dX, double dY, double dScale)
{
    PAINT_CloudPath(pCairo, dX, dY, dScale);
    PAINT_Set(pCairo, {1, 1, 1, 0.92});
    cairo_fill(pCairo);
}

// The board's rounded rectangle, dInset pixels inside its edge.
void BoardRect(cairo_t* pCairo, const sPictureBox& tBox, double dRadius, double dInset)
{
    SCENE_RoundedRect(pCairo, tBox.dX + dInset, tBox.dY + dInset, tBox.dW - 2 * dInset,
                      tBox.dH - 2 * dInset, dRadius - dInset);
}

// Clips to everything outside the notch grown by dInset.
void ClipOutsideNotch(cairo_t* pCairo, const sNotch& tNotch, double dInset)
{
    cairo_rectangle(pCairo, -4096, -4096, 8192, 8192);
    cairo_new_sub_path(pCairo);
    cairo_arc(pCairo, tNotch.dCX, tNotch.dCY, tNotch.dRadius + dInset, 0, 2 * M_PI);
    cairo_set_fill_rule(pCairo, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(pCairo);
    cairo_set_fill_rule(pCairo, CAIRO_FILL_RULE_WINDING);
}

// The edge of the board's shape dInset pixels inside it, stroked.
void StrokeBoardEdge(cairo_t* pCairo, const sPictureBox& tBox, double dRadius, const sNotch* pNotch,
                     double dInset, const sColour& tColour, double dWidth)
{
    PAINT_Set(pCairo, tColour);
    cairo_set_line_width(pCairo, dWidth);
    cairo_save(pCairo);
    if (pNotch != nullptr)
    {
        ClipOutsideNotch(pCairo, *pNotch, dInset);
    }
    BoardRect(pCairo, tBox, dRadius, dInset);
    cairo_stroke(pCairo);
    cairo_restore(pCairo);
    if (pNotch != nullptr)
    {
        cairo_save(pCairo);
        BoardRect(pCairo, tBox, dRadius, dInset);
        cairo_clip(pCairo);
        cairo_new_path(pCairo);
        cairo_arc(pCairo, pNotch->dCX, pNotch->dCY, pNotch->dRadius + dInset, 0, 2 * M_PI);
        cairo_stroke(pCairo);
        cairo_restore(pCairo);
    }
}
}  // namespace

sPictureBox SCENE_PictureBox(const sScreenBox& tBox)
{
    return {double(tBox.iLeft), double(FRONT_SCREEN_HEIGHT - tBox.iTop),
            double(tBox.iRight - tBox.iLeft), double(tBox.iTop - tBox.iBottom)};
}

void SCENE_RoundedRect(cairo_t* pCairo, double dX, double dY, double dW, double dH, double dR)
{
    cairo_new_sub_path(pCairo);
    cairo_arc(pCairo, dX + dW - dR, dY + dR, dR, -M_PI / 2, 0);
    cairo_arc(pCairo, dX + dW - dR, dY + dH - dR, dR, 0, M_PI / 2);
    cairo_arc(pCairo, dX + dR, dY + dH - dR, dR, M_PI / 2, M_PI);
    cairo_arc(pCairo, dX + dR, dY + dR, dR, M_PI, 1.5 * M_PI);
    cairo_close_path(pCairo);
}

void SCENE_ClipTo(cairo_t* pCairo, const sAtlasRect& tRect)
{
    cairo_rectangle(pCairo, tRect.iLeft, tRect.iTop, tRect.Width(), tRect.Height());
    cairo_clip(pCairo);
}

void SCENE_Pommo(cairo_t* pCairo, int iType, int iFrame, double dX, double dY, double dScale,
                 double dAngle)
{
    const sAtlasRect& tBox = LEVEL_POMMO[iType];
    cairo_save(pCairo);
    cairo_translate(pCairo, dX, dY);
    cairo_rotate(pCairo, dAngle);
    cairo_scale(pCairo, dScale, dScale);
    POMMO_Paint(pCairo, iType, iFrame, -tBox.Width() / 2.0, 0, tBox.Width(), tBox.Height());
    cairo_restore(pCairo);
}

void SCENE_Leaf(cairo_t* pCairo, double dX, double dY, double dAngle, double dLength)
{
    POMMO_LeafPath(pCairo, dX, dY, dAngle, dLength, dLength * 0.45);
    PAINT_FillOutlinedColour(pCairo, GREEN, PAINT_Darken(GREEN, 0.6), 1.5);
    cairo_move_to(pCairo, dX, dY);
    cairo_line_to(pCairo, dX + std::cos(dAngle) * dLength * 0.8,
                  dY + std::sin(dAngle) * dLength * 0.8);
    PAINT_Set(pCairo, PAINT_Lighten(GREEN, 0.5));
    cairo_set_line_width(pCairo, 1.0);
    cairo_stroke(pCairo);
}

void SCENE_Landscape(cairo_t* pCairo, double dX, double dY, double dW, double dH, double dGround)
{
    cairo_save(pCairo);
    cairo_rectangle(pCairo, dX, dY, dW, dH);
    cairo_clip(pCairo);
    cairo_pattern_t* pSky = cairo_pattern_create_linear(0, dY, 0, dY + dGround);
    cairo_pattern_add_color_stop_rgb(pSky, 0.0, 0.40, 0.72, 0.93);
    cairo_pattern_add_color_stop_rgb(pSky, 0.75, 0.78, 0.91, 0.96);
    cairo_pattern_add_color_stop_rgb(pSky, 1.0, 0.98, 0.95, 0.84);
    cairo_set_source(pCairo, pSky);
    cairo_paint(pCairo);
    cairo_pattern_destroy(pSky);
    // Soft rays from a low sun in the middle.
    const double dSunX = dX + dW * 0.5;
    const double dSunY = dY + dGround - 20;
    for (int i = 0; i < 14; ++i)
    {
        const double dA = M_PI + (i + 0.5) * M_PI / 14;
        cairo_move_to(pCairo, dSunX, dSunY);
        cairo_line_to(pCairo, dSunX + std::cos(dA - 0.06) * 600, dSunY + std::sin(dA - 0.06) * 600);
        cairo_line_to(pCairo, dSunX + std::cos(dA + 0.06) * 600, dSunY + std::sin(dA + 0.06) * 600);
        cairo_close_path(pCairo);
        PAINT_Set(pCairo, {1, 1, 0.9, 0.10});
        cairo_fill(pCairo);
    }
    Cloud(pCairo, dX + 60, dY + 40, 0.9);
    Cloud(pCairo, dX + 400, dY + 70, 1.0);
    Cloud(pCairo, dX + 250, dY + 20, 0.6);
    for (int iLayer = 0; iLayer < 2; ++iLayer)
    {
        const double dBase = dY + dGround - 34 + iLayer * 22;
        cairo_new_path(pCairo);
        cairo_move_to(pCairo, dX - 4, dY + dH);
        for (int iX = -4; iX <= int(dW) + 4; iX += 4)
        {
            const double dHill =
                (iLayer == 0 ? 16 : 10) * (0.6 * std::sin(iX * 0.02 + iLayer * 2.0) +
                                           0.4 * std::sin(iX * 0.047 + 1.0 + iLayer));
            cairo_line_to(pCairo, dX + iX, dBase - dHill);
        }
        cairo_line_to(pCairo, dX + dW + 4, dY + dH);
        cairo_close_path(pCairo);
        PAINT_Set(pCairo, iLayer == 0 ? PAINT_Hex(0xA3D3AE) : PAINT_Hex(0x86C666));
        cairo_fill(pCairo);
    }
    cairo_rectangle(pCairo, dX, dY + dGround, dW, dH - dGround);
    cairo_pattern_t* pGrass =
        PAINT_Vertical(dY + dGround, PAINT_Hex(0x79C450), dY + dH, PAINT_Hex(0x4E9838));
    cairo_set_source(pCairo, pGrass);
    cairo_fill(pCairo);
    cairo_pattern_destroy(pGrass);
    CRandom tRandom(99);
    const std::uint32_t tPetals[3] = {0xFFFFFF, 0xFF9EC4, 0xFFE066};
    for (int i = 0; i < 16; ++i)
    {
        const double dFX = dX + tRandom.Range(6, dW - 6);
        const double dFY = dY + tRandom.Range(dGround + 6, dH - 4);
        for (int k = 0; k < 5; ++k)
        {
            const double dA = k * 2 * M_PI / 5;
            cairo_new_sub_path(pCairo);
            cairo_arc(pCairo, dFX + std::cos(dA) * 2.4, dFY + std::sin(dA) * 2.4, 2.0, 0, 2 * M_PI);
        }
        PAINT_Set(pCairo, PAINT_Hex(tPetals[i % 3]));
        cairo_fill(pCairo);
        cairo_arc(pCairo, dFX, dFY, 1.4, 0, 2 * M_PI);
        PAINT_Set(pCairo, PAINT_Hex(0xFFC83A));
        cairo_fill(pCairo);
    }
    cairo_restore(pCairo);
}

void SCENE_BeginScreen(cairo_t* pCairo, const sAtlasRect& tRect, double dGround)
{
    cairo_save(pCairo);
    SCENE_ClipTo(pCairo, tRect);
    cairo_translate(pCairo, tRect.iLeft, tRect.iTop);
    SCENE_Landscape(pCairo, 0, 0, tRect.Width(), tRect.Height(), dGround);
}

void SCENE_Board(cairo_t* pCairo, const sPictureBox& tBox, const sColour& tWood, double dRadius,
                 const sNotch* pNotch)
{
    cairo_save(pCairo);
    BoardRect(pCairo, tBox, dRadius, 0.0);
    cairo_clip(pCairo);
    if (pNotch != nullptr)
    {
        ClipOutsideNotch(pCairo, *pNotch, 0.0);
    }
    cairo_pattern_t* pFill = PAINT_Vertical(tBox.dY, PAINT_Lighten(tWood, 0.25), tBox.dY + tBox.dH,
                                            PAINT_Darken(tWood, 0.08));
    cairo_set_source(pCairo, pFill);
    cairo_paint(pCairo);
    cairo_pattern_destroy(pFill);
    // The planks' joints.
    PAINT_Set(pCairo, PAINT_WithAlpha(PAINT_Darken(tWood, 0.35), 0.3));
    cairo_set_line_width(pCairo, 1.5);
    for (double dPY = tBox.dY + 32; dPY < tBox.dY + tBox.dH - 8; dPY += 32)
    {
        cairo_move_to(pCairo, tBox.dX, dPY);
        cairo_line_to(pCairo, tBox.dX + tBox.dW, dPY);
    }
    cairo_stroke(pCairo);
    StrokeBoardEdge(pCairo, tBox, dRadius, pNotch, BOARD_FRAME,
                    PAINT_WithAlpha(PAINT_Lighten(tWood, 0.6), 0.7), 2.0);
    cairo_restore(pCairo);
    StrokeBoardEdge(pCairo, tBox, dRadius, pNotch, 0.0, PAINT_INK, 3.0);
}
