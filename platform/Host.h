#pragma once

// The host: the thin layer between SDL 1.2, the PDK stand-in, OpenGL and SDL_mixer below and
// the application framework above. It starts SDL, opens the window and the mixer, turns SDL
// events into framework calls (touches in the 320 x 480 portrait space, activation, quit),
// scales viewports to the device and offers null-tolerant file utilities.
//
// Host* functions are the host's entry points; the framework reaches up into nothing: the host
// calls the framework only through the HostFrameworkCalls table the framework installs.
//
// Two hosts implement this header (and HostAccel.h, HostDisplay.h and pdl.h): the desktop
// (HostDesktop.cpp, HostAccel.cpp, HostDisplay.cpp, pdlDesktop.cpp, and the AL interface over
// SDL_mixer in ALMixer.cpp) and the browser (web/, with emscripten's own OpenAL; web/HostWeb.cpp
// says what it cannot do). CMake builds exactly one. Host.cpp, HostAccelFilter.cpp,
// HostDisplayGeometry.cpp, pdl.cpp and the music backend are shared (Host_local.h).

#include <SDL.h>

#include <cstddef>
#include <cstdio>

// The logical screen the game and the framework work in: portrait, origin top left.
constexpr int HOST_LOGICAL_WIDTH = 320;
constexpr int HOST_LOGICAL_HEIGHT = 480;

struct HostState
{
    int bQuitRequested;  // 1 once SDL_QUIT has been received
    int bInactive;       // 1 while the application has lost focus
    int iOrientation;    // current PDL orientation value, 0..3
    SDL_Surface* pVideoSurface;
    int iScreenWidth;  // device screen in pixels: the portrait surface the game draws on
    int iScreenHeight;
    int bIdleTimerDisabled;
    int iAudioFrequency;  // frequency the mixer is open at; 0 = closed
    int iAudioChannels;
};

// The one host state block, zero at process start.
extern HostState g_Host;

// What the host calls in the framework. Touch positions are logical (320 x 480 portrait).
struct HostFrameworkCalls
{
    void (*pTouchBegan)(int iX, int iY, unsigned int uiTicks);
    void (*pTouchMoved)(int iX, int iY, unsigned int uiTicks);
    void (*pTouchEnded)(int iX, int iY, unsigned int uiTicks);
    void (*pBecameActive)();
    void (*pResignActive)();
    void (*pRequestTermination)();
    // The player asked for the pause: the pause key (P on a desktop) toggles it (bToggle); a
    // second finger in the browser only pauses.
    void (*pPauseRequested)(bool bToggle);
    // The player asked to go back (Esc on a desktop, the back gesture on a handheld).
    void (*pBackRequested)();
    // Called on SDL's timer thread with each accelerometer sample.
    void (*pAccelerometerSample)(float fX, float fY, float fZ, double dTimestamp);
    // The application went out of sight and may be ended without another word (a browser tab
    // hidden), and is back in sight. The desktop, whose quit is always announced, sends neither.
    void (*pEnteredBackground)();
    void (*pEnteringForeground)();
};

// Installs the framework's entry points (null entries are skipped).
void HostSetFrameworkCalls(const HostFrameworkCalls* pCalls);

// Hands one accelerometer sample to the framework (the poll's way up; any thread).
void HostDeliverAccelerometerSample(float fX, float fY, float fZ, double dTimestamp);

constexpr int HOST_MAX_ICON_SIZE = 128;  // pixels on a side of the window's icon

// The window's icon: straight-alpha RGBA, rows top first, at most HOST_MAX_ICON_SIZE square.
// Kept until HostInit sets it, before the window opens; a larger picture is refused (false).
bool HostSetWindowIcon(const unsigned char* pRGBA, int iWidth, int iHeight);

// Start-up: SDL and the PDK, the window's title and icon, the GL window (as the remembered
// settings and this run's options say), the screen size, the mixer at 22050 Hz mono.
void HostInit();

// Before the process exits: stops the accelerometer poll, closes the mixer and SDL, so that no
// SDL thread runs while the process tears itself down.
void HostShutdown();

// Opens the mixer, or reopens it when the format differs; a negative frequency does nothing.
// Without an audio device the mixer stays closed and the game runs silent.
void HostOpenAudio(int iFrequency, int iChannels);
// Closes the mixer when it is open; the game then runs silent until it is opened again.
void HostCloseAudio();

// The mixer's chunk size in sample frames for a format: (frequency / 22050) x channels x 384,
// rounded up to a power of two as SDL's audio drivers need (384 -> 512, 1536 -> 2048).
int HostAudioChunkSize(int iFrequency, int iChannels);

