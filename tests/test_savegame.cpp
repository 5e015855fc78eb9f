// The saved game: the snapshot ring, the file's size and layout, which snapshot is written,
// save and load restoring the level byte for byte, and every kind of file that could not come
// from a real game being refused as a whole.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <vector>

#include "FileSystem.h"
#include "LevelTables.h"
#include "LevelTestSupport.h"
#include "TestSupport.h"

namespace
{

constexpr float STEP = 1.0f / 60.0f;

// File offsets.
constexpr int OFF_MULTIPLIER = 16;
constexpr int OFF_STREAK = 20;
constexpr int OFF_FLAG = 24;
constexpr int OFF_POPUPS = 28;
constexpr int OFF_DIFFICULTY = 284;
constexpr int OFF_LOST = 288;
constexpr int OFF_COUNT = 292;
constexpr int OFF_SPEED = 296;
constexpr int OFF_TIMER = 308;
constexpr int OFF_LIMBS = 312;
constexpr int OFF_TWIGS = 316;
constexpr int OFF_BRANCHES = 320;
constexpr int OFF_POMMOS = 1620;

template <typename T>
void Put(std::vector<std::uint8_t>* pBytes, size_t uiOffset, T tValue)
{
    std::memcpy(pBytes->data() + uiOffset, &tValue, 4);
}

template <typename T = std::int32_t>
T Get(const std::vector<std::uint8_t>& tBytes, size_t uiOffset)
{
    T tValue;
    std::memcpy(&tValue, tBytes.data() + uiOffset, 4);
    return tValue;
}

class SaveGameTest : public LevelTest
{
protected:
    std::string SavePath() const { return strSaveDir + "/gamesave.dat"; }

    // A level played for a while by a fixed hand: pommos growing, one just caught (its popup
    // rising), one in flight.
    void PlayAWhile()
    {
        NewLevel(77);
        Play();
        for (int i = 0; i < 6; ++i)
        {
            Spawn();
        }
        for (int i = 0; i < 400; ++i)
        {
            pLevel->Update(STEP);
            if (i % 10 == 0)
            {
                DrawFrame();
            }
        }
        pLevel->iScore = 37;
        pLevel->iStreak = 3;
        pLevel->iMultiplier = 2;
        pLevel->bNewHighScore = 1;
        int iChanged = 0;
        for (int k = 0; k < MAX_POMMOS && iChanged < 2; ++k)
        {
            CPommo* pPommo = pLevel->pPommos[k];
            if (pPommo == nullptr)
            {
                continue;
            }
            if (iChanged++ == 0)
            {
                AboutToLand(k, 120.0f * g_iPommoBasket[pPommo->iType] + 60.0f, POMMO_RIPE, false);
            }
            else
            {
                pPommo->bFlying = 1;
                pPommo->vPosition[1] = 400.0f;
            }
        }
        pLevel->Update(STEP);
    }
};

}  // namespace

// Only a level in play or paused is saved; the file is 1620 bytes and 160 more a pommo.
TEST_F(SaveGameTest, FileSizeFollowsThePommoCount)
{
    NewLevel();
    pLevel->Update(STEP);
    EXPECT_FALSE(pLevel->Save());  // getting ready
    pLevel->iMode = LEVEL_GAME_OVER;
    EXPECT_FALSE(pLevel->Save());
    EXPECT_TRUE(TEST_ReadFile(SavePath()).empty());
    pLevel->iMode = LEVEL_PAUSED;
    ASSERT_TRUE(pLevel->Save());
    EXPECT_EQ(TEST_ReadFile(SavePath()).size(), 1620u);

    FillEverySlot();
    for (int i = 0; i < NUM_SNAPSHOTS; ++i)
    {
        pLevel->Update(0.0f);
    }
    ASSERT_TRUE(pLevel->Save());
    const std::vector<std::uint8_t> tFile = TEST_ReadFile(SavePath());
    ASSERT_EQ(tFile.size(), 4180u);
    EXPECT_EQ(std::memcmp(tFile.data(), "KTGFSV\x01\x00", 8), 0);
    EXPECT_EQ(Get(tFile, OFF_COUNT), 16);
    EXPECT_EQ(Get(tFile, OFF_LIMBS), 5);
    EXPECT_EQ(Get(tFile, OFF_TWIGS), 4);
    // Each limb's record comes first, then its four twigs'.
    EXPECT_EQ(Get(tFile, OFF_BRANCHES), 4);       // the first limb has four children
    EXPECT_EQ(Get(tFile, OFF_BRANCHES + 52), 0);  // its first twig none...
    EXPECT_EQ(Get(tFile, OFF_BRANCHES + 56), 3);  // ...and three leaves
    EXPECT_EQ(Get(tFile, OFF_BRANCHES + 260), 4);
}

