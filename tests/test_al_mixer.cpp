// The OpenAL-style layer on the real SDL_mixer (SDL's disk driver writing to /dev/null): the
// conversion cache, channel use, source states, the by-name lookups and a closed mixer. The
// tests run in order and share the process's one mixer and cache; each deletes its buffers,
// which empties their cache slots.

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "AL/al.h"
#include "AL/alc.h"
#include "ALMixer.h"
#include "Host.h"
#include "MusicBackend.h"
#include "TestSupport.h"

namespace
{

// A 16-bit mono tone buffer of the given length.
ALuint MakeBuffer(int iRate, double dSeconds)
{
    std::vector<short> tSamples(static_cast<size_t>(iRate * dSeconds));
    for (size_t i = 0; i < tSamples.size(); ++i)
    {
        tSamples[i] = static_cast<short>(8000.0 * std::sin(0.05 * static_cast<double>(i)));
    }
    ALuint uiBuffer = 0;
    alGenBuffers(1, &uiBuffer);
    alBufferData(uiBuffer, AL_FORMAT_MONO16, tSamples.data(),
                 static_cast<ALsizei>(tSamples.size() * sizeof(short)), iRate);
    return uiBuffer;
}

ALuint MakeSource(ALuint uiBuffer)
{
    ALuint uiSource = 0;
    alGenSources(1, &uiSource);
    alSourcei(uiSource, AL_BUFFER, static_cast<ALint>(uiBuffer));
    return uiSource;
}

ALint SourceState(ALuint uiSource)
{
    ALint iState = 0;
    alGetSourcei(uiSource, AL_SOURCE_STATE, &iState);
    return iState;
}

int CacheSlotOf(ALuint uiBuffer)
{
    for (int i = 0; i < ALMIX_CACHE_SLOTS; ++i)
    {
        if (ALMIX_CacheSlot(i)->pSourceData == ALMIX_BufferData(uiBuffer))
        {
            return i;
        }
    }
    return -1;
}

class ALMixerTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(TEST_OpenMixer(22050, 1)) << "no mixer: " << Mix_GetError();
        alcOpenDevice(nullptr);
    }

    static void TearDownTestSuite() { TEST_CloseMixer(); }
};

}  // namespace

TEST_F(ALMixerTest, ConvertsOncePerDeviceFormatAndPlaysDeviceFormatInPlace)
{
    HostOpenAudio(22050, 1);
    const int iStart = ALMIX_Conversions();

    // Already in the device format: the chunk is the buffer's own memory.
    const ALuint uiNative = MakeBuffer(22050, 0.5);
    const ALuint uiNativeSource = MakeSource(uiNative);
    alSourcePlay(uiNativeSource);
    const int iNativeChannel = ALMIX_SourceChannel(uiNativeSource);
    ASSERT_GE(iNativeChannel, 0);
    EXPECT_EQ(Mix_GetChunk(iNativeChannel)->abuf, ALMIX_BufferData(uiNative));
    EXPECT_EQ(Mix_GetChunk(iNativeChannel)->alen, 22050u);  // 11025 samples x 2 bytes
    EXPECT_EQ(ALMIX_Conversions(), iStart);
    EXPECT_EQ(ALMIX_ChannelParams(iNativeChannel)->iFrequency, 22050);

    // Another rate: converted at the first play only, into memory of the layer's own.
    const ALuint uiOther = MakeBuffer(11025, 1.0);
    const ALuint uiOtherSource = MakeSource(uiOther);
    alSourcePlay(uiOtherSource);
    alSourcePlay(uiOtherSource);
    EXPECT_EQ(ALMIX_Conversions(), iStart + 1);
    const int iOtherChannel = ALMIX_SourceChannel(uiOtherSource);
    ASSERT_GE(iOtherChannel, 0);
    EXPECT_NE(Mix_GetChunk(iOtherChannel)->abuf, ALMIX_BufferData(uiOther));
    EXPECT_EQ(Mix_GetChunk(iOtherChannel)->alen, 2u * 2u * 11025u);  // twice the samples
    EXPECT_EQ(Mix_Playing(-1), 3);

    // The music player reopens the mixer in a file's format: cached samples are converted again.
    HostOpenAudio(44100, 2);
    ASSERT_EQ(g_Host.iAudioChannels, 2);
    alSourcePlay(uiNativeSource);
    EXPECT_EQ(ALMIX_Conversions(), iStart + 2);
    const int iChannel = ALMIX_SourceChannel(uiNativeSource);
    EXPECT_EQ(Mix_GetChunk(iChannel)->alen, 4u * 22050u);  // 22050 mono -> 44100 stereo
    EXPECT_TRUE(Mix_GetChunk(iChannel)->allocated);
    alSourcePlay(uiNativeSource);
    EXPECT_EQ(ALMIX_Conversions(), iStart + 2);

    const ALuint tSources[] = {uiNativeSource, uiOtherSource};
    alDeleteSources(2, tSources);
    const ALuint tBuffers[] = {uiNative, uiOther};
    alDeleteBuffers(2, tBuffers);  // halts what still plays them
    EXPECT_EQ(Mix_Playing(-1), 0);

    // Deleting a buffer that is being mixed in place stops that channel before the memory goes.
    HostOpenAudio(22050, 1);
    const ALuint uiInPlace = MakeBuffer(22050, 2.0);
    const ALuint uiInPlaceSource = MakeSource(uiInPlace);
    alSourcePlay(uiInPlaceSource);
    ASSERT_EQ(Mix_GetChunk(ALMIX_SourceChannel(uiInPlaceSource))->abuf,
              ALMIX_BufferData(uiInPlace));
    alDeleteBuffers(1, &uiInPlace);
    EXPECT_EQ(Mix_Playing(-1), 0);
    alDeleteSources(1, &uiInPlaceSource);
}

