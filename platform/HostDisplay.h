#pragma once

// The desktop window. The game draws for a portrait device surface (320 x 480 logical units);
// the desktop shows that surface upright in a landscape window, at the largest size that keeps
// the aspect ratio, with black bars around it. The quarter turn is folded into the projection
// (glOrthof) and the viewport, so the game draws straight into the window's framebuffer with no
// extra pass. The device surface's size in pixels is the game rectangle's, turned:
// g_Host.iScreenWidth = game rectangle height, g_Host.iScreenHeight = its width.

struct HostDisplayRect
{
    int iX;  // window pixels, origin at the bottom left as GL counts them
    int iY;
    int iWidth;
    int iHeight;
};

constexpr int DISPLAY_GAME_WIDTH = 480;  // the landscape game picture, in game units
constexpr int DISPLAY_GAME_HEIGHT = 320;

// The largest 3:2 rectangle centred in a window (bars left/right or top/bottom).
HostDisplayRect HostDisplayFitGame(int iWindowWidth, int iWindowHeight);

// Opens the GL window: fullscreen when the settings say so, else a resizable window of the
// settings' size (at most the desktop's) or of the first window's size. Returns false when SDL
// gives no video surface.
bool HostDisplayOpen();

// Adopts a new window size (SDL_VIDEORESIZE in a window) and remembers it in the settings.
void HostDisplayResize(int iWindowWidth, int iWindowHeight);

// F11 / Alt+Enter: fullscreen at the desktop's own size (the monitor's mode is not changed), and
// back to the window size the player had; the choice is remembered in the settings.
void HostDisplayToggleFullscreen();
bool HostDisplayIsFullscreen();

// Whether a window is open and the quarter turn applies. Without one (tools, engine tests) the
// projection and the viewport are used as given.
bool HostDisplayIsOpen();

// Window size and the game rectangle inside it.
int HostDisplayWindowWidth();
int HostDisplayWindowHeight();
HostDisplayRect HostDisplayGameRect();

// Multiplies the current matrix by the quarter turn when the window is open.
void HostDisplayApplyTurn();

// glViewport for a rectangle of the portrait device surface (pixels, GL origin bottom left).
void HostDisplayViewport(int iX, int iY, int iWidth, int iHeight);

// Maps a window position (SDL: origin top left) to the portrait device surface (origin top
// left, as a touch screen reports it). Outside the game rectangle: false, unless bClamp, which
// moves the point to the nearest edge (a drag that leaves the picture).
bool HostDisplayWindowToDevice(int iWindowX, int iWindowY, bool bClamp, int* pDeviceX,
                               int* pDeviceY);

// For tests: sets up the display state for a window of the given size without opening one.
void HostDisplaySetForTest(bool bOpen, int iWindowWidth, int iWindowHeight);

// The window pixel (SDL: origin top left) that shows a point of the 480 x 320 game picture.
void HostDisplayGameToWindow(float fGameX, float fGameY, int* pWindowX, int* pWindowY);
