// The desktop window end to end: the host opens it, the game picture lands upright where it
// should (also after a resize, between bars) and the fade darkens it, and a real mouse click
// from the X server reaches the touch input object as the game point under the pointer (a click
// on a bar reaching nothing is test_host's). On its own 1280 x 800 virtual screen the first
// window is 960 x 640.

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "Application.h"
#include "GLES.h"
#include "GameTouch.h"
#include "Host.h"
#include "HostDisplay.h"
#include "INPTTouch.h"
#include "Screen.h"
#include "Settings.h"
#include "TestSupport.h"
#include "Touch.h"
#include "View.h"

namespace
{

void DrawMarker()
{
    // A green square over game (100, 50) - (110, 60) on black.
    const GLfloat tCorners[8] = {100, 50, 100, 60, 110, 60, 110, 50};
    static const GLushort s_uiIndices[6] = {0, 1, 2, 0, 2, 3};
    SCREEN_Clear();
    HostSetViewport(0, 0, 320, 480);
    SCREEN_Set2D();
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glColor4ub(0, 255, 0, 255);
    glVertexPointer(2, GL_FLOAT, 0, tCorners);
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_SHORT, s_uiIndices);
}

std::string RunCommand(const std::string& strCommand)
{
    std::string strOut;
    TEST_RunCommand(strCommand, &strOut);
    return strOut;
}

// Hands SDL's pending events to the host for a while. Unlike HostPumpEvents this never blocks:
// a stray focus change cannot stall the test.
void HandleEventsFor(int iMilliseconds, INPTTouch* pInput, bool bUntilLifted)
{
    for (int i = 0; i < iMilliseconds / 10; ++i)
    {
        SDL_Event tEvent;
        while (SDL_PollEvent(&tEvent))
        {
            HostHandleEvent(&tEvent);
        }
        if (bUntilLifted && pInput->getTouches()[0].iAge == -1)
        {
            return;
        }
        SDL_Delay(10);
    }
}

}  // namespace

TEST(DesktopWindow, PictureAndClicksMapThroughTheQuarterTurn)
{
    HostInit();
    FW_InstallHostCalls();
    ASSERT_EQ(HostDisplayWindowWidth(), 960);
    ASSERT_EQ(HostDisplayWindowHeight(), 640);
    EXPECT_EQ(g_Host.iScreenWidth, 640);  // the portrait device surface
    EXPECT_EQ(g_Host.iScreenHeight, 960);

    DrawMarker();
    EXPECT_EQ(TEST_ReadPixel(210, 110), 0x00FF00FFu);  // game (105, 55) at 2x
    EXPECT_EQ(TEST_ReadPixel(230, 110), 0x000000FFu);
    EXPECT_EQ(TEST_ReadPixel(210, 130), 0x000000FFu);
    HostSwapBuffers();

    // Wider: bars of 120 pixels left and right, the picture 960 x 640 between them.
    HostDisplayResize(1200, 640);
    ASSERT_EQ(HostDisplayWindowWidth(), 1200);
    int iRemembered[2] = {0, 0};
    SETTINGS_WindowSize(&iRemembered[0], &iRemembered[1]);  // the player's size is remembered
    EXPECT_EQ(iRemembered[0], 1200);
    EXPECT_EQ(iRemembered[1], 640);
    DrawMarker();
    EXPECT_EQ(TEST_ReadPixel(330, 110), 0x00FF00FFu);
    EXPECT_EQ(TEST_ReadPixel(60, 320), 0x000000FFu);  // the bar stays black
    TEST_ReadPicture(1200, 640).Save("window-resized.png");
    // The fade darkens the picture by its level.
    FADE_Set(0.5f);
    FADE_Draw();
    EXPECT_NEAR(static_cast<int>((TEST_ReadPixel(330, 110) >> 16) & 0xFF), 128, 2);
    FADE_Set(1.0f);
    HostSwapBuffers();

    // A real click from the X server at that pixel reaches the touch object as (105, 55).
    INPTTouch* pInput = INPTTouch::alloc();
    pInput->clear();
    TouchForwarder tView;
    tView.pInput = pInput;
    UIWindow tWindow;
    tWindow.setTouchView(&tView);
    UIApplication::sharedApplication()->setKeyWindow(&tWindow);
    const std::string strWindow = RunCommand("xdotool search --name '^Boughfall$' | head -n 1");
    ASSERT_FALSE(strWindow.empty()) << "xdotool did not find the window";
    const std::string strClick = "xdotool mousemove --window " +
                                 strWindow.substr(0, strWindow.find('\n')) + " 330 530 click 1";
    ASSERT_EQ(std::system(strClick.c_str()), 0);
    HandleEventsFor(2000, pInput, true);
    EXPECT_EQ(pInput->getNewTouchPoints()[0].x, 105);
    EXPECT_EQ(pInput->getNewTouchPoints()[0].y, 55);
    EXPECT_EQ(pInput->getTouches()[0].iAge, -1);  // and was lifted again

    UIApplication::sharedApplication()->reset();
    ::operator delete(pInput);
    // The audio thread stops before the process exits. The display stays open: closing it would
    // unload Mesa's driver, whose few lasting allocations the leak checker could then not name.
    HostCloseAudio();
}
