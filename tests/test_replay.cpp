// Recordings and replays with the real binary: a scripted session with a caught pommo, a lost
// game, a second game leaned by the arrow keys (a replay takes no keys, so only the recording
// can say what the game read) and a quit mid-level is recorded, then replayed in a
// window of another size; the replay reaches a byte-identical saved game and high score in its
// own folder and leaves the player's files alone. A recording cut short or damaged is refused
// with one line naming the file, the line and the fault, and exit status 2.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "GameProcess.h"
#include "TestSupport.h"

namespace
{

// Play at frame 200; a throw that scores; the game lost by three drops well before frame 2300
// and left by a touch; Play again from the title; a long lean left, then right; quit mid-level.
// On the fixed clock the emulated device leans by the frames, however fast they run.
const char SESSION[] =
    "0 seed 7\n"
    "0 clock fixed\n"
    "0 frames unpaced\n"
    "200 down 164 158\n201 up 164 158\n"
    "600 down 130 128\n603 move 130 110\n606 move 130 100\n608 up 130 100\n"
    "2300 down 240 160\n2301 up 240 160\n"
    "2600 down 164 158\n2601 up 164 158\n"
    "2720 key left down\n3300 key left up\n"
    "3320 key right down\n3600 key right up\n"
    "3700 quit\n";

std::string DataFile(const GameRun& tRun, const char* pFolder, const char* pName)
{
    return tRun.strHome + "/.local/share/boughfall/" + pFolder + "/" + pName;
}

struct Recording
{
    std::string strDir = TEST_MakeTempDir("replay");
    std::string strPath = strDir + "/session.txt";
    std::vector<std::string> tLines;

    // Writes a copy of the recording, line i changed to fnChange(i, line), as pName.
    template <typename F>
    std::string Variant(const char* pName, F fnChange) const
    {
        std::string strText;
        for (size_t i = 0; i < tLines.size(); ++i)
        {
            strText += fnChange(i, tLines[i]);
        }
        TEST_WriteFile(strDir + "/" + pName,
                       std::vector<std::uint8_t>(strText.begin(), strText.end()));
        return strDir + "/" + pName;
    }
};

// The replay refused: exit status 2 and exactly the one line expected.
void ExpectRefused(const std::string& strPath, int iLine, const std::string& strWhy)
{
    std::string strOut;
    const int iStatus = TEST_RunCommand(
        std::string(BF_BINARY_DIR) + "/boughfall --replay " + strPath + " 2>&1", &strOut);
    EXPECT_EQ(iStatus, 2) << strOut;
    EXPECT_EQ(strOut, "boughfall: " + strPath + ":" + std::to_string(iLine) + ": " + strWhy + "\n");
}

}  // namespace

