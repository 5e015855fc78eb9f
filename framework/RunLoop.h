#pragma once

// Repeating timers and the run loop that fires them. Timers live in a fixed pool inside the run
// loop, so scheduling and firing never allocate. All of this runs on the main thread.

constexpr int MAX_TIMERS = 8;  // timers scheduled at once; the game uses one, the frame timer

// Seconds on the run loop's clock (monotonic). Tests may replace the clock.
double FW_Now();
void FW_SetClock(double (*pClock)());  // null restores the real clock

class NSTimer
{
public:
    using Callback = void (*)(void* pTarget);

    // A timer scheduled on the current run loop, first firing dInterval seconds from now.
    static NSTimer* scheduledTimerWithTimeInterval(double dInterval, void* pTarget,
                                                   Callback pfnCallback, bool bRepeats);

    // The same for a member function: scheduledTimer<&EAGLView::drawView>(1 / 60.0, this, true).
    template <auto pfnMethod, typename T>
    static NSTimer* scheduledTimer(double dInterval, T* pTarget, bool bRepeats)
    {
        return scheduledTimerWithTimeInterval(
            dInterval, pTarget, [](void* p) { (static_cast<T*>(p)->*pfnMethod)(); }, bRepeats);
    }

    // Stops the timer for good; its pool slot is free afterwards. Safe to call twice.
    void invalidate();
    bool isValid() const { return bValid; }
    double timeInterval() const { return dInterval; }
    double fireDate() const { return dFireDate; }

private:
    friend class NSRunLoop;

    bool bValid = false;
    bool bRepeats = false;
    double dInterval = 0.0;
    double dFireDate = 0.0;
    void* pTarget = nullptr;
    Callback pfnCallback = nullptr;
};

class NSRunLoop
{
public:
    static NSRunLoop* currentRunLoop();

    // Fires every timer whose fire date is not later than dLimitDate, each once; a repeating
    // timer then moves to its next fire date after the limit, keeping its phase.
    void runUntilDate(double dLimitDate);

    // The earliest fire date of a valid timer; false when there is none.
    bool nextFireDate(double* pDate) const;

    // Waits until the next timer is due (or dMaxSeconds when none is scheduled).
    void waitForNextTimer(double dMaxSeconds);

    NSTimer* allocateTimer();

private:
    NSTimer tTimers[MAX_TIMERS];
};