TEST_F(ALMixerTest, EvictsInRotationAndHaltsAVictimStillPlaying)
{
    // Converted samples (owned memory) make a victim that is still playing a real hazard.
    HostOpenAudio(44100, 2);
    ASSERT_EQ(ALMIX_VictimIndex(), 0);
    for (int i = 0; i < ALMIX_CACHE_SLOTS; ++i)
    {
        ASSERT_EQ(ALMIX_CacheSlot(i)->pSourceData, nullptr) << "slot " << i;
    }

    std::vector<ALuint> tBuffers;
    std::vector<ALuint> tSources;
    tBuffers.push_back(MakeBuffer(22050, 5.0));  // keeps playing through the whole test
    tSources.push_back(MakeSource(tBuffers[0]));
    alSourcePlay(tSources[0]);
    const int iLongChannel = ALMIX_SourceChannel(tSources[0]);
    ASSERT_GE(iLongChannel, 0);
    EXPECT_EQ(CacheSlotOf(tBuffers[0]), 0);

    // Fifteen more buffers: seven fill the cache, then eight evictions take 1, 2, ..., 7, 0.
    for (int i = 1; i < 16; ++i)
    {
        tBuffers.push_back(MakeBuffer(11025, 0.2));
        tSources.push_back(MakeSource(tBuffers.back()));
        if (i == 15)
        {
            EXPECT_EQ(Mix_Playing(iLongChannel), 1);
        }
        alSourcePlay(tSources.back());
        const int iExpectedSlot = i < ALMIX_CACHE_SLOTS ? i : (i - 7) % ALMIX_CACHE_SLOTS;
        EXPECT_EQ(CacheSlotOf(tBuffers.back()), iExpectedSlot) << "buffer " << i;
        alSourceStop(tSources.back());
    }
    EXPECT_EQ(ALMIX_VictimIndex(), 0);
    EXPECT_EQ(CacheSlotOf(tBuffers[0]), -1);
    EXPECT_EQ(Mix_Playing(iLongChannel), 0) << "the evicted samples were still being mixed";

    alDeleteSources(static_cast<ALsizei>(tSources.size()), tSources.data());
    alDeleteBuffers(static_cast<ALsizei>(tBuffers.size()), tBuffers.data());
    for (int i = 0; i < ALMIX_CACHE_SLOTS; ++i)
    {
        EXPECT_EQ(ALMIX_CacheSlot(i)->pSourceData, nullptr) << "slot " << i;
    }
    HostOpenAudio(22050, 1);
}