TEST(Replay, ARecordedSessionReplaysToTheSameSavesAndIsRefusedWhenDamaged)
{
    Recording tRecording;
    GameLaunch tLaunch;
    tLaunch.strScript = SESSION;
    tLaunch.tArguments = {"--window", "480x320", "--record", tRecording.strPath};
    const GameRun tRecorded = TEST_StartGame(tLaunch);
    ASSERT_EQ(TEST_WaitForGame(tRecorded, 600), 0) << TEST_GameLog(tRecorded);
    const std::vector<std::uint8_t> tSaved =
        TEST_ReadFile(DataFile(tRecorded, "Data", "gamesave.dat"));
    const std::vector<std::uint8_t> tScore =
        TEST_ReadFile(DataFile(tRecorded, "Data", "score.dat"));
    // The lost game's high score is kept, and the next game, quit mid-level, started from it.
    ASSERT_GT(tSaved.size(), 1620u) << "quit mid-level: the game is saved";
    EXPECT_EQ(tScore, (std::vector<std::uint8_t>{'B', 'F', 'S', 1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(std::vector<std::uint8_t>(tSaved.begin() + 12, tSaved.begin() + 16),
              (std::vector<std::uint8_t>{1, 0, 0, 0}));

    // The recording holds the lean the game read, sideways over down: the full lean of about
    // 23.6 degrees to the left, then most of the way back over to the right.
    std::istringstream tText(TEST_ReadText(tRecording.strPath));
    float fMostLeft = 0.0f;
    float fMostRight = 0.0f;
    for (std::string strLine; std::getline(tText, strLine);)
    {
        tRecording.tLines.push_back(strLine + "\n");
        float tAccel[3];
        unsigned int uiFrame = 0;
        if (std::sscanf(strLine.c_str(), "%u accel %f %f %f", &uiFrame, &tAccel[0], &tAccel[1],
                        &tAccel[2]) == 4)
        {
            fMostLeft = std::fmin(fMostLeft, tAccel[1] / tAccel[0]);
            fMostRight = std::fmax(fMostRight, tAccel[1] / tAccel[0]);
        }
    }
    EXPECT_NEAR(fMostLeft, -0.435f, 0.002f) << "the left arrow leaned the game fully";
    EXPECT_GT(fMostRight, 0.3f) << "the right arrow leaned it back the other way";
    ASSERT_EQ(tRecording.tLines.back(), "3700 quit\n");

    // Replayed in a larger window, by a player with saves of their own: the same saves in the
    // replay's folder, the player's as they were.
    GameLaunch tReplay;
    tReplay.tArguments = {"--window", "600x400", "--replay", tRecording.strPath};
    tReplay.strConfigHome = TEST_MakeTempDir("replay-config");
    const GameRun tReplayed = TEST_StartGame(tReplay);
    const std::vector<std::uint8_t> tPlayersScore = {'B', 'F', 'S', 1, 42, 0, 0, 0, 0};
    ASSERT_EQ(
        std::system(("mkdir -p " + tReplayed.strHome + "/.local/share/boughfall/Data").c_str()), 0);
    ASSERT_TRUE(TEST_WriteFile(DataFile(tReplayed, "Data", "score.dat"), tPlayersScore));
    ASSERT_EQ(TEST_WaitForGame(tReplayed, 600), 0) << TEST_GameLog(tReplayed);
    EXPECT_EQ(TEST_ReadFile(DataFile(tReplayed, "Replay", "gamesave.dat")), tSaved);
    EXPECT_EQ(TEST_ReadFile(DataFile(tReplayed, "Replay", "score.dat")), tScore);
    EXPECT_EQ(TEST_ReadFile(DataFile(tReplayed, "Data", "score.dat")), tPlayersScore);
    EXPECT_TRUE(TEST_ReadFile(DataFile(tReplayed, "Data", "gamesave.dat")).empty());
    EXPECT_TRUE(TEST_ReadFile(tReplay.strConfigHome + "/boughfall/settings.ini").empty());

    // Cut short, in a line or after one; holding what no recording holds; going backwards.
    const size_t uiQuit = tRecording.tLines.size() - 1;
    const size_t uiMiddle = uiQuit / 2;
    const int iMiddleLine = static_cast<int>(uiMiddle) + 1;
    ExpectRefused(tRecording.Variant("cut-in-a-line.txt",
                                     [&](size_t i, const std::string& s) {
                                         return i < uiMiddle    ? s
                                                : i == uiMiddle ? s.substr(0, s.size() / 2)
                                                                : std::string();
                                     }),
                  iMiddleLine, "the last line is cut short");
    ExpectRefused(tRecording.Variant("cut-after-a-line.txt", [&](size_t i, const std::string& s)
                                     { return i < uiQuit ? s : std::string(); }),
                  static_cast<int>(uiQuit) + 1,
                  "the recording ends before the session's quit: it was cut short");
    ExpectRefused(tRecording.Variant("soak.txt", [&](size_t i, const std::string& s)
                                     { return i == 0 ? s + "0 soak 5\n" : s; }),
                  2, "a soak plays input of its own: a recording holds the input it played");
    ExpectRefused(tRecording.Variant("backwards.txt", [&](size_t i, const std::string& s)
                                     { return i == uiQuit ? "100 quit\n" : s; }),
                  static_cast<int>(uiQuit) + 1, "frames go backwards");
}
