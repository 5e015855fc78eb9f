// The level's rules, driven through its public operations with a fixed step and a fixed seed:
// scoring and the multiplier, the flow of a game (drops, game over, pausing, difficulty),
// spawning and its refusals, picking, stretching and throwing, gravity from the tilt, and a
// long soak with random touches and tilts.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "AllocationCounter.h"
#include "Fonts.h"
#include "HighScore.h"
#include "Input.h"
#include "LevelSounds.h"
#include "LevelTables.h"
#include "LevelTestSupport.h"
#include "Random.h"
#include "TestSupport.h"

namespace
{

constexpr float STEP = 1.0f / 60.0f;

float BasketMiddle(int iType)
{
    return static_cast<float>(BASKET_WIDTH * g_iPommoBasket[iType] + BASKET_WIDTH / 2);
}

// Any x outside the basket of a type.
float WrongBasket(int iType)
{
    return BasketMiddle(iType) + (g_iPommoBasket[iType] == 0 ? 240.0f : -120.0f);
}

}  // namespace

// ---- Scoring -----------------------------------------------------------------------------

TEST_F(LevelTest, CatchesScoreByRipenessThrowAndMultiplier)
{
    NewLevel();
    Play();
    const int iNoBefore = LEVEL_SoundPlays(LEVEL_SOUND_NO);
    // A pommo just grown lands: the score it makes and the popup it raises.
    auto Land = [&](int iState, bool bThrownUp, bool bOwnBasket, int iPopup)
    {
        const int k = SpawnOne();
        const int iType = pLevel->pPommos[k]->iType;
        const int iScore = pLevel->iScore;
        AboutToLand(k, bOwnBasket ? BasketMiddle(iType) : WrongBasket(iType), iState, bThrownUp);
        pLevel->Update(STEP);
        EXPECT_EQ(pLevel->pPommos[k], nullptr);
        EXPECT_EQ(pLevel->tPopups[iPopup].iValue, pLevel->iScore - iScore);
        return pLevel->iScore - iScore;
    };
    // Ripe, thrown upwards into its basket: 2 points, doubled; at x5, 20.
    EXPECT_EQ(Land(POMMO_RIPE, true, true, 0), 4);
    pLevel->iMultiplier = 5;
    EXPECT_EQ(Land(POMMO_RIPE, true, true, 1), 20);
    // Growing, dropped straight down into the wrong basket: 1 x 5 lost, the multiplier and the
    // streak back to the start; the miss is heard.
    EXPECT_EQ(Land(POMMO_GROWING, false, false, 2), -5);
    EXPECT_EQ(pLevel->iMultiplier, 1);
    EXPECT_EQ(pLevel->iStreak, 0);
    EXPECT_EQ(LEVEL_SoundPlays(LEVEL_SOUND_NO), iNoBefore + 1);
    // Overripe counts as one point, like growing.
    EXPECT_EQ(Land(POMMO_OVERRIPE, false, true, 3), 1);
}

TEST_F(LevelTest, BasketEdgesAreInside)
{
    NewLevel();
    Play();
    for (int iEdge = 0; iEdge < 3; ++iEdge)
    {
        const int k = Spawn();
        ASSERT_GE(k, 0);
        const int iType = pLevel->pPommos[k]->iType;
        const float fLow = static_cast<float>(BASKET_WIDTH * g_iPommoBasket[iType]);
        const float x[3] = {fLow, fLow + BASKET_WIDTH,
                            fLow > 0.0f ? std::nextafter(fLow, -1.0f) : fLow + 120.5f};
        const int iScore = pLevel->iScore;
        AboutToLand(k, x[iEdge], POMMO_GROWING, false);
        pLevel->Update(STEP);
        EXPECT_EQ(pLevel->iScore, iEdge < 2 ? iScore + 1 : iScore - 1) << "x " << x[iEdge];
    }
}

