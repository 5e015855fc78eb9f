// A whole game played by the real binary: scripts of real mouse events with a fixed seed, the
// fixed frame clock and unpaced frames. A pommo thrown into its basket scores; quitting
// mid-level saves the game, which the next launch brings back paused after the splash. Every
// run is exact: the same script gives the same saved game. (A game lost, left and followed by
// the next one, high score kept, is test_replay's session.)

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "GameProcess.h"
#include "TestSupport.h"

namespace
{

// The opening every run shares: a fixed seed and clock, frames as fast as they can go; the
// title's menus are live by frame 200, where Play is touched.
const char OPENING[] =
    "0 seed 7\n"
    "0 clock fixed\n"
    "0 frames unpaced\n"
    "200 down 164 158\n"
    "201 up 164 158\n";

// With that seed, at frame 600 a red pommo (its basket is x 120..240) hangs at about
// (130, 134): drag it down a little and let go, and it drops into its basket.
const char THROW[] =
    "600 down 130 128\n"
    "603 move 130 110\n"
    "606 move 130 100\n"
    "608 up 130 100\n";

struct Game
{
    std::string strHome;   // HOME of the run: the saves are under it
    std::string strShots;  // screenshots of the run

    Game() : strHome(TEST_MakeTempDir("play-home")), strShots(TEST_MakeTempDir("play-shots")) {}

    std::string SavePath(const char* pName) const
    {
        return strHome + "/.local/share/boughfall/Data/" + pName;
    }

    // Plays a script to its end in this game's HOME; the exit status, or -1 if it did not end
    // in time. The smallest whole window: the game's rules do not depend on its size, and the
    // software rasteriser has a quarter of the pixels to fill.
    int Play(const std::string& strScript, int iSeconds = 600) const
    {
        GameLaunch tLaunch;
        tLaunch.strScript = strScript;
        tLaunch.tArguments = {"--window", "480x320"};
        tLaunch.tEnvironment = {"HOME=" + strHome};
        return TEST_WaitForGame(TEST_StartGame(tLaunch), iSeconds);
    }

    std::string Shot(const char* pName) const { return strShots + "/" + pName; }
};

std::int32_t Int32At(const std::vector<std::uint8_t>& tBytes, size_t uiOffset)
{
    std::int32_t iValue = 0;
    if (tBytes.size() >= uiOffset + 4)
    {
        std::memcpy(&iValue, tBytes.data() + uiOffset, 4);
    }
    return iValue;
}

// Near-white pixels of a screenshot in a band of the game's space (the window is 480 x 320:
// a pixel is a unit).
int WhiteIn(const TestPicture& tPicture, int x0, int y0, int x1, int y1)
{
    return tPicture.Count(x0, y0, x1, y1,
                          [](const std::uint8_t* p)
                          { return p[0] > 235 && p[1] > 235 && p[2] > 235; });
}

}  // namespace

TEST(Play, AThrowScoresQuittingSavesAndTheNextLaunchResumesPaused)
{
    Game tGame;
    const std::string strFirst = std::string(OPENING) + THROW + "590 shot " +
                                 tGame.Shot("before.png") + "\n660 shot " +
                                 tGame.Shot("after.png") + "\n700 quit\n";
    ASSERT_EQ(tGame.Play(strFirst), 0);
    const std::vector<std::uint8_t> tSaved = TEST_ReadFile(tGame.SavePath("gamesave.dat"));
    ASSERT_EQ(tSaved.size(), 1620u + 160u * static_cast<size_t>(Int32At(tSaved, 292)));
    EXPECT_EQ(Int32At(tSaved, 8), 1);   // the score: one growing pommo caught at x1
    EXPECT_EQ(Int32At(tSaved, 20), 1);  // a streak of one
    // The score readout in the top right changed from 0 to 1, and a popup rose from the basket.
    const TestPicture tBefore = TEST_LoadPicture(tGame.Shot("before.png"));
    const TestPicture tAfter = TEST_LoadPicture(tGame.Shot("after.png"));
    EXPECT_NE(WhiteIn(tBefore, 440, 290, 472, 316), WhiteIn(tAfter, 440, 290, 472, 316));
    EXPECT_GT(tAfter.Differences(tBefore, 115, 18, 145, 50, 30), 60);

    // The same run again, from nothing, saves the same bytes.
    Game tAgain;
    ASSERT_EQ(tAgain.Play(strFirst), 0);
    EXPECT_EQ(TEST_ReadFile(tAgain.SavePath("gamesave.dat")), tSaved);

    // Relaunched: after the splash the level is back, paused, with the same score; quitting it
    // saves the same game again.
    const std::string strSecond = "0 seed 7\n0 clock fixed\n0 frames unpaced\n80 shot " +
                                  tGame.Shot("resumed.png") + "\n100 quit\n";
    ASSERT_EQ(tGame.Play(strSecond), 0);
    const TestPicture tResumed = TEST_LoadPicture(tGame.Shot("resumed.png"));
    EXPECT_GT(WhiteIn(tResumed, 150, 160, 330, 200), WhiteIn(tAfter, 150, 160, 330, 200) + 150)
        << "\"Paused\" is shown";
    EXPECT_EQ(TEST_ReadFile(tGame.SavePath("gamesave.dat")), tSaved);
}
