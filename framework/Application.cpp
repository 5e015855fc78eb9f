#include "Application.h"

#include <cstdlib>

#include "Accelerometer.h"
#include "Assert.h"
#include "Host.h"
#include "RunLoop.h"
#include "View.h"

const char* const UIApplicationDidBecomeActiveNotification =
    "UIApplicationDidBecomeActiveNotification";
const char* const UIApplicationWillResignActiveNotification =
    "UIApplicationWillResignActiveNotification";
const char* const UIApplicationWillTerminateNotification = "UIApplicationWillTerminateNotification";

namespace
{

// Longest wait between two turns of the main loop when no timer is scheduled.
constexpr double MAX_IDLE_WAIT_SECONDS = 0.05;

void HostBecameActive()
{
    UIApplication::sharedApplication()->becomeActive();
}

void HostResignActive()
{
    UIApplication::sharedApplication()->resignActive();
}

void HostRequestTermination()
{
    UIApplication::sharedApplication()->requestTermination();
}

void HostPauseRequested(bool bToggle)
{
    UIApplication::sharedApplication()->requestPause(bToggle);
}

void HostBackRequested()
{
    UIApplication::sharedApplication()->requestBack();
}

void HostEnteredBackground()
{
    UIApplication::sharedApplication()->enterBackground();
}

void HostEnteringForeground()
{
    UIApplication::sharedApplication()->enterForeground();
}

// One turn of the main loop: a run-loop step, the host's events, then the wait for the next
// timer. False once the application has terminated.
bool RunTurn()
{
    UIApplication* pApplication = UIApplication::sharedApplication();
    pApplication->runLoopStep();
    if (pApplication->isTerminated())
    {
        return false;
    }
    HostPumpEvents();
    if (!pApplication->isTerminating())
    {
        NSRunLoop::currentRunLoop()->waitForNextTimer(MAX_IDLE_WAIT_SECONDS);
    }
    return !pApplication->isTerminated();
}

}  // namespace

UIApplication* UIApplication::sharedApplication()
{
    static UIApplication s_Application;
    return &s_Application;
}

bool UIApplication::canPostEvent() const
{
    return !bRunning || iNumQueued < MAX_QUEUED_EVENTS;
}

bool UIApplication::postEvent(const UIEvent& tEvent, bool bAtStart)
{
    if (iNumQueued >= MAX_QUEUED_EVENTS)
    {
        return false;
    }
    if (bAtStart)
    {
        iFirstQueued = (iFirstQueued + MAX_QUEUED_EVENTS - 1) % MAX_QUEUED_EVENTS;
        tQueue[iFirstQueued] = tEvent;
    }
    else
    {
        tQueue[(iFirstQueued + iNumQueued) % MAX_QUEUED_EVENTS] = tEvent;
    }
    ++iNumQueued;
    return true;
}

bool UIApplication::handleEvent(const UIEvent& tEvent)
{
    if (bRunning)
    {
        return postEvent(tEvent, false);
    }
    if (pKeyWindow != nullptr)
    {
        UIEvent tCopy = tEvent;
        pKeyWindow->sendEvent(&tCopy);
    }
    return true;
}

void UIApplication::finishLaunching()
{
    if (pDelegate != nullptr)
    {
        pDelegate->applicationDidFinishLaunching(this);
    }
}

void UIApplication::runLoopStep()
{
    NSRunLoop::currentRunLoop()->runUntilDate(FW_Now() + HostTimerLead());
    sendQueuedEvents();
    if (bTerminate)
    {
        terminate();
    }
}

void UIApplication::sendQueuedEvents()
{
    // Events queued while these are sent wait for the next call.
    for (int iCount = iNumQueued; iCount > 0 && iNumQueued > 0; --iCount)
    {
        UIEvent tEvent = tQueue[iFirstQueued];
        iFirstQueued = (iFirstQueued + 1) % MAX_QUEUED_EVENTS;
        --iNumQueued;
        if (pKeyWindow != nullptr)
        {
            pKeyWindow->sendEvent(&tEvent);
        }
    }
}

void UIApplication::run()
{
    finishLaunching();
    if (pKeyWindow != nullptr)
    {
        pKeyWindow->layoutIfNeeded();
    }
    bRunning = true;
    HostRunMainLoop(RunTurn);
    bRunning = false;
}

void UIApplication::becomeActive()
{
    if (bActive)
    {
        return;
    }
    bActive = true;
    if (pDelegate != nullptr)
    {
        pDelegate->applicationDidBecomeActive(this);
    }
}

void UIApplication::resignActive()
{
    if (!bActive)
    {
        return;
    }
    bActive = false;
    if (pDelegate != nullptr)
    {
        pDelegate->applicationWillResignActive(this);
    }
}

void UIApplication::enterBackground()
{
    if (!bInBackground && !bTerminate && pDelegate != nullptr)
    {
        bInBackground = true;
        pDelegate->applicationDidEnterBackground(this);
    }
}

void UIApplication::enterForeground()
{
    if (bInBackground && pDelegate != nullptr)
    {
        bInBackground = false;
        pDelegate->applicationWillEnterForeground(this);
    }
}

void UIApplication::requestPause(bool bToggle)
{
    if (bActive && !bTerminate && pDelegate != nullptr)
    {
        pDelegate->applicationDidRequestPause(this, bToggle);
    }
}

void UIApplication::requestBack()
{
    if (bActive && !bTerminate && pDelegate != nullptr)
    {
        pDelegate->applicationDidRequestBack(this);
    }
}

void UIApplication::requestTermination()
{
    bTerminate = true;
    runLoopStep();
}

void UIApplication::terminate()
{
    if (bTerminated)
    {
        return;
    }
    bTerminated = true;
    if (pDelegate != nullptr)
    {
        pDelegate->applicationWillTerminate(this);
    }
}

void UIApplication::reset()
{
    *this = UIApplication();
}

void UIApplication::checkQueue() const
{
    BF_ASSERT("framework/Application", iNumQueued >= 0 && iNumQueued <= MAX_QUEUED_EVENTS);
    BF_ASSERT("framework/Application", iFirstQueued >= 0 && iFirstQueued < MAX_QUEUED_EVENTS);
}

void FW_InstallHostCalls()
{
    HostFrameworkCalls tCalls{};
    tCalls.pTouchBegan = FW_TouchBegan;
    tCalls.pTouchMoved = FW_TouchMoved;
    tCalls.pTouchEnded = FW_TouchEnded;
    tCalls.pBecameActive = HostBecameActive;
    tCalls.pResignActive = HostResignActive;
    tCalls.pRequestTermination = HostRequestTermination;
    tCalls.pPauseRequested = HostPauseRequested;
    tCalls.pBackRequested = HostBackRequested;
    tCalls.pAccelerometerSample = FW_AccelerometerSample;
    tCalls.pEnteredBackground = HostEnteredBackground;
    tCalls.pEnteringForeground = HostEnteringForeground;
    HostSetFrameworkCalls(&tCalls);
}

int UIApplicationMain(int, char**, UIMainInterfaceLoader pfnLoadMainInterface)
{
    HostInit();
    FW_InstallHostCalls();
    UIApplication* pApplication = UIApplication::sharedApplication();
    if (pfnLoadMainInterface != nullptr)
    {
        pfnLoadMainInterface(pApplication);
    }
    pApplication->run();
    HostShutdown();
    if (pApplication->isTerminating())
    {
        std::exit(0);
    }
    return 0;
}