TEST_F(LevelTest, EveryTenthCatchInARowRaisesTheMultiplierUpToFive)
{
    NewLevel();
    Play();
    int iExpectedScore = 0;
    for (int iCatch = 1; iCatch <= 50; ++iCatch)
    {
        const int k = Spawn();
        ASSERT_GE(k, 0);
        const int iBefore = pLevel->iMultiplier;
        AboutToLand(k, BasketMiddle(pLevel->pPommos[k]->iType), POMMO_GROWING, false);
        pLevel->Update(STEP);
        // The catch scores at the multiplier it found, then the tenth raises it.
        iExpectedScore += iBefore;
        ASSERT_EQ(pLevel->iScore, iExpectedScore) << "catch " << iCatch;
        const int iExpected = iCatch < 10 ? 1 : (iCatch < 40 ? 1 + iCatch / 10 : 5);
        ASSERT_EQ(pLevel->iMultiplier, iExpected) << "catch " << iCatch;
        ASSERT_EQ(pLevel->iStreak, iCatch);
    }
}

TEST_F(LevelTest, CheersOnlyForTwoPointCatchesAtMostEveryFourSeconds)
{
    NewLevel(7);
    Play();
    auto Cheers = []
    {
        return LEVEL_SoundPlays(LEVEL_SOUND_YAY1) + LEVEL_SoundPlays(LEVEL_SOUND_YAY2) +
               LEVEL_SoundPlays(LEVEL_SOUND_YAY3);
    };
    auto Catch = [&](int iState, float fYayTimer, int iMultiplier)
    {
        const int k = Spawn();
        EXPECT_GE(k, 0);
        pLevel->fYayTimer = fYayTimer;
        pLevel->iMultiplier = iMultiplier;
        AboutToLand(k, BasketMiddle(pLevel->pPommos[k]->iType), iState, false);
        pLevel->Update(0.0f);
        pLevel->iStreak = 0;
    };
    const int iStart = Cheers();
    for (int i = 0; i < 40; ++i)
    {
        Catch(POMMO_GROWING, 100.0f, 1);  // one point: never
        Catch(POMMO_RIPE, 3.99f, 1);      // too soon after the last cheer
    }
    EXPECT_EQ(Cheers(), iStart);

    // Two points after four seconds: heard now and then, and a cheer restarts the wait.
    int iHeard = 0;
    for (int i = 0; i < 20; ++i)
    {
        const int iBefore = Cheers();
        Catch(POMMO_RIPE, 4.0f, 1);
        if (Cheers() > iBefore)
        {
            ++iHeard;
            EXPECT_EQ(pLevel->fYayTimer, 0.0f);
        }
    }
    EXPECT_GT(iHeard, 0);
}

// ---- The flow of a game ------------------------------------------------------------------

// The third drop ends the game, winning or not, and a fourth changes only the count. A touch
// leaves game over strictly after two seconds on its timer, which game over restarts; a drop
// while leaving does not reopen it. (Giving up in the corner is test_highscore's.)
TEST_F(LevelTest, TheThirdDropEndsTheGameAndATouchAfterTwoSecondsLeavesIt)
{
    NewLevel();
    Play();
    pLevel->iScore = 100;
    int iSlots[5];
    for (int& k : iSlots)
    {
        k = SpawnOne();
    }
    pLevel->fModeTimer = 30.0f;
    for (int i = 0; i < 2; ++i)
    {
        AboutToDrop(iSlots[i]);
        pLevel->Update(STEP);
        EXPECT_EQ(pLevel->iLostCount, i + 1);
        EXPECT_EQ(pLevel->iMode, LEVEL_PLAYING);
    }
    AboutToDrop(iSlots[2]);
    EXPECT_TRUE(pLevel->Update(STEP));
    EXPECT_EQ(pLevel->iMode, LEVEL_GAME_OVER);
    EXPECT_EQ(pLevel->fModeTimer, 0.0f);
    EXPECT_EQ(pLevel->pPommos[iSlots[0]]->iState, POMMO_FALLEN);  // it lies in its slot
    pLevel->Update(0.5f);
    AboutToDrop(iSlots[3]);
    pLevel->Update(0.1f);
    EXPECT_EQ(pLevel->iLostCount, 4);
    EXPECT_EQ(pLevel->iMode, LEVEL_GAME_OVER);
    EXPECT_FLOAT_EQ(pLevel->fModeTimer, 0.6f);

    TouchDown(240, 160);
    pLevel->fModeTimer = 2.0f;
    TouchDown(240, 160);
    EXPECT_EQ(pLevel->iMode, LEVEL_GAME_OVER);
    pLevel->fModeTimer = std::nextafter(2.0f, 3.0f);
    TouchDown(240, 160);
    EXPECT_EQ(pLevel->iMode, LEVEL_EXIT);
    AboutToDrop(iSlots[4]);
    EXPECT_FALSE(pLevel->Update(STEP));
    EXPECT_EQ(pLevel->iLostCount, 5);
    EXPECT_EQ(pLevel->iMode, LEVEL_EXIT);
}

