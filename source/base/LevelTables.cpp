#include "LevelTables.h"

sLevelRecord g_tLevels[NUM_LEVELS] = {
    {"level_1",
     {0, 0, 0, 0, 0, 0},
     1024,
     -1,
     {
         {176, 384, 812, 852},  // branch
         {256, 368, 560, 592},  // leaf
         {112, 128, 640, 960},  // basket strip, wide
         {56, 64, 640, 960},    // basket strip, thin
         {272, 320, 608, 656},  // pause button
         {386, 484, 22, 107},   // pommo type 0, frame 0
         {514, 618, 30, 110},   // pommo type 1, frame 0
         {642, 754, 39, 114},   // pommo type 2, frame 0
         {772, 873, 20, 123},   // pommo type 3, frame 0
     }},
};

const AtlasRect LEVEL_BACKGROUND_RECT = {0, 320, 0, 480};

const AtlasRect g_tFrontEndRects[FRONTEND_NUM_RECTS] = {
    {320, 368, 0, 80},   {320, 368, 80, 192},   {320, 352, 192, 240}, {320, 352, 240, 288},
    {384, 528, 0, 142},  {384, 528, 142, 422},  {540, 646, 1, 158},   {432, 512, 424, 520},
    {0, 320, 544, 1024}, {352, 672, 544, 1024},
};

const AtlasRect FRONTEND_TITLE_BACKGROUND_RECT = {0, 320, 0, 480};

const int g_iPommoBasket[NUM_POMMO_TYPES] = {1, 2, 0, 3};
