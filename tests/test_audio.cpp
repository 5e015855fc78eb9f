// The sound engine: slot tables, complete decoding, the mute switch, the music stream source
// and damaged files, on the real SDL_mixer (disk driver) with Ogg files made here.

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ALMixer.h"
#include "Audio.h"
#include "AudioTestFiles.h"
#include "FileSystem.h"
#include "Host.h"
#include "TestSupport.h"

namespace
{

class AudioTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(TEST_OpenMixer(22050, 1)) << Mix_GetError();
        s_strData = TEST_MakeTempDir("audio");
        FS_SetResourceDirectory(s_strData.c_str());
        mkdir((s_strData + "/SFX").c_str(), 0755);
        ASSERT_TRUE(TEST_WriteFile(s_strData + "/SFX/mono.ogg", TEST_EncodeOgg(1, 22050, 50000)));
        ASSERT_TRUE(TEST_WriteFile(s_strData + "/SFX/long.ogg", TEST_EncodeOgg(1, 22050, 66150)));
    }

    static void TearDownTestSuite() { TEST_CloseMixer(); }

    static std::string Write(const char* pName, const std::vector<std::uint8_t>& tBytes)
    {
        const std::string strPath = s_strData + "/SFX/" + pName + ".ogg";
        EXPECT_TRUE(TEST_WriteFile(strPath, tBytes));
        return strPath;
    }

    static std::string s_strData;
};

std::string AudioTest::s_strData;

// The PCM of a file read the plain way, to compare the engine's accumulation against.
std::vector<char> PlainDecode(const std::string& strPath)
{
    std::vector<char> tPcm;
    OggVorbis_File tVorbis;
    if (ov_fopen(strPath.c_str(), &tVorbis) != 0)
    {
        return tPcm;
    }
    char tChunk[4096];
    int iSection = 0;
    long iRead;
    while ((iRead = ov_read(&tVorbis, tChunk, sizeof(tChunk), 0, 2, 1, &iSection)) > 0)
    {
        tPcm.insert(tPcm.end(), tChunk, tChunk + iRead);
    }
    ov_clear(&tVorbis);
    return tPcm;
}

// Where each Ogg page of a stream begins.
std::vector<size_t> OggPageStarts(const std::vector<std::uint8_t>& tOgg)
{
    std::vector<size_t> tStarts;
    size_t uiAt = 0;
    while (uiAt + 27 <= tOgg.size())
    {
        tStarts.push_back(uiAt);
        const size_t uiSegments = tOgg[uiAt + 26];
        size_t uiLength = 27 + uiSegments;
        for (size_t i = 0; i < uiSegments && uiAt + 27 + i < tOgg.size(); ++i)
        {
            uiLength += tOgg[uiAt + 27 + i];
        }
        uiAt += uiLength;
    }
    return tStarts;
}

}  // namespace

// 50000 mono frames (100000 bytes) pass the first 65536-byte accumulation buffer; stereo goes
// over two doublings (65536 -> 131072 -> 262144). Every byte is as a plain decode gives it.
TEST_F(AudioTest, DecodesWholeFilesIntoTheRightFormat)
{
    const std::string strStereo = Write("stereo", TEST_EncodeOgg(2, 44100, 44100));
    const struct
    {
        std::string strPath;
        int iChannels, iRate, iFormat, iBytes;
    } tCases[] = {{s_strData + "/SFX/mono.ogg", 1, 22050, AL_FORMAT_MONO16, 2 * 50000},
                  {strStereo, 2, 44100, AL_FORMAT_STEREO16, 4 * 44100}};
    for (const auto& tCase : tCases)
    {
        sDecodedSound tSound;
        ASSERT_EQ(AUDIO_DecodeSoundFile(std::fopen(tCase.strPath.c_str(), "rb"), "sound", &tSound),
                  1);
        EXPECT_EQ(tSound.iChannels, tCase.iChannels);
        EXPECT_EQ(tSound.iRate, tCase.iRate);
        EXPECT_EQ(tSound.iFormat, tCase.iFormat);
        ASSERT_EQ(tSound.iBytes, tCase.iBytes);
        const std::vector<char> tPlain = PlainDecode(tCase.strPath);
        EXPECT_EQ(std::vector<char>(tSound.pData, tSound.pData + tSound.iBytes), tPlain);
        AUDIO_FreeDecodedSound(&tSound);
    }
}

