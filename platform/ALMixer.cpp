#include "ALMixer.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "AL/al.h"
#include "AL/alc.h"
#include "Assert.h"
#include "Host.h"

namespace
{

struct ALBufferRec
{
    ALenum iFormat = 0;
    void* pData = nullptr;
    int bOwned = 0;  // the layer allocated pData and frees it with the buffer
    int iSize = 0;   // bytes
    int iFrequency = 0;
};

struct ALSourceRec
{
    ALuint uiBuffer = 0;  // looked up at each play, so a deleted buffer is never touched
    int iLooping = 0;
    float fPitch = 1.0f;
    float fGain = 1.0f;
    int iChannel = -1;  // channel of the latest play; -1 = none, which means "all" to SDL_mixer
    ALenum iState = AL_INITIAL;
};

// Names are indices + 1 into a table that only grows, so a name is never reused and 0 is never
// valid. The game makes about twenty records in a whole run.
template <typename T>
class CNameTable
{
public:
    ALuint Add()
    {
        tRecords.push_back(std::make_unique<T>());
        return static_cast<ALuint>(tRecords.size());
    }
    T* Find(ALuint uiName) const
    {
        if (uiName == 0 || uiName > tRecords.size())
        {
            return nullptr;
        }
        return tRecords[uiName - 1].get();
    }
    void Remove(ALuint uiName)
    {
        if (Find(uiName) != nullptr)
        {
            tRecords[uiName - 1].reset();
        }
    }

private:
    std::vector<std::unique_ptr<T>> tRecords;
};

CNameTable<ALBufferRec> s_tBuffers;
CNameTable<ALSourceRec> s_tSources;
MixChannelParams s_tChannels[ALMIX_NUM_CHANNELS];
ChunkCacheSlot s_tCache[ALMIX_CACHE_SLOTS];
int s_iVictim = 0;
int s_iConversions = 0;
ALCcontext* s_pCurrentContext = nullptr;
ALCdevice* s_pCurrentDevice = nullptr;

// SDL_mixer frees its channel array when it closes and does not check for that later, so no
// channel call may be made while it is closed.
bool MixerOpen()
{
    int iFrequency = 0;
    Uint16 uiFormat = 0;
    int iChannels = 0;
    return g_Host.iAudioFrequency != 0 && Mix_QuerySpec(&iFrequency, &uiFormat, &iChannels) != 0;
}

int ChannelVolume(float fGain)
{
    const int iVolume = static_cast<int>(fGain * 128.0f);
    return iVolume < 0 ? 0 : (iVolume > MIX_MAX_VOLUME ? MIX_MAX_VOLUME : iVolume);
}

// Bytes per sample frame and the frame's layout; 0 for a format the layer cannot play.
int FrameSize(ALenum iFormat, Uint16* pSdlFormat, int* pChannels)
{
    switch (iFormat)
    {
        case AL_FORMAT_MONO8:
            *pSdlFormat = AUDIO_U8;
            *pChannels = 1;
            return 1;
        case AL_FORMAT_MONO16:
            *pSdlFormat = AUDIO_S16SYS;
            *pChannels = 1;
            return 2;
        case AL_FORMAT_STEREO8:
            *pSdlFormat = AUDIO_U8;
            *pChannels = 2;
            return 2;
        case AL_FORMAT_STEREO16:
            *pSdlFormat = AUDIO_S16SYS;
            *pChannels = 2;
            return 4;
        default:
            return 0;
    }
}

// Stops every channel that is playing (or paused on) a chunk, so its memory can change.
void HaltChannelsPlaying(const Mix_Chunk* pChunk)
{
    if (!MixerOpen())
    {
        return;  // closing the mixer halted everything
    }
    for (int i = 0; i < ALMIX_NUM_CHANNELS; ++i)
    {
        if (Mix_Playing(i) && Mix_GetChunk(i) == pChunk)
        {
            Mix_HaltChannel(i);
        }
    }
}

// Drops a slot's samples, first stopping any channel still reading them.
void ReleaseSlotSamples(ChunkCacheSlot& tSlot)
{
    HaltChannelsPlaying(&tSlot.tChunk);
    if (tSlot.tChunk.allocated)
    {
        std::free(tSlot.tChunk.abuf);
    }
    tSlot.tChunk.allocated = 0;
    tSlot.tChunk.abuf = nullptr;
    tSlot.tChunk.alen = 0;
    tSlot.iConvertedFrequency = 0;
    tSlot.iConvertedChannels = 0;
}

// Buffer memory is about to be freed or replaced: no cache slot may keep playing it or keep
// samples made from it (a later buffer could be given the same address).
void ForgetBufferData(const void* pData)
{
    if (pData == nullptr)
    {
        return;
    }
    for (ChunkCacheSlot& tSlot : s_tCache)
    {
        if (tSlot.pSourceData == pData)
        {
            ReleaseSlotSamples(tSlot);
            tSlot.pSourceData = nullptr;
            tSlot.iSourceSamples = 0;
        }
    }
}

ChunkCacheSlot& FindCacheSlot(const void* pData, int iSamples)
{
    for (ChunkCacheSlot& tSlot : s_tCache)
    {
        if (tSlot.pSourceData == pData && tSlot.iSourceSamples == iSamples)
        {
            return tSlot;
        }
    }
    for (ChunkCacheSlot& tSlot : s_tCache)
    {
        if (tSlot.pSourceData == nullptr)
        {
            return tSlot;
        }
    }
    // The victim index advances before each eviction: the first eviction takes slot 1.
    s_iVictim = (s_iVictim + 1) % ALMIX_CACHE_SLOTS;
    ChunkCacheSlot& tVictim = s_tCache[s_iVictim];
    ReleaseSlotSamples(tVictim);
    tVictim.pSourceData = nullptr;
    tVictim.iSourceSamples = 0;
    return tVictim;
}

// Starts a buffer's frames on a free channel in the mixer's current format. False when the
// samples could not be prepared; nothing is then started.
bool StartChannel(int iChannel, const ALBufferRec& tBuffer, int iSamples, int iLoops)
{
    Uint16 uiSourceFormat = 0;
    int iSourceChannels = 0;
    const int iFrameSize = FrameSize(tBuffer.iFormat, &uiSourceFormat, &iSourceChannels);
    const int iFrequency = s_tChannels[iChannel].iFrequency;
    const int iDeviceFrequency = g_Host.iAudioFrequency;
    const int iDeviceChannels = g_Host.iAudioChannels;

    ChunkCacheSlot& tSlot = FindCacheSlot(tBuffer.pData, iSamples);
    const bool bSameKey = tSlot.pSourceData == tBuffer.pData && tSlot.iSourceSamples == iSamples &&
                          tSlot.iSourceFrequency == iFrequency &&
                          tSlot.iSourceFormat == tBuffer.iFormat;
    if (uiSourceFormat == AUDIO_S16SYS && iSourceChannels == iDeviceChannels &&
        iFrequency == iDeviceFrequency)
    {
        // Already in the device format: play the buffer's own memory, no copy.
        if (!bSameKey || tSlot.tChunk.allocated)
        {
            ReleaseSlotSamples(tSlot);
        }
        tSlot.tChunk.allocated = 0;
        tSlot.tChunk.abuf = static_cast<Uint8*>(tBuffer.pData);
        tSlot.tChunk.alen = static_cast<Uint32>(iSamples * iFrameSize);
    }
    else if (!(bSameKey && tSlot.tChunk.allocated &&
               tSlot.iConvertedFrequency == iDeviceFrequency &&
               tSlot.iConvertedChannels == iDeviceChannels))
    {
        SDL_AudioCVT tCvt;
        if (SDL_BuildAudioCVT(&tCvt, uiSourceFormat, static_cast<Uint8>(iSourceChannels),
                              iFrequency, AUDIO_S16LSB, static_cast<Uint8>(iDeviceChannels),
                              iDeviceFrequency) < 0)
        {
            return false;
        }
        tCvt.len = iSamples * iFrameSize;
        tCvt.buf = static_cast<Uint8*>(std::malloc(static_cast<size_t>(tCvt.len) * tCvt.len_mult));
        if (tCvt.buf == nullptr)
        {
            return false;
        }
        std::memcpy(tCvt.buf, tBuffer.pData, static_cast<size_t>(tCvt.len));
        if (SDL_ConvertAudio(&tCvt) < 0)
        {
            std::free(tCvt.buf);
            return false;
        }
        ReleaseSlotSamples(tSlot);
        tSlot.tChunk.allocated = 1;
        tSlot.tChunk.abuf = tCvt.buf;
        tSlot.tChunk.alen = static_cast<Uint32>(tCvt.len_cvt);
        tSlot.iConvertedFrequency = iDeviceFrequency;
        tSlot.iConvertedChannels = iDeviceChannels;
        ++s_iConversions;
    }
    tSlot.pSourceData = tBuffer.pData;
    tSlot.iSourceSamples = iSamples;
    tSlot.iSourceFrequency = iFrequency;
    tSlot.iSourceFormat = tBuffer.iFormat;
    tSlot.tChunk.volume = static_cast<Uint8>(s_tChannels[iChannel].iVolume);
    Mix_PlayChannelTimed(iChannel, &tSlot.tChunk, iLoops, -1);
    return true;
}

// Mix_Playing for a source's channel; -1 asks about every channel.
int ChannelPlaying(int iChannel)
{
    if (!MixerOpen() || iChannel >= ALMIX_NUM_CHANNELS)
    {
        return 0;
    }
    return Mix_Playing(iChannel);
}

}  // namespace

