// The remembered settings: reading a file with every kind of line, writing it back whole and
// only on a change, this run's options that are not written, and failures reported once.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "Settings.h"
#include "TestSupport.h"

namespace
{

bool WriteText(const std::string& strPath, const std::string& strText)
{
    return TEST_WriteFile(strPath, std::vector<std::uint8_t>(strText.begin(), strText.end()));
}

int Lines(const std::string& strText)
{
    return static_cast<int>(std::count(strText.begin(), strText.end(), '\n'));
}

// Loads a file and returns what was printed.
std::string Load(const std::string& strPath)
{
    return TEST_OutputOf([&] { SETTINGS_Load(strPath.c_str()); });
}

std::vector<std::string> FolderEntries(const std::string& strFolder)
{
    std::vector<std::string> tNames;
    for (const auto& tEntry : std::filesystem::directory_iterator(strFolder))
    {
        tNames.push_back(tEntry.path().filename().string());
    }
    return tNames;
}

}  // namespace

TEST(Settings, AMissingFileGivesTheDefaultsInOneLineAndIsWrittenOnTheFirstChange)
{
    const std::string strPath = TEST_MakeTempDir("settings") + "/boughfall/settings.ini";
    const std::string strOut = Load(strPath);
    EXPECT_EQ(Lines(strOut), 1) << strOut;
    EXPECT_TRUE(SETTINGS_MusicEnabled());
    EXPECT_TRUE(SETTINGS_EffectsEnabled());
    EXPECT_FALSE(SETTINGS_Fullscreen());

    SETTINGS_SetMusicEnabled(true);  // no change: nothing written
    EXPECT_TRUE(TEST_ReadFile(strPath).empty());
    SETTINGS_SetEffectsEnabled(false);  // the folder is made too
    EXPECT_EQ(TEST_ReadText(strPath), "music=on\neffects=off\nfullscreen=off\n");
    EXPECT_FALSE(SETTINGS_EffectsEnabled());
    EXPECT_FALSE(SETTINGS_SetWindowSize(20, 20));  // too small: not taken
    EXPECT_TRUE(SETTINGS_SetWindowSize(800, 500));
    EXPECT_EQ(TEST_ReadText(strPath), "music=on\neffects=off\nfullscreen=off\nwindow=800x500\n");
}

TEST(Settings, UnknownKeysAndCommentsAreKeptAndUnreadableLinesSkippedInOneLine)
{
    const std::string strFolder = TEST_MakeTempDir("settings");
    const std::string strPath = strFolder + "/settings.ini";
    ASSERT_TRUE(WriteText(strPath,
                          "# mine\n"
                          "  Music = Off \r\n"
                          "no equals sign\n"
                          "effects=loud\n"
                          "\n"
                          "volume.voice = 7\n"
                          "fullscreen=yes\n"
                          "window=1000x\n"
                          "window=720x480\n"
                          "bad key=1\n" +
                              std::string(300, 'x') + "=1\n" + "theme=dark"));
    const std::string strOut = Load(strPath);
    EXPECT_EQ(strOut, "Settings: " + strPath +
                          ": skipped 5 lines that could not be read (the first: line 3)\n");
    EXPECT_FALSE(SETTINGS_MusicEnabled());
    EXPECT_TRUE(SETTINGS_EffectsEnabled());  // "loud" is no switch: the default stays
    EXPECT_TRUE(SETTINGS_Fullscreen());
    int iWidth = 0;
    int iHeight = 0;
    SETTINGS_WindowSize(&iWidth, &iHeight);
    EXPECT_EQ(iWidth, 720);
    EXPECT_EQ(iHeight, 480);

    SETTINGS_SetMusicEnabled(true);
    EXPECT_EQ(TEST_ReadText(strPath),
              "music=on\neffects=on\nfullscreen=on\nwindow=720x480\n"
              "# mine\nvolume.voice = 7\ntheme=dark\n");
    EXPECT_EQ(FolderEntries(strFolder), std::vector<std::string>{"settings.ini"});

    // A file that is not text gives the defaults, in one line.
    ASSERT_TRUE(TEST_WriteFile(strPath, {'m', 'u', 's', 'i', 'c', '=', 0, '\n'}));
    EXPECT_EQ(Load(strPath), "Settings: " + strPath + ": not a text file; using the defaults\n");
    EXPECT_TRUE(SETTINGS_MusicEnabled());
    EXPECT_FALSE(SETTINGS_Fullscreen());
}

