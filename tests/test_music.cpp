// The music backend and MusicPlayer on the real SDL_mixer (disk driver), with MP3 files made
// here by libmp3lame.

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "AudioTestFiles.h"
#include "Host.h"
#include "MusicBackend.h"
#include "MusicPlayer.h"
#include "TestSupport.h"

namespace
{

class MusicTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(TEST_OpenMixer(22050, 1)) << Mix_GetError();
        const std::string strDir = TEST_MakeTempDir("music");
        ASSERT_EQ(std::system(("mkdir -p " + strDir + "/Bundle/Data/Music").c_str()), 0);
        std::vector<std::uint8_t> tTagged = TEST_MakeId3Tag(1000);
        const std::vector<std::uint8_t> tMpeg1 = TEST_EncodeMp3(2, 44100, 88200);
        tTagged.insert(tTagged.end(), tMpeg1.begin(), tMpeg1.end());
        // MPEG 1 with rate index 3 (reserved), then a reserved version.
        std::vector<std::uint8_t> tReserved(3000, 0);
        const std::uint8_t tHeader[] = {0xFF, 0xFB, 0x9C, 0x44};
        std::copy(std::begin(tHeader), std::end(tHeader), tReserved.begin() + 50);
        std::vector<std::uint8_t> tReservedVersion = tReserved;
        tReservedVersion[51] = 0xEB;
        const std::pair<const char*, std::vector<std::uint8_t>> tFiles[] = {
            {"Tagged44100.mp3", tTagged},
            {"mpeg2.mp3", TEST_EncodeMp3(1, 22050, 22050)},
            {"mpeg25.mp3", TEST_EncodeMp3(2, 11025, 11025)},
            {"noheader.mp3", std::vector<std::uint8_t>(3000, 'x')},
            {"reservedrate.mp3", tReserved},
            {"reservedversion.mp3", tReservedVersion},
            {"Bundle/Data/Music/BoughfallTheme.mp3", tMpeg1},
        };
        for (const auto& [pName, tBytes] : tFiles)
        {
            ASSERT_TRUE(TEST_WriteFile(strDir + "/" + pName, tBytes));
        }
        s_strDir = strDir + "/";
    }
    static void TearDownTestSuite() { TEST_CloseMixer(); }

    static std::string File(const char* pName) { return s_strDir + pName; }

    static void ExpectMixer(int iFrequency, int iChannels)
    {
        int iOpenFrequency = 0;
        Uint16 uiFormat = 0;
        int iOpenChannels = 0;
        ASSERT_NE(Mix_QuerySpec(&iOpenFrequency, &uiFormat, &iOpenChannels), 0);
        EXPECT_EQ(iOpenFrequency, iFrequency);
        EXPECT_EQ(iOpenChannels, iChannels);
        EXPECT_EQ(g_Host.iAudioFrequency, iFrequency);
    }

    static inline std::string s_strDir;
};

}  // namespace

TEST_F(MusicTest, ProbeReadsTheFirstFrameHeader)
{
    // The false sync inside the tag is skipped; no header at all (or no file) means the
    // default 22050 mono; a reserved rate or version, -1.
    const struct
    {
        const char* pName;
        int iFrequency;
        int iChannels;
    } tCases[] = {{"Tagged44100.mp3", 44100, 2},  {"mpeg2.mp3", 22050, 1},
                  {"mpeg25.mp3", 11025, 2},       {"noheader.mp3", 22050, 1},
                  {"absent.mp3", 22050, 1},       {"reservedrate.mp3", -1, -1},
                  {"reservedversion.mp3", -1, -1}};
    for (const auto& tCase : tCases)
    {
        const MusicFormat tFormat = MusicProbeFormat(File(tCase.pName).c_str());
        EXPECT_EQ(tFormat.iFrequency, tCase.iFrequency) << tCase.pName;
        if (tCase.iFrequency > 0)
        {
            EXPECT_EQ(tFormat.iChannels, tCase.iChannels) << tCase.pName;
        }
    }
}