TEST_F(ALMixerTest, ChannelsAndSourceStates)
{
    HostOpenAudio(22050, 1);
    const ALuint uiLong = MakeBuffer(22050, 3.0);
    ALuint tSources[ALMIX_NUM_CHANNELS];
    for (ALuint& uiSource : tSources)
    {
        uiSource = MakeSource(uiLong);
        EXPECT_EQ(SourceState(uiSource), AL_INITIAL);
        alSourcePlay(uiSource);
        EXPECT_EQ(SourceState(uiSource), AL_PLAYING);
    }
    ASSERT_EQ(Mix_Playing(-1), ALMIX_NUM_CHANNELS);

    // No free channel: the sound is dropped and no channel's parameters change.
    MixChannelParams tBefore[ALMIX_NUM_CHANNELS];
    for (int i = 0; i < ALMIX_NUM_CHANNELS; ++i)
    {
        tBefore[i] = *ALMIX_ChannelParams(i);
    }
    const ALuint uiShort = MakeBuffer(11025, 0.05);
    const ALuint uiExtra = MakeSource(uiShort);
    alSourcef(uiExtra, AL_GAIN, 0.25f);
    alSourcePlay(uiExtra);
    EXPECT_EQ(SourceState(uiExtra), AL_INITIAL);
    EXPECT_EQ(ALMIX_SourceChannel(uiExtra), -1);
    for (int i = 0; i < ALMIX_NUM_CHANNELS; ++i)
    {
        EXPECT_EQ(ALMIX_ChannelParams(i)->iFrequency, tBefore[i].iFrequency) << i;
        EXPECT_EQ(ALMIX_ChannelParams(i)->iVolume, tBefore[i].iVolume) << i;
    }

    // A source that never played has no channel, and -1 means every channel to the mixer.
    const ALuint uiNever = MakeSource(uiShort);
    alSourceStop(uiNever);
    EXPECT_EQ(Mix_Playing(-1), 0);
    EXPECT_EQ(SourceState(tSources[0]), AL_STOPPED);

    // A short sound reads AL_STOPPED once the mixer has finished it; gain sets the chunk volume.
    alSourcef(uiExtra, AL_GAIN, 0.5f);
    alSourcePlay(uiExtra);
    const int iChannel = ALMIX_SourceChannel(uiExtra);
    ASSERT_GE(iChannel, 0);
    EXPECT_EQ(ALMIX_ChannelParams(iChannel)->iVolume, 64);
    EXPECT_EQ(ALMIX_ChannelParams(iChannel)->iFrequency, 11025);
    EXPECT_EQ(Mix_GetChunk(iChannel)->volume, 64);
    for (int i = 0; i < 200 && SourceState(uiExtra) == AL_PLAYING; ++i)
    {
        SDL_Delay(10);
    }
    EXPECT_EQ(SourceState(uiExtra), AL_STOPPED);

    alDeleteSources(ALMIX_NUM_CHANNELS, tSources);
    const ALuint tOthers[] = {uiExtra, uiNever};
    alDeleteSources(2, tOthers);
    const ALuint tBuffers[] = {uiLong, uiShort};
    alDeleteBuffers(2, tBuffers);
}

TEST_F(ALMixerTest, NothingCrashesWithoutAnAudioDevice)
{
    const ALuint uiBuffer = MakeBuffer(11025, 0.5);
    const ALuint uiSource = MakeSource(uiBuffer);
    alSourcePlay(uiSource);
    ASSERT_EQ(SourceState(uiSource), AL_PLAYING);

    // As on a machine with no sound card: the driver cannot open, the mixer stays closed.
    TEST_CloseMixer();
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    ASSERT_FALSE(TEST_OpenMixer(22050, 1));
    ASSERT_EQ(g_Host.iAudioFrequency, 0);

    const ALuint uiNever = MakeSource(uiBuffer);
    alSourcePlay(uiNever);
    EXPECT_EQ(SourceState(uiNever), AL_INITIAL);
    EXPECT_EQ(SourceState(uiSource), AL_STOPPED);
    alSourcePause(uiNever);
    alSourceStop(uiNever);
    alSourceStop(uiSource);
    alSourcef(uiSource, AL_GAIN, 0.5f);
    alDeleteSources(1, &uiNever);
    alDeleteSources(1, &uiSource);
    alDeleteBuffers(1, &uiBuffer);

    // The music backend cannot match an MP3's format and so starts nothing.
    MusicPlayFile("/no/such/file.mp3", -1);
    EXPECT_EQ(MusicIsStarted(), 0);
    MusicPause();
    MusicResume();
    MusicSetVolume(100);
    MusicStop();
}
