// The game binary itself under the virtual X server: its command line; it starts, draws frames,
// and ends with exit status 0 through the termination path on a window-close request, on
// SIGTERM (also while the focus is away) and on Ctrl-C's SIGINT; it runs silent when no audio
// device can be opened; its window has the size and icon asked for, and the player's changes
// are remembered in the settings file.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "GameProcess.h"
#include "TestSupport.h"

namespace
{

struct Finished
{
    int iStatus;
    std::string strOut;
};

// Runs the binary with arguments to its end (no window needed), both output streams together.
Finished RunToEnd(const std::string& strArguments)
{
    Finished tRun{-1, ""};
    tRun.iStatus = TEST_RunCommand(
        std::string(BF_BINARY_DIR) + "/boughfall " + strArguments + " 2>&1", &tRun.strOut);
    return tRun;
}

}  // namespace

TEST(GameBinary, HelpVersionAndBadOptions)
{
    Finished tRun = RunToEnd("--help");
    EXPECT_EQ(tRun.iStatus, 0);
    EXPECT_EQ(tRun.strOut.rfind("Usage: boughfall [--fullscreen] [--window WIDTHxHEIGHT]", 0), 0u)
        << tRun.strOut;
    tRun = RunToEnd("--version");
    EXPECT_EQ(tRun.iStatus, 0);
    EXPECT_EQ(tRun.strOut, std::string("Boughfall ") + BF_VERSION + "\n");
    for (const char* pBad :
         {"--bogus", "--window", "--window 960", "--window=12x8", "extra",
          "--fullscreen --window 0x0", "--record", "--replay=", "--record a.txt --replay b.txt"})
    {
        tRun = RunToEnd(pBad);
        EXPECT_EQ(tRun.iStatus, 2) << pBad;
        EXPECT_EQ(tRun.strOut.rfind("boughfall: ", 0), 0u) << tRun.strOut;
        EXPECT_NE(tRun.strOut.find("Usage: "), std::string::npos) << pBad;
    }
}

// Each way out is the normal one: the window's close button; SIGTERM in a game that found no
// audio device and runs silent; SIGTERM while the focus is away, the game blocked in the
// inactive wait with no frame after the one that lost it.
TEST(GameBinary, CloseRequestAndSigtermEndTheGameCleanly)
{
    struct Ending
    {
        const char* pScript;
        const char* pAudioDriver;
        bool bCloseRequest;  // else SIGTERM
        unsigned int uiFrame;
        int iMostFrames;
    };
    for (const Ending& tEnding : {Ending{"25 stamp\n", "disk", true, 25, 10000},
                                  Ending{"25 stamp\n", "no-such-audio-driver", false, 25, 10000},
                                  Ending{"10 stamp\n10 focus out\n", "disk", false, 10, 11}})
    {
        SCOPED_TRACE(tEnding.pScript);
        GameLaunch tLaunch;
        tLaunch.strScript = tEnding.pScript;
        tLaunch.strAudioDriver = tEnding.pAudioDriver;
        const GameRun tRun = TEST_StartGame(tLaunch);
        if (tEnding.bCloseRequest)
        {
            ASSERT_TRUE(TEST_WaitForFrame(tRun, tEnding.uiFrame)) << TEST_GameLog(tRun);
            ASSERT_TRUE(TEST_RequestClose());
            EXPECT_EQ(TEST_WaitForGame(tRun, 20), 0);
        }
        else
        {
            EXPECT_EQ(TEST_SignalGame(tRun, SIGTERM, tEnding.uiFrame), 0);
        }
        const int iFrames = TEST_FramesDrawn(TEST_GameLog(tRun));
        EXPECT_GT(iFrames, static_cast<int>(tEnding.uiFrame)) << TEST_GameLog(tRun);
        EXPECT_LE(iFrames, tEnding.iMostFrames) << TEST_GameLog(tRun);
    }
}

