#include "FrontEndArt.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "AtlasLayout.h"
#include "FrontEndLayout.h"
#include "FrontEndScenery.h"
#include "Instructions.h"
#include "Paint.h"

namespace
{
const sColour KETTLE = PAINT_Hex(0x2FB3A6);

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
    PAINT_FillOutlinedColour(pCairo, PAINT_Darken(KETTLE, 0.1), PAINT_INK, dLine / dScale);
    // Handle.
    cairo_arc(pCairo, 0, -14, 17, M_PI * 1.05, M_PI * 1.95);
    PAINT_Set(pCairo, PAINT_INK);
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
    PAINT_FillOutlined(pCairo, pShade, PAINT_INK, dLine / dScale);
    cairo_pattern_destroy(pShade);
    // Lid and knob.
    SCENE_RoundedRect(pCairo, -19, -15, 38, 7, 3);
    PAINT_FillOutlinedColour(pCairo, PAINT_Hex(0xF29A38), PAINT_INK, dLine / dScale);
    cairo_arc(pCairo, 0, -18, 4, 0, 2 * M_PI);
    PAINT_FillOutlinedColour(pCairo, PAINT_Hex(0xF29A38), PAINT_INK, dLine / dScale);
    // A friendly face.
    PAINT_Set(pCairo, PAINT_INK);
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

// The maker's logo on the splash: the kettle above the name, in a box.
void Logo(cairo_t* pCairo, double dX, double dY, double dW, double dH, double dTextSize)
{
    const double dScale = dH / 106.0;
    Kettle(pCairo, dX + dW / 2 - 4 * dScale, dY + dH * 0.42, 1.25 * dScale);
    PAINT_SetFont(pCairo, dTextSize);
    PAINT_Text(pCairo, "Kettle Games", dX + dW / 2, dY + dH - 8 * dScale, 1, {1, 1, 1, 1},
               PAINT_INK, 3.0 * dScale);
}

// The logo in the corner of the title and the credits: the kettle beside the name on two
// lines, in the lower right of its picture and no higher than LOGO_TOP on the screen, so
// that it stays under the credits board.
void CornerLogo(cairo_t* pCairo, const sAtlasRect& tRect)
{
    const double dTop = tRect.iBottom - (LOGO_TOP - LOGO_MARGIN);
    const double dRight = tRect.iRight - 2;
    PAINT_SetFont(pCairo, 16);
    const double dTextW =
        std::max(PAINT_TextWidth(pCairo, "Kettle"), PAINT_TextWidth(pCairo, "Games"));
    const double dTextX = dRight - dTextW;
    PAINT_Text(pCairo, "Kettle", dTextX, dTop + 16, 0, {1, 1, 1, 1}, PAINT_INK, 2.5);
    PAINT_Text(pCairo, "Games", dTextX, dTop + 34, 0, {1, 1, 1, 1}, PAINT_INK, 2.5);
    // The kettle's steam reaches 34 units above its centre at scale 1, its base 24 below.
    const double dScale = 0.6;
    Kettle(pCairo, dTextX - 32, dTop + 34 * dScale + 1, dScale);
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
        PAINT_FillOutlined(pCairo, pFill, PAINT_INK, 4.5);
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

// A wicker basket of ripe pommos, its rim's top-left corner at (x, y), 128 x 40.
void PommoBasket(cairo_t* pCairo, double dX, double dY)
{
    SCENE_Pommo(pCairo, 2, 2, dX + 26, dY - 26, 0.42, -0.2);
    SCENE_Pommo(pCairo, 0, 4, dX + 52, dY - 24, 0.42, 0.1);
    SCENE_Pommo(pCairo, 3, 2, dX + 80, dY - 18, 0.40, 0.25);
    SCENE_Pommo(pCairo, 1, 2, dX + 102, dY - 28, 0.40, 0.1);
    cairo_new_path(pCairo);
    cairo_move_to(pCairo, dX + 6, dY + 6);
    cairo_line_to(pCairo, dX + 122, dY + 6);
    cairo_line_to(pCairo, dX + 112, dY + 40);
    cairo_line_to(pCairo, dX + 16, dY + 40);
    cairo_close_path(pCairo);
    cairo_pattern_t* pBasket =
        PAINT_Vertical(dY + 6, PAINT_Hex(0xD9A05B), dY + 40, PAINT_Hex(0xA8692E));
    PAINT_FillOutlined(pCairo, pBasket, PAINT_INK, 2.5);
    cairo_pattern_destroy(pBasket);
    PAINT_Set(pCairo, PAINT_WithAlpha(PAINT_Hex(0x6E3F19), 0.6));
    cairo_set_line_width(pCairo, 1.5);
    for (int iRow = 0; iRow < 3; ++iRow)
    {
        cairo_move_to(pCairo, dX + 10 + iRow * 3, dY + 16 + iRow * 9);
        cairo_line_to(pCairo, dX + 118 - iRow * 3, dY + 16 + iRow * 9);
    }
    cairo_stroke(pCairo);
    SCENE_RoundedRect(pCairo, dX, dY, 128, 9, 4);
    PAINT_FillOutlinedColour(pCairo, PAINT_Hex(0xE8B574), PAINT_INK, 2.0);
}

void PaintTitleBackground(cairo_t* pCairo)
{
    cairo_save(pCairo);
    cairo_rectangle(pCairo, 0, 0, 484, 324);
    cairo_clip(pCairo);
    SCENE_Landscape(pCairo, 0, 0, 484, 324, 226);
    // The menu board stands on two posts in the meadow, under the column of items.
    const sPictureBox tBoard = SCENE_PictureBox(MENU_BOARD);
    cairo_rectangle(pCairo, tBoard.dX + 36, tBoard.dY + tBoard.dH - 8, 8, 40);
    cairo_rectangle(pCairo, tBoard.dX + tBoard.dW - 44, tBoard.dY + tBoard.dH - 8, 8, 40);
    PAINT_FillOutlinedColour(pCairo, PAINT_Hex(0x8E5B32), PAINT_INK, 2.0);
    SCENE_Board(pCairo, tBoard, SCENE_WOOD, 16);
    // Beside it, a basket of pommos on the grass above the logo.
    PommoBasket(pCairo, 330, 220);
    // Drifting leaves.
    SCENE_Leaf(pCairo, 300, 180, 0.6, 16);
    SCENE_Leaf(pCairo, 20, 190, -0.4, 14);
    cairo_restore(pCairo);
}

void PaintTitlePieces(cairo_t* pCairo)
{
    // Left piece: a leafy bough with a pommo hanging from it, clear of the board's corner below.
    const sAtlasRect& tLeft = FRONT_RECTS[FRONT_TITLE_LEFT];
    cairo_save(pCairo);
    SCENE_ClipTo(pCairo, tLeft);
    cairo_translate(pCairo, tLeft.iLeft, tLeft.iTop);
    cairo_new_path(pCairo);
    cairo_move_to(pCairo, 2, 14);
    cairo_curve_to(pCairo, 40, 6, 90, 10, 136, 22);
    cairo_line_to(pCairo, 134, 30);
    cairo_curve_to(pCairo, 90, 22, 40, 20, 2, 28);
    cairo_close_path(pCairo);
    cairo_pattern_t* pBark = PAINT_Vertical(6, PAINT_Hex(0xA8744A), 30, PAINT_Hex(0x6E4424));
    PAINT_FillOutlined(pCairo, pBark, PAINT_INK, 2.5);
    cairo_pattern_destroy(pBark);
    SCENE_Leaf(pCairo, 30, 12, -2.3, 22);
    SCENE_Leaf(pCairo, 104, 16, -0.9, 24);
    SCENE_Leaf(pCairo, 122, 26, 0.6, 16);
    SCENE_Pommo(pCairo, 0, 2, 66, 16, 0.9);
    SCENE_Leaf(pCairo, 56, 18, -1.6, 18);
    cairo_restore(pCairo);

    // Right piece: the name, "Bough" above "fall".
    const sAtlasRect& tRight = FRONT_RECTS[FRONT_TITLE_RIGHT];
    cairo_save(pCairo);
    SCENE_ClipTo(pCairo, tRight);
    TitleWord(pCairo, "Bough", tRight.iLeft + 8, tRight.iTop + 62, 60, PAINT_Hex(0x9BE35C),
              PAINT_Hex(0x3E9A2C), 0.3);
    TitleWord(pCairo, "fall", tRight.iLeft + 124, tRight.iTop + 128, 60, PAINT_Hex(0xFFC94A),
              PAINT_Hex(0xE8542E), 2.0);
    cairo_restore(pCairo);
}

// The back arrow: a green disc in the bottom-left corner of its picture, the rest clear.
void PaintBackButton(cairo_t* pCairo)
{
    const sAtlasRect& tRect = FRONT_RECTS[FRONT_BACK_BUTTON];
    cairo_save(pCairo);
    SCENE_ClipTo(pCairo, tRect);
    // The outline (2.5 pixels outside the disc) and its soft edge stay within the radius.
    const double dR = BACK_DISC_RADIUS - 3.5;
    const double dCX = tRect.iLeft + BACK_DISC_X;
    const double dCY = tRect.iBottom - BACK_DISC_Y;
    cairo_arc(pCairo, dCX, dCY, dR, 0, 2 * M_PI);
    cairo_pattern_t* pFill = PAINT_BallShade(dCX, dCY, dR, dR, PAINT_Hex(0x4FB548));
    PAINT_FillOutlined(pCairo, pFill, PAINT_INK, 2.5);
    cairo_pattern_destroy(pFill);
    const double dA = dR / 28.0;  // the arrow drawn for a disc of radius 28
    cairo_new_path(pCairo);
    cairo_move_to(pCairo, dCX - 15 * dA, dCY);
    cairo_line_to(pCairo, dCX - 1 * dA, dCY - 14 * dA);
    cairo_line_to(pCairo, dCX - 1 * dA, dCY - 6 * dA);
    cairo_line_to(pCairo, dCX + 14 * dA, dCY - 6 * dA);
    cairo_line_to(pCairo, dCX + 14 * dA, dCY + 6 * dA);
    cairo_line_to(pCairo, dCX - 1 * dA, dCY + 6 * dA);
    cairo_line_to(pCairo, dCX - 1 * dA, dCY + 14 * dA);
    cairo_close_path(pCairo);
    PAINT_FillOutlinedColour(pCairo, {1, 1, 1, 1}, PAINT_INK, 2.0);
    PAINT_Gloss(pCairo, dCX - 7, dCY - 9, 7, 3.5, 0.55);
    cairo_restore(pCairo);
}

void PaintCredits(cairo_t* pCairo)
{
    const sAtlasRect& tRect = FRONT_RECTS[FRONT_CREDITS];
    SCENE_BeginScreen(pCairo, tRect, 262);
    // A dark board around the rising lines; the back arrow and the logo stand in the grass
    // below it.
    const sPictureBox tBox = SCENE_PictureBox(CREDITS_BOARD);
    SCENE_RoundedRect(pCairo, tBox.dX, tBox.dY, tBox.dW, tBox.dH, 16);
    cairo_pattern_t* pPanel = PAINT_Vertical(tBox.dY, {0.20, 0.36, 0.20, 0.9}, tBox.dY + tBox.dH,
                                             {0.14, 0.26, 0.14, 0.92});
    PAINT_FillOutlined(pCairo, pPanel, PAINT_INK, 3.0);
    cairo_pattern_destroy(pPanel);
    SCENE_RoundedRect(pCairo, tBox.dX + BOARD_FRAME, tBox.dY + BOARD_FRAME,
                      tBox.dW - 2 * BOARD_FRAME, tBox.dH - 2 * BOARD_FRAME, 11);
    PAINT_Set(pCairo, {1, 1, 1, 0.25});
    cairo_set_line_width(pCairo, 2);
    cairo_stroke(pCairo);
    PAINT_SetFont(pCairo, 30);
    PAINT_Text(pCairo, "Credits", 240, 52, 1, PAINT_Hex(0xFFD34A), PAINT_INK, 3.5);
    SCENE_Leaf(pCairo, tBox.dX + 4, tBox.dY + 6, -2.5, 26);
    SCENE_Leaf(pCairo, tBox.dX + tBox.dW - 4, tBox.dY + 6, -0.6, 26);
    // Two pommos sit on the board's top edge.
    SCENE_Pommo(pCairo, 1, 4, 96, tBox.dY - 38, 0.4);
    SCENE_Pommo(pCairo, 2, 2, 384, tBox.dY - 39, 0.38);
    cairo_restore(pCairo);
}

void PaintSpares(cairo_t* pCairo)
{
    // Small pieces beside the title in the atlas: a leaf sprig, a name plate and two arrows.
    cairo_save(pCairo);
    const sAtlasRect& t0 = FRONT_RECTS[0];
    SCENE_Leaf(pCairo, t0.iLeft + 8, t0.iTop + 30, -0.4, 34);
    SCENE_Leaf(pCairo, t0.iLeft + 20, t0.iTop + 34, 0.3, 30);
    const sAtlasRect& t1 = FRONT_RECTS[1];
    SCENE_Board(pCairo, {t1.iLeft + 4.0, t1.iTop + 6.0, t1.Width() - 8.0, t1.Height() - 12.0},
                SCENE_WOOD, 12);
    PAINT_SetFont(pCairo, 18);
    PAINT_Text(pCairo, "Boughfall", t1.iLeft + t1.Width() / 2.0, t1.iTop + 30, 1,
               PAINT_Hex(0x4A3520), PAINT_INK, 0.0);
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
        PAINT_FillOutlinedColour(pCairo, PAINT_Hex(0xFFD34A), PAINT_INK, 2.0);
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
    SCENE_ClipTo(pCairo, tLogo);
    CornerLogo(pCairo, tLogo);
    cairo_restore(pCairo);
    PaintBackButton(pCairo);
    INSTRUCTIONS_Paint(pCairo);
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
