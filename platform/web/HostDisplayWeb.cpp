// The browser's canvas: it fills the page (its CSS size is the page's), and its drawing buffer
// has the CSS size times the device's pixel ratio, so the picture is sharp on dense screens.
// The game's 3:2 picture sits in it with bars, as in a desktop window.

#include <SDL.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>

#include "Host.h"
#include "HostDisplay.h"
#include "HostDisplay_local.h"
#include "HostWeb_local.h"
#include "Host_local.h"

namespace
{

// The canvas's drawing buffer fitted to the page; its size in pixels.
void FitCanvas(int* pWidth, int* pHeight)
{
    HostWebPageFitCanvas();
    emscripten_get_canvas_element_size(HOST_WEB_CANVAS, pWidth, pHeight);
}

}  // namespace

bool HostDisplayOpen()
{
    int iWidth = 0;
    int iHeight = 0;
    FitCanvas(&iWidth, &iHeight);
    SDL_Surface* pSurface =
        SDL_SetVideoMode(std::max(1, iWidth), std::max(1, iHeight), 0, SDL_OPENGL);
    if (pSurface == nullptr)
    {
        return false;
    }
    g_Host.pVideoSurface = pSurface;
    HostWebPageTakeInput();
    HostDisplaySetOpen(true);
    HostDisplayWebFit();
    return true;
}

void HostDisplayWebFit()
{
    int iWidth = 0;
    int iHeight = 0;
    FitCanvas(&iWidth, &iHeight);
    if (iWidth > 0 && iHeight > 0 &&
        (iWidth != HostDisplayWindowWidth() || iHeight != HostDisplayWindowHeight()))
    {
        HostDisplayAdoptSize(iWidth, iHeight);
    }
}

bool HostDisplayWebToWindow(double fCssX, double fCssY, int* pWindowX, int* pWindowY)
{
    double fCssWidth = 0.0;
    double fCssHeight = 0.0;
    emscripten_get_element_css_size(HOST_WEB_CANVAS, &fCssWidth, &fCssHeight);
    if (!(fCssWidth > 0.0) || !(fCssHeight > 0.0))
    {
        return false;
    }
    *pWindowX = static_cast<int>(fCssX * HostDisplayWindowWidth() / fCssWidth);
    *pWindowY = static_cast<int>(fCssY * HostDisplayWindowHeight() / fCssHeight);
    return true;
}

void HostDisplayResize(int, int)
{
    // The page decides the canvas's size (HostDisplayWebFit); nothing is remembered.
}

void HostDisplayToggleFullscreen()
{
    HostWebPageToggleFullscreen();
}

bool HostDisplayIsFullscreen()
{
    return EM_ASM_INT({ return document.fullscreenElement ? 1 : 0; }) != 0;
}
