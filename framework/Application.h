#pragma once

// The application object: launch, the main loop, the event queue, activation and termination.

#include "Touch.h"

class UIApplication;
class UIWindow;

// What the application tells its delegate, in the order of a run.
class UIApplicationDelegate
{
public:
    virtual ~UIApplicationDelegate() = default;
    virtual void applicationDidFinishLaunching(UIApplication* pApplication) = 0;
    virtual void applicationWillResignActive(UIApplication* pApplication) = 0;
    virtual void applicationDidBecomeActive(UIApplication* pApplication) = 0;
    virtual void applicationWillTerminate(UIApplication* pApplication) = 0;
    // The player asked for the pause: the pause key (on a desktop: P) toggles it (bToggle), a
    // second finger in the browser only pauses. A delegate that has nothing to pause need not
    // answer.
    virtual void applicationDidRequestPause(UIApplication*, bool /*bToggle*/) {}
    // The player asked to go back (on a desktop: Esc; on a handheld: the back gesture). A
    // delegate with nowhere to go back to need not answer.
    virtual void applicationDidRequestBack(UIApplication*) {}
    // The application is out of sight and may be ended without another word (a browser tab
    // hidden), and back in sight. Only a host whose quit is not always announced sends these;
    // each comes after the resign-active or before the become-active it goes with.
    virtual void applicationDidEnterBackground(UIApplication*) {}
    virtual void applicationWillEnterForeground(UIApplication*) {}
};

// Posted to the delegate as it happens; kept for the diagnostic trace.
extern const char* const UIApplicationDidBecomeActiveNotification;
extern const char* const UIApplicationWillResignActiveNotification;
extern const char* const UIApplicationWillTerminateNotification;

constexpr int MAX_QUEUED_EVENTS = 64;  // events waiting for the next run-loop step

class UIApplication
{
public:
    static UIApplication* sharedApplication();

    void setDelegate(UIApplicationDelegate* pNewDelegate) { pDelegate = pNewDelegate; }
    UIApplicationDelegate* delegate() const { return pDelegate; }
    void setKeyWindow(UIWindow* pWindow) { pKeyWindow = pWindow; }
    UIWindow* keyWindow() const { return pKeyWindow; }

    // The event entry: while the main loop runs, queued for the next run-loop step (a full
    // queue drops the event and returns false); before it runs, sent to the key window at once.
    bool handleEvent(const UIEvent& tEvent);
    bool postEvent(const UIEvent& tEvent, bool bAtStart);
    bool canPostEvent() const;
    int queuedEventCount() const { return iNumQueued; }

    // Launch: tells the delegate that launching has finished.
    void finishLaunching();

    // The main loop, until termination: each turn runs one run-loop step, pumps the host's
    // events, then waits for the next timer.
    void run();

    // One run-loop step: fire due timers, send the queued events to the key window in order,
    // then terminate if asked to.
    void runLoopStep();
    // Sends the events queued so far to the key window, in order (events queued meanwhile wait
    // for the next call). The scripted driver calls it so that each of its steps reaches the
    // game before the next one is taken.
    void sendQueuedEvents();

    // Activation: the delegate hears only of a change.
    void becomeActive();
    void resignActive();
    bool isActive() const { return bActive; }

    // The player asked for the pause, or to go back: the delegate hears of it while the
    // application is active and not terminating.
    void requestPause(bool bToggle);
    void requestBack();

    // Out of sight and back: the delegate hears only of a change, and of no background once
    // the application is terminating.
    void enterBackground();
    void enterForeground();

    // Sets the terminate flag and runs one run-loop step at once.
    void requestTermination();
    bool isTerminating() const { return bTerminate; }
    bool isTerminated() const { return bTerminated; }

    // Tells the delegate the application will terminate (once) and ends the main loop.
    void terminate();

    bool isRunning() const { return bRunning; }

    // Back to the state of a new process (tests).
    void reset();

    // The queue's bounds hold (assertions "framework/Application"): the soak checks it every
    // frame.
    void checkQueue() const;

private:
    UIApplicationDelegate* pDelegate = nullptr;
    UIWindow* pKeyWindow = nullptr;
    UIEvent tQueue[MAX_QUEUED_EVENTS];
    int iFirstQueued = 0;
    int iNumQueued = 0;
    bool bActive = true;
    bool bInBackground = false;
    bool bRunning = false;
    bool bTerminate = false;
    bool bTerminated = false;
};

// Builds the main interface: the window, the view and the delegate, connected, with the
// delegate set on the application and the window made key.
using UIMainInterfaceLoader = void (*)(UIApplication* pApplication);

// The process's application main: host start-up, the main interface, the main loop; returns
// the exit status (0 after a normal termination).
int UIApplicationMain(int argc, char** argv, UIMainInterfaceLoader pfnLoadMainInterface);

// Connects the host's touch, activation, quit, pause, back and accelerometer reports to the
// framework.
void FW_InstallHostCalls();