TEST(GameBinary, TheTitleMusicPlaysFromTheGeneratedData)
{
    // The theme is 44.1 kHz stereo: the mixer is reopened in its format and it is heard.
    GameLaunch tLaunch;
    tLaunch.strScript = "90 quit\n";
    tLaunch.strAudioFile = TEST_MakeTempDir("audio") + "/out.raw";
    const GameRun tRun = TEST_StartGame(tLaunch);
    EXPECT_EQ(TEST_WaitForGame(tRun, 20), 0);
    const std::vector<std::uint8_t> tBytes = TEST_ReadFile(tLaunch.strAudioFile);
    ASSERT_GT(tBytes.size(), 44100u);  // about 1.5 s of output
    int iPeak = 0;
    for (size_t i = 0; i + 1 < tBytes.size(); i += 2)
    {
        const int iSample = static_cast<std::int16_t>(tBytes[i] | (tBytes[i + 1] << 8));
        iPeak = std::max(iPeak, std::abs(iSample));
    }
    EXPECT_GT(iPeak, 4000) << "the music is silent";
}

TEST(GameBinary, WindowSizeAndIconThenCtrlCLeavesTheSettingsAsTheyWere)
{
    const std::string strConfig = TEST_MakeTempDir("config");
    const std::string strSettings = strConfig + "/boughfall/settings.ini";
    ASSERT_EQ(std::system(("mkdir -p " + strConfig + "/boughfall").c_str()), 0);
    const std::string strFile = "window=600x400\nfullscreen=on\ntheme=dark\n";
    ASSERT_TRUE(
        TEST_WriteFile(strSettings, std::vector<std::uint8_t>(strFile.begin(), strFile.end())));

    GameLaunch tLaunch;
    tLaunch.strConfigHome = strConfig;
    tLaunch.tArguments = {"--window", "480x320"};  // a window, though the file says fullscreen
    tLaunch.strScript = "20 stamp\n";
    const GameRun tRun = TEST_StartGame(tLaunch);
    // Its window once the game draws frames: the one SDL may make and replace while it starts
    // can be gone between finding it and reading it.
    ASSERT_TRUE(TEST_WaitForFrame(tRun, 20));
    int iWidth = 0;
    int iHeight = 0;
    ASSERT_TRUE(TEST_GameWindowSize(&iWidth, &iHeight));
    EXPECT_EQ(iWidth, 480);
    EXPECT_EQ(iHeight, 320);
    // The generated icon: 128 pixels, clear in the corner, the red pommo in the middle.
    unsigned long uiCorner = 1;
    unsigned long uiMiddle = 0;
    ASSERT_TRUE(TEST_GameWindowIcon(&iWidth, &iHeight, 1, 126, &uiCorner));
    EXPECT_EQ(iWidth, 128);
    EXPECT_EQ(iHeight, 128);
    EXPECT_EQ(uiCorner >> 24, 0u);
    ASSERT_TRUE(TEST_GameWindowIcon(&iWidth, &iHeight, 52, 100, &uiMiddle));
    EXPECT_EQ(uiMiddle >> 24, 255u);
    EXPECT_GT((uiMiddle >> 16) & 0xFF, 2 * (uiMiddle & 0xFF)) << std::hex << uiMiddle;

    EXPECT_EQ(TEST_SignalGame(tRun, SIGINT, 20), 0);
    EXPECT_GT(TEST_FramesDrawn(TEST_GameLog(tRun)), 20) << TEST_GameLog(tRun);
    EXPECT_EQ(TEST_ReadText(strSettings), strFile);  // this run's option is not written back

    // F11 is the player's own change: written, with the remembered size and the unknown key.
    tLaunch.tArguments.clear();
    tLaunch.strScript = "20 key f11 down\n40 quit\n";
    const GameRun tSecond = TEST_StartGame(tLaunch);
    EXPECT_EQ(TEST_WaitForGame(tSecond, 20), 0);
    EXPECT_EQ(TEST_ReadText(strSettings),
              "music=on\neffects=on\nfullscreen=off\nwindow=600x400\n"
              "theme=dark\n");
}
