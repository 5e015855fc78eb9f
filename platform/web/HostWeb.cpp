// The browser host: emscripten 3.1.6 with its SDL 1.2 emulation (the GL context, the ticks, the
// music through SDL_mixer's MP3 path), its OpenAL over Web Audio for the sound effects, WebGL 1
// under the fixed-function GL emulation, html5.h for input, and host_web.js for the page.
// Frames come one run-loop turn per animation frame; the game's timer still measures them.
//
// LIMITATIONS
// - A tab never quits: hiding the page stands in for the quit (the level is saved, the game
//   paused), and nothing runs while hidden. "quit" ends only a scripted run.
// - Fullscreen only from the player's own key (F11) or the page's button: a script's "key f11"
//   cannot ask for it.
// - Nothing is heard before the player's first touch, click or key: browsers refuse it.
// - The files live in memory and are copied to IndexedDB after each change; without IndexedDB
//   (a private window, no space) the game plays on with nothing kept, as the page says once.
// - The game's tabs share those files (host_web_store.js): a tab takes in the others' changes
//   before its next frame, and a level saved as a tab was hidden stays that tab's while it is
//   open. What a tab already shows (the level's "Hi Score", the audio switches) follows another
//   tab's change only when the game reads the file again (the next level, the next start).
// - Without Web Locks (browsers before 2022) a tab cannot tell whether the tab that saved a level
//   is still open: the next tab to start resumes it, and the saving tab, shown again, goes on
//   with it too. Without BroadcastChannel a tab hears of the others' changes only when it
//   becomes active again, before the game can write again.
// - Mix_QuerySpec, Mix_VolumeChunk and a blocking wait do not exist here; none is called.

#include <SDL.h>
#include <SDL_mixer.h>
#include <emscripten.h>

#include <cstdio>
#include <cstring>

#include "Host.h"
#include "HostWeb_local.h"
#include "Host_local.h"
#include "Settings.h"
#include "pdl.h"

namespace
{

bool (*s_pfnTurn)() = nullptr;

void WebFrame()
{
    HostAccelWebFrame();
    if (!s_pfnTurn())
    {
        // Only a scripted run quits: the page hears of it and the frames stop.
        emscripten_cancel_main_loop();
        HostShutdown();
        std::fflush(stdout);
        HostWebPageEnded(0);
    }
}

}  // namespace

bool HostSetWindowIcon(const unsigned char*, int, int)
{
    return true;  // the page shows the manifest's icons
}

void HostInit()
{
    SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_NOPARACHUTE);
    PDL_Init(0);
    HostOpenWindowOrExit();
    HostWebInputInstall();
    HostOpenAudio(22050, 1);
}

void HostShutdown()
{
    HostStopPollAndSound();
}

void HostCloseAudio()
{
    // The page's audio context stays: browsers allow only so many, and the music's is reused.
    g_Host.iAudioFrequency = 0;
    g_Host.iAudioChannels = 0;
}

void HostOpenAudio(int iFrequency, int iChannels)
{
    if (iFrequency < 0)
    {
        return;
    }
    // The browser decodes the music at its own rate and mixes it with everything else, so the
    // "device" is open in whatever format the music asks for.
    if (g_Host.iAudioFrequency == 0 &&
        Mix_OpenAudio(iFrequency, AUDIO_S16LSB, iChannels,
                      HostAudioChunkSize(iFrequency, iChannels)) != 0)
    {
        return;
    }
    g_Host.iAudioFrequency = iFrequency;
    g_Host.iAudioChannels = iChannels;
}

void HostPumpEvents()
{
    // Input reaches the host from the page's own events, between animation frames; SDL's
    // queue carries nothing the host listens to.
}

void HostSwapBuffers()
{
    // The browser presents the canvas when the animation frame ends.
    HostPumpEvents();
}

void HostRunMainLoop(bool (*pfnTurn)())
{
    s_pfnTurn = pfnTurn;
    // 0: the browser's animation frames; the call unwinds main and never comes back.
    emscripten_set_main_loop(WebFrame, 0, 1);
}

double HostTimerLead()
{
    return 0.5 / 60.0;
}

void HostBundleDirectory(char* pBuffer, size_t uiSize)
{
    // The page puts the game's data at /Data.
    if (pBuffer != nullptr && uiSize > 0)
    {
        std::snprintf(pBuffer, uiSize, "%s", "");
    }
}

void HostSleepUntil(double) {}

int HostRemoveFile(const char* pPath)
{
    return pPath != nullptr ? HostWebStoreForget(pPath) : 0;
}

void HostFileReplaced(const char* pPath)
{
    if (pPath != nullptr)
    {
        HostWebStoreFile(pPath);
    }
}

extern "C" EMSCRIPTEN_KEEPALIVE void HostWebStoreChanged(const char* pPath)
{
    // The game reads its save files whenever it needs them; the settings are read once and
    // written whole from memory, so they are read again: the next switch the player turns here
    // is written over the other tab's choices, not over this tab's old ones.
    if (pPath != nullptr && std::strcmp(pPath, SETTINGS_Path()) == 0)
    {
        SETTINGS_Load(pPath);
    }
}
