#pragma once

// Where the game's sprites lie in its two 1024 x 1024 atlases, and the one level record. The
// tables are plain data, filled by static initialisation before the game starts.
//
// Atlas rectangles are in atlas pixels, vertical pair first (top, bottom, left, right), with y
// growing downwards in the atlas.

#include <cstdint>

#include "AtlasLayout.h"
#include "QuadRenderBuffer.h"

constexpr int LEVEL_NUM_RECTS = 9;       // atlas rectangles of a level record
constexpr int FRONTEND_NUM_RECTS = 10;   // rectangles of the front-end atlas
constexpr int NUM_POMMO_TYPES = 4;       // types, and baskets
constexpr int NUM_POMMO_FRAMES = 8;      // faces of each type, POMMO_FRAME_STEP pixels apart
constexpr int BASKET_COLOUR_UNUSED = 4;  // the last of the BASKET_CELLS: the grey
constexpr int BASKET_WIDTH = 120;        // screen units each basket covers along the bottom edge

// Level rectangles by use.
enum eLevelRect
{
    LEVEL_RECT_BRANCH = 0,       // 40 x 208, every limb and twig
    LEVEL_RECT_LEAF = 1,         // 32 x 112
    LEVEL_RECT_BASKET_WIDE = 2,  // 320 x 16: five 64-pixel colour cells
    LEVEL_RECT_BASKET_THIN = 3,  // 320 x 8: the same cells
    LEVEL_RECT_PAUSE = 4,        // 48 x 48
    LEVEL_RECT_POMMO = 5,        // frame 0 of type 0; types 1..3 follow
};

// One level: 184 bytes as the game lays it out.
struct sLevelRecord
{
    char strName[8];  // NUL-terminated; also the texture's name
    std::int32_t iUnused[6];
    std::int32_t iAtlasSize;    // pixels; the basket sprites' atlas size
    std::int32_t iTextureName;  // -1 until the texture is loaded, then its GL name
    AtlasRect tRects[LEVEL_NUM_RECTS];
};
static_assert(sizeof(sLevelRecord) == 184);

constexpr int NUM_LEVELS = 1;
extern sLevelRecord g_tLevels[NUM_LEVELS];

// The level background: the top-left 480 x 320 of the level atlas, not part of the record.
extern const AtlasRect LEVEL_BACKGROUND_RECT;

// The front-end atlas ("frontend", 1024 x 1024): rectangles 0..3 hold small decorations the
// screens do not use; these are the ones they draw.
extern const AtlasRect g_tFrontEndRects[FRONTEND_NUM_RECTS];
enum eFrontEndRect
{
    FRONTEND_RECT_TITLE_LEFT = FRONT_TITLE_LEFT,      // 142 x 144
    FRONTEND_RECT_TITLE_RIGHT = FRONT_TITLE_RIGHT,    // 280 x 144
    FRONTEND_RECT_LOGO = FRONT_LOGO,                  // 157 x 106
    FRONTEND_RECT_BACK_BUTTON = FRONT_BACK_BUTTON,    // 96 x 80
    FRONTEND_RECT_INSTRUCTIONS = FRONT_INSTRUCTIONS,  // 480 x 320
    FRONTEND_RECT_CREDITS = FRONT_CREDITS,            // 480 x 320
};
// The title background: the top-left 480 x 320 of the front-end atlas.
extern const AtlasRect FRONTEND_TITLE_BACKGROUND_RECT;

// The basket a pommo type belongs in: type 0 -> 1, 1 -> 2, 2 -> 0, 3 -> 3.
extern const int g_iPommoBasket[NUM_POMMO_TYPES];
