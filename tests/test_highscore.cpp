// The high score: "score.dat" checked, built and converted at launch, read by a new level,
// replaced at the end of a game that beat it (never lowered, never torn). (A save folder that
// cannot be written is test_savegame's: both files are replaced the same way.)

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "FileSystem.h"
#include "HighScore.h"
#include "LevelTestSupport.h"
#include "TestSupport.h"

namespace
{

std::vector<std::uint8_t> ScoreFile(const char* pMagic, int iVersion, int iScore, int iFlag)
{
    const std::uint32_t u = static_cast<std::uint32_t>(iScore);
    return {static_cast<std::uint8_t>(pMagic[0]), static_cast<std::uint8_t>(pMagic[1]),
            static_cast<std::uint8_t>(pMagic[2]), static_cast<std::uint8_t>(iVersion),
            static_cast<std::uint8_t>(u),         static_cast<std::uint8_t>(u >> 8),
            static_cast<std::uint8_t>(u >> 16),   static_cast<std::uint8_t>(u >> 24),
            static_cast<std::uint8_t>(iFlag)};
}

class HighScoreTest : public LevelTest
{
protected:
    std::string ScorePath() const { return strSaveDir + "/score.dat"; }
    std::vector<std::uint8_t> Stored() const { return TEST_ReadFile(ScorePath()); }

    // A level in play whose score has beaten the stored one, three pommos ready to drop.
    void BeatenBy(int iScore)
    {
        NewLevel();
        Play();
        pLevel->iScore = iScore;
        pLevel->bNewHighScore = 1;
    }

    void DropThree()
    {
        for (int i = 0; i < 3; ++i)
        {
            AboutToDrop(SpawnOne());
            pLevel->Update(1.0f / 60.0f);
        }
        ASSERT_EQ(pLevel->iMode, LEVEL_GAME_OVER);
    }
};

}  // namespace

// At launch a missing file is created with 0, not submitted; a valid one is left as it is;
// another version or format keeps the score at offset 4, in the current format; a file cut
// short is rebuilt, keeping the score when all four of its bytes are there.
TEST_F(HighScoreTest, LaunchCheckBuildsOrConvertsTheFile)
{
    SCORE_CheckFile();
    EXPECT_EQ(Stored(), ScoreFile("BFS", 1, 0, 0));
    std::vector<std::uint8_t> tCut = ScoreFile("BFS", 1, 777, 0);
    tCut.pop_back();
    const std::vector<std::uint8_t> tCases[][2] = {
        {ScoreFile("BFS", 1, 250, 1), ScoreFile("BFS", 1, 250, 1)},
        {ScoreFile("BFS", 2, 1234, 1), ScoreFile("BFS", 1, 1234, 0)},
        {ScoreFile("XYZ", 7, -5, 9), ScoreFile("BFS", 1, -5, 0)},
        {tCut, ScoreFile("BFS", 1, 777, 0)},
        {std::vector<std::uint8_t>(tCut.begin(), tCut.begin() + 6), ScoreFile("BFS", 1, 0, 0)},
        {{}, ScoreFile("BFS", 1, 0, 0)},
    };
    for (const auto& tCase : tCases)
    {
        ASSERT_TRUE(TEST_WriteFile(ScorePath(), tCase[0]));
        SCORE_CheckFile();
        EXPECT_EQ(Stored(), tCase[1]) << tCase[0].size() << " bytes";
    }
}

// A new level takes the stored score; a file cut short gives 0, never an unset score.
TEST_F(HighScoreTest, ANewLevelReadsAValidFileOnly)
{
    std::vector<std::uint8_t> tFile = ScoreFile("BFS", 1, 250, 0);
    for (const int iExpected : {250, 0})
    {
        ASSERT_TRUE(TEST_WriteFile(ScorePath(), tFile));
        int iScore = -1;
        EXPECT_EQ(SCORE_Read(&iScore), iExpected != 0);
        EXPECT_EQ(iScore, iExpected);
        NewLevel();
        EXPECT_EQ(pLevel->iHighScore, iExpected);
        tFile.resize(7);
    }
}

TEST_F(HighScoreTest, OnlyAFinalScoreAboveTheStoredOneIsWritten)
{
    ASSERT_TRUE(TEST_WriteFile(ScorePath(), ScoreFile("BFS", 1, 250, 1)));

    // Ending at 251 by three drops: written, offered to the leaderboard, not submitted.
    BeatenBy(251);
    DropThree();
    EXPECT_EQ(pLevel->iHighScore, 251);
    EXPECT_TRUE(pLevel->bNewHighScore);
    EXPECT_EQ(Stored(), ScoreFile("BFS", 1, 251, 0));

    // Ending level with it: nothing is written.
    ASSERT_TRUE(TEST_WriteFile(ScorePath(), ScoreFile("BFS", 1, 250, 1)));
    NewLevel();
    Play();
    pLevel->iScore = 250;
    DropThree();
    EXPECT_FALSE(pLevel->bNewHighScore);
    EXPECT_EQ(Stored(), ScoreFile("BFS", 1, 250, 1));

    // Beaten for a while (260) but ended below (240): the high score does not go down, and
    // there is no new high score to announce.
    BeatenBy(260);
    pLevel->iScore = 240;
    DropThree();
    EXPECT_FALSE(pLevel->bNewHighScore);
    EXPECT_EQ(pLevel->iHighScore, 250);
    EXPECT_EQ(Stored(), ScoreFile("BFS", 1, 250, 1));

    // Giving up in the corner writes the flag 1.
    BeatenBy(300);
    TouchDown(470, 40);
    ASSERT_EQ(pLevel->iMode, LEVEL_GAME_OVER);
    EXPECT_EQ(Stored(), ScoreFile("BFS", 1, 300, 1));

    // Another game meanwhile stored more: this one's lower end does not overwrite it.
    BeatenBy(400);
    ASSERT_TRUE(TEST_WriteFile(ScorePath(), ScoreFile("BFS", 1, 500, 0)));
    DropThree();
    EXPECT_EQ(Stored(), ScoreFile("BFS", 1, 500, 0));
}

TEST_F(HighScoreTest, QuittingMidGameLeavesTheFileAndKeepsTheFlagInTheSave)
{
    ASSERT_TRUE(TEST_WriteFile(ScorePath(), ScoreFile("BFS", 1, 10, 0)));
    BeatenBy(50);
    pLevel->Update(1.0f / 60.0f);
    ASSERT_TRUE(pLevel->Save());
    EXPECT_EQ(Stored(), ScoreFile("BFS", 1, 10, 0));
    NewLevel();
    ASSERT_TRUE(pLevel->Load());
    EXPECT_TRUE(pLevel->bNewHighScore);
    EXPECT_EQ(pLevel->iScore, 50);
}
