#include "Host.h"

#include <SDL_mixer.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "HostAccel.h"
#include "HostDisplay.h"
#include "Host_local.h"
#include "pdl.h"

HostState g_Host;

bool HostWindowToLogical(int iWindowX, int iWindowY, bool bClamp, int* pX, int* pY)
{
    int iDeviceX = iWindowX;
    int iDeviceY = iWindowY;
    if (HostDisplayIsOpen() &&
        !HostDisplayWindowToDevice(iWindowX, iWindowY, bClamp, &iDeviceX, &iDeviceY))
    {
        return false;
    }
    *pX = HostLogicalX(iDeviceX);
    *pY = HostLogicalY(iDeviceY);
    return true;
}

namespace
{

HostFrameworkCalls s_Calls;

// The finger on a desktop is the left mouse button; the host remembers a press it accepted so
// that a drag leaving the picture still moves and ends the touch (at the nearest edge).
bool s_bMouseDown = false;
bool s_bLeftKey = false;
bool s_bRightKey = false;
bool s_bIgnorePlayerInput = false;  // a replay is playing
bool s_bIgnoreWindowFocus = false;  // a script is playing

void UpdateKeyLean()
{
    HostAccelSetKeyLean((s_bRightKey ? 1 : 0) - (s_bLeftKey ? 1 : 0));
}

// The finger, once its position is on the logical screen: from the mouse or from a script.
void FingerDown(int iX, int iY, unsigned int uiTicks)
{
    s_bMouseDown = true;
    if (s_Calls.pTouchBegan != nullptr)
    {
        s_Calls.pTouchBegan(iX, iY, uiTicks);
    }
}

void FingerMoved(int iX, int iY, unsigned int uiTicks)
{
    if (s_bMouseDown && s_Calls.pTouchMoved != nullptr)
    {
        s_Calls.pTouchMoved(iX, iY, uiTicks);
    }
}

void FingerUp(int iX, int iY, unsigned int uiTicks)
{
    if (!s_bMouseDown)
    {
        return;
    }
    s_bMouseDown = false;
    if (s_Calls.pTouchEnded != nullptr)
    {
        s_Calls.pTouchEnded(iX, iY, uiTicks);
    }
}

void HandleMouseButton(const SDL_MouseButtonEvent& tButton)
{
    if (tButton.button != SDL_BUTTON_LEFT)
    {
        return;  // the wheel and the other buttons are not a finger
    }
    HostPointerAt(tButton.type == SDL_MOUSEBUTTONDOWN ? HOST_FINGER_DOWN : HOST_FINGER_UP,
                  tButton.x, tButton.y, SDL_GetTicks());
}

// What the player steers the game with: ignored while a replay plays.
bool IsPlayerInput(const SDL_Event& tEvent)
{
    switch (tEvent.type)
    {
        case SDL_MOUSEMOTION:
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
        case SDL_ACTIVEEVENT:
            return true;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            return tEvent.key.keysym.sym != SDLK_F11 && tEvent.key.keysym.sym != SDLK_RETURN &&
                   tEvent.key.keysym.sym != SDLK_KP_ENTER;
        default:
            return false;
    }
}

void HandleKey(const SDL_KeyboardEvent& tKey)
{
    const bool bDown = tKey.type == SDL_KEYDOWN;
    switch (tKey.keysym.sym)
    {
        case SDLK_LEFT:
            s_bLeftKey = bDown;
            UpdateKeyLean();
            break;
        case SDLK_RIGHT:
            s_bRightKey = bDown;
            UpdateKeyLean();
            break;
        case SDLK_ESCAPE:
            if (bDown && s_Calls.pBackRequested != nullptr)
            {
                s_Calls.pBackRequested();
            }
            break;
        case SDLK_p:
            if (bDown && s_Calls.pPauseRequested != nullptr)
            {
                s_Calls.pPauseRequested(true);
            }
            break;
        case SDLK_F11:
            if (bDown)
            {
                HostDisplayToggleFullscreen();
            }
            break;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            if (bDown && (tKey.keysym.mod & KMOD_ALT) != 0)
            {
                HostDisplayToggleFullscreen();
            }
            break;
        default:
            break;
    }
}

}  // namespace