TEST_F(LevelTest, PauseButtonAndResumeByTouch)
{
    NewLevel();
    Play();
    pLevel->fModeTimer = 12.0f;
    TouchDown(9, 245);  // just inside the button's open bounds
    EXPECT_EQ(pLevel->iMode, LEVEL_PAUSED);
    pLevel->Update(0.1f);
    EXPECT_EQ(pLevel->fModeTimer, 12.0f);  // nothing moves while paused
    TouchDown(300, 300);
    EXPECT_EQ(pLevel->iMode, LEVEL_PLAYING);
    // The button's edges are outside it.
    TouchDown(8, 260);
    EXPECT_EQ(pLevel->iMode, LEVEL_PLAYING);
    TouchDown(30, 292);
    EXPECT_EQ(pLevel->iMode, LEVEL_PLAYING);
}

TEST_F(LevelTest, ATouchThatResumesCanAlsoPick)
{
    NewLevel();
    Play();
    const int k = Spawn();
    ASSERT_GE(k, 0);
    DrawFrame();
    pLevel->Pause();
    const CPommo* pPommo = pLevel->pPommos[k];
    TouchDown(static_cast<int>(pPommo->vScreenPoint[0]), static_cast<int>(pPommo->vScreenPoint[1]));
    EXPECT_EQ(pLevel->iMode, LEVEL_PLAYING);
    EXPECT_EQ(pLevel->iSelected, k);
    EXPECT_TRUE(pPommo->bHeld);
}

// A drag broken off by a pause (the focus lost, Esc or P, the pause button) or by a second
// touch lets go of the pommo: it springs back, shows its state's face again once at rest, and
// lives on by its state's rules: a growing one ripens, a ripe one turns overripe, an overripe
// one turns sick, and each at last drops.
TEST_F(LevelTest, ALetGoPommoLivesOnByItsState)
{
    constexpr int PAUSE = 0, PAUSE_BUTTON = 1, SECOND_TOUCH = 2;  // how the drag is broken off
    for (const int iWay : {PAUSE, PAUSE_BUTTON, SECOND_TOUCH})
    {
        for (const int iState : {POMMO_GROWING, POMMO_RIPE, POMMO_OVERRIPE})
        {
            SCOPED_TRACE(testing::Message() << "way " << iWay << ", state " << iState);
            NewLevel();
            Play();
            CPommo* pPommo = pLevel->pPommos[SpawnOne()];
            // Each a little before its next change: nearly grown, nearly overripe, shrinking.
            pPommo->iState = iState;
            pPommo->iFace = iState == POMMO_GROWING ? FACE_GROWING : FACE_RIPE;
            pPommo->fSize = iState == POMMO_GROWING ? 0.35f : POMMO_FULL_SIZE;
            pPommo->fFullSize = POMMO_FULL_SIZE * (iState == POMMO_OVERRIPE ? 0.9f : 1.0f);
            pPommo->fRipeTimer = 3.0f;
            DrawFrame();
            const int x = static_cast<int>(pPommo->vScreenPoint[0]);
            const int y = static_cast<int>(pPommo->vScreenPoint[1]);
            const int iFarX = x < 240 ? 470 : 10;  // out of its reach
            TouchDown(x, y);
            TouchMove(x + 60, y - 60);
            pLevel->Update(STEP);
            ASSERT_EQ(pPommo->iFace, FACE_STRETCHED);
            if (iWay == PAUSE)
            {
                pLevel->Pause();
            }
            else
            {
                TouchDown(iWay == PAUSE_BUTTON ? 9 : iFarX, iWay == PAUSE_BUTTON ? 245 : 10);
            }
            EXPECT_FALSE(pPommo->bHeld);
            EXPECT_EQ(pLevel->iSelected, -1);
            EXPECT_FALSE(pLevel->bDragging);
            TouchUp(x + 60, y - 60);  // the finger lifted later throws nothing
            EXPECT_FALSE(pPommo->bFlying);
            if (pLevel->iMode == LEVEL_PAUSED)
            {
                TouchDown(iFarX, 10);
                TouchUp(iFarX, 10);
            }
            ASSERT_EQ(pLevel->iMode, LEVEL_PLAYING);
            pLevel->fSpawnRate = 0.0f;  // no other pommo grows to drop in its stead
            for (int i = 0; i < 60; ++i)
            {
                pLevel->Update(STEP);
            }
            EXPECT_EQ(pPommo->fStretch, 1.0f);
            EXPECT_NE(pPommo->iFace, FACE_STRETCHED);
            for (int i = 0; i < 12 * 60 && pPommo->iState != POMMO_FALLEN; ++i)
            {
                pLevel->Update(STEP);
            }
            EXPECT_EQ(pPommo->iState, POMMO_FALLEN);
            EXPECT_EQ(pLevel->iLostCount, 1);
        }
    }
}

