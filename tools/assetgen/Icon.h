#pragma once

// The game's icon: a ripe red pommo hanging from a leafy bough, on a clear background. Painted
// from vectors at each size the desktop asks for, so small icons stay sharp.

#include "ImageFile.h"

// The sizes installed as desktop icons; the window carries the 128-pixel one.
constexpr int ICON_SIZES[] = {48, 128, 256};
constexpr int ICON_WINDOW_SIZE = 128;
// The sizes a web app's manifest names (a home-screen icon and a splash), written beside them.
constexpr int ICON_WEB_SIZES[] = {192, 512};

// The icon at iSize x iSize pixels, straight-alpha RGBA, rows top first.
CImageRGBA ICON_Paint(int iSize);
