#include "HostAccel.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "Host.h"

HostAccelState g_HostAccel;

namespace
{

// Written by the main thread, read by the timer thread.
std::atomic<int> s_iKeyLean{0};
// The emulated lean, stepped by the timer thread and read by the immediate reads.
std::atomic<float> s_fLean{0.0f};
Uint32 s_uiLastLeanTicks = 0;  // timer thread only
// Following the frame clock: the seconds it has run since the last sample (main thread).
std::atomic<bool> s_bFrameClock{false};
double s_dFrameClockDue = 0.0;
double s_dFrameClockNow = 0.0;
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
    if (pJoystick != nullptr && !IsAccelerometer(pJoystick) && SDL_JoystickNumAxes(pJoystick) > 0)
    {
        const float fStick = SDL_JoystickGetAxis(pJoystick, 0) / 32767.0f;
        if (std::fabs(fStick) > ACCEL_STICK_DEAD_ZONE)
        {
            const float fSign = fStick < 0.0f ? -1.0f : 1.0f;
            const float fTravel =
                (std::fabs(fStick) - ACCEL_STICK_DEAD_ZONE) / (1.0f - ACCEL_STICK_DEAD_ZONE);
            return fSign * std::min(1.0f, fTravel);
        }
    }
    return static_cast<float>(s_iKeyLean.load(std::memory_order_relaxed));
}

// The three raw axes: the real accelerometer when asked for and awake, else the emulated
// device, whose lean first moves fSeconds' worth towards where the player leans it.
void ReadAxes(int iAxes[3], float fSeconds)
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
    if (fSeconds > 0.0f)
    {
        s_fLean.store(HostAccelStepLean(s_fLean.load(), LeanTarget(), fSeconds));
    }
    HostAccelEmulatedAxes(s_fLean.load(), iAxes);
}

// One poll: the axes after fSeconds of lean, smoothed, quantised and handed to the framework.
void TakeSample(float fSeconds, double dTimestamp)
{
    int iRaw[3];
    ReadAxes(iRaw, fSeconds);
    float fX = 0.0f;
    float fY = 0.0f;
    float fZ = 0.0f;
    HostAccelFilterAxes(iRaw, &fX, &fY, &fZ);
    HostDeliverAccelerometerSample(fX, fY, fZ, dTimestamp);
}

void AddTimer(unsigned int uiMilliseconds)
{
    SDL_AddTimer(uiMilliseconds, HostAccelTick, reinterpret_cast<void*>(++s_iTimerGeneration));
}

}  // namespace

float HostAccelStepLean(float fLean, float fTarget, float fSeconds)
{
    const float fMaxStep = std::max(0.0f, fSeconds) / ACCEL_LEAN_SECONDS;
    if (fTarget > fLean)
    {
        return std::min(fTarget, fLean + fMaxStep);
    }
    return std::max(fTarget, fLean - fMaxStep);
}

void HostAccelEmulatedAxes(float fLean, int iAxes[3])
{
    // Held upright in landscape, gravity runs along the device's x axis; leaning turns part of
    // it onto the y axis (positive y is a lean to the right in the game).
    const float fAngle = std::clamp(fLean, -1.0f, 1.0f) * ACCEL_FULL_LEAN_RADIANS;
    iAxes[0] = static_cast<int>(std::lround(-32767.0f * std::cos(fAngle)));
    iAxes[1] = static_cast<int>(std::lround(32767.0f * std::sin(fAngle)));
    iAxes[2] = 0;
}

void HostAccelSetKeyLean(int iDirection)
{
    s_iKeyLean.store(std::clamp(iDirection, -1, 1), std::memory_order_relaxed);
}

int HostAccelGetKeyLean()
{
    return s_iKeyLean.load(std::memory_order_relaxed);
}

int HostAccelQuantise(int iAxis)
{
    return (iAxis >> 2) & ~7;
}

void HostAccelFilterAxes(const int iRaw[3], float* pX, float* pY, float* pZ)
{
    int iAxis[3] = {iRaw[0], iRaw[1], iRaw[2]};
    if (g_HostAccel.iLastX != 0 || g_HostAccel.iLastY != 0 || g_HostAccel.iLastZ != 0)
    {
        iAxis[0] = (iAxis[0] + 3 * g_HostAccel.iLastX) / 4;
        iAxis[1] = (iAxis[1] + 3 * g_HostAccel.iLastY) / 4;
        iAxis[2] = (iAxis[2] + 3 * g_HostAccel.iLastZ) / 4;
    }
    g_HostAccel.iLastX = iAxis[0];
    g_HostAccel.iLastY = iAxis[1];
    g_HostAccel.iLastZ = iAxis[2];
    const float fScale = 3.0517578e-05f;
    *pX = static_cast<float>(HostAccelQuantise(iAxis[0])) * fScale;
    *pY = -(static_cast<float>(HostAccelQuantise(iAxis[1])) * fScale);
    *pZ = static_cast<float>(HostAccelQuantise(iAxis[2])) * fScale;
}

