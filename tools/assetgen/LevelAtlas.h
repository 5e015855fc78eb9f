#pragma once

// Paints the level atlas: the play-field background with the tree's trunk, the branch and
// leaf sprites, the two basket strips, the pause button and the 4 x 8 pommo frames.

#include "ImageFile.h"

CImageRGBA LEVEL_PaintAtlas();