// A sick pommo held past its time drops in the player's grip: it is let go that moment, falls
// and comes to rest on the ground like any dropped pommo, counted once, and the finger's later
// moves and lift do nothing. Drop after drop, every slot in use holds a pommo on its twig or one
// lying on the ground: none is thrown, none is lost to the level.
TEST_F(LevelTest, ASickPommoThatDropsWhileHeldIsLetGoAndLands)
{
    NewLevel();
    Play();
    constexpr int DROPS = 8;
    for (int iDrop = 1; iDrop <= DROPS; ++iDrop)
    {
        SCOPED_TRACE(testing::Message() << "drop " << iDrop);
        const int k = SpawnOne();
        CPommo* pPommo = pLevel->pPommos[k];
        pPommo->iState = POMMO_OVERRIPE;
        pPommo->iFace = FACE_OVERRIPE;
        pPommo->fSize = POMMO_FULL_SIZE;
        pPommo->fFaceTimer = 3.5f;
        pLevel->fSpawnRate = 0.0f;
        pLevel->fSpawnAccumulator = 0.0f;
        DrawFrame();
        const int x = static_cast<int>(pPommo->vScreenPoint[0]);
        const int y = static_cast<int>(pPommo->vScreenPoint[1]);
        TouchDown(x, y);
        ASSERT_EQ(pLevel->iSelected, k);
        TouchMove(x + 40, y - 40);
        for (int i = 0; i < 60 && pPommo->iState != POMMO_FALLEN; ++i)
        {
            pLevel->Update(STEP);
        }
        ASSERT_EQ(pPommo->iState, POMMO_FALLEN);
        EXPECT_FALSE(pPommo->bHeld);
        EXPECT_EQ(pLevel->iSelected, -1);
        EXPECT_FALSE(pLevel->bDragging);
        EXPECT_EQ(pLevel->iLostCount, iDrop);
        // The seconds after: the finger moves on and lifts while the pommo falls.
        for (int i = 0; i < 180; ++i)
        {
            if (i == 30)
            {
                TouchMove(x + 80, y + 20);
            }
            if (i == 60)
            {
                TouchUp(x + 80, y + 20);
            }
            pLevel->Update(STEP);
        }
        EXPECT_FALSE(pPommo->bFlying);
        EXPECT_LE(pPommo->vPosition[1], POMMO_GROUND_Y);
        EXPECT_EQ(pLevel->pPommos[k], pPommo);
        EXPECT_EQ(pLevel->iLostCount, iDrop);
        EXPECT_EQ(pLevel->iMode, iDrop <= POMMOS_ALLOWED_TO_DROP ? LEVEL_PLAYING : LEVEL_GAME_OVER);
        pLevel->CheckTables();
        pLevel->iMode = LEVEL_PLAYING;  // play on, to drop again
    }
}

