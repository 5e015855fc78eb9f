// What both hosts share of the accelerometer poll: the emulated device that the arrow keys and a
// stick lean, the smoothing and quantisation of every polled sample, the immediate reads, and the
// poll's suspension and period.

#include <algorithm>
#include <atomic>
#include <cmath>

#include "Host.h"
#include "HostAccel.h"

HostAccelState g_HostAccel;

namespace
{

// Written by the main thread, read by the poll.
std::atomic<int> s_iKeyLean{0};
// The emulated lean, stepped by the poll and read by the immediate reads.
std::atomic<float> s_fLean{0.0f};
unsigned int s_uiLastLeanMs = 0;  // the poll's own
// Following the frame clock: its time, and the seconds since its last sample (main thread).
std::atomic<bool> s_bFrameClock{false};
double s_dFrameClockNow = 0.0;
double s_dFrameClockDue = 0.0;

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

void HostAccelEmulatedRead(float fTarget, bool bStep, unsigned int uiNowMs, int iAxes[3])
{
    if (bStep)
    {
        const float fSeconds =
            s_uiLastLeanMs == 0 ? 0.0f : static_cast<float>(uiNowMs - s_uiLastLeanMs) / 1000.0f;
        s_uiLastLeanMs = uiNowMs;
        s_fLean.store(HostAccelStepLean(s_fLean.load(), fTarget, fSeconds));
    }
    HostAccelEmulatedAxes(s_fLean.load(), iAxes);
}

float HostAccelLeanTarget(float fStick)
{
    if (std::fabs(fStick) > ACCEL_STICK_DEAD_ZONE)
    {
        const float fSign = fStick < 0.0f ? -1.0f : 1.0f;
        const float fTravel =
            (std::fabs(fStick) - ACCEL_STICK_DEAD_ZONE) / (1.0f - ACCEL_STICK_DEAD_ZONE);
        return fSign * std::min(1.0f, fTravel);
    }
    return static_cast<float>(s_iKeyLean.load(std::memory_order_relaxed));
}

void HostAccelTakeSample(unsigned int uiNowMs)
{
    int iRaw[3];
    HostAccelReadRaw(iRaw, true, uiNowMs);
    float fX = 0.0f;
    float fY = 0.0f;
    float fZ = 0.0f;
    HostAccelFilterAxes(iRaw, &fX, &fY, &fZ);
    HostDeliverAccelerometerSample(fX, fY, fZ, static_cast<double>(uiNowMs));
}

float HostAccelReadX()
{
    int iAxes[3];
    HostAccelReadRaw(iAxes, false, 0);
    return static_cast<float>(iAxes[0]) * 3.0517578e-05f;
}

float HostAccelReadY()
{
    int iAxes[3];
    HostAccelReadRaw(iAxes, false, 0);
    return -(static_cast<float>(iAxes[1]) * 3.0517578e-05f);
}

float HostAccelReadZ()
{
    int iAxes[3];
    HostAccelReadRaw(iAxes, false, 0);
    return -(static_cast<float>(iAxes[2]) * 3.0517578e-05f);
}

void HostAccelSuspend()
{
    int iRunning = ACCEL_POLL_RUNNING;
    g_HostAccel.iPoll.compare_exchange_strong(iRunning, ACCEL_POLL_SUSPENDED);
}

void HostAccelSetInterval(unsigned int uiMilliseconds)
{
    g_HostAccel.iIntervalMs = static_cast<int>(uiMilliseconds);
}

bool HostAccelSwitchFrameClock(bool bFollow)
{
    if (s_bFrameClock.exchange(bFollow) == bFollow)
    {
        return false;
    }
    // The lean's next step counts from the new clock's first sample.
    s_uiLastLeanMs = 0;
    s_dFrameClockDue = 0.0;
    return true;
}

bool HostAccelFollowsFrameClock()
{
    return s_bFrameClock;
}

void HostAccelAdvance(double dSeconds)
{
    if (!s_bFrameClock || g_HostAccel.iPoll != ACCEL_POLL_RUNNING || !(dSeconds > 0.0))
    {
        return;
    }
    // At least a millisecond between samples, as a timer would take it; a frame longer than a
    // second (a script may say so) polls as a second would.
    const double dInterval = std::max(1, g_HostAccel.iIntervalMs.load()) / 1000.0;
    const double dStep = std::min(dSeconds, 1.0);
    s_dFrameClockNow += dStep;
    s_dFrameClockDue += dStep;
    while (s_dFrameClockDue >= dInterval)
    {
        s_dFrameClockDue -= dInterval;
        // Milliseconds from 1, so that the first sample on this clock is not taken for none.
        HostAccelTakeSample(1 + static_cast<unsigned int>(s_dFrameClockNow * 1000.0));
    }
}
