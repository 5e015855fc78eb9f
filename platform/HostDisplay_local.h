#pragma once

// Inside the display: what a host's own window or canvas code tells the shared geometry
// (HostDisplayGeometry.cpp).

#include "HostDisplay.h"

// The window (or the canvas's drawing buffer) now has this size in pixels: the game rectangle
// and the device surface's size in g_Host follow.
void HostDisplayAdoptSize(int iWindowWidth, int iWindowHeight);

// Whether a window is open, so that the quarter turn and the mapping apply.
void HostDisplaySetOpen(bool bOpen);