void HostAccelStart(unsigned int uiMilliseconds)
{
    g_HostAccel.iIntervalMs = static_cast<int>(uiMilliseconds);
    if (g_HostAccel.iPoll == ACCEL_POLL_STOPPED)
    {
        g_HostAccel.pJoystick = SDL_NumJoysticks() > 0 ? SDL_JoystickOpen(0) : nullptr;
        g_HostAccel.iPoll = ACCEL_POLL_RUNNING;
        if (!s_bFrameClock)
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

void HostAccelSuspend()
{
    int iRunning = ACCEL_POLL_RUNNING;
    g_HostAccel.iPoll.compare_exchange_strong(iRunning, ACCEL_POLL_SUSPENDED);
}

void HostAccelResume()
{
    int iSuspended = ACCEL_POLL_SUSPENDED;
    g_HostAccel.iPoll.compare_exchange_strong(iSuspended, ACCEL_POLL_RUNNING);
}

void HostAccelSetInterval(unsigned int uiMilliseconds)
{
    g_HostAccel.iIntervalMs = static_cast<int>(uiMilliseconds);
}

Uint32 HostAccelTick(Uint32 uiInterval, void* pParam)
{
    const int iPoll = g_HostAccel.iPoll;
    if (reinterpret_cast<std::intptr_t>(pParam) != s_iTimerGeneration || s_bFrameClock)
    {
        return 0;  // the timer of an earlier start, or the frame clock took over
    }
    if (iPoll != ACCEL_POLL_RUNNING)
    {
        // Stopped: the timer ends. Suspended: it waits without sampling.
        return iPoll == ACCEL_POLL_SUSPENDED ? uiInterval : 0;
    }
    const Uint32 uiNow = SDL_GetTicks();
    const float fSeconds =
        s_uiLastLeanTicks == 0 ? 0.0f : static_cast<float>(uiNow - s_uiLastLeanTicks) / 1000.0f;
    s_uiLastLeanTicks = uiNow;
    TakeSample(fSeconds, static_cast<double>(uiNow));
    // The next tick after the poll rate asked for now (SDL may have rounded the last one).
    return static_cast<Uint32>(g_HostAccel.iIntervalMs);
}

float HostAccelReadX()
{
    int iAxes[3];
    ReadAxes(iAxes, 0.0f);
    return static_cast<float>(iAxes[0]) * 3.0517578e-05f;
}

float HostAccelReadY()
{
    int iAxes[3];
    ReadAxes(iAxes, 0.0f);
    return -(static_cast<float>(iAxes[1]) * 3.0517578e-05f);
}

float HostAccelReadZ()
{
    int iAxes[3];
    ReadAxes(iAxes, 0.0f);
    return -(static_cast<float>(iAxes[2]) * 3.0517578e-05f);
}

void HostAccelFollowFrameClock(bool bFollow)
{
    if (s_bFrameClock.exchange(bFollow) == bFollow)
    {
        return;
    }
    s_dFrameClockDue = 0.0;
    if (!bFollow && g_HostAccel.iPoll != ACCEL_POLL_STOPPED)
    {
        AddTimer(static_cast<unsigned int>(g_HostAccel.iIntervalMs));
    }
}

void HostAccelAdvance(double dSeconds)
{
    if (!s_bFrameClock || g_HostAccel.iPoll != ACCEL_POLL_RUNNING || !(dSeconds > 0.0))
    {
        return;
    }
    // At least a millisecond between samples, as SDL's timer would take it; a frame longer
    // than a second (a script may say so) polls as a second would.
    const double dInterval = std::max(1, g_HostAccel.iIntervalMs.load()) / 1000.0;
    const double dStep = std::min(dSeconds, 1.0);
    s_dFrameClockNow += dStep;
    s_dFrameClockDue += dStep;
    while (s_dFrameClockDue >= dInterval)
    {
        s_dFrameClockDue -= dInterval;
        TakeSample(static_cast<float>(dInterval), s_dFrameClockNow * 1000.0);
    }
}
