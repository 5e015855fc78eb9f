#include "HostDisplay.h"

#include <SDL.h>

#include <algorithm>

#include "Host.h"
#include "HostDisplay_local.h"
#include "Settings.h"

namespace
{

// The desktop window's own state; the picture's place in it is shared (HostDisplay_local.h).
struct DesktopWindow
{
    bool bFullscreen;
    int iWindowedWidth;  // the size to return to from fullscreen
    int iWindowedHeight;
};

DesktopWindow s_Display;

constexpr Uint32 WINDOWED_FLAGS = SDL_OPENGL | SDL_RESIZABLE;
constexpr Uint32 FULLSCREEN_FLAGS = SDL_OPENGL | SDL_FULLSCREEN;

bool SetMode(int iWidth, int iHeight, Uint32 uiFlags)
{
    SDL_Surface* pSurface = SDL_SetVideoMode(iWidth, iHeight, 0, uiFlags);
    if (pSurface == nullptr)
    {
        return false;
    }
    g_Host.pVideoSurface = pSurface;
    // The surface, not SDL_GetVideoInfo, knows the window's real size.
    SDL_Surface* pCurrent = SDL_GetVideoSurface();
    HostDisplayAdoptSize(pCurrent->w, pCurrent->h);
    return true;
}

// The first window's size: the largest integer multiple of 480 x 320 that fits in 90 % of the
// desktop, at least 1.
int InitialScale(int iDesktopWidth, int iDesktopHeight)
{
    const int iScaleX = (iDesktopWidth * 9 / 10) / DISPLAY_GAME_WIDTH;
    const int iScaleY = (iDesktopHeight * 9 / 10) / DISPLAY_GAME_HEIGHT;
    return std::max(1, std::min(iScaleX, iScaleY));
}

}  // namespace

bool HostDisplayOpen()
{
    const SDL_VideoInfo* pInfo = SDL_GetVideoInfo();
    int iDesktopWidth = pInfo != nullptr ? pInfo->current_w : 0;
    int iDesktopHeight = pInfo != nullptr ? pInfo->current_h : 0;
    if (iDesktopWidth <= 0 || iDesktopHeight <= 0)
    {
        iDesktopWidth = 1280;
        iDesktopHeight = 800;
    }
    // The size the player chose (this run's option or the remembered one), never larger than
    // the desktop; else the largest whole multiple of the picture.
    int iWidth = 0;
    int iHeight = 0;
    SETTINGS_WindowSize(&iWidth, &iHeight);
    if (iWidth <= 0 || iHeight <= 0)
    {
        const int iScale = InitialScale(iDesktopWidth, iDesktopHeight);
        iWidth = DISPLAY_GAME_WIDTH * iScale;
        iHeight = DISPLAY_GAME_HEIGHT * iScale;
    }
    s_Display.iWindowedWidth = std::min(iWidth, iDesktopWidth);
    s_Display.iWindowedHeight = std::min(iHeight, iDesktopHeight);
    SDL_WM_SetCaption("Boughfall", "Boughfall");
    s_Display.bFullscreen = SETTINGS_Fullscreen() && SetMode(0, 0, FULLSCREEN_FLAGS);
    if (!s_Display.bFullscreen &&
        !SetMode(s_Display.iWindowedWidth, s_Display.iWindowedHeight, WINDOWED_FLAGS))
    {
        return false;
    }
    HostDisplaySetOpen(true);
    return true;
}

void HostDisplayResize(int iWindowWidth, int iWindowHeight)
{
    if (!HostDisplayIsOpen() || s_Display.bFullscreen || iWindowWidth <= 0 || iWindowHeight <= 0 ||
        (iWindowWidth == HostDisplayWindowWidth() && iWindowHeight == HostDisplayWindowHeight()))
    {
        return;
    }
    // SDL 1.2 wants the mode set again at the new size; the GL context and its textures stay.
    // The player's new size is remembered for the next start.
    if (SetMode(iWindowWidth, iWindowHeight, WINDOWED_FLAGS))
    {
        s_Display.iWindowedWidth = HostDisplayWindowWidth();
        s_Display.iWindowedHeight = HostDisplayWindowHeight();
        SETTINGS_SetWindowSize(s_Display.iWindowedWidth, s_Display.iWindowedHeight);
    }
}

void HostDisplayToggleFullscreen()
{
    if (!HostDisplayIsOpen())
    {
        return;
    }
    if (s_Display.bFullscreen)
    {
        if (SetMode(s_Display.iWindowedWidth, s_Display.iWindowedHeight, WINDOWED_FLAGS))
        {
            s_Display.bFullscreen = false;
            SETTINGS_SetFullscreen(false);
        }
        return;
    }
    // Width and height 0 ask for the desktop's own size, so no mode change happens.
    if (SetMode(0, 0, FULLSCREEN_FLAGS))
    {
        s_Display.bFullscreen = true;
        SETTINGS_SetFullscreen(true);
    }
    else
    {
        SetMode(s_Display.iWindowedWidth, s_Display.iWindowedHeight, WINDOWED_FLAGS);
    }
}

bool HostDisplayIsFullscreen()
{
    return s_Display.bFullscreen;
}

void HostDisplaySetForTest(bool bOpen, int iWindowWidth, int iWindowHeight)
{
    HostDisplaySetOpen(bOpen);
    s_Display.bFullscreen = false;
    HostDisplayAdoptSize(iWindowWidth, iWindowHeight);
}
