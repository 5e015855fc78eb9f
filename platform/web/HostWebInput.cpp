// The browser host's input: the page's touches, mouse, keys, devicemotion readings, and its
// visibility and focus, each turned into what the desktop's SDL events become.

#include <SDL.h>
#include <SDL_mixer.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cmath>
#include <cstring>

#include "Host.h"
#include "HostAccel.h"
#include "HostWeb_local.h"
#include "Host_local.h"
#include "WebRules.h"

namespace
{

CWebFingers s_Fingers;
bool s_bVisible = true;
bool s_bFocused = true;
bool s_bAudioUnlocked = false;
bool s_bFramesHeld = false;  // the main loop is paused: inactive, or waiting for the store
int s_iRefresh = 0;          // the latest read of the store the frames wait for

void ResumeFrames()
{
    if (s_bFramesHeld && !g_Host.bInactive)
    {
        s_bFramesHeld = false;
        emscripten_resume_main_loop();
    }
}

// The game's finger follows the desktop's pointer rules (HostPointerAt); a second finger pauses
// a level being played, and never resumes a paused one.
void FingerAt(WebFingerAction eAction, double fCssX, double fCssY)
{
    int iPhase = HOST_FINGER_UP;
    switch (eAction)
    {
        case WEB_FINGER_DOWN:
            iPhase = HOST_FINGER_DOWN;
            break;
        case WEB_FINGER_MOVE:
            iPhase = HOST_FINGER_MOVE;
            break;
        case WEB_FINGER_PAUSE_AND_UP:
        case WEB_FINGER_PAUSE:
            if (HostFramework().pPauseRequested != nullptr)
            {
                HostFramework().pPauseRequested(false);
            }
            if (eAction == WEB_FINGER_PAUSE)
            {
                return;
            }
            break;
        case WEB_FINGER_UP:
            break;
        default:
            return;
    }
    const Uint32 uiNow = SDL_GetTicks();
    int iWindowX = 0;
    int iWindowY = 0;
    if (HostDisplayWebToWindow(fCssX, fCssY, &iWindowX, &iWindowY))
    {
        HostPointerAt(iPhase, iWindowX, iWindowY, uiNow);
    }
    else if (iPhase == HOST_FINGER_UP)
    {
        HostFingerAt(HOST_FINGER_UP, 0, 0, uiNow);  // a canvas without a size still ends it
    }
}

// A touch, a click or a key: the player is here and the browser lets the page make sound, from
// the first one on.
void PlayerGesture()
{
    HostWebPageUnlockAudio(s_bAudioUnlocked ? 0 : 1);
    s_bAudioUnlocked = true;
}

EM_BOOL OnTouch(int iType, const EmscriptenTouchEvent* pEvent, void*)
{
    for (int i = 0; i < pEvent->numTouches; ++i)
    {
        const EmscriptenTouchPoint& tPoint = pEvent->touches[i];
        if (!tPoint.isChanged)
        {
            continue;
        }
        WebFingerAction eAction = WEB_FINGER_NOTHING;
        switch (iType)
        {
            case EMSCRIPTEN_EVENT_TOUCHSTART:
                eAction = s_Fingers.Began(tPoint.identifier);
                break;
            case EMSCRIPTEN_EVENT_TOUCHMOVE:
                eAction = s_Fingers.Moved(tPoint.identifier);
                break;
            default:
                eAction = s_Fingers.Ended(tPoint.identifier, iType == EMSCRIPTEN_EVENT_TOUCHCANCEL);
                break;
        }
        FingerAt(eAction, static_cast<double>(tPoint.targetX), static_cast<double>(tPoint.targetY));
    }
    if (iType == EMSCRIPTEN_EVENT_TOUCHSTART || iType == EMSCRIPTEN_EVENT_TOUCHEND)
    {
        // iOS asks for the accelerometer only from a touch; a touch's end counts as a gesture.
        HostWebPageAskMotionPermission();
        PlayerGesture();
    }
    return EM_TRUE;  // no scrolling, zooming, selection or mouse events made up after it
}

EM_BOOL OnMouse(int iType, const EmscriptenMouseEvent* pEvent, void*)
{
    if (pEvent->button != 0 && iType != EMSCRIPTEN_EVENT_MOUSEMOVE)
    {
        return EM_FALSE;  // only the left button is a finger
    }
    WebFingerAction eAction = WEB_FINGER_NOTHING;
    switch (iType)
    {
        case EMSCRIPTEN_EVENT_MOUSEDOWN:
            eAction = s_Fingers.Began(WEB_MOUSE_FINGER);
            PlayerGesture();
            break;
        case EMSCRIPTEN_EVENT_MOUSEMOVE:
            eAction = s_Fingers.Moved(WEB_MOUSE_FINGER);
            break;
        default:
            eAction = s_Fingers.Ended(WEB_MOUSE_FINGER, false);
            break;
    }
    if (eAction == WEB_FINGER_NOTHING)
    {
        return EM_FALSE;
    }
    // Moves and the release are followed on the whole window, so a drag that leaves the
    // canvas still moves and ends the finger (at the picture's edge).
    const double fX = HostWebPageCanvasX(static_cast<double>(pEvent->clientX));
    const double fY = HostWebPageCanvasY(static_cast<double>(pEvent->clientY));
    FingerAt(eAction, fX, fY);
    return EM_TRUE;
}

// The keys the game knows become the SDL key events a desktop's pump takes, and go the same
// way (Host.cpp): the arrows lean, P toggles the pause, Esc goes back (in a level: the pause),
// F11 and Alt+Enter toggle fullscreen (within the key's own event, where the browser allows
// it). Every other key stays the browser's, and so does Esc's own meaning (it also leaves the
// browser's fullscreen).
EM_BOOL OnKey(int iType, const EmscriptenKeyboardEvent* pEvent, void*)
{
    const bool bDown = iType == EMSCRIPTEN_EVENT_KEYDOWN;
    if (bDown)
    {
        PlayerGesture();
    }
    struct KeyName
    {
        const char* pKey;
        SDLKey eKey;
    };
    static const KeyName s_tKeys[] = {
        {"ArrowLeft", SDLK_LEFT},
        {"ArrowRight", SDLK_RIGHT},
        {"Escape", SDLK_ESCAPE},
        {"p", SDLK_p},
        {"P", SDLK_p},
        {"F11", SDLK_F11},
        {"Enter", SDLK_RETURN},
    };
    for (const KeyName& tName : s_tKeys)
    {
        if (std::strcmp(pEvent->key, tName.pKey) != 0)
        {
            continue;
        }
        if (tName.eKey == SDLK_RETURN && !pEvent->altKey)
        {
            return EM_FALSE;
        }
        if (!pEvent->repeat)  // a held key is one press, as SDL 1.2 reports it
        {
            SDL_Event tEvent{};
            tEvent.type = bDown ? SDL_KEYDOWN : SDL_KEYUP;
            tEvent.key.type = tEvent.type;
            tEvent.key.state = bDown ? SDL_PRESSED : SDL_RELEASED;
            tEvent.key.keysym.sym = tName.eKey;
            tEvent.key.keysym.mod = pEvent->altKey ? KMOD_ALT : KMOD_NONE;
            HostHandlePumpedEvent(tEvent);
        }
        return tName.eKey == SDLK_ESCAPE ? EM_FALSE : EM_TRUE;
    }
    return EM_FALSE;
}

// Hidden or without the focus, the game is inactive as on a desktop that lost its focus: the
// level pauses and nothing runs. Hidden is also the last moment that is surely the page's: the
// level in play is saved there, as a desktop saves it at its quit; that file is parked, this
// tab's own while it lives. Active again, the frames wait until the files other tabs wrote or
// removed meanwhile are in memory, so the game never reads an old copy (and never writes a high
// score or settings over newer ones).
void ApplyActivity(bool bWasVisible)
{
    const bool bActive = s_bVisible && s_bFocused;
    if (!bActive && !g_Host.bInactive)
    {
        HostSetFocus(false);
        HostAccelSuspend();
        if (g_Host.iAudioFrequency != 0)
        {
            Mix_PauseMusic();
        }
        HostWebPageSuspendAudio(1);
        emscripten_pause_main_loop();
        s_bFramesHeld = true;
    }
    if (bWasVisible && !s_bVisible && HostFramework().pEnteredBackground != nullptr)
    {
        HostWebStoreParking(1);
        HostFramework().pEnteredBackground();
        HostWebStoreParking(0);
    }
    if (!bWasVisible && s_bVisible && HostFramework().pEnteringForeground != nullptr)
    {
        HostFramework().pEnteringForeground();
    }
    if (bActive && g_Host.bInactive)
    {
        HostDisplayWebFit();
        HostAccelResume();
        if (g_Host.iAudioFrequency != 0)
        {
            Mix_ResumeMusic();
        }
        HostWebPageSuspendAudio(0);
        HostSetFocus(true);
        if (HostWebStoreRefresh(++s_iRefresh) == 0)
        {
            ResumeFrames();
        }
    }
}

EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent* pEvent, void*)
{
    const bool bWasVisible = s_bVisible;
    s_bVisible = !pEvent->hidden;
    ApplyActivity(bWasVisible);
    return EM_FALSE;
}

