#pragma once

// The pieces the front end's pictures share: the meadow landscape, wooden boards (one may be
// cut around a corner button), leaves, small pommos and the colour of the wood.
// SCENE_ functions paint with cairo in atlas pixels, y down.

#include <cairo.h>

#include "AtlasLayout.h"
#include "FrontEndLayout.h"
#include "Paint.h"

extern const sColour SCENE_WOOD;  // the menu board

// A box of the screen (y up) as a rectangle of a full-screen picture, whose rows run down from
// the screen's top edge.
struct sPictureBox
{
    double dX, dY, dW, dH;
};
sPictureBox SCENE_PictureBox(const sScreenBox& tBox);

// A round bite out of a board: its centre and radius, in the board's picture.
struct sNotch
{
    double dCX, dCY, dRadius;
};

void SCENE_RoundedRect(cairo_t* pCairo, double dX, double dY, double dW, double dH, double dR);
// Clips to an atlas rectangle.
void SCENE_ClipTo(cairo_t* pCairo, const sAtlasRect& tRect);
// A pommo frame (its box as large as in the level atlas) at a scale, turned by an angle, its
// box's top centre at (x, y).
void SCENE_Pommo(cairo_t* pCairo, int iType, int iFrame, double dX, double dY, double dScale,
                 double dAngle = 0.0);
// A green leaf from its base (x, y) pointing at the angle (radians, 0 = +x).
void SCENE_Leaf(cairo_t* pCairo, double dX, double dY, double dAngle, double dLength);
// Sky, sun rays, clouds, hills and meadow over the region (x, y, w, h), the grass from dGround
// pixels below its top.
void SCENE_Landscape(cairo_t* pCairo, double dX, double dY, double dW, double dH, double dGround);
// Begins a full-screen picture of the atlas: saves the context, clips to the rectangle, moves
// the origin to its top-left corner and paints the landscape there. The caller restores.
void SCENE_BeginScreen(cairo_t* pCairo, const sAtlasRect& tRect, double dGround);
// Light wooden planks with a dark edge and a light frame line BOARD_FRAME pixels inside it,
// where the words go. With a notch, the board is cut round it and both lines follow the cut.
void SCENE_Board(cairo_t* pCairo, const sPictureBox& tBox, const sColour& tWood, double dRadius,
                 const sNotch* pNotch = nullptr);