TEST(Settings, ThisRunsOptionsWinButAreWrittenOnlyWhenThePlayerChangesThem)
{
    const std::string strPath = TEST_MakeTempDir("settings") + "/settings.ini";
    ASSERT_TRUE(WriteText(strPath, "fullscreen=off\nwindow=960x640\n"));
    Load(strPath);
    SETTINGS_OverrideFullscreen(true);
    EXPECT_FALSE(SETTINGS_OverrideWindowSize(0, 0));
    EXPECT_TRUE(SETTINGS_OverrideWindowSize(480, 320));
    EXPECT_TRUE(SETTINGS_Fullscreen());
    int iWidth = 0;
    int iHeight = 0;
    SETTINGS_WindowSize(&iWidth, &iHeight);
    EXPECT_EQ(iWidth, 480);

    // Another change writes the file's values, not the run's.
    SETTINGS_SetMusicEnabled(false);
    EXPECT_EQ(TEST_ReadText(strPath), "music=off\neffects=on\nfullscreen=off\nwindow=960x640\n");
    // The player leaves fullscreen (F11): the file already says so; the run's option is gone.
    SETTINGS_SetFullscreen(false);
    EXPECT_FALSE(SETTINGS_Fullscreen());
    // The player resizes the window: that size is kept.
    EXPECT_TRUE(SETTINGS_SetWindowSize(600, 400));
    EXPECT_EQ(TEST_ReadText(strPath), "music=off\neffects=on\nfullscreen=off\nwindow=600x400\n");
}

TEST(Settings, AFailedWriteLeavesTheOldFileAndNoTemporaryFileAndSaysSoOnce)
{
    // The settings file's name is taken by a folder: the rename fails.
    const std::string strFolder = TEST_MakeTempDir("settings");
    const std::string strPath = strFolder + "/settings.ini";
    ASSERT_EQ(mkdir(strPath.c_str(), 0755), 0);
    const std::string strOut = Load(strPath);
    EXPECT_EQ(Lines(strOut), 1) << strOut;
    const std::string strWrite = TEST_OutputOf([] { SETTINGS_SetFullscreen(true); });
    EXPECT_EQ(strWrite.rfind("Settings: cannot write " + strPath + ": ", 0), 0u) << strWrite;
    EXPECT_EQ(Lines(strWrite), 1);
    EXPECT_TRUE(SETTINGS_Fullscreen());  // the run goes on with the player's choice
    EXPECT_EQ(FolderEntries(strFolder), std::vector<std::string>{"settings.ini"});
}

TEST(Settings, TheFileLivesUnderTheConfigurationHome)
{
    setenv("HOME", "/home/player", 1);
    // XDG_CONFIG_HOME, or HOME's .config when it is unset or not absolute; with no home at all,
    // nowhere: a change is then kept for the run only.
    const std::pair<const char*, const char*> tCases[] = {
        {"/cfg", "/cfg/boughfall/settings.ini"},
        {"relative", "/home/player/.config/boughfall/settings.ini"},
        {nullptr, ""}};
    for (const auto& [pConfigHome, pPath] : tCases)
    {
        if (pConfigHome != nullptr)
        {
            setenv("XDG_CONFIG_HOME", pConfigHome, 1);
        }
        else
        {
            unsetenv("XDG_CONFIG_HOME");
            unsetenv("HOME");
        }
        TEST_OutputOf([] { SETTINGS_Load(nullptr); });
        EXPECT_STREQ(SETTINGS_Path(), pPath);
    }
    TEST_OutputOf([] { SETTINGS_SetMusicEnabled(false); });
    EXPECT_FALSE(SETTINGS_MusicEnabled());
    SETTINGS_Reset();
}

TEST(Settings, WindowSizesAreWholeWidthByHeightWithinBounds)
{
    int iWidth = 0;
    int iHeight = 0;
    EXPECT_TRUE(SETTINGS_ParseWindowSize("960x640", &iWidth, &iHeight));
    EXPECT_EQ(iWidth, 960);
    EXPECT_EQ(iHeight, 640);
    EXPECT_TRUE(SETTINGS_ParseWindowSize("48X32", &iWidth, &iHeight));
    EXPECT_EQ(iWidth, 48);
    for (const char* pBad :
         {"", "960", "960x", "x640", "960x640x", " 960x640", "960x640 ", "-960x640", "+960x640",
          "47x32", "16385x100", "99999999999x1", "960*640", "0960x0640x"})
    {
        EXPECT_FALSE(SETTINGS_ParseWindowSize(pBad, &iWidth, &iHeight)) << pBad;
    }
}