EM_BOOL OnFocus(int iType, const EmscriptenFocusEvent*, void*)
{
    s_bFocused = iType == EMSCRIPTEN_EVENT_FOCUS;
    ApplyActivity(s_bVisible);
    return EM_FALSE;
}

EM_BOOL OnMotion(int, const EmscriptenDeviceMotionEvent* pEvent, void*)
{
    // emscripten 3.1.6 never fills in supportedFields: a reading counts when it is a number
    // (a browser without one gives null, read as 0, or undefined, read as NaN).
    const double fX = pEvent->accelerationIncludingGravityX;
    const double fY = pEvent->accelerationIncludingGravityY;
    const double fZ = pEvent->accelerationIncludingGravityZ;
    if (std::isfinite(fX) && std::isfinite(fY) && std::isfinite(fZ) &&
        (fX != 0.0 || fY != 0.0 || fZ != 0.0))
    {
        HostAccelWebMotion(fX, fY, fZ);
    }
    return EM_FALSE;
}

EM_BOOL OnResize(int, const EmscriptenUiEvent*, void*)
{
    HostDisplayWebFit();
    return EM_FALSE;
}

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void HostWebStoreRefreshed(int iTicket)
{
    if (iTicket == s_iRefresh)
    {
        ResumeFrames();
    }
}

void HostWebInputInstall()
{
    emscripten_set_touchstart_callback(HOST_WEB_CANVAS, nullptr, EM_TRUE, OnTouch);
    emscripten_set_touchmove_callback(HOST_WEB_CANVAS, nullptr, EM_TRUE, OnTouch);
    emscripten_set_touchend_callback(HOST_WEB_CANVAS, nullptr, EM_TRUE, OnTouch);
    emscripten_set_touchcancel_callback(HOST_WEB_CANVAS, nullptr, EM_TRUE, OnTouch);
    emscripten_set_mousedown_callback(HOST_WEB_CANVAS, nullptr, EM_TRUE, OnMouse);
    emscripten_set_mousemove_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnMouse);
    emscripten_set_mouseup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnMouse);
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnKey);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnKey);
    emscripten_set_visibilitychange_callback(nullptr, EM_TRUE, OnVisibility);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnFocus);
    emscripten_set_focus_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnFocus);
    emscripten_set_devicemotion_callback(nullptr, EM_TRUE, OnMotion);
    emscripten_set_resize_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, OnResize);
    s_bVisible = !EM_ASM_INT({ return document.hidden ? 1 : 0; });
}
