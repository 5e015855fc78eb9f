#pragma once

// The "How to Play" page of the front-end atlas: eight lines, each beside a small picture of
// what it says, on a board cut round the back arrow in the lower-left corner.

#include <cairo.h>

void INSTRUCTIONS_Paint(cairo_t* pCairo);
