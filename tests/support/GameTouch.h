#pragma once

#include "INPTTouch.h"
#include "View.h"

// The game's view in miniature: it hands every touch to a touch input object.
struct TouchForwarder : UIView
{
    INPTTouch* pInput = nullptr;
    void touchesBegan(UITouch* const* p, int n, UIEvent* e) override
    {
        pInput->touchesBegan(p, n, e);
    }
    void touchesMoved(UITouch* const* p, int n, UIEvent* e) override
    {
        pInput->touchesMoved(p, n, e);
    }
    void touchesEnded(UITouch* const* p, int n, UIEvent* e) override
    {
        pInput->touchesEnded(p, n, e);
    }
};

// Real touches for the screens' tests: a finger goes down and comes up at a game point, through
// the framework's touch path (ring, window, view) into the game's touch input object
// (g_pInput), as a player's would. The point then waits in the new-points list until
// g_pInput->clear(), the way the frame function clears it after everybody has read it.

// Creates g_pInput (and its touch object) when missing and routes the framework's touches to
// it. Call once per process, before the first touch.
void TEST_InstallGameTouch();

// A tap at a point of the game's 480 x 320 space (y up).
void TEST_TapGame(int iX, int iY);

// Deletes g_pInput.
void TEST_RemoveGameTouch();
