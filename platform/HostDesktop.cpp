// The desktop host: SDL 1.2 over sdl12-compat opens a GL window and the mixer, the run loop
// sleeps until its next timer, and an inactive application waits for events instead of drawing.
// The parts both hosts share are in Host.cpp.

#include <SDL_mixer.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "Host.h"
#include "HostAccel.h"
#include "Host_local.h"
#include "pdl.h"

#ifndef BF_INSTALLED_DATA_DIR
#define BF_INSTALLED_DATA_DIR "/usr/local/share/boughfall"
#endif
#ifndef BF_DATA_FROM_BINARY
#define BF_DATA_FROM_BINARY "../share/boughfall"
#endif

namespace
{

unsigned char s_tIcon[HOST_MAX_ICON_SIZE * HOST_MAX_ICON_SIZE * 4];
int s_iIconWidth = 0;  // 0: no icon
int s_iIconHeight = 0;
SDL_Surface* s_pIconSurface = nullptr;  // lives until HostShutdown

// The folder of a path ("a/b/c" -> "a/b"; "c" -> "."; "/c" -> "/").
void CopyParent(const char* pPath, char* pBuffer, size_t uiSize)
{
    std::snprintf(pBuffer, uiSize, "%s", pPath);
    char* pSlash = std::strrchr(pBuffer, '/');
    if (pSlash == nullptr)
    {
        std::snprintf(pBuffer, uiSize, ".");
    }
    else if (pSlash == pBuffer)
    {
        pBuffer[1] = '\0';
    }
    else
    {
        *pSlash = '\0';
    }
}

}  // namespace

bool HostSetWindowIcon(const unsigned char* pRGBA, int iWidth, int iHeight)
{
    if (pRGBA == nullptr || iWidth <= 0 || iHeight <= 0 || iWidth > HOST_MAX_ICON_SIZE ||
        iHeight > HOST_MAX_ICON_SIZE)
    {
        return false;
    }
    std::memcpy(s_tIcon, pRGBA, static_cast<size_t>(iWidth) * iHeight * 4);
    s_iIconWidth = iWidth;
    s_iIconHeight = iHeight;
    return true;
}

void HostInit()
{
    // sdl12-compat would otherwise draw through a scaling framebuffer of its own and copy it
    // to the window every frame; the host already fits the picture to the window itself.
    setenv("SDL12COMPAT_OPENGL_SCALING", "0", 0);
    // A laptop's accelerometer must not turn up as joystick 0 unless the player asks for it.
    const char* pUseAccelerometer = std::getenv("BOUGHFALL_ACCELEROMETER");
    if (pUseAccelerometer == nullptr || std::strcmp(pUseAccelerometer, "1") != 0)
    {
        setenv("SDL_ACCELEROMETER_AS_JOYSTICK", "0", 1);
    }

    // Audio is started apart from the rest: a machine without a sound device still plays.
    SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK | SDL_INIT_NOPARACHUTE);
    SDL_InitSubSystem(SDL_INIT_AUDIO);
    PDL_Init(0);

    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 1);  // vsync where the driver gives it
    if (s_iIconWidth > 0)
    {
        // SDL takes the icon only before the video mode is set. The bytes are R, G, B, A.
        s_pIconSurface = SDL_CreateRGBSurfaceFrom(
            s_tIcon, s_iIconWidth, s_iIconHeight, 32, s_iIconWidth * 4, SDL_SwapLE32(0x000000FF),
            SDL_SwapLE32(0x0000FF00), SDL_SwapLE32(0x00FF0000), SDL_SwapLE32(0xFF000000));
        if (s_pIconSurface != nullptr)
        {
            SDL_WM_SetIcon(s_pIconSurface, nullptr);
        }
    }
    HostOpenWindowOrExit();
    HostOpenAudio(22050, 1);
}

void HostShutdown()
{
    HostStopPollAndSound();
    SDL_Quit();
    if (s_pIconSurface != nullptr)
    {
        SDL_FreeSurface(s_pIconSurface);
        s_pIconSurface = nullptr;
    }
}

void HostCloseAudio()
{
    if (g_Host.iAudioFrequency != 0)
    {
        Mix_CloseAudio();
        g_Host.iAudioFrequency = 0;
        g_Host.iAudioChannels = 0;
    }
}