TEST_F(AudioTest, TablesHoldSixteenAndTheSwitchMutes)
{
    CAudio tAudio;

    for (int i = 0; i < MAX_SOUNDS; ++i)
    {
        ASSERT_EQ(tAudio.LoadSound(i == 0 ? "long" : "mono"), i);
    }
    EXPECT_EQ(tAudio.LoadSound("mono"), -1);
    for (int i = 0; i < MAX_SOUNDS; ++i)
    {
        ASSERT_EQ(tAudio.CreateSource(i, 0), i);
    }
    EXPECT_EQ(tAudio.CreateSource(0, 0), -1);
    EXPECT_EQ(tAudio.CreateSource(-1, 0), -1);

    // The loaded buffer holds the whole decoded file: 22050 mono plays from it unconverted.
    EXPECT_EQ(tAudio.IsSoundEnabled(), 1);
    tAudio.DisableSound();
    tAudio.PlaySound(0);
    EXPECT_EQ(Mix_Playing(-1), 0);
    tAudio.EnableSound();
    tAudio.PlaySound(0);
    ASSERT_EQ(Mix_Playing(-1), 1);
    EXPECT_EQ(Mix_GetChunk(0)->alen, 2u * 66150u);
    tAudio.PlaySound(-1);
    tAudio.PlaySound(MAX_SOUNDS);
    EXPECT_EQ(Mix_Playing(-1), 1);

    // Ending a game stops the stream source, which never played: every effect falls silent.
    tAudio.PlaySound(1);
    ASSERT_EQ(Mix_Playing(-1), 2);
    tAudio.UpdateMusic();
    tAudio.StopMusic();
    EXPECT_EQ(Mix_Playing(-1), 0);
}

TEST_F(AudioTest, DamagedAndForeignFilesAreFailedLoads)
{
    // Five pages: identification, setup, three of audio. Losing the middle audio page leaves a
    // hole in the stream that vorbisfile reports.
    const std::vector<std::uint8_t> tGood = TEST_EncodeOgg(1, 22050, 220500);
    const std::vector<size_t> tPages = OggPageStarts(tGood);
    ASSERT_GE(tPages.size(), 5u);
    std::vector<std::uint8_t> tHole(tGood.begin(), tGood.begin() + tPages[3]);
    tHole.insert(tHole.end(), tGood.begin() + tPages[4], tGood.end());
    Write("corrupt", tHole);
    Write("cutheaders", std::vector<std::uint8_t>(tGood.begin(), tGood.begin() + 200));
    Write("text", std::vector<std::uint8_t>(1000, 'x'));

    CAudio tAudio;
    testing::internal::CaptureStdout();
    EXPECT_EQ(tAudio.LoadSound("corrupt"), -1);
    EXPECT_EQ(tAudio.LoadSound("cutheaders"), -1);
    EXPECT_EQ(tAudio.LoadSound("text"), -1);
    EXPECT_EQ(tAudio.LoadSound("absent"), -1);
    const std::string strOut = testing::internal::GetCapturedStdout();
    for (const char* pLine : {"Error decoding from ov file: -3\n",
                              "Error - Not an Ogg Vorbis file: SFX/cutheaders.ogg\n",
                              "Error - Not an Ogg Vorbis file: SFX/text.ogg\n",
                              "Error - File not found: SFX/absent.ogg"})
    {
        EXPECT_NE(strOut.find(pLine), std::string::npos) << strOut;
    }

    // The failures took no slot; the game plays on.
    EXPECT_EQ(tAudio.LoadSound("mono"), 0);
    EXPECT_EQ(tAudio.CreateSource(0, 0), 0);
}
