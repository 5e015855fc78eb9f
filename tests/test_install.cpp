// Installing: `cmake --install` into a temporary prefix puts the binary, the data, the desktop
// entry, the icons, the metainfo and the manual page where a desktop looks for them; the
// desktop's own validators accept the entry and the metainfo; the installed game, started
// from another folder, finds its data and ends cleanly on SIGTERM.

#include <gtest/gtest.h>
#include <signal.h>

#include <string>
#include <vector>

#include "GameProcess.h"
#include "PngFile.h"
#include "TestSupport.h"

namespace
{

// Runs a command through the shell; its exit status, its output (both streams) in *pOut.
int Shell(const std::string& strCommand, std::string* pOut)
{
    return TEST_RunCommand(strCommand + " 2>&1", pOut);
}

}  // namespace

TEST(Install, DesktopFilesValidateAndTheInstalledGameRunsFromElsewhere)
{
    const std::string strPrefix = TEST_MakeTempDir("prefix");
    std::string strOut;
    ASSERT_EQ(
        Shell(std::string(BF_CMAKE) + " --install " + BF_BINARY_DIR + " --prefix " + strPrefix,
              &strOut),
        0)
        << strOut;

    // The folders as configured: a Debian build puts the game in games/ and its data in
    // share/games/boughfall.
    const std::string strShare = strPrefix + "/" + BF_INSTALL_SHAREDIR;
    const std::string strMan = strPrefix + "/" + BF_INSTALL_MANDIR + "/man6/boughfall.6";
    const std::string strGame = strPrefix + "/" + BF_INSTALL_BINDIR + "/boughfall";
    const std::string strData = strPrefix + "/" + BF_INSTALL_DATADIR + "/Data";
    const std::string strId = BF_APP_ID;
    const std::string strDesktop = strShare + "/applications/" + strId + ".desktop";
    const std::string strMetainfo = strShare + "/metainfo/" + strId + ".metainfo.xml";
    for (const std::string& strFile :
         {strGame, strData + "/Textures/level_1.tga", strData + "/Icons/boughfall_128.tga",
          strDesktop, strMetainfo, strMan})
    {
        EXPECT_FALSE(TEST_ReadFile(strFile).empty()) << strFile << " is not installed";
    }
    for (int iSize : {48, 128, 256})
    {
        const std::string strSize = std::to_string(iSize);
        const std::string strIcon =
            strShare + "/icons/hicolor/" + strSize + "x" + strSize + "/apps/" + strId + ".png";
        int iWidth = 0;
        int iHeight = 0;
        std::vector<std::uint8_t> tPixels;
        ASSERT_TRUE(PNG_ReadRGBA(strIcon.c_str(), &iWidth, &iHeight, &tPixels)) << strIcon;
        EXPECT_EQ(iWidth, iSize);
        EXPECT_EQ(iHeight, iSize);
    }

    EXPECT_EQ(Shell("desktop-file-validate " + strDesktop, &strOut), 0) << strOut;
    EXPECT_EQ(strOut, "");
    EXPECT_EQ(Shell("appstreamcli validate --no-net " + strMetainfo, &strOut), 0) << strOut;
    // The manual page formats without a warning.
    EXPECT_EQ(Shell("groff -man -ww -z " + strMan, &strOut), 0);
    EXPECT_EQ(strOut, "");

    GameLaunch tLaunch;
    tLaunch.strBinary = strGame;
    tLaunch.strWorkingDir = TEST_MakeTempDir("elsewhere");
    tLaunch.strScript = "20 stamp\n";
    const GameRun tRun = TEST_StartGame(tLaunch);
    EXPECT_EQ(TEST_SignalGame(tRun, SIGTERM, 20), 0);
    const std::string strLog = TEST_GameLog(tRun);
    EXPECT_GT(TEST_FramesDrawn(strLog), 20) << strLog;
    EXPECT_EQ(strLog.find("not found"), std::string::npos) << strLog;
}
