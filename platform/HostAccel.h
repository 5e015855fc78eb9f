#pragma once

// The accelerometer poll. It runs on SDL's timer thread, samples three signed 16-bit axes,
// smooths and quantises them and reports each sample to the framework.
//
// A desktop has no accelerometer, so by default the axes are emulated: at rest they read a
// device held upright in landscape (gravity straight down in the game); the Left and Right
// arrow keys and a gamepad's left stick lean it smoothly and proportionally up to the game's
// full lean. A real accelerometer that SDL exposes as a joystick is read only when the player
// asks for it with BOUGHFALL_ACCELEROMETER=1, and even then the emulation stands in while it
// reports nothing, so the game never sees a zero vector.

#include <SDL.h>

#include <atomic>

// One SDL timer polls from HostAccelStart to HostAccelStop; while the game is inactive it keeps
// ticking but takes no samples. Each tick hands SDL the next interval, so a new poll rate needs
// no new timer (sdl12-compat keeps a record for every timer added until it is removed).
enum HostAccelPoll
{
    ACCEL_POLL_STOPPED = 0,    // no timer, or its next tick ends it
    ACCEL_POLL_RUNNING = 1,    // every tick takes a sample
    ACCEL_POLL_SUSPENDED = 2,  // paused by deactivation: ticks take none until resumed
};

struct HostAccelState
{
    std::atomic<int> iPoll;        // HostAccelPoll; the main thread moves it, the timer reads it
    std::atomic<int> iIntervalMs;  // poll period
    SDL_Joystick* pJoystick;       // joystick 0, or null
    int iLastX;                    // previous smoothed axis values
    int iLastY;
    int iLastZ;
};

extern HostAccelState g_HostAccel;

// Emulated lean at full tilt: the game caps the sideways pull at 0.4 g, about 23.6 degrees.
constexpr float ACCEL_FULL_LEAN_RADIANS = 0.41151685f;
// Time the emulated device takes to lean from upright to full tilt.
constexpr float ACCEL_LEAN_SECONDS = 0.25f;
// Gamepad stick dead zone, as a fraction of the stick's travel.
constexpr float ACCEL_STICK_DEAD_ZONE = 0.15f;

void HostAccelStart(unsigned int uiMilliseconds);
void HostAccelStop();
void HostAccelSuspend();
void HostAccelResume();
void HostAccelSetInterval(unsigned int uiMilliseconds);

// The desktop's SDL timer callback: one sample; returns the next interval, 0 ends the timer. pParam
// is the number of the start that added the timer.
Uint32 HostAccelTick(Uint32 uiInterval, void* pParam);

// The host's raw axes now (its accelerometer, or the emulated device, which bStep moves on to
// the poll's time uiNowMs).
void HostAccelReadRaw(int iAxes[3], bool bStep, unsigned int uiNowMs);

// One poll tick's sample: the raw axes smoothed and quantised (HostAccelFilterAxes), handed to
// the framework with its time in milliseconds.
void HostAccelTakeSample(unsigned int uiNowMs);

// Immediate, unsmoothed reads for the first sample: axis / 32768 (y and z negated).
float HostAccelReadX();
float HostAccelReadY();
float HostAccelReadZ();

// The quantisation of a ticked axis value: a quarter of it, floored to a multiple of 8.
int HostAccelQuantise(int iAxis);

// One tick's smoothing and quantisation of raw axes into a sample, updating iLast*.
void HostAccelFilterAxes(const int iRaw[3], float* pX, float* pY, float* pZ);

// Keyboard lean, from the main thread: -1 left, +1 right, 0 none.
void HostAccelSetKeyLean(int iDirection);
int HostAccelGetKeyLean();

// The emulated device's axes for a lean between -1 (full left) and +1 (full right).
void HostAccelEmulatedAxes(float fLean, int iAxes[3]);

// Moves the emulated lean towards a target over dSeconds at the lean rate; returns the new lean.
float HostAccelStepLean(float fLean, float fTarget, float fSeconds);

// The emulated device's axes now; with bStep its lean first moves towards fTarget for the
// milliseconds since the previous step (none at the first), as each poll tick does.
void HostAccelEmulatedRead(float fTarget, bool bStep, unsigned int uiNowMs, int iAxes[3]);

// Where a stick's first axis (-1..1) leans the emulated device: in proportion once pushed past
// the dead zone, else where the arrow keys lean it.
float HostAccelLeanTarget(float fStick);

// A run on the fixed frame clock (scripts) follows it here too: the poll takes its samples, and
// the emulated device leans, by the game's time instead of the wall clock's, so a scripted lean
// reads the same vectors on every machine however fast its frames run. While it is followed the
// host's own poll takes no samples: HostAccelAdvance moves the clock on by one frame's seconds
// (main thread) and takes the samples that fell due in them. Each host's
// HostAccelFollowFrameClock hands its poll over through HostAccelSwitchFrameClock, which says
// whether anything changed.
void HostAccelFollowFrameClock(bool bFollow);
bool HostAccelSwitchFrameClock(bool bFollow);
bool HostAccelFollowsFrameClock();
void HostAccelAdvance(double dSeconds);
