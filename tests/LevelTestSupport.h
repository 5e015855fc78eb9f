#pragma once

// What the level tests share: the program-wide objects a level needs (a GL window under the
// virtual X server, the generated data, the sound engine on the disk driver, the input holder
// with its accelerometer fed by hand), a fresh save folder per test, and small ways to set up
// the situations the rules are about.

#include <gtest/gtest.h>

#include <string>

#include "Level.h"

class CFont;

class LevelTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // A new level (deleting the previous one), seeded, drawn once so the twigs know where
    // they are.
    CLevel* NewLevel(unsigned int uiSeed = 1);

    // The level in play, any getting ready skipped.
    void Play();

    // Spawns a pommo at the next update whatever the timers; its slot, or -1 when refused.
    int Spawn();
    // Spawns until one is not refused; its slot.
    int SpawnOne();

    // Pommos in all sixteen slots, each flying high and still while the step is 0, so none
    // lands and none keeps another from spawning.
    void FillEverySlot();

    // A pommo in slot iSlot about to land at x, flying, in the given state.
    void AboutToLand(int iSlot, float x, int iState, bool bThrownUp);

    // A pommo in slot iSlot whose next update drops it off its twig.
    void AboutToDrop(int iSlot);

    // The finger: writes touch slot 0 as the touch input does, then tells the level.
    void TouchDown(int x, int y);
    void TouchMove(int x, int y);
    void TouchUp(int x, int y);

    // Feeds the accelerometer filter until it holds (x, y, 0).
    static void Tilt(float x, float y);

    // One frame drawn as the game draws it, with the HUD text when a font is given.
    void DrawFrame(CFont* pFont = nullptr);

    std::string strSaveDir;
    CLevel* pLevel = nullptr;

private:
    // Writes touch slot 0 as the touch input does.
    static void Touch(int x, int y, int iAge, int iState);
};
