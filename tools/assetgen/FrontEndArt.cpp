#include "FrontEndArt.h"

#include <cmath>
#include <cstring>

#include "AtlasLayout.h"
#include "Paint.h"
#include "Pommos.h"

namespace
{
const sColour INK = PAINT_Hex(0x2A1712);
const sColour WOOD = PAINT_Hex(0xE9C98F);
const sColour KETTLE = PAINT_Hex(0x2FB3A6);
const sColour GREEN = PAINT_Hex(0x56B441);

void RoundedRect(cairo_t* pCairo, double dX, double dY, double dW, double dH, double dR)
{
    cairo_new_sub_path(pCairo);
    cairo_arc(pCairo, dX + dW - dR, dY + dR, dR, -M_PI / 2, 0);
    cairo_arc(pCairo, dX + dW - dR, dY + dH - dR, dR, 0, M_PI / 2);
    cairo_arc(pCairo, dX + dR, dY + dH - dR, dR, M_PI / 2, M_PI);
    cairo_arc(pCairo, dX + dR, dY + dR, dR, M_PI, 1.5 * M_PI);
    cairo_close_path(pCairo);
}

void ClipTo(cairo_t* pCairo, const sAtlasRect& tRect)
{
    cairo_rectangle(pCairo, tRect.iLeft, tRect.iTop, tRect.Width(), tRect.Height());
    cairo_clip(pCairo);
}

// A pommo frame at a scale, its box's top centre at (x, y).
void SmallPommo(cairo_t* pCairo, int iType, int iFrame, double dX, double dY, double dScale,
                double dAngle = 0.0)
{
    const double tSizes[4][2] = {{85, 98}, {80, 104}, {75, 112}, {103, 101}};
    cairo_save(pCairo);
    cairo_translate(pCairo, dX, dY);
    cairo_rotate(pCairo, dAngle);
    cairo_scale(pCairo, dScale, dScale);
    POMMO_Paint(pCairo, iType, iFrame, -tSizes[iType][0] / 2, 0, tSizes[iType][0],
                tSizes[iType][1]);
    cairo_restore(pCairo);
}

void Leaf(cairo_t* pCairo, double dX, double dY, double dAngle, double dLength)
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

void Cloud(cairo_t* pCairo, double dX, double dY, double dScale)
{
    PAINT_CloudPath(pCairo, dX, dY, dScale);
    PAINT_Set(pCairo, {1, 1, 1, 0.92});
    cairo_fill(pCairo);
}

// Sky, sun rays, hills and meadow over the region (x, y, w, h).
void Landscape(cairo_t* pCairo, double dX, double dY, double dW, double dH, double dGround)
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

// Light wooden planks with a dark frame: the board behind menus and texts.
void Board(cairo_t* pCairo, double dX, double dY, double dW, double dH, const sColour& tWood)
{
    RoundedRect(pCairo, dX, dY, dW, dH, 12);
    cairo_pattern_t* pFill =
        PAINT_Vertical(dY, PAINT_Lighten(tWood, 0.25), dY + dH, PAINT_Darken(tWood, 0.08));
    PAINT_FillOutlined(pCairo, pFill, INK, 3.0);
    cairo_pattern_destroy(pFill);
    cairo_save(pCairo);
    RoundedRect(pCairo, dX, dY, dW, dH, 12);
    cairo_clip(pCairo);
    PAINT_Set(pCairo, PAINT_WithAlpha(PAINT_Darken(tWood, 0.35), 0.35));
    cairo_set_line_width(pCairo, 1.5);
    for (double dPY = dY + 32; dPY < dY + dH - 8; dPY += 32)
    {
        cairo_move_to(pCairo, dX, dPY);
        cairo_line_to(pCairo, dX + dW, dPY);
    }
    cairo_stroke(pCairo);
    // Inner frame line.
    RoundedRect(pCairo, dX + 6, dY + 6, dW - 12, dH - 12, 8);
    PAINT_Set(pCairo, PAINT_WithAlpha(PAINT_Lighten(tWood, 0.6), 0.7));
    cairo_set_line_width(pCairo, 2.0);
    cairo_stroke(pCairo);
    cairo_restore(pCairo);
}

void Kettle(cairo_t* pCairo, double dCX, double dCY, double dScale)
{
    cairo_save(pCairo);
    cairo_translate(pCairo, dCX, dCY);
    cairo_scale(pCairo, dScale, dScale);
    const double dLine = 2.5;
    // Steam.
    cairo_set_line_width(pCairo, 3.2);
    PAINT_Set(pCairo, {1, 1, 1, 0.9});
    for (int i = 0; i < 2; ++i)
    {
        const double dSX = 30 + i * 9;
        cairo_move_to(pCairo, dSX, -14);
        cairo_curve_to(pCairo, dSX - 7, -20, dSX + 7, -26, dSX, -34);
        cairo_stroke(pCairo);
    }
    // Spout.
    cairo_move_to(pCairo, 12, 2);
    cairo_curve_to(pCairo, 22, 0, 26, -6, 32, -14);
    cairo_line_to(pCairo, 37, -11);
    cairo_curve_to(pCairo, 32, 2, 28, 14, 14, 16);
    cairo_close_path(pCairo);
    PAINT_FillOutlinedColour(pCairo, PAINT_Darken(KETTLE, 0.1), INK, dLine / dScale);
    // Handle.
    cairo_arc(pCairo, 0, -14, 17, M_PI * 1.05, M_PI * 1.95);
    PAINT_Set(pCairo, INK);
    cairo_set_line_width(pCairo, 8.0);
    cairo_stroke_preserve(pCairo);
    PAINT_Set(pCairo, PAINT_Hex(0xF29A38));
    cairo_set_line_width(pCairo, 4.0);
    cairo_stroke(pCairo);
    // Body.
    cairo_move_to(pCairo, -18, -10);
    cairo_curve_to(pCairo, -30, 0, -28, 22, -22, 24);
    cairo_line_to(pCairo, 22, 24);
    cairo_curve_to(pCairo, 28, 22, 30, 0, 18, -10);
    cairo_close_path(pCairo);
    cairo_pattern_t* pShade = PAINT_BallShade(0, 6, 26, 18, KETTLE);
    PAINT_FillOutlined(pCairo, pShade, INK, dLine / dScale);
    cairo_pattern_destroy(pShade);
    // Lid and knob.
    RoundedRect(pCairo, -19, -15, 38, 7, 3);
    PAINT_FillOutlinedColour(pCairo, PAINT_Hex(0xF29A38), INK, dLine / dScale);
    cairo_arc(pCairo, 0, -18, 4, 0, 2 * M_PI);
    PAINT_FillOutlinedColour(pCairo, PAINT_Hex(0xF29A38), INK, dLine / dScale);
    // A friendly face.
    PAINT_Set(pCairo, INK);
    cairo_arc(pCairo, -7, 7, 2.6, 0, 2 * M_PI);
    cairo_fill(pCairo);
    cairo_arc(pCairo, 7, 7, 2.6, 0, 2 * M_PI);
    cairo_fill(pCairo);
    cairo_move_to(pCairo, -5, 13);
    cairo_curve_to(pCairo, -2, 17, 2, 17, 5, 13);
    cairo_set_line_width(pCairo, 2.0);
    cairo_stroke(pCairo);
    PAINT_Gloss(pCairo, -11, -1, 6, 4, 0.7);
    cairo_restore(pCairo);
}

// The maker's logo in a box: the kettle above the name.
void Logo(cairo_t* pCairo, double dX, double dY, double dW, double dH, double dTextSize)
{
    const double dScale = dH / 106.0;
    Kettle(pCairo, dX + dW / 2 - 4 * dScale, dY + dH * 0.42, 1.25 * dScale);
    PAINT_SetFont(pCairo, dTextSize);
    PAINT_Text(pCairo, "Kettle Games", dX + dW / 2, dY + dH - 8 * dScale, 1, {1, 1, 1, 1}, INK,
               3.0 * dScale);
}

// Chunky title letters: shadow, thick outline, gradient fill and a light top edge, each
// letter turned a little for a hand-made bounce.
void TitleWord(cairo_t* pCairo, const char* pWord, double dX, double dBaseline, double dSize,
               const sColour& tTop, const sColour& tBottom, double dPhase)
{
    PAINT_SetFont(pCairo, dSize);
    double dPen = dX;
    for (std::size_t i = 0; i < std::strlen(pWord); ++i)
    {
        const char tLetter[2] = {pWord[i], 0};
        const double dAdvance = PAINT_TextWidth(pCairo, tLetter);
        const double dAngle = 0.06 * std::sin(dPhase + i * 1.7);
        const double dLift = 3.0 * std::sin(dPhase * 0.7 + i * 1.3);
        cairo_save(pCairo);
        cairo_translate(pCairo, dPen + dAdvance / 2, dBaseline - dLift);
        cairo_rotate(pCairo, dAngle);
        cairo_new_path(pCairo);
        cairo_move_to(pCairo, -dAdvance / 2 + 3, 4);
        cairo_text_path(pCairo, tLetter);
        PAINT_Set(pCairo, {0.1, 0.05, 0.02, 0.35});
        cairo_set_line_width(pCairo, 10);
        cairo_stroke_preserve(pCairo);
        cairo_fill(pCairo);
        cairo_move_to(pCairo, -dAdvance / 2, 0);
        cairo_text_path(pCairo, tLetter);
        cairo_pattern_t* pFill = PAINT_Vertical(-dSize * 0.75, tTop, 0, tBottom);
        PAINT_FillOutlined(pCairo, pFill, INK, 4.5);
        cairo_pattern_destroy(pFill);
        // Shine on the upper part of the letter.
        cairo_move_to(pCairo, -dAdvance / 2, 0);
        cairo_text_path(pCairo, tLetter);
        cairo_clip(pCairo);
        cairo_rectangle(pCairo, -dAdvance, -dSize, dAdvance * 2, dSize * 0.42);
        PAINT_Set(pCairo, {1, 1, 1, 0.28});
        cairo_fill(pCairo);
        cairo_restore(pCairo);
        dPen += dAdvance - 1.0;
    }
}

void PaintTitleBackground(cairo_t* pCairo)
{
    cairo_save(pCairo);
    cairo_rectangle(pCairo, 0, 0, 484, 324);
    cairo_clip(pCairo);
    Landscape(pCairo, 0, 0, 484, 324, 262);
    // The menu board: the items are written on it from x 164, rows 40..184 of the screen.
    cairo_rectangle(pCairo, 176, 270, 8, 40);
    cairo_rectangle(pCairo, 312, 270, 8, 40);
    PAINT_FillOutlinedColour(pCairo, PAINT_Hex(0x8E5B32), INK, 2.0);
    Board(pCairo, 142, 126, 210, 156, WOOD);
    // A basket of pommos at the lower left, and a few windfalls.
    SmallPommo(pCairo, 2, 2, 44, 238, 0.42, -0.2);
    SmallPommo(pCairo, 0, 4, 70, 240, 0.42, 0.1);
    SmallPommo(pCairo, 3, 2, 98, 246, 0.40, 0.25);
    SmallPommo(pCairo, 1, 2, 120, 236, 0.40, 0.1);
    cairo_new_path(pCairo);
    cairo_move_to(pCairo, 24, 270);
    cairo_line_to(pCairo, 140, 270);
    cairo_line_to(pCairo, 130, 304);
    cairo_line_to(pCairo, 34, 304);
    cairo_close_path(pCairo);
    cairo_pattern_t* pBasket = PAINT_Vertical(270, PAINT_Hex(0xD9A05B), 304, PAINT_Hex(0xA8692E));
    PAINT_FillOutlined(pCairo, pBasket, INK, 2.5);
    cairo_pattern_destroy(pBasket);
    PAINT_Set(pCairo, PAINT_WithAlpha(PAINT_Hex(0x6E3F19), 0.6));
    cairo_set_line_width(pCairo, 1.5);
    for (int iRow = 0; iRow < 3; ++iRow)
    {
        cairo_move_to(pCairo, 28 + iRow * 3, 280 + iRow * 9);
        cairo_line_to(pCairo, 136 - iRow * 3, 280 + iRow * 9);
    }
    cairo_stroke(pCairo);
    RoundedRect(pCairo, 18, 264, 128, 9, 4);
    PAINT_FillOutlinedColour(pCairo, PAINT_Hex(0xE8B574), INK, 2.0);
    // Drifting leaves.
    Leaf(pCairo, 372, 150, 0.6, 18);
    Leaf(pCairo, 430, 200, 2.4, 15);
    Leaf(pCairo, 110, 190, -0.4, 14);
    cairo_restore(pCairo);
}

void PaintTitlePieces(cairo_t* pCairo)
{
    // Left piece: a leafy bough with a pommo hanging from it.
    const sAtlasRect& tLeft = FRONT_RECTS[FRONT_TITLE_LEFT];
    cairo_save(pCairo);
    ClipTo(pCairo, tLeft);
    cairo_translate(pCairo, tLeft.iLeft, tLeft.iTop);
    cairo_new_path(pCairo);
    cairo_move_to(pCairo, 2, 22);
    cairo_curve_to(pCairo, 40, 14, 90, 18, 136, 30);
    cairo_line_to(pCairo, 134, 38);
    cairo_curve_to(pCairo, 90, 30, 40, 28, 2, 36);
    cairo_close_path(pCairo);
    cairo_pattern_t* pBark = PAINT_Vertical(14, PAINT_Hex(0xA8744A), 38, PAINT_Hex(0x6E4424));
    PAINT_FillOutlined(pCairo, pBark, INK, 2.5);
    cairo_pattern_destroy(pBark);
    Leaf(pCairo, 30, 20, -2.3, 22);
    Leaf(pCairo, 104, 24, -0.9, 24);
    Leaf(pCairo, 122, 34, 0.6, 16);
    SmallPommo(pCairo, 0, 2, 70, 24, 1.05);
    Leaf(pCairo, 60, 26, -1.6, 18);
    cairo_restore(pCairo);

    // Right piece: the name, "Bough" above "fall".
    const sAtlasRect& tRight = FRONT_RECTS[FRONT_TITLE_RIGHT];
    cairo_save(pCairo);
    ClipTo(pCairo, tRight);
    TitleWord(pCairo, "Bough", tRight.iLeft + 8, tRight.iTop + 62, 60, PAINT_Hex(0x9BE35C),
              PAINT_Hex(0x3E9A2C), 0.3);
    TitleWord(pCairo, "fall", tRight.iLeft + 124, tRight.iTop + 128, 60, PAINT_Hex(0xFFC94A),
              PAINT_Hex(0xE8542E), 2.0);
    cairo_restore(pCairo);
}

void PaintBackButton(cairo_t* pCairo)
{
    const sAtlasRect& tRect = FRONT_RECTS[FRONT_BACK_BUTTON];
    cairo_save(pCairo);
    ClipTo(pCairo, tRect);
    // Drawn at the screen's bottom-left corner: the button sits in its lower left.
    const double dCX = tRect.iLeft + 40;
    const double dCY = tRect.iTop + 42;
    cairo_arc(pCairo, dCX, dCY, 28, 0, 2 * M_PI);
    cairo_pattern_t* pFill = PAINT_BallShade(dCX, dCY, 28, 28, PAINT_Hex(0x4FB548));
    PAINT_FillOutlined(pCairo, pFill, INK, 3.0);
    cairo_pattern_destroy(pFill);
    cairo_new_path(pCairo);
    cairo_move_to(pCairo, dCX - 15, dCY);
    cairo_line_to(pCairo, dCX - 1, dCY - 14);
    cairo_line_to(pCairo, dCX - 1, dCY - 6);
    cairo_line_to(pCairo, dCX + 14, dCY - 6);
    cairo_line_to(pCairo, dCX + 14, dCY + 6);
    cairo_line_to(pCairo, dCX - 1, dCY + 6);
    cairo_line_to(pCairo, dCX - 1, dCY + 14);
    cairo_close_path(pCairo);
    PAINT_FillOutlinedColour(pCairo, {1, 1, 1, 1}, INK, 2.2);
    PAINT_Gloss(pCairo, dCX - 10, dCY - 14, 10, 5, 0.55);
    cairo_restore(pCairo);
}

void InstructionLine(cairo_t* pCairo, double dX, double dY, const char* pText)
{
    PAINT_SetFont(pCairo, 14);
    PAINT_Text(pCairo, pText, dX, dY, 0, PAINT_Hex(0x4A3520), INK, 0.0);
}

void PaintInstructions(cairo_t* pCairo)
{
    const sAtlasRect& tRect = FRONT_RECTS[FRONT_INSTRUCTIONS];
    cairo_save(pCairo);
    ClipTo(pCairo, tRect);
    cairo_translate(pCairo, tRect.iLeft, tRect.iTop);
    Landscape(pCairo, 0, 0, 480, 320, 250);
    Board(pCairo, 10, 8, 460, 304, PAINT_Hex(0xF3E2B8));
    PAINT_SetFont(pCairo, 28);
    PAINT_Text(pCairo, "How to Play", 240, 46, 1, PAINT_Hex(0xFFD34A), INK, 3.5);
    const double dText = 104;
    // 1: drag and throw: a stretched pommo and the path it will fly.
    SmallPommo(pCairo, 1, 7, 56, 56, 0.30, 0.5);
    cairo_move_to(pCairo, 62, 72);
    cairo_curve_to(pCairo, 74, 58, 84, 58, 92, 66);
    PAINT_Set(pCairo, PAINT_Hex(0xE8542E));
    cairo_set_line_width(pCairo, 2.5);
    const double tDash[2] = {4.0, 3.0};
    cairo_set_dash(pCairo, tDash, 2, 0);
    cairo_stroke(pCairo);
    cairo_set_dash(pCairo, nullptr, 0, 0);
    InstructionLine(pCairo, dText, 80, "Drag a pommo, then let go to throw it.");
    // 2: basket of its colour.
    SmallPommo(pCairo, 0, 2, 70, 88, 0.26);
    RoundedRect(pCairo, 50, 110, 40, 9, 3);
    PAINT_FillOutlinedColour(pCairo, POMMO_Colour(0), INK, 1.5);
    InstructionLine(pCairo, dText, 114, "Catch it in the basket of its colour.");
    // 3: ripe and upward throws.
    SmallPommo(pCairo, 3, 2, 70, 124, 0.30);
    InstructionLine(pCairo, dText, 148, "Ripe ones and upward throws score more.");
    // 4: multiplier.
    PAINT_SetFont(pCairo, 20);
    PAINT_Text(pCairo, "x3", 70, 186, 1, PAINT_Hex(0x3AC16A), INK, 2.5);
    InstructionLine(pCairo, dText, 182, "Catch after catch raises the multiplier.");
    // 5: three drops.
    SmallPommo(pCairo, 2, 6, 70, 192, 0.36);
    InstructionLine(pCairo, dText, 216, "Three dropped pommos end the game.");
    // 6: tilt.
    cairo_save(pCairo);
    cairo_translate(pCairo, 70, 244);
    cairo_rotate(pCairo, -0.3);
    RoundedRect(pCairo, -15, -9, 30, 18, 4);
    PAINT_FillOutlinedColour(pCairo, PAINT_Hex(0x6C7A89), INK, 1.5);
    cairo_restore(pCairo);
    InstructionLine(pCairo, dText, 250, "Arrow keys (or a tilt) lean your throws.");
    // 7: pause and give up (the back button covers the lower left corner).
    PAINT_SetFont(pCairo, 13);
    PAINT_Text(pCairo, "Pause: the button at the top left.", dText, 276, 0, PAINT_Hex(0x6A5030),
               INK, 0.0);
    PAINT_Text(pCairo, "Give up: click the counter at the bottom right.", dText, 296, 0,
               PAINT_Hex(0x6A5030), INK, 0.0);
    cairo_restore(pCairo);
}

void PaintCredits(cairo_t* pCairo)
{
    const sAtlasRect& tRect = FRONT_RECTS[FRONT_CREDITS];
    cairo_save(pCairo);
    ClipTo(pCairo, tRect);
    cairo_translate(pCairo, tRect.iLeft, tRect.iTop);
    Landscape(pCairo, 0, 0, 480, 320, 262);
    // The scrolling text runs from 56 to 256 units above the bottom: rows 64..264 here.
    RoundedRect(pCairo, 52, 52, 376, 222, 16);
    cairo_pattern_t* pPanel =
        PAINT_Vertical(52, {0.20, 0.36, 0.20, 0.88}, 274, {0.14, 0.26, 0.14, 0.9});
    PAINT_FillOutlined(pCairo, pPanel, INK, 3.0);
    cairo_pattern_destroy(pPanel);
    RoundedRect(pCairo, 59, 59, 362, 208, 11);
    PAINT_Set(pCairo, {1, 1, 1, 0.25});
    cairo_set_line_width(pCairo, 2);
    cairo_stroke(pCairo);
    PAINT_SetFont(pCairo, 30);
    PAINT_Text(pCairo, "Credits", 240, 40, 1, PAINT_Hex(0xFFD34A), INK, 3.5);
    Leaf(pCairo, 56, 58, -2.5, 26);
    Leaf(pCairo, 424, 58, -0.6, 26);
    SmallPommo(pCairo, 1, 4, 30, 120, 0.36, 0.15);
    SmallPommo(pCairo, 2, 2, 452, 100, 0.36, -0.1);
    cairo_restore(pCairo);
}

void PaintSpares(cairo_t* pCairo)
{
    // Small pieces beside the title in the atlas: a leaf sprig, a name plate and two arrows.
    cairo_save(pCairo);
    const sAtlasRect& t0 = FRONT_RECTS[0];
    Leaf(pCairo, t0.iLeft + 8, t0.iTop + 30, -0.4, 34);
    Leaf(pCairo, t0.iLeft + 20, t0.iTop + 34, 0.3, 30);
    const sAtlasRect& t1 = FRONT_RECTS[1];
    Board(pCairo, t1.iLeft + 4, t1.iTop + 6, t1.Width() - 8, t1.Height() - 12, WOOD);
    PAINT_SetFont(pCairo, 18);
    PAINT_Text(pCairo, "Boughfall", t1.iLeft + t1.Width() / 2.0, t1.iTop + 30, 1,
               PAINT_Hex(0x4A3520), INK, 0.0);
    for (int i = 2; i <= 3; ++i)
    {
        const sAtlasRect& tR = FRONT_RECTS[i];
        const double dCX = tR.iLeft + tR.Width() / 2.0;
        const double dCY = tR.iTop + tR.Height() / 2.0;
        const double dDir = i == 2 ? -1.0 : 1.0;
        cairo_move_to(pCairo, dCX + dDir * 12, dCY);
        cairo_line_to(pCairo, dCX - dDir * 8, dCY - 11);
        cairo_line_to(pCairo, dCX - dDir * 8, dCY + 11);
        cairo_close_path(pCairo);
        PAINT_FillOutlinedColour(pCairo, PAINT_Hex(0xFFD34A), INK, 2.0);
    }
    cairo_restore(pCairo);
}
}  // namespace

