// AUDIO_ functions are the sound engine's module entry points beside CAudio.

#include "Audio.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "ALMixer.h"
#include "Assert.h"
#include "FileSystem.h"

namespace
{

constexpr const char* AUDIO_FILE = "source/engine/Audio";
constexpr ALuint AUDIO_NO_NAME = static_cast<ALuint>(-1);  // a stream handle never generated
constexpr int DECODE_START_CAPACITY = 65536;  // the accumulation buffer doubles from here
constexpr int DECODE_SCRATCH_BYTES = 2048;
constexpr int STREAM_REFILL_BYTES = 32768;
static_assert(DECODE_SCRATCH_BYTES < DECODE_START_CAPACITY, "one doubling makes room");

}  // namespace

CAudio::CAudio()
{
    alGetError();
    pDevice = alcOpenDevice(NULL);
    BF_ASSERT_AT(AUDIO_FILE, 43, pDevice != NULL);
    pContext = alcCreateContext(pDevice, NULL);
    BF_ASSERT_AT(AUDIO_FILE, 46, pContext != NULL);
    alcMakeContextCurrent(pContext);
    if (alcGetError(pDevice) != ALC_NO_ERROR)
    {
        std::printf("Error setting context\n");
        BF_ASSERT_AT(AUDIO_FILE, 52, 0);
    }

    tStreamBuffers[0] = AUDIO_NO_NAME;
    tStreamBuffers[1] = AUDIO_NO_NAME;
    tStreamBuffers[2] = 0;
    tStreamBuffers[3] = 0;
    uiStreamSource = AUDIO_NO_NAME;
    bSoundEnabled = 1;
    bStreamOpen = 0;
    iStreamRate = 0;
    iStreamFormat = AL_FORMAT_STEREO16;
    std::memset(&tStreamFile, 0, sizeof(tStreamFile));
    std::memset(tSoundBuffers, 0, sizeof(tSoundBuffers));
    std::memset(tSoundSources, 0, sizeof(tSoundSources));

    alGetError();
    alGenBuffers(AUDIO_STREAM_BUFFERS, tStreamBuffers);
    ReportALError(alGetError());
    alGenSources(1, &uiStreamSource);
    ReportALError(alGetError());
    alSource3f(uiStreamSource, AL_POSITION, 0.0f, 0.0f, 0.0f);
    ReportALError(alGetError());
    alListener3f(AL_POSITION, 0.0f, 0.0f, 0.0f);
    ReportALError(alGetError());
}

CAudio::~CAudio()
{
    StopMusic();
    alSourcef(uiStreamSource, AL_GAIN, 0.0f);
    if (uiStreamSource != AUDIO_NO_NAME)
    {
        ALint iQueued = 0;
        alGetSourcei(uiStreamSource, AL_BUFFERS_QUEUED, &iQueued);
        for (ALint i = 0; i < iQueued; ++i)
        {
            ALuint uiBuffer = 0;
            alSourceUnqueueBuffers(uiStreamSource, 1, &uiBuffer);
            CheckALError();
        }
        alDeleteSources(1, &uiStreamSource);
    }
    if (tStreamBuffers[0] != AUDIO_NO_NAME)
    {
        alDeleteBuffers(AUDIO_STREAM_BUFFERS, tStreamBuffers);
    }
    for (ALuint& uiSource : tSoundSources)
    {
        if (uiSource != 0)
        {
            alDeleteSources(1, &uiSource);
        }
    }
    for (ALuint& uiBuffer : tSoundBuffers)
    {
        if (uiBuffer != 0)
        {
            alDeleteBuffers(1, &uiBuffer);
        }
    }
    alcMakeContextCurrent(NULL);
    if (pContext != NULL)
    {
        alcDestroyContext(pContext);
    }
    if (pDevice != NULL)
    {
        alcCloseDevice(pDevice);
    }
    if (bStreamOpen)
    {
        ov_clear(&tStreamFile);
    }
}

int CAudio::DecodeOgg(OggVorbis_File* pFile, char* pBuffer, int iSize, bool bLoop)
{
    const char* buffer = pBuffer;
    BF_ASSERT_AT(AUDIO_FILE, 661, buffer != NULL);
    int iTotal = 0;
    bool bEndOfStream = false;
    while (iTotal < iSize)
    {
        int iSection = 0;
        const long iRead = ov_read(pFile, pBuffer + iTotal, iSize - iTotal, 0, 2, 1, &iSection);
        if (iRead == 0)
        {
            bEndOfStream = true;
            break;
        }
        if (iRead < 0)
        {
            // A hole, a bad link or any other failure: the data cannot be trusted.
            std::printf("Error decoding from ov file: %i\n", static_cast<int>(iRead));
            return -1;
        }
        iTotal += static_cast<int>(iRead);
    }
    if (bEndOfStream && bLoop)
    {
        ov_raw_seek(pFile, 0);
    }
    return iTotal;
}

