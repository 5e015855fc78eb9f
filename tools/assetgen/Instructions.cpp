#include "Instructions.h"

#include <cmath>

#include "FrontEndScenery.h"
#include "Pommos.h"

namespace
{
constexpr double TITLE_ROW = 44;  // the heading's baseline
constexpr double FIRST_ROW = 80;  // the first line's baseline; the others follow
constexpr double ROW_STEP = 30;
constexpr double PICTURE_X = 65;  // the middle of the pictures' column
constexpr double TEXT_X = 92;     // where the lines start
constexpr double TEXT_SIZE = 14;

const char* const LINES[] = {
    "Drag a pommo, then let go to throw it.",  "Catch it in the basket of its colour.",
    "Ripe ones and upward throws score more.", "Catch after catch raises the multiplier.",
    "Three dropped pommos end the game.",      "Arrow keys (or a tilt) lean your throws.",
    "Pause: the button at the top left.",      "Give up: just above the counter, bottom right.",
};
constexpr int NUM_LINES = sizeof(LINES) / sizeof(LINES[0]);

// A pommo frame whose box is centred on (x, y).
void Pommo(cairo_t* pCairo, int iType, int iFrame, double dX, double dY, double dScale,
           double dAngle = 0.0)
{
    SCENE_Pommo(pCairo, iType, iFrame, dX, dY - LEVEL_POMMO[iType].Height() * dScale / 2, dScale,
                dAngle);
}

// Each picture is centred on (x, y), the middle of its line's small letters.

// A dashed flight path from a stretched pommo.
void PictureThrow(cairo_t* pCairo, double dX, double dY)
{
    Pommo(pCairo, 1, 7, dX - 9, dY, 0.28, 0.5);
    cairo_move_to(pCairo, dX - 4, dY - 6);
    cairo_curve_to(pCairo, dX + 2, dY - 15, dX + 12, dY - 15, dX + 18, dY - 6);
    PAINT_Set(pCairo, PAINT_Hex(0xE8542E));
    cairo_set_line_width(pCairo, 2.5);
    const double tDash[2] = {4.0, 3.0};
    cairo_set_dash(pCairo, tDash, 2, 0);
    cairo_stroke(pCairo);
    cairo_set_dash(pCairo, nullptr, 0, 0);
}

// A pommo above the rim of a basket of its colour.
void PictureBasket(cairo_t* pCairo, double dX, double dY)
{
    Pommo(pCairo, 0, 2, dX, dY - 4, 0.24);
    SCENE_RoundedRect(pCairo, dX - 18, dY + 5, 36, 8, 3);
    PAINT_FillOutlinedColour(pCairo, POMMO_Colour(0), PAINT_INK, 1.5);
}

// A ripe pommo flying up.
void PictureRipe(cairo_t* pCairo, double dX, double dY)
{
    Pommo(pCairo, 3, 2, dX - 5, dY, 0.27);
    cairo_move_to(pCairo, dX + 15, dY + 9);
    cairo_line_to(pCairo, dX + 15, dY - 10);
    cairo_move_to(pCairo, dX + 10, dY - 5);
    cairo_line_to(pCairo, dX + 15, dY - 11);
    cairo_line_to(pCairo, dX + 20, dY - 5);
    PAINT_Set(pCairo, PAINT_Hex(0xE8542E));
    cairo_set_line_width(pCairo, 2.5);
    cairo_set_line_cap(pCairo, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(pCairo);
    cairo_set_line_cap(pCairo, CAIRO_LINE_CAP_BUTT);
}

void PictureMultiplier(cairo_t* pCairo, double dX, double dY)
{
    PAINT_SetFont(pCairo, 20);
    PAINT_Text(pCairo, "x3", dX, dY + 7, 1, PAINT_Hex(0x3AC16A), PAINT_INK, 2.5);
}

void PictureDropped(cairo_t* pCairo, double dX, double dY)
{
    Pommo(pCairo, 2, 6, dX, dY + 5, 0.34);
}

// The device leaning.
void PictureTilt(cairo_t* pCairo, double dX, double dY)
{
    cairo_save(pCairo);
    cairo_translate(pCairo, dX, dY);
    cairo_rotate(pCairo, -0.3);
    SCENE_RoundedRect(pCairo, -15, -9, 30, 18, 4);
    PAINT_FillOutlinedColour(pCairo, PAINT_Hex(0x6C7A89), PAINT_INK, 1.5);
    SCENE_RoundedRect(pCairo, -11, -6, 22, 12, 2);
    PAINT_Set(pCairo, PAINT_Hex(0x9FD2F2));
    cairo_fill(pCairo);
    cairo_restore(pCairo);
}

// The level's pause button, small.
void PicturePause(cairo_t* pCairo, double dX, double dY)
{
    cairo_new_path(pCairo);
    cairo_arc(pCairo, dX, dY, 11, 0, 2 * M_PI);
    PAINT_FillOutlinedColour(pCairo, PAINT_Hex(0xF6EBD0), PAINT_INK, 2.0);
    for (int iSide = -1; iSide <= 1; iSide += 2)
    {
        cairo_move_to(pCairo, dX + iSide * 3.5, dY - 5.5);
        cairo_line_to(pCairo, dX + iSide * 3.5, dY + 5.5);
    }
    PAINT_Set(pCairo, PAINT_Hex(0x6B3F1D));
    cairo_set_line_width(pCairo, 3.5);
    cairo_stroke(pCairo);
}

// A small screen with the green counter in its bottom-right corner and a ring just above it,
// where the touch goes.
void PictureGiveUp(cairo_t* pCairo, double dX, double dY)
{
    SCENE_RoundedRect(pCairo, dX - 15, dY - 11, 30, 22, 4);
    PAINT_FillOutlinedColour(pCairo, PAINT_Hex(0x9FD2F2), PAINT_INK, 1.5);
    PAINT_SetFont(pCairo, 11);
    PAINT_Text(pCairo, "3", dX + 5, dY + 8, 0, {0, 1, 0, 1}, PAINT_INK, 2.0);
    cairo_new_path(pCairo);
    cairo_arc(pCairo, dX + 8.5, dY - 5, 3.5, 0, 2 * M_PI);
    PAINT_Set(pCairo, PAINT_Hex(0xE8542E));
    cairo_set_line_width(pCairo, 2.0);
    cairo_stroke(pCairo);
}

void (*const PICTURES[NUM_LINES])(cairo_t*, double, double) = {
    PictureThrow,   PictureBasket, PictureRipe,  PictureMultiplier,
    PictureDropped, PictureTilt,   PicturePause, PictureGiveUp};
}  // namespace

void INSTRUCTIONS_Paint(cairo_t* pCairo)
{
    const sAtlasRect& tRect = FRONT_RECTS[FRONT_INSTRUCTIONS];
    SCENE_BeginScreen(pCairo, tRect, 250);
    // The board fills the screen but for a bite round the back arrow's disc.
    const sNotch tNotch = {double(BACK_DISC_X), double(FRONT_SCREEN_HEIGHT - BACK_DISC_Y),
                           BACK_DISC_RADIUS + 6.0};
    SCENE_Board(pCairo, {8, 6, 464, 308}, PAINT_Hex(0xF3E2B8), 14, &tNotch);
    PAINT_SetFont(pCairo, 28);
    PAINT_Text(pCairo, "How to Play", 240, TITLE_ROW, 1, PAINT_Hex(0xFFD34A), PAINT_INK, 3.5);
    for (int i = 0; i < NUM_LINES; ++i)
    {
        const double dRow = FIRST_ROW + i * ROW_STEP;
        PICTURES[i](pCairo, PICTURE_X, dRow - 5);
        PAINT_SetFont(pCairo, TEXT_SIZE);
        PAINT_Text(pCairo, LINES[i], TEXT_X, dRow, 0, PAINT_Hex(0x4A3520), PAINT_INK, 0.0);
    }
    cairo_restore(pCairo);
}