void HostSetFocus(bool bGained)
{
    if (!bGained)
    {
        if (g_Host.bInactive)
        {
            return;
        }
        PDL_SetOrientation(0);
        // Keys held while the focus goes send no release to this window.
        s_bLeftKey = false;
        s_bRightKey = false;
        UpdateKeyLean();
        if (s_Calls.pResignActive != nullptr)
        {
            s_Calls.pResignActive();
        }
        g_Host.bInactive = 1;
        return;
    }
    if (!g_Host.bInactive)
    {
        return;
    }
    PDL_SetOrientation(g_Host.iOrientation);
    g_Host.bInactive = 0;
    if (s_Calls.pBecameActive != nullptr)
    {
        s_Calls.pBecameActive();
    }
}

const HostFrameworkCalls& HostFramework()
{
    return s_Calls;
}

void HostFingerAt(int iPhase, int iX, int iY, unsigned int uiTicks)
{
    switch (iPhase)
    {
        case HOST_FINGER_DOWN:
            FingerDown(iX, iY, uiTicks);
            break;
        case HOST_FINGER_MOVE:
            FingerMoved(iX, iY, uiTicks);
            break;
        default:
            FingerUp(iX, iY, uiTicks);
            break;
    }
}

void HostPointerAt(int iPhase, int iWindowX, int iWindowY, unsigned int uiTicks)
{
    int iX = 0;
    int iY = 0;
    switch (iPhase)
    {
        case HOST_FINGER_DOWN:
            // A press on the bars reaches nothing.
            if (HostWindowToLogical(iWindowX, iWindowY, false, &iX, &iY))
            {
                FingerDown(iX, iY, uiTicks);
            }
            break;
        case HOST_FINGER_MOVE:
            if (s_bMouseDown && HostWindowToLogical(iWindowX, iWindowY, true, &iX, &iY))
            {
                FingerMoved(iX, iY, uiTicks);
            }
            break;
        default:
            if (s_bMouseDown)
            {
                HostWindowToLogical(iWindowX, iWindowY, true, &iX, &iY);
                FingerUp(iX, iY, uiTicks);
            }
            break;
    }
}

void HostHandlePumpedEvent(const SDL_Event& tEvent)
{
    if (tEvent.type == SDL_ACTIVEEVENT && s_bIgnoreWindowFocus)
    {
        return;
    }
    if (!s_bIgnorePlayerInput || !IsPlayerInput(tEvent))
    {
        HostHandleEvent(&tEvent);
    }
}

void HostOpenWindowOrExit()
{
    if (!HostDisplayOpen())
    {
        std::printf("Boughfall: cannot open an OpenGL window: %s\n", SDL_GetError());
        std::fflush(stdout);
        std::exit(1);
    }
}

void HostStopPollAndSound()
{
    HostAccelStop();
    if (g_Host.iAudioFrequency != 0)
    {
        Mix_HaltMusic();
    }
    HostCloseAudio();
}

void HostSetFrameworkCalls(const HostFrameworkCalls* pCalls)
{
    s_Calls = pCalls != nullptr ? *pCalls : HostFrameworkCalls{};
}

void HostDeliverAccelerometerSample(float fX, float fY, float fZ, double dTimestamp)
{
    if (s_Calls.pAccelerometerSample != nullptr)
    {
        s_Calls.pAccelerometerSample(fX, fY, fZ, dTimestamp);
    }
}

int HostAudioChunkSize(int iFrequency, int iChannels)
{
    // Below 22050 Hz the plain rule would give 0 frames: count such rates as 22050.
    int iRateFactor = iFrequency / 22050;
    if (iRateFactor < 1)
    {
        iRateFactor = 1;
    }
    const int iFrames = iRateFactor * (iChannels > 0 ? iChannels : 1) * 384;
    int iChunk = 1;
    while (iChunk < iFrames)
    {
        iChunk <<= 1;
    }
    return iChunk;
}

