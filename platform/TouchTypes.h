#pragma once

// The plain touch records every layer shares: the per-frame point lists the game polls and the
// per-slot touch record of the touch input object.

// A point of the per-frame touch lists, in the game's 480 x 320 space; -1 in both fields marks
// an empty entry.
struct sPoint2D
{
    int x;
    int y;
};

// One touch slot. state: 0 free or ended, 1 began, 2 moved. iAge: 0 on touch-down, +1 for each
// move, -1 after touch-up.
struct sTouch
{
    int x;
    int y;
    int iAge;
    void* pTouchObject;  // never written; stays null
    int state;
};

constexpr int MAX_TOUCHES = 8;  // touch slots and entries of each point list