// (The baskets' colours at each difficulty are test_level_draw's, read from the picture.)
TEST_F(LevelTest, DifficultyRisesEveryMinuteOfPlayUpToThree)
{
    NewLevel();
    Play();
    EXPECT_EQ(g_iDifficultyLevel, 1);
    pLevel->fModeTimer = 59.99f;
    pLevel->Update(0.01f);
    EXPECT_EQ(g_iDifficultyLevel, 1);  // not past 60 yet
    pLevel->bDragging = 1;
    pLevel->Update(0.01f);
    EXPECT_EQ(g_iDifficultyLevel, 1);  // a period does not end mid-drag
    pLevel->bDragging = 0;
    pLevel->Update(0.01f);
    EXPECT_EQ(g_iDifficultyLevel, 2);
    EXPECT_EQ(pLevel->fModeTimer, 0.0f);

    pLevel->fModeTimer = 60.0f;
    pLevel->Update(0.01f);
    EXPECT_EQ(g_iDifficultyLevel, 3);
    pLevel->fModeTimer = 60.0f;
    pLevel->Update(0.01f);
    EXPECT_EQ(g_iDifficultyLevel, 3);
    EXPECT_GT(pLevel->fModeTimer, 60.0f);
    // All four types now grow.
    bool bSeen[NUM_POMMO_TYPES] = {};
    for (int i = 0; i < 400; ++i)
    {
        const int k = Spawn();
        if (k >= 0)
        {
            bSeen[pLevel->pPommos[k]->iType] = true;
            pLevel->pPommos[k] = nullptr;
        }
    }
    for (bool bType : bSeen)
    {
        EXPECT_TRUE(bType);
    }
}

// ---- Spawning ----------------------------------------------------------------------------

TEST_F(LevelTest, SpawnsKeepOneHangingPommoPerTwigAndTheirDistance)
{
    NewLevel(3);
    Play();
    const int iFirst = Spawn();
    ASSERT_GE(iFirst, 0);
    const CPommo* pFirst = pLevel->pPommos[iFirst];
    int iRefused = 0;
    for (int i = 0; i < 400; ++i)
    {
        const int k = Spawn();
        EXPECT_EQ(pLevel->fSpawnAccumulator, 0.0f);  // spent whether or not anything grew
        if (k < 0)
        {
            ++iRefused;
            continue;
        }
        const CPommo* pNew = pLevel->pPommos[k];
        const float dx = pNew->vPosition[0] - pFirst->vPosition[0];
        const float dy = pNew->vPosition[1] - pFirst->vPosition[1];
        EXPECT_NE(pNew->pBranch, pFirst->pBranch);
        EXPECT_GE(dx * dx + dy * dy, 1024.0f);
        EXPECT_EQ(pNew->pBranch, pLevel->Twig(pNew->iLimbIndex, pNew->iTwigIndex));
        EXPECT_GE(pNew->fBranchPosition, 0.3f);
        EXPECT_LE(pNew->fBranchPosition, 0.8f);
        pLevel->pPommos[k] = nullptr;
    }
    EXPECT_GT(iRefused, 20);  // one twig in twenty is taken, and its neighbours are close

    // A held (or flying) pommo does not keep others away.
    pLevel->pPommos[iFirst]->bHeld = 1;
    bool bSharedTwig = false;
    for (int i = 0; i < 400 && !bSharedTwig; ++i)
    {
        const int k = Spawn();
        if (k >= 0)
        {
            bSharedTwig = pLevel->pPommos[k]->pBranch == pFirst->pBranch;
            pLevel->pPommos[k] = nullptr;
        }
    }
    EXPECT_TRUE(bSharedTwig);
}

TEST_F(LevelTest, NoSpawnWithoutAFreeSlot)
{
    NewLevel();
    Play();
    FillEverySlot();
    pLevel->fSpawnAccumulator = 1.5f;
    pLevel->Update(0.0f);
    EXPECT_FLOAT_EQ(pLevel->fSpawnAccumulator, 0.5f);
    // Spawning only happens in play.
    pLevel->pPommos[0] = nullptr;
    pLevel->iMode = LEVEL_GAME_OVER;
    pLevel->fSpawnAccumulator = 1.5f;
    pLevel->Update(0.0f);
    EXPECT_EQ(pLevel->pPommos[0], nullptr);
    EXPECT_FLOAT_EQ(pLevel->fSpawnAccumulator, 1.5f);
}