CImageRGBA FRONT_PaintAtlas()
{
    CCanvas tCanvas(ATLAS_SIZE, ATLAS_SIZE);
    cairo_t* pCairo = tCanvas.Cairo();
    PaintTitleBackground(pCairo);
    PaintSpares(pCairo);
    PaintTitlePieces(pCairo);
    const sAtlasRect& tLogo = FRONT_RECTS[FRONT_LOGO];
    cairo_save(pCairo);
    ClipTo(pCairo, tLogo);
    Logo(pCairo, tLogo.iLeft, tLogo.iTop, tLogo.Width(), tLogo.Height(), 18);
    cairo_restore(pCairo);
    PaintBackButton(pCairo);
    PaintInstructions(pCairo);
    PaintCredits(pCairo);
    CImageRGBA tImage = tCanvas.ToImage();
    IMG_BleedColours(tImage, 3);
    return tImage;
}

CImageRGBA FRONT_PaintSplash()
{
    CCanvas tCanvas(SPLASH_SIZE, SPLASH_SIZE);
    cairo_t* pCairo = tCanvas.Cairo();
    // A plain warm background over the whole texture (it tiles when compressed).
    PAINT_Set(pCairo, PAINT_Hex(0xFFF6E6));
    cairo_paint(pCairo);
    Logo(pCairo, 240 - 150, 160 - 110, 300, 202, 40);
    return tCanvas.ToImage();
}

CImageRGBA FRONT_PaintMissingTexture()
{
    constexpr int SIZE = 64;
    CCanvas tCanvas(SIZE, SIZE);
    cairo_t* pCairo = tCanvas.Cairo();
    for (int iY = 0; iY < SIZE; iY += 8)
    {
        for (int iX = 0; iX < SIZE; iX += 8)
        {
            if (((iX + iY) / 8) % 2 == 0)
            {
                cairo_set_source_rgb(pCairo, 1, 0, 1);
            }
            else
            {
                cairo_set_source_rgb(pCairo, 0, 0, 0);
            }
            cairo_rectangle(pCairo, iX, iY, 8, 8);
            cairo_fill(pCairo);
        }
    }
    PAINT_SetFont(pCairo, 44);
    PAINT_Text(pCairo, "?", 32, 48, 1, {1, 1, 1, 1}, {0, 0, 0, 1}, 3.0);
    return tCanvas.ToImage();
}
