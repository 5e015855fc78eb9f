// The music backend and MusicPlayer on the real SDL_mixer (disk driver), with MP3 files made
// here by libmp3lame. The volume test runs first: the backend's volume state lives for the
// whole process.

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

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
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
        HostOpenAudio(22050, 1);
        ASSERT_EQ(g_Host.iAudioFrequency, 22050) << Mix_GetError();
        s_strDir = TEST_MakeTempDir("music");

        std::vector<std::uint8_t> tTagged = TEST_MakeId3Tag(1000);
        const std::vector<std::uint8_t> tMpeg1 = TEST_EncodeMp3(2, 44100, 88200);
        tTagged.insert(tTagged.end(), tMpeg1.begin(), tMpeg1.end());
        s_strTagged = Write("Tagged44100.mp3", tTagged);
        s_strMpeg2 = Write("mpeg2.mp3", TEST_EncodeMp3(1, 22050, 22050));
        s_strMpeg25 = Write("mpeg25.mp3", TEST_EncodeMp3(2, 11025, 11025));
        s_strNoHeader = Write("noheader.mp3", std::vector<std::uint8_t>(3000, 'x'));
        // MPEG 1 with rate index 3 (reserved), then a reserved version.
        std::vector<std::uint8_t> tReserved(3000, 0);
        const std::uint8_t tHeader[] = {0xFF, 0xFB, 0x9C, 0x44};
        std::copy(std::begin(tHeader), std::end(tHeader), tReserved.begin() + 50);
        s_strReservedRate = Write("reservedrate.mp3", tReserved);
        tReserved[51] = 0xEB;
        s_strReservedVersion = Write("reservedversion.mp3", tReserved);

        mkdir((s_strDir + "/Bundle").c_str(), 0755);
        mkdir((s_strDir + "/Bundle/Data").c_str(), 0755);
        mkdir((s_strDir + "/Bundle/Data/Music").c_str(), 0755);
        Write("Bundle/Data/Music/BoughfallTheme.mp3", tMpeg1);
    }

    // The audio thread must be stopped before exit: left running, it can call into the mixer
    // while the libraries are being unloaded.
    static void TearDownTestSuite()
    {
        HostCloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    static std::string Write(const char* pName, const std::vector<std::uint8_t>& tBytes)
    {
        const std::string strPath = s_strDir + "/" + pName;
        EXPECT_TRUE(TEST_WriteFile(strPath, tBytes));
        return strPath;
    }

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

    static std::string s_strDir, s_strTagged, s_strMpeg2, s_strMpeg25, s_strNoHeader,
        s_strReservedRate, s_strReservedVersion;
};

std::string MusicTest::s_strDir, MusicTest::s_strTagged, MusicTest::s_strMpeg2,
    MusicTest::s_strMpeg25, MusicTest::s_strNoHeader, MusicTest::s_strReservedRate,
    MusicTest::s_strReservedVersion;

}  // namespace

TEST_F(MusicTest, VolumeScaleShrinksAfterOddAppliedValues)
{
    MusicSetVolume(256);
    EXPECT_EQ(Mix_VolumeMusic(-1), 128);
    MusicSetVolume(255);  // applied 255: the mixer keeps 127
    EXPECT_EQ(Mix_VolumeMusic(-1), 127);
    MusicSetVolume(250);  // 254 came back for 255: scale 254/255, applied 249
    EXPECT_EQ(Mix_VolumeMusic(-1), 124);
    MusicSetVolume(256);  // 248 came back for 249: scale 248/250, applied 253
    EXPECT_EQ(Mix_VolumeMusic(-1), 126);
    MusicSetVolume(256);  // the same request again changes nothing
    EXPECT_EQ(Mix_VolumeMusic(-1), 126);

    Mix_VolumeMusic(64);  // someone else turned it down: scale 128/256
    MusicSetVolume(200);
    EXPECT_EQ(Mix_VolumeMusic(-1), 50);
}

TEST_F(MusicTest, ProbeReadsTheFirstFrameHeader)
{
    const MusicFormat tTagged = MusicProbeFormat(s_strTagged.c_str());
    EXPECT_EQ(tTagged.iFrequency, 44100);  // the false sync inside the tag is skipped
    EXPECT_EQ(tTagged.iChannels, 2);
    const MusicFormat tMpeg2 = MusicProbeFormat(s_strMpeg2.c_str());
    EXPECT_EQ(tMpeg2.iFrequency, 22050);
    EXPECT_EQ(tMpeg2.iChannels, 1);
    const MusicFormat tMpeg25 = MusicProbeFormat(s_strMpeg25.c_str());
    EXPECT_EQ(tMpeg25.iFrequency, 11025);
    EXPECT_EQ(tMpeg25.iChannels, 2);
    const MusicFormat tNone = MusicProbeFormat(s_strNoHeader.c_str());
    EXPECT_EQ(tNone.iFrequency, 22050);
    EXPECT_EQ(tNone.iChannels, 1);
    EXPECT_EQ(MusicProbeFormat(s_strReservedRate.c_str()).iFrequency, -1);
    EXPECT_EQ(MusicProbeFormat(s_strReservedVersion.c_str()).iFrequency, -1);
    EXPECT_EQ(MusicProbeFormat((s_strDir + "/absent.mp3").c_str()).iFrequency, 22050);
}

TEST_F(MusicTest, BackendPlaysOnlyInTheFilesOwnFormat)
{
    const int iStarts = MusicStartCount();
    MusicPlayFile(s_strTagged.c_str(), -1);
    ExpectMixer(44100, 2);
    EXPECT_EQ(MusicIsStarted(), 1);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_EQ(MusicStartCount(), iStarts + 1);

    // The same path in other letter case, or with more leading slashes, is the same music.
    std::string strUpper = s_strTagged;
    std::transform(strUpper.begin(), strUpper.end(), strUpper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    MusicPlayFile(strUpper.c_str(), -1);
    MusicPlayFile(("//" + s_strTagged).c_str(), -1);
    EXPECT_EQ(MusicStartCount(), iStarts + 1);
    EXPECT_EQ(Mix_PlayingMusic(), 1);

    // A reserved rate: the mixer stays as it is and the file is not played.
    MusicPlayFile(s_strReservedRate.c_str(), -1);
    ExpectMixer(44100, 2);
    EXPECT_EQ(MusicIsStarted(), 0);
    EXPECT_EQ(Mix_PlayingMusic(), 0);

    // A missing file plays nothing and stays current until stopped.
    const std::string strAbsent = s_strDir + "/absent.mp3";
    MusicPlayFile(strAbsent.c_str(), -1);
    EXPECT_EQ(MusicIsStarted(), 0);
    MusicPlayFile(s_strMpeg2.c_str(), -1);
    ExpectMixer(22050, 1);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    MusicStop();
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    EXPECT_EQ(MusicStartCount(), iStarts + 2);
}

TEST_F(MusicTest, PlayerFadesEnablesAndRestarts)
{
    setenv("CFProcessPath", (s_strDir + "/Bundle/boughfall").c_str(), 1);
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

TEST_F(MusicTest, MissingThemePlaysNothing)
{
    const std::string strEmpty = TEST_MakeTempDir("nomusic");
    setenv("CFProcessPath", (strEmpty + "/boughfall").c_str(), 1);
    MusicPlayer tPlayer;
    tPlayer.Init();
    tPlayer.Play();
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    EXPECT_EQ(MusicIsStarted(), 0);
    tPlayer.Disable();
    for (int i = 0; i < 60; ++i)
    {
        tPlayer.Update();
    }
    EXPECT_EQ(tPlayer.IsPlaying(), 0);
}