TEST_F(SaveGameTest, TheSecondOldestSnapshotIsWrittenOnceTheRingIsFull)
{
    NewLevel();
    Play();
    // Update j records snapshot j mod 20 holding score j.
    int j = 0;
    for (; j < 5; ++j)
    {
        pLevel->iScore = j;
        pLevel->Update(STEP);
    }
    ASSERT_TRUE(pLevel->Save());
    EXPECT_EQ(Get(TEST_ReadFile(SavePath()), 8), 0);  // before the ring wraps: snapshot 0
    for (; j < 25; ++j)
    {
        pLevel->iScore = j;
        pLevel->Update(STEP);
    }
    EXPECT_TRUE(pLevel->bSnapshotsFull);
    EXPECT_EQ(pLevel->iSnapshotWrite, 5);
    ASSERT_TRUE(pLevel->Save());
    EXPECT_EQ(Get(TEST_ReadFile(SavePath()), 8), 6);  // snapshot (5 + 1) mod 20
}

TEST_F(SaveGameTest, LoadRestoresTheLevelByteForByte)
{
    PlayAWhile();
    // A dragged pommo is stored as not held.
    CPommo* pHeld = nullptr;
    for (CPommo* pPommo : pLevel->pPommos)
    {
        if (pHeld == nullptr && pPommo != nullptr && !pPommo->bFlying)
        {
            pHeld = pPommo;
        }
    }
    ASSERT_NE(pHeld, nullptr);
    pLevel->Pause();
    pHeld->bHeld = 1;
    const int iDifficulty = g_iDifficultyLevel = 2;
    for (int i = 0; i < NUM_SNAPSHOTS + 2; ++i)
    {
        pLevel->Update(STEP);  // paused: every snapshot the same
    }
    const float fModeTimer = pLevel->fModeTimer;
    ASSERT_TRUE(pLevel->Save());
    std::vector<std::uint8_t> tOriginal(pLevel->tSnapshots[0],
                                        pLevel->tSnapshots[0] + SNAPSHOT_SIZE);
    const std::vector<std::uint8_t> tFile = TEST_ReadFile(SavePath());

    NewLevel(5);
    ASSERT_TRUE(pLevel->Load());
    EXPECT_EQ(pLevel->iMode, LEVEL_PAUSED);
    EXPECT_EQ(pLevel->fModeTimer, 0.0f);  // restored at the first touch
    EXPECT_EQ(pLevel->fResumeTimer, fModeTimer);
    EXPECT_EQ(pLevel->iScore, 41);  // 37, and a ripe catch at x2
    EXPECT_EQ(pLevel->iMultiplier, 2);
    EXPECT_EQ(pLevel->iStreak, 4);
    EXPECT_TRUE(pLevel->bNewHighScore);
    EXPECT_EQ(g_iDifficultyLevel, iDifficulty);
    // The snapshot taken at loading is the one the file came from, byte for byte as far as its
    // pommo records go (the rest of a snapshot is left over from earlier ones).
    const int iUsed = 1604 + Get(tFile, OFF_COUNT) * 160;
    for (int i = 0; i < iUsed; ++i)
    {
        ASSERT_EQ(pLevel->tSnapshots[0][i], tOriginal[i]) << "snapshot byte " << i;
    }
    int iCount = 0;
    for (int k = 0; k < MAX_POMMOS; ++k)
    {
        const CPommo* pPommo = pLevel->pPommos[k];
        if (pPommo != nullptr)
        {
            ++iCount;
            EXPECT_FALSE(pPommo->bHeld);
            EXPECT_EQ(pPommo->pBranch, pLevel->Twig(pPommo->iLimbIndex, pPommo->iTwigIndex));
        }
    }
    EXPECT_EQ(iCount, Get(tFile, OFF_COUNT));
    EXPECT_GT(iCount, 2);

    // Quitting again before a single update writes the same file.
    std::remove(SavePath().c_str());
    ASSERT_TRUE(pLevel->Save());
    EXPECT_EQ(TEST_ReadFile(SavePath()), tFile);

    // The first touch resumes with the mode timer the game had.
    TouchDown(400, 300);
    EXPECT_EQ(pLevel->iMode, LEVEL_PLAYING);
    EXPECT_EQ(pLevel->fModeTimer, fModeTimer);
    EXPECT_EQ(pLevel->fResumeTimer, 0.0f);
}