TEST_F(MusicTest, BackendPlaysOnlyInTheFilesOwnFormat)
{
    const int iStarts = MusicStartCount();
    const std::string strTagged = File("Tagged44100.mp3");
    MusicPlayFile(strTagged.c_str(), -1);
    ExpectMixer(44100, 2);
    EXPECT_EQ(MusicIsStarted(), 1);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_EQ(MusicStartCount(), iStarts + 1);

    // The same path in other letter case, or with more leading slashes, is the same music.
    std::string strUpper = strTagged;
    std::transform(strUpper.begin(), strUpper.end(), strUpper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    MusicPlayFile(strUpper.c_str(), -1);
    MusicPlayFile(("//" + strTagged).c_str(), -1);
    EXPECT_EQ(MusicStartCount(), iStarts + 1);
    EXPECT_EQ(Mix_PlayingMusic(), 1);

    // A reserved rate: the mixer stays as it is and the file is not played.
    MusicPlayFile(File("reservedrate.mp3").c_str(), -1);
    ExpectMixer(44100, 2);
    EXPECT_EQ(MusicIsStarted(), 0);
    EXPECT_EQ(Mix_PlayingMusic(), 0);

    // A missing file plays nothing and stays current until stopped.
    MusicPlayFile(File("absent.mp3").c_str(), -1);
    EXPECT_EQ(MusicIsStarted(), 0);
    MusicPlayFile(File("mpeg2.mp3").c_str(), -1);
    ExpectMixer(22050, 1);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    MusicStop();
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    EXPECT_EQ(MusicStartCount(), iStarts + 2);
}

TEST_F(MusicTest, PlayerFadesEnablesAndRestarts)
{
    setenv("CFProcessPath", File("Bundle/boughfall").c_str(), 1);
    MusicPlayer tPlayer;
    tPlayer.Init();
    EXPECT_EQ(tPlayer.Player().numberOfLoops(), -1);
    const int iStarts = MusicStartCount();
    tPlayer.Play();
    tPlayer.Play();
    EXPECT_EQ(MusicStartCount(), iStarts + 1);
    ASSERT_EQ(Mix_PlayingMusic(), 1) << "the theme was not found under the bundle";
    ExpectMixer(44100, 2);

    // Enable during a fade cancels it; the volume reached stays.
    tPlayer.Disable();
    EXPECT_EQ(tPlayer.IsEnabled(), 0);
    for (int i = 0; i < 10; ++i)
    {
        tPlayer.Update();
    }
    const float fReached = tPlayer.Player().volume();
    const int iMixerReached = Mix_VolumeMusic(-1);
    EXPECT_NEAR(fReached, 0.8f, 1e-4f);
    tPlayer.Enable();
    tPlayer.Update();
    EXPECT_EQ(tPlayer.IsEnabled(), 1);
    EXPECT_EQ(tPlayer.Player().volume(), fReached);
    EXPECT_EQ(Mix_VolumeMusic(-1), iMixerReached);
    EXPECT_EQ(tPlayer.IsPlaying(), 1);
    EXPECT_EQ(MusicStartCount(), iStarts + 1);

    // Disable fades over 51 updates: silent at the 50th, stopped at the 51st.
    tPlayer.InstantStop();
    tPlayer.Play();
    EXPECT_EQ(MusicStartCount(), iStarts + 2);
    tPlayer.Disable();
    for (int i = 0; i < 50; ++i)
    {
        tPlayer.Update();
    }
    EXPECT_EQ(tPlayer.IsPlaying(), 1);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_EQ(Mix_VolumeMusic(-1), 0);
    EXPECT_GT(tPlayer.Volume(), 0.0f);
    tPlayer.Update();
    EXPECT_EQ(tPlayer.IsPlaying(), 0);
    EXPECT_EQ(Mix_PlayingMusic(), 0);

    // Enable afterwards starts it again at full volume.
    tPlayer.Enable();
    EXPECT_EQ(MusicStartCount(), iStarts + 3);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_EQ(tPlayer.Player().volume(), 1.0f);
    tPlayer.InstantStop();
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}
