// The 2D space and the fade: step counts and what reaches the pixels.

#include <gtest/gtest.h>

#include "GLES.h"
#include "HostDisplay.h"
#include "Screen.h"
#include "TestSupport.h"

namespace
{

// A flat-coloured rectangle of the 2D space.
void FillRect(float fLeft, float fBottom, float fRight, float fTop, const GLubyte tColour[4])
{
    const GLfloat tCorners[8] = {fLeft, fBottom, fLeft, fTop, fRight, fTop, fRight, fBottom};
    const GLubyte tColours[16] = {tColour[0], tColour[1], tColour[2], tColour[3],
                                  tColour[0], tColour[1], tColour[2], tColour[3],
                                  tColour[0], tColour[1], tColour[2], tColour[3],
                                  tColour[0], tColour[1], tColour[2], tColour[3]};
    static const GLushort s_uiIndices[6] = {0, 1, 2, 0, 2, 3};
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, tCorners);
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, tColours);
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_SHORT, s_uiIndices);
}

}  // namespace

TEST(Fade, AFullFadeTakesThirtyFourFramesEachWay)
{
    FADE_Set(1.0f);
    EXPECT_FLOAT_EQ(FADE_Level(), 0.0f);
    EXPECT_TRUE(FADE_StepIn());  // already clear
    int iSteps = 0;
    while (!FADE_StepOut())
    {
        ++iSteps;
    }
    EXPECT_EQ(iSteps + 1, 34);
    EXPECT_EQ(FADE_Level(), 1.0f);
    iSteps = 0;
    while (!FADE_StepIn())
    {
        ++iSteps;
    }
    EXPECT_EQ(iSteps + 1, 34);
    EXPECT_EQ(FADE_Level(), 0.0f);

    FADE_Set(0.01f);  // level 0.99: one step passes 1 and clamps
    EXPECT_TRUE(FADE_StepOut());
    EXPECT_EQ(FADE_Level(), 1.0f);
    FADE_Set(0.5f);
    EXPECT_EQ(FADE_Alpha(), 127);
    FADE_Set(1.0f);
}

TEST(Screen, TheGameSpaceIsUprightInAPortraitViewportAndInTheLandscapeWindow)
{
    ASSERT_TRUE(TEST_OpenGLWindow(480, 480));
    static const GLubyte s_tRed[4] = {255, 0, 0, 255};

    // A portrait device surface: game (0, 0) is its top-left corner, the centre is the centre.
    HostDisplaySetForTest(false, 0, 0);
    glViewport(0, 0, 320, 480);
    SCREEN_Clear();
    SCREEN_Set2D();
    FillRect(0.0f, 0.0f, 20.0f, 10.0f, s_tRed);       // game bottom-left corner
    EXPECT_EQ(TEST_ReadPixel(2, 477), 0xFF0000FFu);   // portrait top-left
    EXPECT_EQ(TEST_ReadPixel(12, 477), 0x000000FFu);  // game y 10 is 10 px in
    EXPECT_EQ(TEST_ReadPixel(2, 458), 0x000000FFu);   // game x 20 is 20 px down
    FillRect(238.0f, 158.0f, 242.0f, 162.0f, s_tRed);
    EXPECT_EQ(TEST_ReadPixel(160, 240), 0xFF0000FFu);

    // The desktop window: the quarter turn makes the same picture landscape and upright.
    HostDisplaySetForTest(true, 480, 480);
    const HostDisplayRect tGame = HostDisplayGameRect();
    HostDisplayViewport(0, 0, 320, 480);
    SCREEN_Clear();
    SCREEN_Set2D();
    FillRect(0.0f, 0.0f, 20.0f, 10.0f, s_tRed);
    EXPECT_EQ(TEST_ReadPixel(tGame.iX + 2, tGame.iY + 2), 0xFF0000FFu);   // bottom left
    EXPECT_EQ(TEST_ReadPixel(tGame.iX + 22, tGame.iY + 2), 0x000000FFu);  // right of it
    EXPECT_EQ(TEST_ReadPixel(tGame.iX + 2, tGame.iY + 12), 0x000000FFu);  // above it
    EXPECT_EQ(TEST_ReadPixel(tGame.iX + 2, tGame.iY - 2), 0x000000FFu);   // the bar below

    // The fade darkens everything by its level.
    FADE_Set(0.5f);
    FADE_Draw();
    const std::uint32_t uiFaded = TEST_ReadPixel(tGame.iX + 2, tGame.iY + 2);
    EXPECT_NEAR(static_cast<int>(uiFaded >> 24), 128, 2);
    FADE_Set(1.0f);
    HostDisplaySetForTest(false, 0, 0);
}