void HostOpenAudio(int iFrequency, int iChannels)
{
    if (iFrequency < 0)
    {
        return;
    }
    if (g_Host.iAudioFrequency != 0 && g_Host.iAudioFrequency == iFrequency &&
        g_Host.iAudioChannels == iChannels)
    {
        return;
    }
    HostCloseAudio();
    if (Mix_OpenAudio(iFrequency, AUDIO_S16LSB, iChannels,
                      HostAudioChunkSize(iFrequency, iChannels)) == 0)
    {
        g_Host.iAudioFrequency = iFrequency;
        g_Host.iAudioChannels = iChannels;
    }
}

void HostPumpEvents()
{
    SDL_Event tEvent;
    if (!g_Host.bInactive)
    {
        while (SDL_PollEvent(&tEvent))
        {
            HostHandlePumpedEvent(tEvent);
        }
        return;
    }
    const bool bMixerOpen = g_Host.iAudioFrequency != 0;
    if (bMixerOpen)
    {
        Mix_Pause(-1);
        Mix_PauseMusic();
    }
    HostAccelSuspend();
    while (g_Host.bInactive)
    {
        if (!SDL_WaitEvent(&tEvent))
        {
            break;
        }
        HostHandlePumpedEvent(tEvent);
    }
    HostAccelResume();
    if (bMixerOpen && g_Host.iAudioFrequency != 0)
    {
        Mix_ResumeMusic();
        Mix_Resume(-1);
    }
    PDL_SetOrientation(g_Host.iOrientation);
}

void HostSwapBuffers()
{
    // The keep-awake hook: a desktop screensaver is the desktop's business.
    SDL_GL_SwapBuffers();
    HostPumpEvents();
}

void HostBundleDirectory(char* pBuffer, size_t uiSize)
{
    if (pBuffer == nullptr || uiSize == 0)
    {
        return;
    }
    const char* pProcessPath = std::getenv("CFProcessPath");
    if (pProcessPath != nullptr && pProcessPath[0] != '\0')
    {
        CopyParent(pProcessPath, pBuffer, uiSize);
        return;
    }
    char strExecutable[4096];
    const ssize_t iLength = readlink("/proc/self/exe", strExecutable, sizeof(strExecutable) - 1);
    if (iLength <= 0)
    {
        std::snprintf(pBuffer, uiSize, ".");
        return;
    }
    strExecutable[iLength] = '\0';
    // Beside the binary (a build folder), then where an installation puts the data relative to
    // its bin folder (so an installation moved to another prefix still finds it), then the
    // prefix the game was built for.
    char strFolder[4096];
    CopyParent(strExecutable, strFolder, sizeof(strFolder));
    char strInstalled[4096 + 64];
    std::snprintf(strInstalled, sizeof(strInstalled), "%s/%s", strFolder, BF_DATA_FROM_BINARY);
    const char* const pCandidates[] = {strFolder, strInstalled};
    for (const char* pCandidate : pCandidates)
    {
        char strData[4096 + 72];
        std::snprintf(strData, sizeof(strData), "%s/Data", pCandidate);
        if (HostIsDirectory(strData))
        {
            std::snprintf(pBuffer, uiSize, "%s", pCandidate);
            return;
        }
    }
    std::snprintf(pBuffer, uiSize, "%s", BF_INSTALLED_DATA_DIR);
}

void HostSleepUntil(double dSeconds)
{
    if (!(dSeconds > 0.0))
    {
        return;
    }
    timespec tUntil;
    tUntil.tv_sec = static_cast<time_t>(dSeconds);
    tUntil.tv_nsec = static_cast<long>((dSeconds - static_cast<double>(tUntil.tv_sec)) * 1e9);
    if (tUntil.tv_nsec >= 1000000000L)
    {
        tUntil.tv_sec += 1;
        tUntil.tv_nsec -= 1000000000L;
    }
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &tUntil, nullptr) == EINTR)
    {
    }
}

void HostRunMainLoop(bool (*pfnTurn)())
{
    while (pfnTurn())
    {
    }
}

double HostTimerLead()
{
    return 0.0;
}

int HostRemoveFile(const char* pPath)
{
    return pPath != nullptr ? std::remove(pPath) : 0;
}

void HostFileReplaced(const char*) {}
