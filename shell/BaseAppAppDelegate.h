#pragma once

// The application delegate: starts the game when launching has finished, slows the frame
// timer and pauses a level when the application goes inactive, hands the player's pause and
// back keys to the game, and shuts the game down.

#include "Application.h"
#include "EAGLView.h"

class BaseAppAppDelegate : public UIApplicationDelegate
{
public:
    ~BaseAppAppDelegate() override;

    UIWindow* window() const { return pWindow; }
    EAGLView* glView() const { return pGlView; }
    // The delegate owns its window and view.
    void setWindow(UIWindow* pNewWindow);
    void setGlView(EAGLView* pNewView);

    void applicationDidFinishLaunching(UIApplication* pApplication) override;
    void applicationWillResignActive(UIApplication* pApplication) override;
    void applicationDidBecomeActive(UIApplication* pApplication) override;
    void applicationWillTerminate(UIApplication* pApplication) override;
    // The game's pause key (GAME_TogglePause, and the recording notes it); a pause that does not
    // toggle only pauses a level being played. The frame timer keeps its pace.
    void applicationDidRequestPause(UIApplication* pApplication, bool bToggle) override;
    // The game's back key (GAME_Back).
    void applicationDidRequestBack(UIApplication* pApplication) override;
    // Out of sight the level in play is saved, as at a quit; back in sight that file goes.
    void applicationDidEnterBackground(UIApplication* pApplication) override;
    void applicationWillEnterForeground(UIApplication* pApplication) override;

private:
    UIWindow* pWindow = nullptr;
    EAGLView* pGlView = nullptr;
};

// The main interface: window, GL view and delegate, connected, the delegate made the
// application's and the window its key window.
void SHELL_LoadMainInterface(UIApplication* pApplication);