void HostHandleEvent(const SDL_Event* pEvent)
{
    if (pEvent == nullptr)
    {
        return;
    }
    switch (pEvent->type)
    {
        case SDL_ACTIVEEVENT:
            // The pointer leaving the window is not a loss of focus on a desktop.
            if ((pEvent->active.state & (SDL_APPINPUTFOCUS | SDL_APPACTIVE)) != 0)
            {
                HostSetFocus(pEvent->active.gain != 0);
            }
            break;
        case SDL_MOUSEMOTION:
            HostPointerAt(HOST_FINGER_MOVE, pEvent->motion.x, pEvent->motion.y, SDL_GetTicks());
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            HandleMouseButton(pEvent->button);
            break;
        case SDL_QUIT:
            g_Host.bQuitRequested = 1;
            g_Host.bInactive = 0;
            if (s_Calls.pRequestTermination != nullptr)
            {
                s_Calls.pRequestTermination();
            }
            break;
        case SDL_VIDEORESIZE:
            HostDisplayResize(pEvent->resize.w, pEvent->resize.h);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            HandleKey(pEvent->key);
            break;
        default:
            break;
    }
}

void HostScriptedFinger(int iPhase, float fGameX, float fGameY)
{
    // The game's x runs along the logical y axis and its y along the logical x axis (see
    // HostDisplayWindowToDevice); the bottom row of the picture is the last logical y.
    const int iX = static_cast<int>(std::lround(std::clamp(fGameY, 0.0f, 320.0f)));
    const int iY = static_cast<int>(std::lround(std::clamp(fGameX, 0.0f, 479.0f)));
    HostFingerAt(iPhase, iX, iY, 0);
}

void HostIgnorePlayerInput(bool bIgnore)
{
    s_bIgnorePlayerInput = bIgnore;
}

void HostIgnoreWindowFocus(bool bIgnore)
{
    s_bIgnoreWindowFocus = bIgnore;
}

void HostSetViewport(int iX, int iY, int iWidth, int iHeight)
{
    HostDisplayViewport(iX, iY, iWidth * g_Host.iScreenWidth / HOST_LOGICAL_WIDTH,
                        iHeight * g_Host.iScreenHeight / HOST_LOGICAL_HEIGHT);
}

int HostScreenWidth()
{
    return g_Host.iScreenWidth;
}

int HostScreenHeight()
{
    return g_Host.iScreenHeight;
}

int HostLogicalX(int iDeviceX)
{
    return g_Host.iScreenWidth > 0 ? iDeviceX * HOST_LOGICAL_WIDTH / g_Host.iScreenWidth : 0;
}

int HostLogicalY(int iDeviceY)
{
    return g_Host.iScreenHeight > 0 ? iDeviceY * HOST_LOGICAL_HEIGHT / g_Host.iScreenHeight : 0;
}

void HostSetOrientation(int iInterfaceOrientation)
{
    int iValue = 0;
    switch (iInterfaceOrientation)
    {
        case 1:
            iValue = 2;
            break;
        case 2:
            iValue = 1;
            break;
        case 3:
            iValue = 3;
            break;
        default:
            iValue = 0;
            break;
    }
    g_Host.iOrientation = iValue;
    PDL_SetOrientation(iValue);
}

void HostSetIdleTimerDisabled(int bDisabled)
{
    g_Host.bIdleTimerDisabled = bDisabled;
}

FILE* HostFileOpen(const char* pPath, const char* pMode)
{
    return pPath != nullptr && pMode != nullptr ? std::fopen(pPath, pMode) : nullptr;
}

int HostFileClose(FILE* pFile)
{
    return pFile != nullptr ? std::fclose(pFile) : 0;
}

size_t HostFileRead(void* pBuffer, size_t uiSize, size_t uiCount, FILE* pFile)
{
    return pBuffer != nullptr && pFile != nullptr ? std::fread(pBuffer, uiSize, uiCount, pFile) : 0;
}