// Drains SDL's events while active; while inactive, pauses sound and the accelerometer poll and
// blocks until focus returns (or the game is asked to quit).
void HostPumpEvents();

// Acts on one SDL event (focus, mouse, quit; on the desktop also keys: the arrows lean, Esc asks
// to go back and P for the pause, F11 and Alt+Enter toggle fullscreen; and window resizes).
void HostHandleEvent(const SDL_Event* pEvent);

// The finger phases of HostScriptedFinger.
enum HostFingerPhase
{
    HOST_FINGER_DOWN = 0,
    HOST_FINGER_MOVE = 1,
    HOST_FINGER_UP = 2,
};

// A finger event of the scripted driver at a point of the 480 x 320 game picture (y up),
// rounded to the nearest logical unit. It takes the mouse's path from the point where a window
// position has been mapped to the logical screen, so a script or a replay touches the same game
// points in a window of any size. It carries no tick count: the jitter rule, which measures
// real time between a press and a move, is for a hand on a mouse and keeps every scripted move.
void HostScriptedFinger(int iPhase, float fGameX, float fGameY);

// While a replay plays, the player's own pointer, keys and focus changes are not taken (the
// replay's steps are), and a catalogue page the replay chooses is reported but not opened.
// Quitting, fullscreen (F11, Alt+Enter) and resizing the window still work.
void HostIgnorePlayerInput(bool bIgnore);

// While a script plays, the window system's own focus changes are not taken: the script's
// focus steps are. A scripted run then does not depend on what else the display is showing
// (another window mapped on a shared test display would otherwise pause the game and hold it
// waiting for a focus that never comes back).
void HostIgnoreWindowFocus(bool bIgnore);

// Presents the frame, then pumps events.
void HostSwapBuffers();

// The main loop: one turn after another until a turn returns false. The desktop loops here and
// returns; the browser runs one turn per animation frame and this call never returns.
void HostRunMainLoop(bool (*pfnTurn)());

// How far ahead of the clock a run-loop step fires its timers: 0 on the desktop, which sleeps
// until the next one is due; in the browser half a 60 Hz frame, so that the frame timer fires in
// every animation frame however early or late the browser calls.
double HostTimerLead();

// glViewport for a rectangle given in logical units, scaled to the device.
void HostSetViewport(int iX, int iY, int iWidth, int iHeight);

int HostScreenWidth();
int HostScreenHeight();

// Maps an interface orientation to the PDL value, stores and applies it.
void HostSetOrientation(int iInterfaceOrientation);
void HostSetIdleTimerDisabled(int bDisabled);

// Logical conversion of a device position (integer arithmetic, multiply first).
int HostLogicalX(int iDeviceX);
int HostLogicalY(int iDeviceY);

// The application bundle directory: the folder of CFProcessPath when that is set, else of the
// executable; when that folder holds no "Data", the installed data folder (found from the
// executable's folder first, then at the prefix the game was built for). Cut to fit.
void HostBundleDirectory(char* pBuffer, size_t uiSize);

// Null-tolerant file utilities: a null argument does nothing and returns 0.
FILE* HostFileOpen(const char* pPath, const char* pMode);
int HostFileClose(FILE* pFile);
size_t HostFileRead(void* pBuffer, size_t uiSize, size_t uiCount, FILE* pFile);
size_t HostFileWrite(const void* pBuffer, size_t uiSize, size_t uiCount, FILE* pFile);
int HostFileSeek(FILE* pFile, long iOffset, int iWhence);
long HostFileTell(FILE* pFile);
long HostFileLength(FILE* pFile);  // end position; the file position is kept
int HostPathExists(const char* pPath);
int HostIsDirectory(const char* pPath);
int HostCurrentDirectory(char* pBuffer, size_t uiLength);
// Creates a folder and its missing parents with the given mode; 1 when it exists afterwards.
int HostMakeDirectories(const char* pPath, unsigned int uiMode);
int HostPrintLine(const char* pText);
// Removes a file, as remove() does (0 on success). In the browser the stored copy goes too,
// unless another tab of the game has replaced it since this one last read or wrote it.
int HostRemoveFile(const char* pPath);
// A file has just been replaced whole (AtomicFile.h): the browser copies it to its lasting
// store; on the desktop the replacement itself was the end of it.
void HostFileReplaced(const char* pPath);
int HostRenderToTextureSupported();  // always 0: presenting is a plain buffer swap

// Opens the platform catalogue page of a package in the browser; 1 when the browser started.
int HostLaunchAppPage(const char* pPackageSuffix);

// Monotonic time in seconds, and a precise sleep until such a time (the run loop's wait).
double HostNow();
void HostSleepUntil(double dSeconds);
