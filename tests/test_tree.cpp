// The tree: how its limbs, twigs and leaves sway (capped steps, turn-backs, one step per update
// whatever its length), the assertions, and drawing through the GL matrix stack with the base
// and tip read back: 25 branches and 60 leaves. (Release is test_level's, on a throw; the level
// tests spawn onto the twigs of generated trees.)

#include <gtest/gtest.h>

#include <cmath>

#include "Branch.h"
#include "GLES.h"
#include "Leaf.h"
#include "Random.h"
#include "TestSupport.h"

namespace
{

// A level's five limbs, as the level makes them.
struct Tree
{
    CBranch tLimbs[5];
    Tree()
    {
        for (int i = 0; i < 5; ++i)
        {
            const float fAngle = -80.0f + 40.0f * i;
            tLimbs[i].Generate(
                2, 4, fAngle,
                static_cast<float>(std::fabs(fAngle) * static_cast<double>(0.2f) / 90.0 +
                                   static_cast<double>(0.8f)));
        }
    }
};

}  // namespace

// A branch eases towards the ends of its band, one capped step an update whatever the update's
// length, and turns back at 99 % of the band; a leaf's step is capped too, it turns past 4.95
// moving up, and with no direction it settles at the bottom of its band.
TEST(Tree, BranchesAndLeavesSwayInCappedStepsAndTurnBack)
{
    EXPECT_FLOAT_EQ(SwayStep(-1.0f, 1.0f, 1.0f, 0.0f, 0.2f), 0.2f);    // mid-band, up
    EXPECT_FLOAT_EQ(SwayStep(-1.0f, 1.0f, 1.0f, 0.5f, 0.2f), 0.1f);    // nearer the top
    EXPECT_FLOAT_EQ(SwayStep(-1.0f, 1.0f, -1.0f, 0.5f, 0.2f), -0.1f);  // down
    EXPECT_FLOAT_EQ(SwayStep(-1.0f, 1.0f, 0.0f, -0.5f, 0.2f), -0.1f);  // 0 counts as down

    RAND_Seed(1);
    CBranch tBranch;
    CBranch tOther;
    tBranch.Generate(1, 0, 10.0f, 1.0f);
    tOther.Generate(1, 0, 10.0f, 1.0f);
    tBranch.tData.fSwayDir = tOther.tData.fSwayDir = 0.02f;
    tBranch.Update(1.0f / 60.0f);
    tOther.Update(5.0f);
    EXPECT_NEAR(tBranch.tData.fAngle, 10.015f, 1e-5f);  // the uncapped 0.15 cut to 0.015
    EXPECT_EQ(tOther.tData.fAngle, tBranch.tData.fAngle);
    float fHighest = 0.0f;
    float fLowest = 100.0f;
    for (int i = 0; i < 2000; ++i)
    {
        tBranch.Update(0.0f);
        fHighest = std::max(fHighest, tBranch.tData.fAngle);
        fLowest = std::min(fLowest, tBranch.tData.fAngle);
    }
    EXPECT_GT(fHighest, 10.0f + 0.99f * 0.75f);
    EXPECT_LE(fHighest, 10.75f);
    EXPECT_LT(fLowest, 10.0f - 0.99f * 0.75f);
    EXPECT_GE(fLowest, 9.25f);

    CLeaf& tLeaf = *tBranch.pLeaves[0];
    tLeaf.fAngle = tLeaf.fBaseAngle;
    tLeaf.fSwayDir = 0.3f;
    tLeaf.Update();
    EXPECT_FLOAT_EQ(tLeaf.fAngle, tLeaf.fBaseAngle + 0.125f);  // 1.0 uncapped
    tLeaf.fAngle = tLeaf.fBaseAngle + 4.96f;
    tLeaf.Update();
    EXPECT_LT(tLeaf.fSwayDir, 0.0f);
    tLeaf.fAngle = tLeaf.fBaseAngle;
    tLeaf.fSwayDir = 0.0f;
    for (int i = 0; i < 2000; ++i)
    {
        tLeaf.Update();
    }
    EXPECT_EQ(tLeaf.fSwayDir, 0.0f);
    EXPECT_NEAR(tLeaf.fAngle, tLeaf.fBaseAngle - 5.0f, 1e-3f);
}

TEST(Tree, DrawingRecordsBaseAndTipOnScreen)
{
    ASSERT_TRUE(TEST_OpenGLWindow(480, 320));
    RAND_Seed(8);
    Tree tTree;
    const AtlasRect tRect = {176, 384, 812, 852};
    CImage tBranchSprite(1, tRect, 1024, 1024, 40, 208, true);
    CImage tLeafSprite(1, AtlasRect{256, 368, 560, 592}, 1024, 1024, AtlasRect{0, 112, -16, 16});
    QuadRenderBuffer tBuffers[2];
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(240.0f, 146.0f, 0.0f);
    for (CBranch& tLimb : tTree.tLimbs)
    {
        tLimb.Draw(&tBranchSprite, &tLeafSprite, tBuffers);
    }
    // Every limb starts at the pivot and reaches out along its angle (the middle one straight
    // up, 208 x 0.8 long).
    EXPECT_NEAR(tTree.tLimbs[2].tData.vTip[1], 146.0f + 166.4f, 1e-3f);
    for (const CBranch& tLimb : tTree.tLimbs)
    {
        const float fRadians = tLimb.tData.fAngle * 3.14159265f / 180.0f;
        const float fReach = 208.0f * tLimb.tData.fLength;
        EXPECT_NEAR(tLimb.tData.vBase[0], 240.0f, 1e-3f);
        EXPECT_NEAR(tLimb.tData.vBase[1], 146.0f, 1e-3f);
        EXPECT_NEAR(tLimb.tData.vTip[0], 240.0f - fReach * std::sin(fRadians), 1e-2f);
        EXPECT_NEAR(tLimb.tData.vTip[1], 146.0f + fReach * std::cos(fRadians), 1e-2f);
    }
    // At -40 degrees the middle limb's first twig leans right (angles turn anticlockwise), from
    // low on the limb.
    const CBranch& tTwig = *tTree.tLimbs[2].pChildren[0];
    EXPECT_GT(tTwig.tData.vTip[0], tTwig.tData.vBase[0]);
    EXPECT_NEAR(tTwig.tData.vBase[1], 146.0f + 166.4f * 0.25f, 10.0f);
    // 25 branches in buffer 0, children before their parents; 60 leaves in buffer 1.
    EXPECT_EQ(tBuffers[0].iNumVerts, 25 * 4);
    EXPECT_EQ(tBuffers[1].iNumVerts, 60 * 4);
    glLoadIdentity();
    tBuffers[0].iNumVerts = tBuffers[0].iNumFaces = 0;
    tBuffers[1].iNumVerts = tBuffers[1].iNumFaces = 0;
}