int AUDIO_DecodeSoundFile(FILE* pFile, const char* pName, sDecodedSound* pSound)
{
    BF_ASSERT(AUDIO_FILE, pSound != NULL);
    std::memset(pSound, 0, sizeof(*pSound));
    if (pFile == nullptr)
    {
        return 0;
    }
    OggVorbis_File tVorbis;
    if (ov_open(pFile, &tVorbis, nullptr, 0) < 0)
    {
        std::fclose(pFile);  // ov_open leaves a rejected file open
        std::printf("Error - Not an Ogg Vorbis file: %s\n", pName);
        return 0;
    }
    const vorbis_info* pInfo = ov_info(&tVorbis, -1);
    if (pInfo == nullptr || (pInfo->channels != 1 && pInfo->channels != 2) || pInfo->rate <= 0)
    {
        std::printf("Error - Unsupported sound format (%d channels): %s\n",
                    pInfo != nullptr ? pInfo->channels : 0, pName);
        ov_clear(&tVorbis);
        return 0;
    }

    int iCapacity = DECODE_START_CAPACITY;
    char* pData = static_cast<char*>(std::malloc(static_cast<size_t>(iCapacity)));
    int iTotal = 0;
    char tScratch[DECODE_SCRATCH_BYTES];
    bool bFailed = pData == nullptr;
    while (!bFailed)
    {
        const int iRead = CAudio::DecodeOgg(&tVorbis, tScratch, DECODE_SCRATCH_BYTES, false);
        if (iRead <= 0)
        {
            bFailed = iRead < 0;
            break;
        }
        if (iTotal + iRead > iCapacity)
        {
            if (iCapacity > AUDIO_MAX_SOUND_BYTES / 2)
            {
                std::printf("Error - Sound too long: %s\n", pName);
                bFailed = true;
                break;
            }
            char* pGrown = static_cast<char*>(std::malloc(static_cast<size_t>(iCapacity) * 2));
            if (pGrown == nullptr)
            {
                std::printf("Error - Out of memory decoding: %s\n", pName);
                bFailed = true;
                break;
            }
            std::memcpy(pGrown, pData, static_cast<size_t>(iTotal));
            std::free(pData);
            pData = pGrown;
            iCapacity *= 2;
        }
        std::memcpy(pData + iTotal, tScratch, static_cast<size_t>(iRead));
        iTotal += iRead;
    }
    pSound->iChannels = pInfo->channels;
    pSound->iRate = static_cast<int>(pInfo->rate);
    ov_clear(&tVorbis);  // also closes the file
    if (bFailed)
    {
        std::free(pData);
        std::memset(pSound, 0, sizeof(*pSound));
        return 0;
    }
    pSound->iFormat = pSound->iChannels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
    pSound->pData = pData;
    pSound->iBytes = iTotal;
    return 1;
}

void AUDIO_FreeDecodedSound(sDecodedSound* pSound)
{
    if (pSound != nullptr)
    {
        std::free(pSound->pData);
        pSound->pData = nullptr;
        pSound->iBytes = 0;
    }
}

int CAudio::LoadSound(const char* pName)
{
    int iSlot = 0;
    while (iSlot < MAX_SOUNDS && tSoundBuffers[iSlot] != 0)
    {
        ++iSlot;
    }
    if (iSlot == MAX_SOUNDS || pName == nullptr)
    {
        return -1;
    }
    char strPath[FS_MAX_PATH];
    if (!FS_FormatPath(strPath, sizeof(strPath), "SFX/%s.ogg", pName))
    {
        return -1;
    }
    FILE* pFile = FS_OpenResourceFile(strPath);
    if (pFile == nullptr)
    {
        return -1;
    }
    sDecodedSound tSound;
    if (!AUDIO_DecodeSoundFile(pFile, strPath, &tSound))
    {
        return -1;
    }
    alGenBuffers(1, &tSoundBuffers[iSlot]);
    if (!CheckALError())
    {
        AUDIO_FreeDecodedSound(&tSound);
        return -1;
    }
    alBufferData(tSoundBuffers[iSlot], tSound.iFormat, tSound.pData, tSound.iBytes, tSound.iRate);
    AUDIO_FreeDecodedSound(&tSound);
    return iSlot;
}

int CAudio::CreateSource(int iBufferSlot, unsigned char bLoop)
{
    if (iBufferSlot < 0 || iBufferSlot >= MAX_SOUNDS || tSoundBuffers[iBufferSlot] == 0)
    {
        return -1;
    }
    int iSlot = 0;
    while (iSlot < MAX_SOUNDS && tSoundSources[iSlot] != 0)
    {
        ++iSlot;
    }
    if (iSlot == MAX_SOUNDS)
    {
        return -1;
    }
    alGenSources(1, &tSoundSources[iSlot]);
    if (!CheckALError())
    {
        return -1;
    }
    const ALuint uiSource = tSoundSources[iSlot];
    alSourcei(uiSource, AL_BUFFER, static_cast<ALint>(tSoundBuffers[iBufferSlot]));
    alSourcef(uiSource, AL_PITCH, 1.0f);
    alSourcef(uiSource, AL_GAIN, 1.0f);
    alSourcei(uiSource, AL_LOOPING, bLoop);
    if (!CheckALError())
    {
        return -1;  // the source keeps its slot
    }
    return iSlot;
}

