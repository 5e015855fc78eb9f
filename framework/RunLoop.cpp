#include "RunLoop.h"

#include <cmath>

#include "Assert.h"
#include "Host.h"

namespace
{

double (*s_pClock)() = HostNow;

}  // namespace

double FW_Now()
{
    return s_pClock();
}

void FW_SetClock(double (*pClock)())
{
    s_pClock = pClock != nullptr ? pClock : HostNow;
}

NSTimer* NSTimer::scheduledTimerWithTimeInterval(double dInterval, void* pTarget,
                                                 Callback pfnCallback, bool bRepeats)
{
    NSTimer* pTimer = NSRunLoop::currentRunLoop()->allocateTimer();
    // A repeating timer of no interval would fire without end within one run-loop step.
    pTimer->dInterval = dInterval > 0.0001 ? dInterval : 0.0001;
    pTimer->bRepeats = bRepeats;
    pTimer->pTarget = pTarget;
    pTimer->pfnCallback = pfnCallback;
    pTimer->dFireDate = FW_Now() + pTimer->dInterval;
    pTimer->bValid = true;
    return pTimer;
}

void NSTimer::invalidate()
{
    bValid = false;
    pTarget = nullptr;
    pfnCallback = nullptr;
}

NSRunLoop* NSRunLoop::currentRunLoop()
{
    static NSRunLoop s_RunLoop;
    return &s_RunLoop;
}

NSTimer* NSRunLoop::allocateTimer()
{
    for (NSTimer& tTimer : tTimers)
    {
        if (!tTimer.bValid)
        {
            return &tTimer;
        }
    }
    BF_ASSERT("framework/RunLoop", !"MAX_TIMERS hit");
    return nullptr;
}

void NSRunLoop::runUntilDate(double dLimitDate)
{
    for (NSTimer& tTimer : tTimers)
    {
        if (!tTimer.bValid || tTimer.dFireDate > dLimitDate)
        {
            continue;
        }
        const double dInterval = tTimer.dInterval;
        if (tTimer.bRepeats)
        {
            // Missed fire dates are skipped: the next one is the first after the limit.
            const double dBehind = dLimitDate - tTimer.dFireDate;
            tTimer.dFireDate += dInterval * (std::floor(dBehind / dInterval) + 1.0);
        }
        NSTimer::Callback pfnCallback = tTimer.pfnCallback;
        void* pTarget = tTimer.pTarget;
        if (!tTimer.bRepeats)
        {
            tTimer.invalidate();
        }
        // The callback may invalidate this timer and schedule others.
        pfnCallback(pTarget);
    }
}

bool NSRunLoop::nextFireDate(double* pDate) const
{
    bool bFound = false;
    for (const NSTimer& tTimer : tTimers)
    {
        if (tTimer.bValid && (!bFound || tTimer.dFireDate < *pDate))
        {
            *pDate = tTimer.dFireDate;
            bFound = true;
        }
    }
    return bFound;
}

void NSRunLoop::waitForNextTimer(double dMaxSeconds)
{
    const double dNow = FW_Now();
    double dNext = 0.0;
    if (!nextFireDate(&dNext) || dNext > dNow + dMaxSeconds)
    {
        dNext = dNow + dMaxSeconds;
    }
    if (dNext > dNow)
    {
        // The real clock and the host's sleep share the monotonic time base.
        HostSleepUntil(HostNow() + (dNext - dNow));
    }
}