// ---- inspection ----

const MixChannelParams* ALMIX_ChannelParams(int iChannel)
{
    return iChannel >= 0 && iChannel < ALMIX_NUM_CHANNELS ? &s_tChannels[iChannel] : nullptr;
}

const ChunkCacheSlot* ALMIX_CacheSlot(int iSlot)
{
    return iSlot >= 0 && iSlot < ALMIX_CACHE_SLOTS ? &s_tCache[iSlot] : nullptr;
}

int ALMIX_VictimIndex()
{
    return s_iVictim;
}

int ALMIX_Conversions()
{
    return s_iConversions;
}

const void* ALMIX_BufferData(ALuint uiBuffer)
{
    const ALBufferRec* pBuffer = s_tBuffers.Find(uiBuffer);
    return pBuffer != nullptr ? pBuffer->pData : nullptr;
}

int ALMIX_SourceChannel(ALuint uiSource)
{
    const ALSourceRec* pSource = s_tSources.Find(uiSource);
    return pSource != nullptr ? pSource->iChannel : -1;
}

// ---- ALC ----

ALboolean alIsBuffer(ALuint uiBuffer)
{
    return s_tBuffers.Find(uiBuffer) != nullptr ? AL_TRUE : AL_FALSE;
}

ALboolean alIsSource(ALuint uiSource)
{
    return s_tSources.Find(uiSource) != nullptr ? AL_TRUE : AL_FALSE;
}

