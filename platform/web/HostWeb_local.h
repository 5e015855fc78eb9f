#pragma once

// Inside the browser host: what its files tell each other, and the page's side of it, the
// functions of host_web.js (HostWebPage*) and host_web_store.js (HostWebStore*): they are
// JavaScript, called from here.

#include <cstddef>

// The page's canvas, the game's picture.
constexpr const char* HOST_WEB_CANVAS = "#canvas";

// The accelerometer's poll, driven by the animation frames (HostAccelWeb.cpp).
void HostAccelWebFrame();
// The latest devicemotion reading.
void HostAccelWebMotion(double fX, double fY, double fZ);

// The canvas: its drawing buffer follows the page's size and pixel density (HostDisplayWeb.cpp).
void HostDisplayWebFit();
// A point of the canvas in CSS pixels (origin top left) to a window position (drawing-buffer
// pixels); false while the canvas has no size.
bool HostDisplayWebToWindow(double fCssX, double fCssY, int* pWindowX, int* pWindowY);

// Input: touches, the mouse, keys, and the page's visibility and focus (HostWebInput.cpp).
void HostWebInputInstall();

extern "C"
{
    // host_web.js: the page.
    int HostWebPageScreenAngle();                // screen.orientation.angle (0 without it)
    int HostWebPageMotionInverted();             // the browser reports readings upside down
    void HostWebPageAskMotionPermission();       // iOS: from a touch, once
    void HostWebPageToggleFullscreen();          // from a key or a touch of the player's
    int HostWebPageOpen(const char* pUrl);       // a new tab; 1 when the browser opened one
    void HostWebPageFitCanvas();                 // the canvas's drawing buffer to its CSS size
    void HostWebPageTakeInput();                 // SDL's own input listeners go
    double HostWebPageCanvasX(double fClientX);  // a window point in the canvas's CSS pixels
    double HostWebPageCanvasY(double fClientY);
    void HostWebPageUnlockAudio(int bFirst);     // resumes the page's audio contexts
    void HostWebPageSuspendAudio(int bSuspend);  // hidden: silent; shown: as before
    void HostWebPageEnded(int iStatus);          // a scripted run has quit
    // host_web_store.js: the lasting copies of the save and settings files in IndexedDB, which
    // all the game's tabs share.
    void HostWebStoreFile(const char* pPath);   // a file replaced whole here
    int HostWebStoreForget(const char* pPath);  // removes it here (and stored, if still ours)
    void HostWebStoreParking(int bParking);     // around the save made as the page is hidden
    // Takes in what other tabs wrote or removed; 1: HostWebStoreRefreshed(iTicket) follows once
    // it is done, 0: there is nothing to wait for (no store).
    int HostWebStoreRefresh(int iTicket);

    // Called from host_web_store.js: the refresh of that ticket is done (HostWebInput.cpp), and
    // another tab's copy of a file has been laid over this tab's (HostWeb.cpp).
    void HostWebStoreRefreshed(int iTicket);
    void HostWebStoreChanged(const char* pPath);
}