// ---- Picking, stretching, throwing -------------------------------------------------------

TEST_F(LevelTest, PickStretchAndThrow)
{
    NewLevel(5);
    Play();
    const int k = Spawn();
    ASSERT_GE(k, 0);
    pLevel->Update(STEP);
    DrawFrame();
    CPommo* pPommo = pLevel->pPommos[k];
    const int x = static_cast<int>(pPommo->vScreenPoint[0]);
    const int y = static_cast<int>(pPommo->vScreenPoint[1]);

    TouchDown(x + 56, y - 84);  // the far corner of its reach
    EXPECT_EQ(pLevel->iSelected, k);
    // A new touch lets go of it (no lift came in between), and this one is just out of reach.
    TouchDown(x + 57, y);
    EXPECT_EQ(pLevel->iSelected, -1);
    EXPECT_FALSE(pLevel->bDragging);
    EXPECT_FALSE(pPommo->bHeld);

    TouchDown(x, y);
    ASSERT_EQ(pLevel->iSelected, k);
    EXPECT_TRUE(pPommo->bHeld);
    const float r = pLevel->pPommoFrames[pPommo->iType][0]->fHeight * 0.5f;
    // A move reported in another phase is ignored.
    g_pInput->getTouches()[0].state = 1;
    pLevel->TouchesMoved();
    EXPECT_EQ(pLevel->iTouchCurrentX, x);
    // 1.5 r away: stretched 1.5 times, squashed by the type's stiffness.
    const int dx = static_cast<int>(std::lround(r * 1.5f * 0.6f));
    const int dy = static_cast<int>(std::lround(r * 1.5f * 0.8f));
    TouchMove(x + dx, y + dy);
    const float s = std::sqrt(static_cast<float>(dx * dx + dy * dy)) / r;
    static const float s_fStiffness[4] = {0.95f, 0.75f, 0.98f, 0.75f};
    const float k2 = s_fStiffness[pPommo->iType];
    EXPECT_FLOAT_EQ(pPommo->fStretch, s);
    EXPECT_FLOAT_EQ(pPommo->fSquash, (2.0f - s) * (1.0f - k2) + k2);
    TouchMove(x + 400, y);
    EXPECT_EQ(pPommo->fStretch, 2.0f);  // at most twice its length
    EXPECT_FLOAT_EQ(pPommo->fSquash, k2);

    // Let go up and to the left: thrown with twice the drag, the twig and its limb released.
    CBranch* pTwig = pPommo->pBranch;
    CBranch* pLimb = pTwig->pParent;
    pTwig->tData.fAngle = pTwig->tData.fBaseAngle - 0.5f;
    TouchUp(x - 30, y + 40);
    EXPECT_TRUE(pPommo->bFlying);
    EXPECT_FALSE(pPommo->bHeld);
    EXPECT_TRUE(pPommo->bThrownUp);
    EXPECT_EQ(pPommo->vVelocity[0], -60.0f);
    EXPECT_EQ(pPommo->vVelocity[1], 80.0f);
    EXPECT_EQ(pLevel->iSelected, -1);
    EXPECT_FLOAT_EQ(pTwig->tData.fSwayDir, -0.5f);
    EXPECT_FLOAT_EQ(pLimb->tData.fSwayDir, pLimb->tData.fAngle - pLimb->tData.fBaseAngle);

    // It flies under gravity: up first, then down, and lands.
    pLevel->Update(STEP);
    EXPECT_GT(pPommo->vPosition[1], static_cast<float>(y) - 200.0f);
    bool bLanded = false;
    for (int i = 0; i < 600 && !bLanded; ++i)
    {
        pLevel->Update(STEP);
        bLanded = pLevel->pPommos[k] == nullptr;
    }
    EXPECT_TRUE(bLanded);
}

