#include "BaseAppAppDelegate.h"

#include <cstdio>
#include <cstdlib>

#include "Game.h"
#include "ScriptDriver.h"
#include "View.h"

BaseAppAppDelegate::~BaseAppAppDelegate()
{
    delete pGlView;
    delete pWindow;
}

void BaseAppAppDelegate::setWindow(UIWindow* pNewWindow)
{
    if (pNewWindow != pWindow)
    {
        delete pWindow;
        pWindow = pNewWindow;
    }
}

void BaseAppAppDelegate::setGlView(EAGLView* pNewView)
{
    if (pNewView != pGlView)
    {
        delete pGlView;
        pGlView = pNewView;
    }
}

void BaseAppAppDelegate::applicationDidFinishLaunching(UIApplication*)
{
    GAME_Init();
    pGlView->setAnimationInterval(FRAME_INTERVAL_ACTIVE);
    pGlView->startAnimation();
    pGlView->initTouchResponder();
}

void BaseAppAppDelegate::applicationWillResignActive(UIApplication*)
{
    SCRIPT_NoteFocus(false);
    pGlView->setAnimationInterval(FRAME_INTERVAL_INACTIVE);
    GAME_PauseLevel();
}

void BaseAppAppDelegate::applicationDidBecomeActive(UIApplication*)
{
    SCRIPT_NoteFocus(true);
    pGlView->setAnimationInterval(FRAME_INTERVAL_ACTIVE);
}

void BaseAppAppDelegate::applicationWillTerminate(UIApplication*)
{
    SCRIPT_NoteQuit();
    GAME_Shutdown();
}

void BaseAppAppDelegate::applicationDidRequestPause(UIApplication*, bool bToggle)
{
    if (!bToggle)
    {
        GAME_PauseLevel();
        return;
    }
    SCRIPT_NotePause();
    GAME_TogglePause();
}

void BaseAppAppDelegate::applicationDidRequestBack(UIApplication*)
{
    SCRIPT_NoteBack();
    GAME_Back();
}

void BaseAppAppDelegate::applicationDidEnterBackground(UIApplication*)
{
    GAME_EnterBackground();
}

void BaseAppAppDelegate::applicationWillEnterForeground(UIApplication*)
{
    GAME_EnterForeground();
}

void SHELL_LoadMainInterface(UIApplication* pApplication)
{
    BaseAppAppDelegate* pDelegate = new BaseAppAppDelegate();
    UIWindow* pWindow = new UIWindow();
    EAGLView* pView = EAGLView::initWithCoder();
    if (pView == nullptr)
    {
        std::printf("Boughfall: cannot create the OpenGL ES 1 view\n");
        std::exit(1);
    }
    pWindow->setTouchView(pView);
    pDelegate->setWindow(pWindow);
    pDelegate->setGlView(pView);
    pApplication->setDelegate(pDelegate);
    pApplication->setKeyWindow(pWindow);
}
