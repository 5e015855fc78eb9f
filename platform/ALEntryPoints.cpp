// The AL entry points a fire-and-forget effect player never needs (spatial sound, queueing,
// most queries), accepted and ignored, and the by-name lookups over every entry point the
// layer provides.

#include <strings.h>

#include <cstddef>

#include "AL/al.h"
#include "AL/alc.h"
#include "ALMixer.h"

void alBufferf(ALuint, ALenum, ALfloat) {}
void alBuffer3f(ALuint, ALenum, ALfloat, ALfloat, ALfloat) {}
void alBufferfv(ALuint, ALenum, const ALfloat*) {}
void alBufferi(ALuint, ALenum, ALint) {}
void alBuffer3i(ALuint, ALenum, ALint, ALint, ALint) {}
void alBufferiv(ALuint, ALenum, const ALint*) {}
void alGetBufferf(ALuint, ALenum, ALfloat*) {}
void alGetBuffer3f(ALuint, ALenum, ALfloat*, ALfloat*, ALfloat*) {}
void alGetBufferfv(ALuint, ALenum, ALfloat*) {}
void alGetBufferi(ALuint, ALenum, ALint*) {}
void alGetBuffer3i(ALuint, ALenum, ALint*, ALint*, ALint*) {}
void alGetBufferiv(ALuint, ALenum, ALint*) {}
void alSourcefv(ALuint, ALenum, const ALfloat*) {}
void alSource3f(ALuint, ALenum, ALfloat, ALfloat, ALfloat) {}
void alSourceiv(ALuint, ALenum, const ALint*) {}
void alSource3i(ALuint, ALenum, ALint, ALint, ALint) {}
void alGetSourcef(ALuint, ALenum, ALfloat*) {}
void alGetSourcefv(ALuint, ALenum, ALfloat*) {}
void alGetSource3f(ALuint, ALenum, ALfloat*, ALfloat*, ALfloat*) {}
void alGetSourceiv(ALuint, ALenum, ALint*) {}
void alGetSource3i(ALuint, ALenum, ALint*, ALint*, ALint*) {}
void alSourceRewind(ALuint) {}
void alSourceRewindv(ALsizei, const ALuint*) {}
void alSourceQueueBuffers(ALuint, ALsizei, const ALuint*) {}
void alSourceUnqueueBuffers(ALuint, ALsizei, ALuint*) {}
void alListenerf(ALenum, ALfloat) {}
void alListenerfv(ALenum, const ALfloat*) {}
void alListener3f(ALenum, ALfloat, ALfloat, ALfloat) {}
void alListeneri(ALenum, ALint) {}
void alListeneriv(ALenum, const ALint*) {}
void alListener3i(ALenum, ALint, ALint, ALint) {}
void alGetListenerf(ALenum, ALfloat*) {}
void alGetListenerfv(ALenum, ALfloat*) {}
void alGetListener3f(ALenum, ALfloat*, ALfloat*, ALfloat*) {}
void alGetListeneri(ALenum, ALint*) {}
void alGetListeneriv(ALenum, ALint*) {}
void alGetListener3i(ALenum, ALint*, ALint*, ALint*) {}
void alDistanceModel(ALenum) {}
void alDopplerFactor(ALfloat) {}
void alDopplerVelocity(ALfloat) {}
void alSpeedOfSound(ALfloat) {}
void alGetBooleanv(ALenum, ALboolean*) {}
void alGetFloatv(ALenum, ALfloat*) {}
void alGetDoublev(ALenum, ALdouble*) {}
void alGetIntegerv(ALenum, ALint*) {}
void alEnable(ALenum) {}
void alDisable(ALenum) {}

const ALchar* alGetString(ALenum)
{
    return nullptr;
}
ALenum alGetEnumValue(const ALchar*)
{
    return 0;
}
ALboolean alGetBoolean(ALenum)
{
    return AL_FALSE;
}
ALfloat alGetFloat(ALenum)
{
    return 0.0f;
}
ALdouble alGetDouble(ALenum)
{
    return 0.0;
}
ALint alGetInteger(ALenum)
{
    return 0;
}
ALboolean alIsExtensionPresent(const ALchar*)
{
    return AL_FALSE;
}
ALboolean alIsEnabled(ALenum)
{
    return AL_FALSE;
}

const ALCchar* alcGetString(ALCdevice*, ALCenum)
{
    return nullptr;
}
ALCboolean alcIsExtensionPresent(ALCdevice*, const ALCchar*)
{
    return ALC_FALSE;
}
ALCenum alcGetEnumValue(ALCdevice*, const ALCchar*)
{
    return 0;
}

void alcGetIntegerv(ALCdevice*, ALCenum, ALCsizei iSize, ALCint* pData)
{
    if (pData != nullptr && iSize > 0)
    {
        pData[0] = 0;
    }
}