TEST_F(LevelTest, TheCheapestPommoInReachIsPicked)
{
    NewLevel(9);
    Play();
    const int a = SpawnOne();
    const int b = SpawnOne();
    // Put both within reach of one touch, b nearer across and grown, a nearer upwards.
    CPommo* pA = pLevel->pPommos[a];
    CPommo* pB = pLevel->pPommos[b];
    pA->vScreenPoint[0] = 200.0f;
    pA->vScreenPoint[1] = 150.0f;
    pB->vScreenPoint[0] = 210.0f;
    pB->vScreenPoint[1] = 170.0f;
    pA->fSize = pA->fFullSize;
    pB->fSize = pB->fFullSize;
    // Touch at (205, 150): a costs 5 x 1.5 + 0 = 7, b costs 7.5 + 20 = 27.
    TouchDown(205, 150);
    EXPECT_EQ(pLevel->iSelected, a);
    TouchUp(205, 150);
    pLevel->pPommos[pLevel->iSelected]->bFlying = 0;  // put back on its twig
    // A small pommo costs up to 16 more: b wins when a has only just started growing.
    pA->fSize = 0.01f;
    pLevel->iSelected = -1;
    TouchDown(209, 160);  // a: 13.5 + 10 + 15.6 = 39; b: 1.5 + 10 = 11
    EXPECT_EQ(pLevel->iSelected, b);
}

// ---- Gravity -----------------------------------------------------------------------------

TEST_F(LevelTest, GravityFollowsTheTiltWithinItsLean)
{
    Tilt(0.0f, 0.0f);  // no reading at all since the start: straight down
    NewLevel();
    Play();
    pLevel->Update(STEP);
    EXPECT_EQ(pLevel->vGravity[0], 0.0f);
    EXPECT_FLOAT_EQ(pLevel->vGravity[1], -9.81f);
    EXPECT_EQ(pLevel->vGravity[2], 0.0f);
    Tilt(-0.25f, 0.0f);  // upright
    pLevel->Update(STEP);
    EXPECT_FLOAT_EQ(pLevel->vGravity[0], 0.0f);
    EXPECT_FLOAT_EQ(pLevel->vGravity[1], -9.81f);
    EXPECT_FLOAT_EQ(pLevel->tHangMatrix[5], 1.0f);  // hanging straight down

    Tilt(-0.25f * std::cos(0.2f), -0.25f * std::sin(0.2f));  // a slight lean to the right
    pLevel->Update(STEP);
    EXPECT_NEAR(pLevel->vGravity[0], 9.81f * std::sin(0.2f), 1e-3f);
    EXPECT_NEAR(pLevel->vGravity[1], -9.81f * std::cos(0.2f), 1e-3f);
    // Hanging pommos point along it: the local up axis is the opposite of gravity.
    EXPECT_NEAR(pLevel->tHangMatrix[4], -std::sin(0.2f), 1e-4f);
    EXPECT_NEAR(pLevel->tHangMatrix[5], std::cos(0.2f), 1e-4f);

    Tilt(0.0f, 0.2f);  // lying on its side: capped at 0.4 g across
    pLevel->Update(STEP);
    EXPECT_FLOAT_EQ(pLevel->vGravity[0], -0.4f * 9.81f);
    EXPECT_FLOAT_EQ(pLevel->vGravity[1], -0.9165f * 9.81f);

    // No usable reading keeps the last gravity.
    Tilt(0.0f, 0.0f);
    pLevel->Update(STEP);
    EXPECT_FLOAT_EQ(pLevel->vGravity[0], -0.4f * 9.81f);
    // Upside down, gravity still points down.
    Tilt(0.25f, 0.0f);
    pLevel->Update(STEP);
    EXPECT_FLOAT_EQ(pLevel->vGravity[1], -9.81f);
    // A reading that is not a number (the filter then holds it for good) changes nothing.
    Tilt(std::nanf(""), 0.0f);
    pLevel->Update(STEP);
    EXPECT_FLOAT_EQ(pLevel->vGravity[1], -9.81f);
}

// ---- Soak ----------------------------------------------------------------------------------

