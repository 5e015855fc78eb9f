// The 2D space in the landscape window and the fade, read back from the pixels. (The fade's
// 34 frames each way are counted in test_game, through the state machine.)

#include <gtest/gtest.h>

#include "GLES.h"
#include "HostDisplay.h"
#include "Screen.h"
#include "TestSupport.h"

TEST(Screen, TheGameSpaceIsUprightInTheWindowAndTheFadeDarkensIt)
{
    ASSERT_TRUE(TEST_OpenGLWindow(480, 480));
    // A red rectangle over game (0, 0) - (20, 10), drawn through the quarter turn into a
    // square window: the picture lands upright between bars above and below.
    HostDisplaySetForTest(true, 480, 480);
    const HostDisplayRect tGame = HostDisplayGameRect();
    HostDisplayViewport(0, 0, 320, 480);
    SCREEN_Clear();
    SCREEN_Set2D();
    const GLfloat tCorners[8] = {0.0f, 0.0f, 0.0f, 10.0f, 20.0f, 10.0f, 20.0f, 0.0f};
    static const GLushort s_uiIndices[6] = {0, 1, 2, 0, 2, 3};
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glColor4ub(255, 0, 0, 255);
    glVertexPointer(2, GL_FLOAT, 0, tCorners);
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_SHORT, s_uiIndices);
    EXPECT_EQ(TEST_ReadPixel(tGame.iX + 2, tGame.iY + 2), 0xFF0000FFu);   // bottom left
    EXPECT_EQ(TEST_ReadPixel(tGame.iX + 22, tGame.iY + 2), 0x000000FFu);  // right of it
    EXPECT_EQ(TEST_ReadPixel(tGame.iX + 2, tGame.iY + 12), 0x000000FFu);  // above it
    EXPECT_EQ(TEST_ReadPixel(tGame.iX + 2, tGame.iY - 2), 0x000000FFu);   // the bar below

    // The fade darkens everything by its level.
    FADE_Set(0.5f);
    FADE_Draw();
    EXPECT_NEAR(static_cast<int>(TEST_ReadPixel(tGame.iX + 2, tGame.iY + 2) >> 24), 128, 2);
    FADE_Set(1.0f);
    HostDisplaySetForTest(false, 0, 0);
}
