#include "GameTouch.h"

#include "Application.h"
#include "Input.h"
#include "Touch.h"

namespace
{

TouchForwarder s_tView;
UIWindow s_tWindow;
unsigned int s_uiTicks = 1000;

}  // namespace

void TEST_InstallGameTouch()
{
    if (g_pInput == nullptr)
    {
        g_pInput = new CInput();
    }
    s_tView.pInput = g_pInput->CreateTouch();
    UIApplication::sharedApplication()->reset();
    FW_ResetTouches();
    s_tWindow.setTouchView(&s_tView);
    UIApplication::sharedApplication()->setKeyWindow(&s_tWindow);
}

void TEST_TapGame(int iX, int iY)
{
    // The framework works in the portrait space: its x is the game's y and its y the game's x.
    s_uiTicks += 500;
    FW_TouchBegan(iY, iX, s_uiTicks);
    FW_TouchEnded(iY, iX, s_uiTicks + 50);
}

void TEST_RemoveGameTouch()
{
    UIApplication::sharedApplication()->reset();
    delete g_pInput;
    g_pInput = nullptr;
}