// Quitting mid-drag stores the dragged pommo let go: not held, though still stretched and with
// the stretched face. Resumed, it springs back and lives on (overripe, sick, dropped), and so
// does the record of such a pommo whose stretch had already relaxed; a pommo that dropped in
// the player's grip and was then thrown comes back lying on the ground.
TEST_F(SaveGameTest, APommoDraggedAtQuittingComesBackLiving)
{
    NewLevel();
    Play();
    CPommo* pPommo = pLevel->pPommos[SpawnOne()];
    pPommo->iState = POMMO_RIPE;
    pPommo->iFace = FACE_RIPE;
    pPommo->fSize = POMMO_FULL_SIZE;
    pPommo->fRipeTimer = 3.0f;
    DrawFrame();
    const int x = static_cast<int>(pPommo->vScreenPoint[0]);
    const int y = static_cast<int>(pPommo->vScreenPoint[1]);
    TouchDown(x, y);
    TouchMove(x + 60, y - 60);
    for (int i = 0; i < NUM_SNAPSHOTS + 5; ++i)
    {
        pLevel->Update(STEP);
    }
    ASSERT_TRUE(pLevel->Save());
    const std::vector<std::uint8_t> tDragged = TEST_ReadFile(SavePath());
    ASSERT_EQ(Get(tDragged, OFF_COUNT), 1);
    EXPECT_EQ(tDragged[OFF_POMMOS], 0);  // held
    EXPECT_EQ(Get(tDragged, OFF_POMMOS + 12), FACE_STRETCHED);
    EXPECT_GT(Get<float>(tDragged, OFF_POMMOS + 132), 1.5f);  // stretch
    std::vector<std::uint8_t> tRelaxed = tDragged;
    Put<float>(&tRelaxed, OFF_POMMOS + 128, 1.0f);
    Put<float>(&tRelaxed, OFF_POMMOS + 132, 1.0f);

    for (const std::vector<std::uint8_t>& tFile : {tDragged, tRelaxed})
    {
        ASSERT_TRUE(TEST_WriteFile(SavePath(), tFile));
        NewLevel();
        ASSERT_TRUE(pLevel->Load());
        const CPommo* pLoaded = pLevel->pPommos[0];
        TouchDown(x < 240 ? 470 : 10, 10);  // resumes, out of the pommo's reach
        ASSERT_EQ(pLevel->iMode, LEVEL_PLAYING);
        pLevel->fSpawnRate = 0.0f;
        for (int i = 0; i < 12 * 60 && pLoaded->iState != POMMO_FALLEN; ++i)
        {
            pLevel->Update(STEP);
        }
        EXPECT_EQ(pLoaded->iState, POMMO_FALLEN);
        EXPECT_EQ(pLevel->iLostCount, 1);
    }

    std::vector<std::uint8_t> tThrownFallen = tDragged;
    tThrownFallen[OFF_POMMOS + 1] = 1;  // flying
    Put<std::int32_t>(&tThrownFallen, OFF_POMMOS + 4, POMMO_FALLEN);
    Put<std::int32_t>(&tThrownFallen, OFF_POMMOS + 12, FACE_FALLEN);
    Put<float>(&tThrownFallen, OFF_POMMOS + 20, 31.0f);  // y, on the ground
    ASSERT_TRUE(TEST_WriteFile(SavePath(), tThrownFallen));
    NewLevel();
    ASSERT_TRUE(pLevel->Load());
    EXPECT_FALSE(pLevel->pPommos[0]->bFlying);
}

