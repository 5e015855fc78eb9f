#pragma once

// Where every sprite lies in the two 1024 x 1024 atlases, in atlas pixels counted from the
// top-left corner (top, bottom, left, right). The generator paints each sprite here and the
// game's tables (LevelTables.cpp) are built from the same constants, so the two cannot part.

struct sAtlasRect
{
    int iTop, iBottom, iLeft, iRight;
    constexpr int Width() const { return iRight - iLeft; }
    constexpr int Height() const { return iBottom - iTop; }
};

constexpr int ATLAS_SIZE = 1024;

// Level atlas "level_1".
constexpr sAtlasRect LEVEL_BACKGROUND = {0, 320, 0, 480};
constexpr sAtlasRect LEVEL_BRANCH = {176, 384, 812, 852};
constexpr sAtlasRect LEVEL_LEAF = {256, 368, 560, 592};
constexpr sAtlasRect LEVEL_BASKET_WIDE = {112, 128, 640, 960};
constexpr sAtlasRect LEVEL_BASKET_THIN = {56, 64, 640, 960};
constexpr sAtlasRect LEVEL_PAUSE = {272, 320, 608, 656};
// Frame 0 of each pommo type; frame f lies POMMO_FRAME_STEP * f pixels further right.
constexpr sAtlasRect LEVEL_POMMO[4] = {
    {386, 484, 22, 107}, {514, 618, 30, 110}, {642, 754, 39, 114}, {772, 873, 20, 123}};
constexpr int POMMO_FRAME_STEP = 128;
constexpr int BASKET_CELLS = 5;  // four types and the grey of a basket not yet in play
constexpr int BASKET_CELL_WIDTH = LEVEL_BASKET_WIDE.Width() / BASKET_CELLS;
static_assert(BASKET_CELL_WIDTH == 64, "five 64-pixel basket cells");
static_assert(LEVEL_POMMO[3].iRight + 7 * POMMO_FRAME_STEP <= ATLAS_SIZE,
              "the eighth frame of every type fits the atlas");

// Front-end atlas "frontend".
constexpr sAtlasRect FRONT_TITLE_BACKGROUND = {0, 320, 0, 480};
constexpr sAtlasRect FRONT_RECTS[10] = {
    {320, 368, 0, 80},   {320, 368, 80, 192},  {320, 352, 192, 240}, {320, 352, 240, 288},
    {384, 528, 0, 142},  {384, 528, 142, 422}, {540, 646, 1, 158},   {432, 512, 424, 520},
    {0, 320, 544, 1024}, {352, 672, 544, 1024}};
enum eFrontRect
{
    FRONT_TITLE_LEFT = 4,
    FRONT_TITLE_RIGHT = 5,
    FRONT_LOGO = 6,
    FRONT_BACK_BUTTON = 7,
    FRONT_INSTRUCTIONS = 8,
    FRONT_CREDITS = 9
};

// The splash: a 512 x 512 texture whose picture is the top-left 480 x 320.
constexpr int SPLASH_SIZE = 512;
constexpr sAtlasRect SPLASH_PICTURE = {0, 320, 0, 480};
