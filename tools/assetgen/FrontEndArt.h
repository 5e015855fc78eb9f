#pragma once

// Paints the front end: the "frontend" atlas (title background, the two title pieces, the
// maker's logo, the back button, the instructions and credits screens), the "Kettle" splash
// picture and the default "missing texture" pattern.

#include "ImageFile.h"

CImageRGBA FRONT_PaintAtlas();
// The splash as a 512 x 512 picture, rows top first; the logo screen is its top-left 480 x 320.
CImageRGBA FRONT_PaintSplash();
// A small magenta and black checkerboard with a question mark: a texture that failed to load.
CImageRGBA FRONT_PaintMissingTexture();