size_t HostFileWrite(const void* pBuffer, size_t uiSize, size_t uiCount, FILE* pFile)
{
    return pBuffer != nullptr && pFile != nullptr ? std::fwrite(pBuffer, uiSize, uiCount, pFile)
                                                  : 0;
}

int HostFileSeek(FILE* pFile, long iOffset, int iWhence)
{
    return pFile != nullptr ? std::fseek(pFile, iOffset, iWhence) : 0;
}

long HostFileTell(FILE* pFile)
{
    return pFile != nullptr ? std::ftell(pFile) : 0;
}

long HostFileLength(FILE* pFile)
{
    if (pFile == nullptr)
    {
        return 0;
    }
    const long iPosition = std::ftell(pFile);
    std::fseek(pFile, 0, SEEK_END);
    const long iEnd = std::ftell(pFile);
    std::fseek(pFile, iPosition, SEEK_SET);
    return iEnd;
}

int HostPathExists(const char* pPath)
{
    struct stat tStat;
    return pPath != nullptr && stat(pPath, &tStat) == 0 ? 1 : 0;
}

int HostIsDirectory(const char* pPath)
{
    struct stat tStat;
    return pPath != nullptr && stat(pPath, &tStat) == 0 && (tStat.st_mode & 0xF000) == 0x4000 ? 1
                                                                                              : 0;
}

int HostMakeDirectories(const char* pPath, unsigned int uiMode)
{
    if (pPath == nullptr || pPath[0] == '\0')
    {
        return 0;
    }
    char strPath[4096];
    std::snprintf(strPath, sizeof(strPath), "%s", pPath);
    for (char* p = strPath + 1; *p != '\0'; ++p)
    {
        if (*p == '/')
        {
            *p = '\0';
            mkdir(strPath, uiMode);
            *p = '/';
        }
    }
    mkdir(strPath, uiMode);
    return HostIsDirectory(strPath);
}

int HostCurrentDirectory(char* pBuffer, size_t uiLength)
{
    if (pBuffer == nullptr || uiLength == 0)
    {
        return 0;
    }
    std::strncpy(pBuffer, ".", uiLength - 1);
    pBuffer[uiLength - 1] = '\0';
    return 1;
}

int HostPrintLine(const char* pText)
{
    return pText != nullptr ? std::puts(pText) : 0;
}

int HostRenderToTextureSupported()
{
    return 0;
}

int HostLaunchAppPage(const char* pPackageSuffix)
{
    // The catalogue's redirect page, with the publisher's package-id prefix; 59 characters.
    static const char s_strPrefix[] = "https://apps.kettlegames.net/appredirect/?packageid=com.kg.";
    static_assert(sizeof(s_strPrefix) - 1 == 59);
    // Prefix, suffix and terminator in 256 bytes: a suffix of at most 196 characters. A longer
    // one would open some other package's page, so it is refused.
    char strUrl[256];
    const char* pSuffix = pPackageSuffix != nullptr ? pPackageSuffix : "";
    const int iLength = std::snprintf(strUrl, sizeof(strUrl), "%s%s", s_strPrefix, pSuffix);
    if (iLength < 0 || static_cast<size_t>(iLength) >= sizeof(strUrl))
    {
        std::printf("Not launching the browser: the package id %.32s... does not fit the URL\n",
                    pSuffix);
        return 0;
    }
    if (s_bIgnorePlayerInput)
    {
        std::printf("Not launching the browser during a replay: %s\n", strUrl);
        return 0;
    }
    std::printf("Launching Browser: %s\n", strUrl);
    return PDL_LaunchBrowser(strUrl) == PDL_NOERROR ? 1 : 0;
}

double HostNow()
{
    timespec tNow;
    clock_gettime(CLOCK_MONOTONIC, &tNow);
    return static_cast<double>(tNow.tv_sec) + static_cast<double>(tNow.tv_nsec) * 1e-9;
}
