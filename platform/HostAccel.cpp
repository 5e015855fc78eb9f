#include "HostAccel.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "Host.h"

namespace
{

// Each start's timer carries its number: a timer of an earlier start ends at its next tick, so a
// stop followed at once by a start never leaves two polls running.
std::atomic<std::intptr_t> s_iTimerGeneration{0};

bool WantsRealAccelerometer()
{
    const char* pValue = std::getenv("BOUGHFALL_ACCELEROMETER");
    return pValue != nullptr && std::strcmp(pValue, "1") == 0;
}

bool IsAccelerometer(SDL_Joystick* pJoystick)
{
    if (pJoystick == nullptr || SDL_JoystickNumAxes(pJoystick) < 3)
    {
        return false;
    }
    const char* pName = SDL_JoystickName(SDL_JoystickIndex(pJoystick));
    return pName != nullptr && std::strstr(pName, "ccelerometer") != nullptr;
}

// Where the lean should go: the gamepad's stick when it is pushed, else the arrow keys.
float LeanTarget()
{
    SDL_Joystick* pJoystick = g_HostAccel.pJoystick;
    const bool bStick =
        pJoystick != nullptr && !IsAccelerometer(pJoystick) && SDL_JoystickNumAxes(pJoystick) > 0;
    return HostAccelLeanTarget(bStick ? SDL_JoystickGetAxis(pJoystick, 0) / 32767.0f : 0.0f);
}

void AddTimer(unsigned int uiMilliseconds)
{
    SDL_AddTimer(uiMilliseconds, HostAccelTick, reinterpret_cast<void*>(++s_iTimerGeneration));
}

}  // namespace

void HostAccelFollowFrameClock(bool bFollow)
{
    // Following, the timer ends at its next tick; back on the wall clock, a new one starts.
    if (HostAccelSwitchFrameClock(bFollow) && !bFollow && g_HostAccel.iPoll != ACCEL_POLL_STOPPED)
    {
        AddTimer(static_cast<unsigned int>(g_HostAccel.iIntervalMs));
    }
}

void HostAccelStart(unsigned int uiMilliseconds)
{
    g_HostAccel.iIntervalMs = static_cast<int>(uiMilliseconds);
    if (g_HostAccel.iPoll == ACCEL_POLL_STOPPED)
    {
        g_HostAccel.pJoystick = SDL_NumJoysticks() > 0 ? SDL_JoystickOpen(0) : nullptr;
        g_HostAccel.iPoll = ACCEL_POLL_RUNNING;
        if (!HostAccelFollowsFrameClock())
        {
            AddTimer(uiMilliseconds);
        }
    }
    g_HostAccel.iPoll = ACCEL_POLL_RUNNING;
}

void HostAccelStop()
{
    if (g_HostAccel.iPoll != ACCEL_POLL_STOPPED && g_HostAccel.pJoystick != nullptr &&
        SDL_JoystickOpened(0))
    {
        SDL_JoystickClose(g_HostAccel.pJoystick);
        g_HostAccel.pJoystick = nullptr;
    }
    g_HostAccel.iPoll = ACCEL_POLL_STOPPED;
}

void HostAccelResume()
{
    int iSuspended = ACCEL_POLL_SUSPENDED;
    g_HostAccel.iPoll.compare_exchange_strong(iSuspended, ACCEL_POLL_RUNNING);
}

Uint32 HostAccelTick(Uint32 uiInterval, void* pParam)
{
    const int iPoll = g_HostAccel.iPoll;
    if (reinterpret_cast<std::intptr_t>(pParam) != s_iTimerGeneration ||
        HostAccelFollowsFrameClock())
    {
        return 0;  // the timer of an earlier start, or the frame clock took over
    }
    if (iPoll != ACCEL_POLL_RUNNING)
    {
        // Stopped: the timer ends. Suspended: it waits without sampling.
        return iPoll == ACCEL_POLL_SUSPENDED ? uiInterval : 0;
    }
    HostAccelTakeSample(SDL_GetTicks());
    // The next tick after the poll rate asked for now (SDL may have rounded the last one).
    return static_cast<Uint32>(g_HostAccel.iIntervalMs);
}

// The three raw axes: the real accelerometer when asked for and awake, else the emulated
// device, whose lean the poll (bStep) moves towards where the player leans it.
void HostAccelReadRaw(int iAxes[3], bool bStep, unsigned int uiNowMs)
{
    SDL_Joystick* pJoystick = g_HostAccel.pJoystick;
    if (pJoystick != nullptr && WantsRealAccelerometer() && IsAccelerometer(pJoystick))
    {
        for (int i = 0; i < 3; ++i)
        {
            iAxes[i] = SDL_JoystickGetAxis(pJoystick, i);
        }
        if (iAxes[0] != 0 || iAxes[1] != 0 || iAxes[2] != 0)
        {
            return;
        }
    }
    HostAccelEmulatedRead(bStep ? LeanTarget() : 0.0f, bStep, uiNowMs, iAxes);
}
