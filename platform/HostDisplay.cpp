#include "HostDisplay.h"

#include <SDL.h>

#include <algorithm>

#include "GLES.h"
#include "Host.h"
#include "Settings.h"

namespace
{

struct DisplayState
{
    bool bOpen;
    bool bFullscreen;
    int iWindowWidth;
    int iWindowHeight;
    int iWindowedWidth;  // the size to return to from fullscreen
    int iWindowedHeight;
    HostDisplayRect tGame;
};

DisplayState s_Display;

constexpr Uint32 WINDOWED_FLAGS = SDL_OPENGL | SDL_RESIZABLE;
constexpr Uint32 FULLSCREEN_FLAGS = SDL_OPENGL | SDL_FULLSCREEN;

void AdoptSize(int iWindowWidth, int iWindowHeight)
{
    s_Display.iWindowWidth = iWindowWidth;
    s_Display.iWindowHeight = iWindowHeight;
    s_Display.tGame = HostDisplayFitGame(iWindowWidth, iWindowHeight);
    // The portrait device surface is the game rectangle turned a quarter.
    g_Host.iScreenWidth = std::max(1, s_Display.tGame.iHeight);
    g_Host.iScreenHeight = std::max(1, s_Display.tGame.iWidth);
}

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
    AdoptSize(pCurrent->w, pCurrent->h);
    return true;
}

}  // namespace

int HostDisplayInitialScale(int iDesktopWidth, int iDesktopHeight)
{
    const int iScaleX = (iDesktopWidth * 9 / 10) / DISPLAY_GAME_WIDTH;
    const int iScaleY = (iDesktopHeight * 9 / 10) / DISPLAY_GAME_HEIGHT;
    return std::max(1, std::min(iScaleX, iScaleY));
}

HostDisplayRect HostDisplayFitGame(int iWindowWidth, int iWindowHeight)
{
    HostDisplayRect tRect{0, 0, std::max(1, iWindowWidth), std::max(1, iWindowHeight)};
    // Compare 480 * h with 320 * w in integers: the wider side gets the bars.
    if (static_cast<long>(tRect.iWidth) * DISPLAY_GAME_HEIGHT >
        static_cast<long>(tRect.iHeight) * DISPLAY_GAME_WIDTH)
    {
        const int iWidth = tRect.iHeight * DISPLAY_GAME_WIDTH / DISPLAY_GAME_HEIGHT;
        tRect.iX = (tRect.iWidth - iWidth) / 2;
        tRect.iWidth = iWidth;
    }
    else
    {
        const int iHeight = tRect.iWidth * DISPLAY_GAME_HEIGHT / DISPLAY_GAME_WIDTH;
        tRect.iY = (tRect.iHeight - iHeight) / 2;
        tRect.iHeight = iHeight;
    }
    tRect.iWidth = std::max(1, tRect.iWidth);
    tRect.iHeight = std::max(1, tRect.iHeight);
    return tRect;
}

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
        const int iScale = HostDisplayInitialScale(iDesktopWidth, iDesktopHeight);
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
    s_Display.bOpen = true;
    return true;
}

void HostDisplayResize(int iWindowWidth, int iWindowHeight)
{
    if (!s_Display.bOpen || s_Display.bFullscreen || iWindowWidth <= 0 || iWindowHeight <= 0 ||
        (iWindowWidth == s_Display.iWindowWidth && iWindowHeight == s_Display.iWindowHeight))
    {
        return;
    }
    // SDL 1.2 wants the mode set again at the new size; the GL context and its textures stay.
    // The player's new size is remembered for the next start.
    if (SetMode(iWindowWidth, iWindowHeight, WINDOWED_FLAGS))
    {
        s_Display.iWindowedWidth = s_Display.iWindowWidth;
        s_Display.iWindowedHeight = s_Display.iWindowHeight;
        SETTINGS_SetWindowSize(s_Display.iWindowWidth, s_Display.iWindowHeight);
    }
}

void HostDisplayToggleFullscreen()
{
    if (!s_Display.bOpen)
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

bool HostDisplayIsOpen()
{
    return s_Display.bOpen;
}

int HostDisplayWindowWidth()
{
    return s_Display.iWindowWidth;
}

int HostDisplayWindowHeight()
{
    return s_Display.iWindowHeight;
}

HostDisplayRect HostDisplayGameRect()
{
    return s_Display.tGame;
}

void HostDisplayApplyTurn()
{
    if (s_Display.bOpen)
    {
        // Portrait up becomes landscape left: the device's top edge is on the player's left.
        glRotatef(90.0f, 0.0f, 0.0f, 1.0f);
    }
}

void HostDisplayViewport(int iX, int iY, int iWidth, int iHeight)
{
    if (!s_Display.bOpen)
    {
        glViewport(iX, iY, iWidth, iHeight);
        return;
    }
    // Portrait point (x, y) lands at landscape (portrait height - y, x).
    const int iPortraitHeight = g_Host.iScreenHeight;
    glViewport(s_Display.tGame.iX + iPortraitHeight - iY - iHeight, s_Display.tGame.iY + iX,
               iHeight, iWidth);
}

bool HostDisplayWindowToDevice(int iWindowX, int iWindowY, bool bClamp, int* pDeviceX,
                               int* pDeviceY)
{
    const HostDisplayRect& tGame = s_Display.tGame;
    // Column and row inside the game picture, rows counted from its top.
    int iColumn = iWindowX - tGame.iX;
    int iRow = iWindowY - (s_Display.iWindowHeight - tGame.iY - tGame.iHeight);
    const bool bInside =
        iColumn >= 0 && iColumn < tGame.iWidth && iRow >= 0 && iRow < tGame.iHeight;
    if (!bInside)
    {
        if (!bClamp)
        {
            return false;
        }
        iColumn = std::clamp(iColumn, 0, tGame.iWidth - 1);
        iRow = std::clamp(iRow, 0, tGame.iHeight - 1);
    }
    // The portrait surface's x runs up the landscape picture, its y from left to right.
    *pDeviceX = tGame.iHeight - iRow;
    *pDeviceY = iColumn;
    return true;
}

void HostDisplaySetForTest(bool bOpen, int iWindowWidth, int iWindowHeight)
{
    s_Display.bOpen = bOpen;
    s_Display.bFullscreen = false;
    AdoptSize(iWindowWidth, iWindowHeight);
}

void HostDisplayGameToWindow(float fGameX, float fGameY, int* pWindowX, int* pWindowY)
{
    const HostDisplayRect& tGame = s_Display.tGame;
    const int iTop = s_Display.iWindowHeight - tGame.iY - tGame.iHeight;
    const int iColumn = static_cast<int>(
        fGameX * static_cast<float>(tGame.iWidth) / static_cast<float>(DISPLAY_GAME_WIDTH) + 0.5f);
    const int iRow = static_cast<int>((static_cast<float>(DISPLAY_GAME_HEIGHT) - fGameY) *
                                          static_cast<float>(tGame.iHeight) /
                                          static_cast<float>(DISPLAY_GAME_HEIGHT) +
                                      0.5f);
    *pWindowX = tGame.iX + std::clamp(iColumn, 0, tGame.iWidth - 1);
    *pWindowY = iTop + std::clamp(iRow, 0, tGame.iHeight - 1);
}
