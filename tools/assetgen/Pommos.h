#pragma once

// The pommo characters: four types, each told apart by colour and by shape (a round red
// apple-like pommo, a yellow pear, a tall purple drop, a wide blue lobed one), in eight
// frames: 0 growing (unripe, asleep), 1 yawning, 2 ripe with open eyes, 3 and 4 the blink,
// 5 overripe (duller, spotted), 6 fallen (squashed, dizzy), 7 stretched. Every frame hangs
// from the top centre of its box, where the stalk is.

#include <cairo.h>

#include "Paint.h"

constexpr int POMMO_TYPES = 4;
constexpr int POMMO_FRAMES = 8;

// The ripe body colour of a type; the basket of that type has the same colour.
sColour POMMO_Colour(int iType);

// Paints one frame into the box whose top-left corner is (x, y), w x h pixels.
void POMMO_Paint(cairo_t* pCairo, int iType, int iFrame, double dX, double dY, double dW,
                 double dH);

// A leaf as the pommos' stalks carry it: shaded green with a dark outline and a midrib, from
// its base (x, y) pointing at the angle (radians, 0 = +x).
void POMMO_PaintLeaf(cairo_t* pCairo, double dX, double dY, double dAngle, double dLength,
                     double dWidth);

// A leaf shape from its base (x, y) pointing at the angle (radians, 0 = +x), as a path.
void POMMO_LeafPath(cairo_t* pCairo, double dX, double dY, double dAngle, double dLength,
                    double dWidth);