void CAudio::PlaySound(int iSourceSlot)
{
    if (iSourceSlot < 0 || iSourceSlot >= MAX_SOUNDS || !bSoundEnabled ||
        tSoundSources[iSourceSlot] == 0)
    {
        return;
    }
    alSourcePlay(tSoundSources[iSourceSlot]);
}

bool CAudio::IsSourcePlaying(int iSourceSlot) const
{
    if (iSourceSlot < 0 || iSourceSlot >= MAX_SOUNDS || tSoundSources[iSourceSlot] == 0)
    {
        return false;
    }
    ALint iState = AL_INITIAL;
    alGetSourcei(tSoundSources[iSourceSlot], AL_SOURCE_STATE, &iState);
    return iState == AL_PLAYING;
}

void CAudio::CheckTables() const
{
    for (int i = 0; i < MAX_SOUNDS; ++i)
    {
        BF_ASSERT("source/engine/Audio", tSoundBuffers[i] == 0 || alIsBuffer(tSoundBuffers[i]));
        BF_ASSERT("source/engine/Audio", tSoundSources[i] == 0 || alIsSource(tSoundSources[i]));
    }
    BF_ASSERT("source/engine/Audio", uiStreamSource == AUDIO_NO_NAME || alIsSource(uiStreamSource));
    ALMIX_CheckTables();
}

void CAudio::UpdateMusic()
{
    ALint iProcessed = 0;
    alGetSourcei(uiStreamSource, AL_BUFFERS_PROCESSED, &iProcessed);
    if (iProcessed <= 0 || !bStreamOpen)
    {
        return;
    }
    ALuint uiBuffer = 0;
    alSourceUnqueueBuffers(uiStreamSource, 1, &uiBuffer);
    CheckALError();
    char* buffer = static_cast<char*>(std::malloc(STREAM_REFILL_BYTES));
    BF_ASSERT_AT(AUDIO_FILE, 628, buffer != NULL);
    const int iBytes = DecodeOgg(&tStreamFile, buffer, STREAM_REFILL_BYTES, true);
    if (iBytes > 0)
    {
        alBufferData(uiBuffer, iStreamFormat, buffer, iBytes, iStreamRate);
    }
    else
    {
        StopMusic();
    }
    std::free(buffer);
    alSourceQueueBuffers(uiStreamSource, 1, &uiBuffer);
    CheckALError();
}

void CAudio::StopMusic()
{
    alSourceStop(uiStreamSource);
    ALint iQueued = 0;
    alGetSourcei(uiStreamSource, AL_BUFFERS_QUEUED, &iQueued);
    for (ALint i = 0; i < iQueued; ++i)
    {
        ALuint uiBuffer = 0;
        alSourceUnqueueBuffers(uiStreamSource, 1, &uiBuffer);
        CheckALError();
    }
}

void CAudio::PrintMusicState()
{
    ALint iState = 0;
    alGetSourcei(uiStreamSource, AL_SOURCE_STATE, &iState);
    switch (iState)
    {
        case AL_INITIAL:
            std::printf("Music source is in initial state\n");
            break;
        case AL_PLAYING:
            std::printf("Music is playing\n");
            break;
        case AL_PAUSED:
            std::printf("Music is paused\n");
            break;
        case AL_STOPPED:
            std::printf("Music is stopped\n");
            break;
        default:
            break;
    }
    ReportALError(alGetError());
    std::printf("--------------\n");
}

void CAudio::ReportALError(ALenum iCode)
{
    if (iCode == AL_NO_ERROR)
    {
        return;
    }
    std::printf("OpenAL Error Encountered:\n");
    switch (iCode)
    {
        case AL_INVALID_NAME:
            std::printf("A bad ID was passed to an OpenAL function\n");
            break;
        case AL_INVALID_ENUM:
            std::printf("An invalid enum was passed to an OpenAL function\n");
            break;
        case AL_INVALID_VALUE:
            std::printf("An invalid value was passed to an OpenAL function\n");
            break;
        case AL_INVALID_OPERATION:
            std::printf("The requested operation was not valid\n");
            break;
        case AL_OUT_OF_MEMORY:
            std::printf("OpenAL is out of memory\n");
            break;
        default:
            break;
    }
}

bool CAudio::CheckALError()
{
    const ALenum iCode = alGetError();
    ReportALError(iCode);
    return iCode == AL_NO_ERROR;
}
