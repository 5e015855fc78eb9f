// Whole games played by the real binary under the virtual X server: scripts of real mouse
// events with a fixed seed, the fixed frame clock and unpaced frames. A pommo thrown into its
// basket scores; quitting mid-level saves the game, which the next launch brings back paused
// after the splash; a game lost by three drops ends on a touch and returns to the title with
// its new high score kept. Every run is exact: the same script gives the same saved game.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "GameProcess.h"
#include "PngFile.h"
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

struct Picture
{
    int iWidth = 0;
    int iHeight = 0;
    std::vector<std::uint8_t> tPixels;  // RGBA, top row first

    // Near-white pixels in a band of the game's space (y up, 480 x 320 units), counted in game
    // units whatever the window's size.
    int WhiteIn(int x0, int y0, int x1, int y1) const
    {
        const float fScale = static_cast<float>(iWidth) / 480.0f;
        int iCount = 0;
        for (int y = static_cast<int>(y0 * fScale); y < static_cast<int>(y1 * fScale); ++y)
        {
            for (int x = static_cast<int>(x0 * fScale); x < static_cast<int>(x1 * fScale); ++x)
            {
                const std::uint8_t* p =
                    &tPixels[(static_cast<size_t>(iHeight - 1 - y) * iWidth + x) * 4];
                iCount += p[0] > 235 && p[1] > 235 && p[2] > 235;
            }
        }
        return static_cast<int>(iCount / (fScale * fScale));
    }

    // Pixels that differ from another picture of the same size in a band of the game's space,
    // in game units.
    int DifferencesIn(const Picture& tOther, int x0, int y0, int x1, int y1) const
    {
        if (tOther.tPixels.size() != tPixels.size())
        {
            return -1;
        }
        const float fScale = static_cast<float>(iWidth) / 480.0f;
        int iCount = 0;
        for (int y = static_cast<int>(y0 * fScale); y < static_cast<int>(y1 * fScale); ++y)
        {
            for (int x = static_cast<int>(x0 * fScale); x < static_cast<int>(x1 * fScale); ++x)
            {
                const size_t i = (static_cast<size_t>(iHeight - 1 - y) * iWidth + x) * 4;
                iCount += std::abs(tPixels[i] - tOther.tPixels[i]) +
                              std::abs(tPixels[i + 1] - tOther.tPixels[i + 1]) +
                              std::abs(tPixels[i + 2] - tOther.tPixels[i + 2]) >
                          30;
            }
        }
        return static_cast<int>(iCount / (fScale * fScale));
    }
};

Picture Load(const std::string& strPath)
{
    Picture tPicture;
    EXPECT_TRUE(
        PNG_ReadRGBA(strPath.c_str(), &tPicture.iWidth, &tPicture.iHeight, &tPicture.tPixels))
        << strPath;
    return tPicture;
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
    const Picture tBefore = Load(tGame.Shot("before.png"));
    const Picture tAfter = Load(tGame.Shot("after.png"));
    EXPECT_NE(tBefore.WhiteIn(440, 290, 472, 316), tAfter.WhiteIn(440, 290, 472, 316));
    EXPECT_GT(tAfter.DifferencesIn(tBefore, 115, 18, 145, 50), 60);

    // The same run again, from nothing, saves the same bytes.
    Game tAgain;
    ASSERT_EQ(tAgain.Play(strFirst), 0);
    EXPECT_EQ(TEST_ReadFile(tAgain.SavePath("gamesave.dat")), tSaved);

    // Relaunched: after the splash the level is back, paused, with the same score; quitting it
    // saves the same game again.
    const std::string strSecond = "0 seed 7\n0 clock fixed\n0 frames unpaced\n80 shot " +
                                  tGame.Shot("resumed.png") + "\n100 quit\n";
    ASSERT_EQ(tGame.Play(strSecond), 0);
    const Picture tResumed = Load(tGame.Shot("resumed.png"));
    EXPECT_GT(tResumed.WhiteIn(150, 160, 330, 200), tAfter.WhiteIn(150, 160, 330, 200) + 150)
        << "\"Paused\" is shown";
    EXPECT_EQ(TEST_ReadFile(tGame.SavePath("gamesave.dat")), tSaved);
}

TEST(Play, ALostGameEndsOnATouchAndItsHighScoreIsKept)
{
    Game tGame;
    // After the catch nothing more is touched: three pommos drop and the game is over well
    // before frame 2200; the touch at 2300 leaves it, and by 2500 the title is back.
    const std::string strScript =
        std::string(OPENING) + THROW + "190 shot " + tGame.Shot("title.png") + "\n2200 shot " +
        tGame.Shot("over.png") + "\n2300 down 240 160\n2301 up 240 160\n2500 shot " +
        tGame.Shot("back.png") + "\n2510 quit\n";
    ASSERT_EQ(tGame.Play(strScript), 0);
    EXPECT_EQ(TEST_ReadFile(tGame.SavePath("score.dat")),
              (std::vector<std::uint8_t>{'B', 'F', 'S', 1, 1, 0, 0, 0, 0}));
    EXPECT_TRUE(TEST_ReadFile(tGame.SavePath("gamesave.dat")).empty());  // quit in the menus
    const Picture tOver = Load(tGame.Shot("over.png"));
    EXPECT_GT(tOver.WhiteIn(100, 160, 380, 200), 300) << "\"Game Over\"";
    EXPECT_LT(
        Load(tGame.Shot("back.png")).DifferencesIn(Load(tGame.Shot("title.png")), 0, 0, 480, 320),
        480 * 320 / 50);

    // The next game starts with that high score.
    const std::string strNext = std::string(OPENING) + "400 quit\n";
    ASSERT_EQ(tGame.Play(strNext), 0);
    const std::vector<std::uint8_t> tSaved = TEST_ReadFile(tGame.SavePath("gamesave.dat"));
    EXPECT_EQ(Int32At(tSaved, 12), 1);  // the level's high score
    EXPECT_EQ(Int32At(tSaved, 8), 0);
}
