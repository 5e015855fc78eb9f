#pragma once

// The 2D screen space and the full-screen fade. SCREEN_ functions set up a frame, FADE_
// functions step and draw the black fade between the front end and the game.
//
// The game draws in a landscape space 480 units wide and 320 high, origin at the bottom left,
// y up. The display underneath is a portrait surface 320 x 480, turned a quarter: a game point
// (x, y) lands on the portrait surface at (y - 160, 240 - x) counted from its centre, so the
// portrait top edge is the game's left edge.

constexpr float FADE_STEP = 0.03f;  // per frame; a full fade takes 34 frames

// Establishes the 2D space: projection turned and translated, model-view identity; lighting,
// depth test and face culling off.
void SCREEN_Set2D();

// Clears colour (to black) and depth.
void SCREEN_Clear();

// Towards black by one step; true once black (the level is then exactly 1).
bool FADE_StepOut();
// Towards clear by one step; true once clear (exactly 0).
bool FADE_StepIn();
// Sets the fade level to 1 - x: FADE_Set(1) removes the fade at once, FADE_Set(0) is black.
void FADE_Set(float x);
// The current level: 0 = picture fully visible, 1 = fully black.
float FADE_Level();
// Draws the fade over the frame (nothing at level 0). Leaves blending on, texturing off.
void FADE_Draw();
// The alpha byte the fade quad carries at the current level.
unsigned char FADE_Alpha();
