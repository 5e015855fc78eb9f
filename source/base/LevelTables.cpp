#include "LevelTables.h"

namespace
{

constexpr AtlasRect Rect(const sAtlasRect& tRect)
{
    return {tRect.iTop, tRect.iBottom, tRect.iLeft, tRect.iRight};
}

}  // namespace

sLevelRecord g_tLevels[NUM_LEVELS] = {
    {"level_1",
     {0, 0, 0, 0, 0, 0},
     ATLAS_SIZE,
     -1,
     {
         Rect(LEVEL_BRANCH),
         Rect(LEVEL_LEAF),
         Rect(LEVEL_BASKET_WIDE),
         Rect(LEVEL_BASKET_THIN),
         Rect(LEVEL_PAUSE),
         Rect(LEVEL_POMMO[0]),  // frame 0 of each type
         Rect(LEVEL_POMMO[1]),
         Rect(LEVEL_POMMO[2]),
         Rect(LEVEL_POMMO[3]),
     }},
};

const AtlasRect LEVEL_BACKGROUND_RECT = Rect(LEVEL_BACKGROUND);

const AtlasRect g_tFrontEndRects[FRONTEND_NUM_RECTS] = {
    Rect(FRONT_RECTS[0]), Rect(FRONT_RECTS[1]), Rect(FRONT_RECTS[2]), Rect(FRONT_RECTS[3]),
    Rect(FRONT_RECTS[4]), Rect(FRONT_RECTS[5]), Rect(FRONT_RECTS[6]), Rect(FRONT_RECTS[7]),
    Rect(FRONT_RECTS[8]), Rect(FRONT_RECTS[9]),
};

const AtlasRect FRONTEND_TITLE_BACKGROUND_RECT = Rect(FRONT_TITLE_BACKGROUND);

const int g_iPommoBasket[NUM_POMMO_TYPES] = {1, 2, 0, 3};
