// Where the game's picture lies in the window or canvas, shared by both hosts: the 3:2 fit
// with bars, the quarter turn folded into the projection and the viewport, and the way back
// from a window position to the portrait device surface.

#include <algorithm>

#include "GLES.h"
#include "Host.h"
#include "HostDisplay.h"
#include "HostDisplay_local.h"

namespace
{

struct DisplayState
{
    bool bOpen;
    int iWindowWidth;
    int iWindowHeight;
    HostDisplayRect tGame;
};

DisplayState s_Display;

}  // namespace

void HostDisplayAdoptSize(int iWindowWidth, int iWindowHeight)
{
    s_Display.iWindowWidth = iWindowWidth;
    s_Display.iWindowHeight = iWindowHeight;
    s_Display.tGame = HostDisplayFitGame(iWindowWidth, iWindowHeight);
    // The portrait device surface is the game rectangle turned a quarter.
    g_Host.iScreenWidth = std::max(1, s_Display.tGame.iHeight);
    g_Host.iScreenHeight = std::max(1, s_Display.tGame.iWidth);
}

void HostDisplaySetOpen(bool bOpen)
{
    s_Display.bOpen = bOpen;
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