void ALMIX_CheckTables()
{
    for (const MixChannelParams& tChannel : s_tChannels)
    {
        BF_ASSERT("platform/ALMixer", tChannel.iVolume >= 0 && tChannel.iVolume <= MIX_MAX_VOLUME);
    }
    BF_ASSERT("platform/ALMixer", s_iVictim >= 0 && s_iVictim < ALMIX_CACHE_SLOTS);
    for (const ChunkCacheSlot& tSlot : s_tCache)
    {
        BF_ASSERT("platform/ALMixer",
                  tSlot.iConvertedChannels >= 0 && tSlot.iConvertedChannels <= 2);
    }
}

ALCdevice* alcOpenDevice(const ALCchar*)
{
    ALCdevice* pDevice = new ALDeviceRec;
    if (MixerOpen())
    {
        Mix_AllocateChannels(ALMIX_NUM_CHANNELS);
    }
    for (MixChannelParams& tChannel : s_tChannels)
    {
        tChannel.iFrequency = g_Host.iAudioFrequency;
        tChannel.iVolume = MIX_MAX_VOLUME;
        tChannel.fPitch = 1.0f;
    }
    s_pCurrentDevice = pDevice;
    return pDevice;
}

ALCboolean alcCloseDevice(ALCdevice* pDevice)
{
    if (pDevice == s_pCurrentDevice)
    {
        s_pCurrentDevice = nullptr;
    }
    delete pDevice;
    return ALC_TRUE;
}

ALCenum alcGetError(ALCdevice* pDevice)
{
    return pDevice != nullptr ? pDevice->iError : 0;
}

ALCcontext* alcCreateContext(ALCdevice* pDevice, const ALCint*)
{
    ALCcontext* pContext = new ALContextRec;
    pContext->pDevice = pDevice;
    return pContext;
}

ALCboolean alcMakeContextCurrent(ALCcontext* pContext)
{
    s_pCurrentContext = pContext;
    return ALC_TRUE;
}

ALCcontext* alcGetCurrentContext(void)
{
    return s_pCurrentContext;
}

ALCdevice* alcGetContextsDevice(ALCcontext* pContext)
{
    return pContext != nullptr ? pContext->pDevice : nullptr;
}

