// Crash safety of the game's saves: a copy of this process (fork) writes "gamesave.dat",
// "score.dat" and "settings.ini" in a loop through the game's own functions (CLevel::Save,
// SCORE_Write, the settings' switches), each time with the other of two valid contents, and is
// killed with SIGKILL at a random moment; hundreds of times. Every file that survives must be
// exactly the old valid one or the new valid one, never torn, empty or missing, and the game's
// own readers must take it. The copy holds real levels, so no game has to be started for each
// kill: a start of the binary (window, data, title) costs about a second, a fork a millisecond.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "HighScore.h"
#include "LevelTestSupport.h"
#include "Settings.h"
#include "TestSupport.h"

namespace
{

constexpr int NUM_KILLS = 1000;
constexpr int MAX_DELAY_MICROSECONDS = 3000;

// Temporary files a killed write left beside pName in the folder; they are removed.
int SweepTemporaries(const std::string& strDir, const std::string& strName)
{
    int iFound = 0;
    for (const auto& tEntry : std::filesystem::directory_iterator(strDir))
    {
        if (tEntry.path().filename().string().rfind(strName + ".", 0) == 0)
        {
            ++iFound;
            std::filesystem::remove(tEntry.path());
        }
    }
    return iFound;
}

}  // namespace

TEST_F(LevelTest, AKillWhileTheGameWritesLeavesTheOldFileOrTheNewOne)
{
    const std::string strSettings = TEST_MakeTempDir("crash-config") + "/settings.ini";
    SETTINGS_Load(strSettings.c_str());
    // Two levels in play for a while from their seeds, their scores set: two saved games.
    CLevel* tLevels[2];
    for (int k = 0; k < 2; ++k)
    {
        tLevels[k] = NewLevel(21 + k);
        pLevel = nullptr;  // kept here
        tLevels[k]->iMode = LEVEL_PLAYING;
        for (int i = 0; i < 120; ++i)
        {
            tLevels[k]->Update(1.0f / 60.0f);
        }
        tLevels[k]->iScore = 5 + 4 * k;
        tLevels[k]->RecordSnapshot();
    }
    CLevel* pReader = NewLevel(23);

    // The two valid contents of each file, as the game writes them (a switch is written when it
    // changes: music goes off first).
    SETTINGS_SetMusicEnabled(false);
    std::vector<std::uint8_t> tGames[2];
    std::vector<std::uint8_t> tScores[2];
    std::string tSettingsTexts[2];
    for (int k = 0; k < 2; ++k)
    {
        ASSERT_TRUE(tLevels[k]->Save());
        tGames[k] = TEST_ReadFile(strSaveDir + "/gamesave.dat");
        ASSERT_TRUE(SCORE_Write(100 + k, false));
        tScores[k] = TEST_ReadFile(strSaveDir + "/score.dat");
        SETTINGS_SetMusicEnabled(k == 0);  // on, then off again
        tSettingsTexts[k] = TEST_ReadText(strSettings);
    }
    ASSERT_NE(tGames[0], tGames[1]);
    ASSERT_NE(tSettingsTexts[0], tSettingsTexts[1]);

    std::mt19937 tRandom(2024);
    int iTemporariesLeft = 0;
    int iRounds = 0;
    for (int iKill = 0; iKill < NUM_KILLS; ++iKill)
    {
        int iReady[2];
        ASSERT_EQ(pipe(iReady), 0);
        const pid_t iPid = fork();
        ASSERT_GE(iPid, 0);
        if (iPid == 0)
        {
            // The writer: round after round, each file replaced by its other content.
            close(iReady[0]);
            for (int k = 0;; ++k)
            {
                tLevels[k % 2]->Save();
                SCORE_Write(100 + k % 2, false);
                SETTINGS_SetMusicEnabled(k % 2 == 0);
                if (k == 0)
                {
                    const char c = 1;
                    (void)!write(iReady[1], &c, 1);
                }
            }
        }
        close(iReady[1]);
        char c = 0;
        ASSERT_EQ(read(iReady[0], &c, 1), 1);
        close(iReady[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(
            std::uniform_int_distribution<int>(0, MAX_DELAY_MICROSECONDS)(tRandom)));
        ASSERT_EQ(kill(iPid, SIGKILL), 0);
        int iStatus = 0;
        ASSERT_EQ(waitpid(iPid, &iStatus, 0), iPid);
        ASSERT_TRUE(WIFSIGNALED(iStatus));

        const std::vector<std::uint8_t> tGame = TEST_ReadFile(strSaveDir + "/gamesave.dat");
        const std::vector<std::uint8_t> tScore = TEST_ReadFile(strSaveDir + "/score.dat");
        const std::string strText = TEST_ReadText(strSettings);
        ASSERT_TRUE(tGame == tGames[0] || tGame == tGames[1]) << "kill " << iKill;
        ASSERT_TRUE(tScore == tScores[0] || tScore == tScores[1]) << "kill " << iKill;
        ASSERT_TRUE(strText == tSettingsTexts[0] || strText == tSettingsTexts[1])
            << "kill " << iKill << ": \"" << strText << "\"";
        iTemporariesLeft +=
            SweepTemporaries(strSaveDir, "gamesave.dat") +
            SweepTemporaries(strSaveDir, "score.dat") +
            SweepTemporaries(strSettings.substr(0, strSettings.rfind('/')), "settings.ini");
        iRounds += tScore == tScores[1] ? 1 : 0;
    }
    // The kills landed inside writes (a temporary file was being written), and at both ends of
    // the rounds.
    std::printf("%d kills; %d left a temporary file behind\n", NUM_KILLS, iTemporariesLeft);
    EXPECT_GT(iTemporariesLeft, NUM_KILLS / 10);
    EXPECT_GT(iRounds, 0);
    EXPECT_LT(iRounds, NUM_KILLS);

    // What survived is taken by the game's own readers.
    int iStored = 0;
    EXPECT_TRUE(SCORE_Read(&iStored));
    EXPECT_TRUE(iStored == 100 || iStored == 101);
    EXPECT_TRUE(pReader->Load());
    SETTINGS_Load(strSettings.c_str());
    delete tLevels[0];
    delete tLevels[1];
    SETTINGS_Reset();
}
