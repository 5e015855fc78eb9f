// The browser's accelerometer poll. The page's devicemotion readings, turned with the screen
// (WebRules.h), are the device's axes; without a recent reading the arrow keys or a gamepad's
// left stick lean an emulated device, as on a desktop. SDL's timers fire only once here, so the
// poll runs from the animation frames: a frame in which the poll's period has passed takes a
// sample, smoothed and quantised as every host's poll does.

#include <SDL.h>
#include <emscripten/html5.h>

#include "Host.h"
#include "HostAccel.h"
#include "HostWeb_local.h"
#include "WebRules.h"

namespace
{

// A reading older than this is no longer the device's: the emulation takes over.
constexpr Uint32 MOTION_FRESH_MS = 1000;

double s_tMotion[3] = {0.0, 0.0, 0.0};  // none yet: no lean, so the emulation leans
Uint32 s_uiMotionTicks = 0;
Uint32 s_uiNextTick = 0;

// The first gamepad's left stick across, or 0.
float GamepadStick()
{
    if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS)
    {
        return 0.0f;
    }
    const int iNumPads = emscripten_get_num_gamepads();
    for (int i = 0; i < iNumPads; ++i)
    {
        EmscriptenGamepadEvent tPad;
        if (emscripten_get_gamepad_status(i, &tPad) == EMSCRIPTEN_RESULT_SUCCESS &&
            tPad.connected && tPad.numAxes > 0)
        {
            return static_cast<float>(tPad.axis[0]);
        }
    }
    return 0.0f;
}

}  // namespace

void HostAccelWebMotion(double fX, double fY, double fZ)
{
    s_tMotion[0] = fX;
    s_tMotion[1] = fY;
    s_tMotion[2] = fZ;
    s_uiMotionTicks = SDL_GetTicks();
}

void HostAccelWebFrame()
{
    if (g_HostAccel.iPoll != ACCEL_POLL_RUNNING || HostAccelFollowsFrameClock())
    {
        return;
    }
    const Uint32 uiNow = SDL_GetTicks();
    if (static_cast<int>(uiNow - s_uiNextTick) < 0)
    {
        return;
    }
    const Uint32 uiInterval = static_cast<Uint32>(g_HostAccel.iIntervalMs);
    HostAccelTakeSample(uiNow);
    // Keep the period's phase, but after a long frame start again from now.
    s_uiNextTick += uiInterval;
    if (static_cast<int>(uiNow - s_uiNextTick) >= 0)
    {
        s_uiNextTick = uiNow + uiInterval;
    }
}

void HostAccelStart(unsigned int uiMilliseconds)
{
    g_HostAccel.iIntervalMs = static_cast<int>(uiMilliseconds);
    if (g_HostAccel.iPoll == ACCEL_POLL_STOPPED)
    {
        s_uiNextTick = SDL_GetTicks() + uiMilliseconds;
    }
    g_HostAccel.iPoll = ACCEL_POLL_RUNNING;
}

void HostAccelStop()
{
    g_HostAccel.iPoll = ACCEL_POLL_STOPPED;
}

void HostAccelResume()
{
    int iSuspended = ACCEL_POLL_SUSPENDED;
    if (g_HostAccel.iPoll.compare_exchange_strong(iSuspended, ACCEL_POLL_RUNNING))
    {
        s_uiNextTick = SDL_GetTicks();
    }
}

void HostAccelFollowFrameClock(bool bFollow)
{
    HostAccelSwitchFrameClock(bFollow);  // the frames' own poll stands aside while it is followed
}

void HostAccelReadRaw(int iAxes[3], bool bStep, unsigned int uiNowMs)
{
    const Uint32 uiNow = SDL_GetTicks();
    if (uiNow - s_uiMotionTicks <= MOTION_FRESH_MS)
    {
        WEB_MotionToAxes(s_tMotion[0], s_tMotion[1], s_tMotion[2], HostWebPageScreenAngle(),
                         HostWebPageMotionInverted() != 0, iAxes);
        if (iAxes[0] != 0 || iAxes[1] != 0 || iAxes[2] != 0)
        {
            return;
        }
    }
    HostAccelEmulatedRead(bStep ? HostAccelLeanTarget(GamepadStick()) : 0.0f, bStep, uiNowMs,
                          iAxes);
}