TEST_F(SaveGameTest, AFileThatCouldNotComeFromARealGameIsNotUsedAtAll)
{
    PlayAWhile();
    pLevel->Pause();
    for (int i = 0; i < NUM_SNAPSHOTS + 2; ++i)
    {
        pLevel->Update(STEP);
    }
    ASSERT_TRUE(pLevel->Save());
    const std::vector<std::uint8_t> tValid = TEST_ReadFile(SavePath());
    const int iCount = Get(tValid, OFF_COUNT);
    ASSERT_GE(iCount, 2);
    ASSERT_NE(Get(tValid, OFF_POPUPS + 8), 0);  // a used popup, from the catch
    const size_t uiPommo = OFF_POMMOS;
    using Change = std::function<void(std::vector<std::uint8_t>*)>;
    const struct
    {
        const char* pWhat;
        Change fnChange;
    } s_tVariants[] = {
        {"magic", [](auto* p) { (*p)[0] = 'X'; }},
        {"version 2", [](auto* p) { (*p)[6] = 2; }},
        {"four limbs", [](auto* p) { Put<std::int32_t>(p, OFF_LIMBS, 4); }},
        {"three twigs", [](auto* p) { Put<std::int32_t>(p, OFF_TWIGS, 3); }},
        {"17 pommos", [](auto* p) { Put<std::int32_t>(p, OFF_COUNT, 17); }},
        {"-1 pommos", [](auto* p) { Put<std::int32_t>(p, OFF_COUNT, -1); }},
        {"one byte short", [](auto* p) { p->pop_back(); }},
        {"one byte long", [](auto* p) { p->push_back(0); }},
        {"only the header", [](auto* p) { p->resize(100); }},
        {"empty", [](auto* p) { p->clear(); }},
        {"multiplier 0", [](auto* p) { Put<std::int32_t>(p, OFF_MULTIPLIER, 0); }},
        {"multiplier 6", [](auto* p) { Put<std::int32_t>(p, OFF_MULTIPLIER, 6); }},
        {"streak -1", [](auto* p) { Put<std::int32_t>(p, OFF_STREAK, -1); }},
        {"flag 2", [](auto* p) { (*p)[OFF_FLAG] = 2; }},
        {"popup alpha NaN", [](auto* p) { Put<float>(p, OFF_POPUPS + 12, std::nanf("")); }},
        {"popup off screen", [](auto* p) { Put<std::int32_t>(p, OFF_POPUPS, 500); }},
        {"difficulty 0", [](auto* p) { Put<std::int32_t>(p, OFF_DIFFICULTY, 0); }},
        {"difficulty 4", [](auto* p) { Put<std::int32_t>(p, OFF_DIFFICULTY, 4); }},
        {"three lost", [](auto* p) { Put<std::int32_t>(p, OFF_LOST, 3); }},
        {"speed infinite", [](auto* p) { Put<float>(p, OFF_SPEED, INFINITY); }},
        {"mode timer NaN", [](auto* p) { Put<float>(p, OFF_TIMER, std::nanf("")); }},
        {"limb with 3 twigs", [](auto* p) { Put<std::int32_t>(p, OFF_BRANCHES + 260, 3); }},
        {"limb with leaves", [](auto* p) { Put<std::int32_t>(p, OFF_BRANCHES + 4, 3); }},
        {"twig with 2 leaves", [](auto* p) { Put<std::int32_t>(p, OFF_BRANCHES + 52 + 4, 2); }},
        {"twig with a twig", [](auto* p) { Put<std::int32_t>(p, OFF_BRANCHES + 104, 1); }},
        {"length 0", [](auto* p) { Put<float>(p, OFF_BRANCHES + 16, 0.0f); }},
        {"length infinite", [](auto* p) { Put<float>(p, OFF_BRANCHES + 52 + 16, INFINITY); }},
        {"angle NaN", [](auto* p) { Put<float>(p, OFF_BRANCHES + 12, std::nanf("")); }},
        {"limb index 5", [=](auto* p) { Put<std::int32_t>(p, uiPommo + 152, 5); }},
        {"twig index 4", [=](auto* p) { Put<std::int32_t>(p, uiPommo + 156, 4); }},
        {"twig index -1", [=](auto* p) { Put<std::int32_t>(p, uiPommo + 160 + 156, -1); }},
        {"state 4", [=](auto* p) { Put<std::int32_t>(p, uiPommo + 4, 4); }},
        {"type above difficulty", [=](auto* p) { Put<std::int32_t>(p, uiPommo + 8, 2); }},
        {"face 8", [=](auto* p) { Put<std::int32_t>(p, uiPommo + 12, 8); }},
        {"face -1", [=](auto* p) { Put<std::int32_t>(p, uiPommo + 160 + 12, -1); }},
        {"position NaN", [=](auto* p) { Put<float>(p, uiPommo + 16, std::nanf("")); }},
        {"velocity infinite", [=](auto* p) { Put<float>(p, uiPommo + 32, -INFINITY); }},
        {"far off screen", [=](auto* p) { Put<float>(p, uiPommo + 16, 1.0e6f); }},
        {"matrix NaN", [=](auto* p) { Put<float>(p, uiPommo + 60, std::nanf("")); }},
        {"full size 0", [=](auto* p) { Put<float>(p, uiPommo + 124, 0.0f); }},
        {"full size negative", [=](auto* p) { Put<float>(p, uiPommo + 160 + 124, -0.4f); }},
        // Found by fuzzing (fuzz_savegame): each was loaded, then overflowed a conversion to
        // int when a touch picked a pommo, or sent a pommo or a branch off to infinity.
        {"full size 9.3e-11", [=](auto* p) { Put<float>(p, uiPommo + 124, 9.313226e-11f); }},
        {"ripe at the overripe size",
         [=](auto* p)
         {
             Put<std::int32_t>(p, uiPommo + 4, POMMO_RIPE);
             Put<float>(p, uiPommo + 124, POMMO_FULL_SIZE * 0.9f);
         }},
        {"size 1e9", [=](auto* p) { Put<float>(p, uiPommo + 120, 1.0e9f); }},
        {"attachment -7.4e30", [=](auto* p) { Put<float>(p, uiPommo + 52 + 28, -7.4e30f); }},
        {"stretch 3", [=](auto* p) { Put<float>(p, uiPommo + 132, 3.0f); }},
        {"branch position -83", [=](auto* p) { Put<float>(p, uiPommo + 116, -83.2f); }},
        {"velocity -6.5e32", [=](auto* p) { Put<float>(p, uiPommo + 28, -6.5e32f); }},
        {"limb length 1.8e35", [](auto* p) { Put<float>(p, OFF_BRANCHES + 16, 1.8e35f); }},
        {"sway limit negative", [](auto* p) { Put<float>(p, OFF_BRANCHES + 52 + 24, -220.2f); }},
        {"angle outside the sway band", [](auto* p)
         { Put<float>(p, OFF_BRANCHES + 12, Get<float>(*p, OFF_BRANCHES + 8) + 5.0f); }},
    };
    ASSERT_EQ(Get(tValid, OFF_DIFFICULTY), 1);

    NewLevel(6);
    pLevel->RecordSnapshot();
    const std::vector<std::uint8_t> tUntouched(pLevel->tSnapshots[0],
                                               pLevel->tSnapshots[0] + SNAPSHOT_SIZE);
    for (const auto& tVariant : s_tVariants)
    {
        std::vector<std::uint8_t> tBytes = tValid;
        tVariant.fnChange(&tBytes);
        ASSERT_TRUE(TEST_WriteFile(SavePath(), tBytes));
        const std::string strOut =
            TEST_OutputOf([&] { EXPECT_FALSE(pLevel->Load()) << tVariant.pWhat; });
        EXPECT_EQ(std::count(strOut.begin(), strOut.end(), '\n'), 1) << strOut;
        EXPECT_NE(strOut.find("cannot be resumed"), std::string::npos) << strOut;
        // Nothing of it reached the level.
        EXPECT_EQ(pLevel->iMode, LEVEL_GET_READY) << tVariant.pWhat;
        EXPECT_EQ(pLevel->iScore, 0) << tVariant.pWhat;
        EXPECT_EQ(g_iDifficultyLevel, 1) << tVariant.pWhat;
        pLevel->iSnapshotWrite = 1;
        pLevel->RecordSnapshot();
        EXPECT_EQ(std::memcmp(pLevel->tSnapshots[1], tUntouched.data(), SNAPSHOT_SIZE), 0)
            << tVariant.pWhat;
    }
    // The valid file itself loads, an overripe pommo at nine tenths of the full size too, and a
    // missing file does not.
    ASSERT_TRUE(TEST_WriteFile(SavePath(), tValid));
    EXPECT_TRUE(pLevel->Load());
    std::vector<std::uint8_t> tOverripe = tValid;
    Put<std::int32_t>(&tOverripe, uiPommo + 4, POMMO_OVERRIPE);
    Put<float>(&tOverripe, uiPommo + 124, POMMO_FULL_SIZE * 0.9f);
    ASSERT_TRUE(TEST_WriteFile(SavePath(), tOverripe));
    EXPECT_TRUE(pLevel->Load());
    std::remove(SavePath().c_str());
    EXPECT_FALSE(pLevel->Load());
}

TEST_F(SaveGameTest, SavingReplacesTheFileWhole)
{
    NewLevel();
    Play();
    pLevel->Update(STEP);
    ASSERT_TRUE(TEST_WriteFile(SavePath(), {1, 2, 3}));
    // What a killed write left behind goes; a file of another name stays.
    ASSERT_TRUE(TEST_WriteFile(SavePath() + ".k3Xq9Z", {1}));
    ASSERT_TRUE(TEST_WriteFile(SavePath() + ".old", {2}));
    ASSERT_TRUE(pLevel->Save());
    EXPECT_EQ(TEST_ReadFile(SavePath()).size(), 1620u);
    EXPECT_EQ(TEST_ReadFile(SavePath() + ".old").size(), 1u);
    std::remove((SavePath() + ".old").c_str());
    // Nothing else is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(strSaveDir),
                            std::filesystem::directory_iterator()),
              1);
    // A save folder that has gone away: the save fails, with a line, and nothing breaks.
    FS_SetSaveDirectory((strSaveDir + "/gone").c_str());
    const std::string strOut = TEST_OutputOf([&] { EXPECT_FALSE(pLevel->Save()); });
    EXPECT_NE(strOut.find("Cannot save"), std::string::npos) << strOut;
}