namespace
{

struct ProcEntry
{
    const char* pName;
    void* pFunction;
};

#define BF_PROC(name)                           \
    {                                           \
#name, reinterpret_cast < void*>(&name) \
    }

const ProcEntry s_tALCProcs[] = {
    BF_PROC(alcOpenDevice),        BF_PROC(alcCloseDevice),        BF_PROC(alcGetError),
    BF_PROC(alcCreateContext),     BF_PROC(alcMakeContextCurrent), BF_PROC(alcGetCurrentContext),
    BF_PROC(alcGetContextsDevice), BF_PROC(alcProcessContext),     BF_PROC(alcSuspendContext),
    BF_PROC(alcDestroyContext),    BF_PROC(alcGetString),          BF_PROC(alcIsExtensionPresent),
    BF_PROC(alcGetEnumValue),      BF_PROC(alcGetIntegerv),        BF_PROC(alcGetProcAddress),
};
static_assert(sizeof(s_tALCProcs) / sizeof(s_tALCProcs[0]) == 15, "every ALC entry point");

const ProcEntry s_tALProcs[] = {
    // working
    BF_PROC(alGetError),
    BF_PROC(alGenBuffers),
    BF_PROC(alDeleteBuffers),
    BF_PROC(alBufferData),
    BF_PROC(alBufferDataStatic),
    BF_PROC(alGenSources),
    BF_PROC(alDeleteSources),
    BF_PROC(alSourcei),
    BF_PROC(alSourcef),
    BF_PROC(alGetSourcei),
    BF_PROC(alSourcePlay),
    BF_PROC(alSourcePlayv),
    BF_PROC(alSourcePause),
    BF_PROC(alSourcePausev),
    BF_PROC(alSourceStop),
    BF_PROC(alSourceStopv),
    BF_PROC(alGetProcAddress),
    // accepted and ignored
    BF_PROC(alBufferf),
    BF_PROC(alBuffer3f),
    BF_PROC(alBufferfv),
    BF_PROC(alBufferi),
    BF_PROC(alBuffer3i),
    BF_PROC(alBufferiv),
    BF_PROC(alGetBufferf),
    BF_PROC(alGetBuffer3f),
    BF_PROC(alGetBufferfv),
    BF_PROC(alGetBufferi),
    BF_PROC(alGetBuffer3i),
    BF_PROC(alGetBufferiv),
    BF_PROC(alSourcefv),
    BF_PROC(alSource3f),
    BF_PROC(alSourceiv),
    BF_PROC(alSource3i),
    BF_PROC(alGetSourcef),
    BF_PROC(alGetSourcefv),
    BF_PROC(alGetSource3f),
    BF_PROC(alGetSourceiv),
    BF_PROC(alGetSource3i),
    BF_PROC(alSourceRewind),
    BF_PROC(alSourceRewindv),
    BF_PROC(alSourceQueueBuffers),
    BF_PROC(alSourceUnqueueBuffers),
    BF_PROC(alListenerf),
    BF_PROC(alListenerfv),
    BF_PROC(alListener3f),
    BF_PROC(alListeneri),
    BF_PROC(alListeneriv),
    BF_PROC(alListener3i),
    BF_PROC(alGetListenerf),
    BF_PROC(alGetListenerfv),
    BF_PROC(alGetListener3f),
    BF_PROC(alGetListeneri),
    BF_PROC(alGetListeneriv),
    BF_PROC(alGetListener3i),
    BF_PROC(alDistanceModel),
    BF_PROC(alDopplerFactor),
    BF_PROC(alDopplerVelocity),
    BF_PROC(alSpeedOfSound),
    BF_PROC(alGetBooleanv),
    BF_PROC(alGetFloatv),
    BF_PROC(alGetDoublev),
    BF_PROC(alGetIntegerv),
    BF_PROC(alEnable),
    BF_PROC(alDisable),
    // always 0
    BF_PROC(alIsBuffer),
    BF_PROC(alIsSource),
    BF_PROC(alGetString),
    BF_PROC(alGetEnumValue),
    BF_PROC(alGetBoolean),
    BF_PROC(alGetFloat),
    BF_PROC(alGetDouble),
    BF_PROC(alGetInteger),
    BF_PROC(alIsExtensionPresent),
    BF_PROC(alIsEnabled),
};
static_assert(sizeof(s_tALProcs) / sizeof(s_tALProcs[0]) == 74, "every AL entry point");

#undef BF_PROC

template <size_t N>
void* FindProc(const ProcEntry (&tTable)[N], const char* pName)
{
    for (const ProcEntry& tEntry : tTable)
    {
        if (strcasecmp(tEntry.pName, pName) == 0)
        {
            return tEntry.pFunction;
        }
    }
    return nullptr;
}

}  // namespace

void* alGetProcAddress(const ALchar* pName)
{
    return pName != nullptr ? FindProc(s_tALProcs, pName) : nullptr;
}

void* alcGetProcAddress(ALCdevice* pDevice, const ALCchar* pName)
{
    if (pName == nullptr)
    {
        if (pDevice != nullptr)
        {
            pDevice->iError = ALC_INVALID_VALUE;
        }
        return nullptr;
    }
    void* pFunction = FindProc(s_tALCProcs, pName);
    return pFunction != nullptr ? pFunction : alGetProcAddress(pName);
}