void alcProcessContext(ALCcontext* pContext)
{
    if (pContext != nullptr)
    {
        pContext->bSuspended = 0;
    }
}

void alcSuspendContext(ALCcontext* pContext)
{
    if (pContext != nullptr)
    {
        pContext->bSuspended = 1;
    }
}

void alcDestroyContext(ALCcontext* pContext)
{
    if (pContext == s_pCurrentContext)
    {
        s_pCurrentContext = nullptr;
    }
    delete pContext;
}

// ---- AL: buffers ----

ALenum alGetError(void)
{
    return AL_NO_ERROR;
}

void alGenBuffers(ALsizei n, ALuint* pNames)
{
    for (ALsizei i = 0; pNames != nullptr && i < n; ++i)
    {
        pNames[i] = s_tBuffers.Add();
    }
}

void alDeleteBuffers(ALsizei n, const ALuint* pNames)
{
    for (ALsizei i = 0; pNames != nullptr && i < n; ++i)
    {
        ALBufferRec* pBuffer = s_tBuffers.Find(pNames[i]);
        if (pBuffer == nullptr)
        {
            continue;
        }
        ForgetBufferData(pBuffer->pData);
        if (pBuffer->bOwned)
        {
            std::free(pBuffer->pData);
        }
        s_tBuffers.Remove(pNames[i]);
    }
}

namespace
{

// Replaces a buffer's samples; the old memory is dropped from the cache first.
void SetBufferData(ALuint uiBuffer, ALenum iFormat, void* pData, int bOwned, ALsizei iSize,
                   ALsizei iFrequency)
{
    ALBufferRec* pBuffer = s_tBuffers.Find(uiBuffer);
    if (pBuffer == nullptr)
    {
        if (bOwned)
        {
            std::free(pData);
        }
        return;
    }
    ForgetBufferData(pBuffer->pData);
    if (pBuffer->bOwned)
    {
        std::free(pBuffer->pData);
    }
    pBuffer->iFormat = iFormat;
    pBuffer->pData = pData;
    pBuffer->bOwned = bOwned;
    pBuffer->iSize = pData != nullptr ? iSize : 0;
    pBuffer->iFrequency = iFrequency;
}

}  // namespace

void alBufferData(ALuint uiBuffer, ALenum iFormat, const ALvoid* pData, ALsizei iSize,
                  ALsizei iFrequency)
{
    if (pData == nullptr || iSize <= 0 || s_tBuffers.Find(uiBuffer) == nullptr)
    {
        return;
    }
    void* pCopy = std::malloc(static_cast<size_t>(iSize));
    if (pCopy == nullptr)
    {
        return;
    }
    std::memcpy(pCopy, pData, static_cast<size_t>(iSize));
    SetBufferData(uiBuffer, iFormat, pCopy, 1, iSize, iFrequency);
}

void alBufferDataStatic(ALuint uiBuffer, ALenum iFormat, const ALvoid* pData, ALsizei iSize,
                        ALsizei iFrequency)
{
    if (iSize < 0)
    {
        return;
    }
    SetBufferData(uiBuffer, iFormat, const_cast<ALvoid*>(pData), 0, iSize, iFrequency);
}

// ---- AL: sources ----

void alGenSources(ALsizei n, ALuint* pNames)
{
    for (ALsizei i = 0; pNames != nullptr && i < n; ++i)
    {
        pNames[i] = s_tSources.Add();
    }
}

void alDeleteSources(ALsizei n, const ALuint* pNames)
{
    // A channel the source is playing on keeps playing: its samples belong to the cache.
    for (ALsizei i = 0; pNames != nullptr && i < n; ++i)
    {
        s_tSources.Remove(pNames[i]);
    }
}

void alSourcei(ALuint uiSource, ALenum iParam, ALint iValue)
{
    ALSourceRec* pSource = s_tSources.Find(uiSource);
    if (pSource == nullptr)
    {
        return;
    }
    if (iParam == AL_LOOPING)
    {
        pSource->iLooping = iValue;
    }
    else if (iParam == AL_BUFFER)
    {
        pSource->uiBuffer = static_cast<ALuint>(iValue);
    }
}