// Random touches, tilts, pauses and long frames through level after level, the level's own
// table check after every update, and every saved game of it loaded again.
TEST_F(LevelTest, SoakOfRandomTouchesAndTilts)
{
    NewLevel(2024);
    int iLevels = 1;
    int iSavesChecked = 0;
    // The test's own choices come from a generator apart from the game's.
    std::uint64_t uiState = 88172645463325252ULL;
    auto Next = [&uiState](int n)
    {
        uiState ^= uiState << 13;
        uiState ^= uiState >> 7;
        uiState ^= uiState << 17;
        return static_cast<int>(uiState % static_cast<std::uint64_t>(n));
    };
    int iFingerX = 240;
    int iFingerY = 160;
    bool bDown = false;
    for (int i = 0; i < 100000; ++i)
    {
        // Now and then the device leans, the finger goes down, moves or lifts, the game pauses.
        if (Next(240) == 0)
        {
            const float fAngle = static_cast<float>(Next(200) - 100) * 0.02f;
            Tilt(-std::cos(fAngle) * 0.25f, -std::sin(fAngle) * 0.25f);
        }
        const int iRoll = Next(100);
        if (!bDown && iRoll < 3)
        {
            iFingerX = Next(480);
            iFingerY = Next(320);
            TouchDown(iFingerX, iFingerY);
            bDown = true;
        }
        else if (bDown && iRoll < 40)
        {
            iFingerX = std::clamp(iFingerX + Next(41) - 20, 0, 479);
            iFingerY = std::clamp(iFingerY + Next(41) - 20, 0, 319);
            TouchMove(iFingerX, iFingerY);
        }
        else if (bDown && iRoll < 45)
        {
            TouchUp(iFingerX, iFingerY);
            bDown = false;
        }
        else if (iRoll == 99 && Next(20) == 0)
        {
            pLevel->Pause();
        }
        const float dt = Next(50) == 0 ? 0.25f : STEP;
        const bool bStay = pLevel->Update(dt);
        if (i % 25 == 0)
        {
            DrawFrame();
        }
        pLevel->CheckTables();
        // Every saved game of a real game loads again.
        if (i % 5000 == 4999 && pLevel->Save())
        {
            const int iDifficulty = g_iDifficultyLevel;
            const float fSpeed = g_fSpeedFactor;
            {
                CLevel tCheck(0);
                EXPECT_TRUE(tCheck.Load()) << "update " << i;
            }
            ++iSavesChecked;
            g_iDifficultyLevel = iDifficulty;
            g_fSpeedFactor = fSpeed;
            g_pInput->registerHandler(pLevel);
        }
        if (!bStay)
        {
            if (bDown)
            {
                TouchUp(iFingerX, iFingerY);
                bDown = false;
            }
            NewLevel(static_cast<unsigned int>(i));
            ++iLevels;
        }
    }
    EXPECT_GT(iLevels, 5);
    EXPECT_GT(iSavesChecked, 5);
}

TEST_F(LevelTest, ATableOutOfBoundsStopsTheGameWithItsAssertionLine)
{
    NewLevel(5);
    pLevel->CheckTables();  // a new level is within bounds
    pLevel->iSelected = MAX_POMMOS;
    BF_EXPECT_ASSERT(pLevel->CheckTables(),
                     "source/base/Level:[0-9]+: failed assertion `iSelected >= -1 && "
                     "iSelected < MAX_POMMOS'");
    pLevel->iSelected = -1;
}

// ---- Allocation --------------------------------------------------------------------------

TEST_F(LevelTest, AFrameInPlayAllocatesNothing)
{
    NewLevel(31);
    Play();
    CFont tFont;
    ASSERT_TRUE(tFont.LoadFont("Boughfall", 2048));
    for (int i = 0; i < 8; ++i)
    {
        Spawn();
    }
    for (int i = 0; i < 120; ++i)  // warm up: every path of a frame taken once
    {
        pLevel->Update(STEP);
        DrawFrame(&tFont);
    }
    const long iBefore = TEST_AllocationCount();
    for (int i = 0; i < 600; ++i)
    {
        // Spawning, growing, popups, landing: none of it allocates.
        if (i % 100 == 50)
        {
            const int k = Spawn();
            if (k >= 0)
            {
                AboutToLand(k, 180.0f, POMMO_RIPE, false);
            }
        }
        pLevel->Update(STEP);
        DrawFrame(&tFont);
    }
    EXPECT_EQ(TEST_AllocationCount(), iBefore);
}
