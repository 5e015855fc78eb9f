#pragma once

// Inside the host: what the shared part (Host.cpp: the finger, the event handling, the
// framework's calls) offers each host's own files, which start the host, pump its events and
// drive its frames (HostDesktop.cpp; web/HostWeb.cpp in the browser).

#include <SDL.h>

#include "Host.h"

// The framework's entry points as installed (entries may be null).
const HostFrameworkCalls& HostFramework();

// The finger at a logical point (HostFingerPhase): a move or an up without a down before it
// reaches nothing. uiTicks are SDL milliseconds, or 0 for a finger that is not a hand's.
void HostFingerAt(int iPhase, int iX, int iY, unsigned int uiTicks);
// The player's pointer (a mouse button, a touch) at a window position: a press on the bars
// reaches nothing; a finger that went down moves and ends at the picture's nearest edge when it
// leaves the picture.
void HostPointerAt(int iPhase, int iWindowX, int iWindowY, unsigned int uiTicks);

// A window position (origin top left) on the logical screen; false when it falls on the bars,
// unless bClamp moves it to the picture's nearest edge.
bool HostWindowToLogical(int iWindowX, int iWindowY, bool bClamp, int* pX, int* pY);

// An event a host's pump took: a script's run takes no focus change from the window system, a
// replay none of the player's input.
void HostHandlePumpedEvent(const SDL_Event& tEvent);

// Focus lost or regained: only a change counts. A loss releases held arrow keys and tells the
// framework the application resigns active; a gain that it became active again.
void HostSetFocus(bool bGained);

// Start-up's window: opened, or the game ends with one line and status 1.
void HostOpenWindowOrExit();

// Shut-down's first steps: the accelerometer poll stops, the music halts, the mixer closes.
void HostStopPollAndSound();