void alSourcef(ALuint uiSource, ALenum iParam, ALfloat fValue)
{
    ALSourceRec* pSource = s_tSources.Find(uiSource);
    if (pSource == nullptr)
    {
        return;
    }
    MixChannelParams* pChannel = pSource->iChannel >= 0 && pSource->iChannel < ALMIX_NUM_CHANNELS
                                     ? &s_tChannels[pSource->iChannel]
                                     : nullptr;
    if (iParam == AL_PITCH)
    {
        pSource->fPitch = fValue;
        if (pChannel != nullptr)
        {
            pChannel->fPitch = fValue;
        }
    }
    else if (iParam == AL_GAIN)
    {
        // Heard from the next play on: a chunk takes its volume when it starts.
        pSource->fGain = fValue;
        if (pChannel != nullptr)
        {
            pChannel->iVolume = ChannelVolume(fValue);
        }
    }
}

void alGetSourcei(ALuint uiSource, ALenum iParam, ALint* pValue)
{
    ALSourceRec* pSource = s_tSources.Find(uiSource);
    if (pSource == nullptr || pValue == nullptr)
    {
        return;
    }
    switch (iParam)
    {
        case AL_BUFFER:
            *pValue = static_cast<ALint>(pSource->uiBuffer);
            break;
        case AL_SOURCE_STATE:
            if (pSource->iState == AL_PLAYING && ChannelPlaying(pSource->iChannel) == 0)
            {
                pSource->iState = AL_STOPPED;
            }
            *pValue = pSource->iState;
            break;
        case AL_LOOPING:
            *pValue = pSource->iLooping;
            break;
        default:
            *pValue = 0;  // nothing is ever queued or processed
            break;
    }
}

void alSourcePlay(ALuint uiSource)
{
    ALSourceRec* pSource = s_tSources.Find(uiSource);
    if (pSource == nullptr)
    {
        return;
    }
    const ALBufferRec* pBuffer = s_tBuffers.Find(pSource->uiBuffer);
    Uint16 uiSdlFormat = 0;
    int iChannels = 0;
    const int iFrameSize =
        pBuffer != nullptr ? FrameSize(pBuffer->iFormat, &uiSdlFormat, &iChannels) : 0;
    if (iFrameSize == 0 || pBuffer->pData == nullptr || pBuffer->iSize < iFrameSize ||
        pBuffer->iFrequency <= 0 || !MixerOpen())
    {
        return;  // nothing playable, or no mixer to play it on
    }
    const int iChannel = Mix_GroupAvailable(-1);
    if (iChannel < 0 || iChannel >= ALMIX_NUM_CHANNELS)
    {
        return;  // every channel busy: the sound is dropped and no channel is touched
    }
    MixChannelParams& tChannel = s_tChannels[iChannel];
    const MixChannelParams tBefore = tChannel;
    tChannel.iVolume = ChannelVolume(pSource->fGain);
    tChannel.fPitch = pSource->fPitch;
    tChannel.iFrequency = pBuffer->iFrequency;
    if (!StartChannel(iChannel, *pBuffer, pBuffer->iSize / iFrameSize,
                      pSource->iLooping != 0 ? -1 : 0))
    {
        tChannel = tBefore;
        return;
    }
    pSource->iChannel = iChannel;
    pSource->iState = AL_PLAYING;
}

void alSourcePlayv(ALsizei n, const ALuint* pNames)
{
    for (ALsizei i = 0; pNames != nullptr && i < n; ++i)
    {
        alSourcePlay(pNames[i]);
    }
}

void alSourcePause(ALuint uiSource)
{
    const ALSourceRec* pSource = s_tSources.Find(uiSource);
    if (pSource != nullptr && MixerOpen() && pSource->iChannel < ALMIX_NUM_CHANNELS)
    {
        Mix_Pause(pSource->iChannel);  // -1 pauses every channel
    }
}

void alSourcePausev(ALsizei n, const ALuint* pNames)
{
    for (ALsizei i = 0; pNames != nullptr && i < n; ++i)
    {
        alSourcePause(pNames[i]);
    }
}

void alSourceStop(ALuint uiSource)
{
    ALSourceRec* pSource = s_tSources.Find(uiSource);
    if (pSource == nullptr)
    {
        return;
    }
    if (MixerOpen() && pSource->iChannel < ALMIX_NUM_CHANNELS)
    {
        Mix_HaltChannel(pSource->iChannel);  // -1 (never played) halts every channel
    }
    pSource->iChannel = -1;
}

void alSourceStopv(ALsizei n, const ALuint* pNames)
{
    for (ALsizei i = 0; pNames != nullptr && i < n; ++i)
    {
        alSourceStop(pNames[i]);
    }
}
