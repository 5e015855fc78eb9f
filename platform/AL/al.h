#pragma once

// The OpenAL 1.1 interface as the game's sound engine uses it, carried by our own layer over
// SDL_mixer (ALMixer.cpp). Only the types, values and functions that layer provides are here.

#ifdef __cplusplus
extern "C"
{
#endif

    typedef char ALboolean;
    typedef char ALchar;
    typedef signed char ALbyte;
    typedef unsigned char ALubyte;
    typedef short ALshort;
    typedef unsigned short ALushort;
    typedef int ALint;
    typedef unsigned int ALuint;
    typedef int ALsizei;
    typedef int ALenum;
    typedef float ALfloat;
    typedef double ALdouble;
    typedef void ALvoid;

#define AL_NONE 0
#define AL_FALSE 0
#define AL_TRUE 1

#define AL_NO_ERROR 0
#define AL_INVALID_NAME 0xA001
#define AL_INVALID_ENUM 0xA002
#define AL_INVALID_VALUE 0xA003
#define AL_INVALID_OPERATION 0xA004
#define AL_OUT_OF_MEMORY 0xA005

#define AL_PITCH 0x1003
#define AL_POSITION 0x1004
#define AL_DIRECTION 0x1005
#define AL_VELOCITY 0x1006
#define AL_LOOPING 0x1007
#define AL_BUFFER 0x1009
#define AL_GAIN 0x100A
#define AL_SOURCE_STATE 0x1010
#define AL_INITIAL 0x1011
#define AL_PLAYING 0x1012
#define AL_PAUSED 0x1013
#define AL_STOPPED 0x1014
#define AL_BUFFERS_QUEUED 0x1015
#define AL_BUFFERS_PROCESSED 0x1016

#define AL_FORMAT_MONO8 0x1100
#define AL_FORMAT_MONO16 0x1101
#define AL_FORMAT_STEREO8 0x1102
#define AL_FORMAT_STEREO16 0x1103

#define AL_FREQUENCY 0x2001
#define AL_BITS 0x2002
#define AL_CHANNELS 0x2003
#define AL_SIZE 0x2004

    // Working entry points.
    ALenum alGetError(void);  // always AL_NO_ERROR
    void alGenBuffers(ALsizei n, ALuint* buffers);
    void alDeleteBuffers(ALsizei n, const ALuint* buffers);
    void alBufferData(ALuint buffer, ALenum format, const ALvoid* data, ALsizei size, ALsizei freq);
    // Like alBufferData, but keeps the caller's memory, which must outlive the buffer.
    void alBufferDataStatic(ALuint buffer, ALenum format, const ALvoid* data, ALsizei size,
                            ALsizei freq);
    void alGenSources(ALsizei n, ALuint* sources);
    void alDeleteSources(ALsizei n, const ALuint* sources);
    void alSourcei(ALuint source, ALenum param, ALint value);
    void alSourcef(ALuint source, ALenum param, ALfloat value);
    void alGetSourcei(ALuint source, ALenum param, ALint* value);
    void alSourcePlay(ALuint source);
    void alSourcePlayv(ALsizei n, const ALuint* sources);
    void alSourcePause(ALuint source);
    void alSourcePausev(ALsizei n, const ALuint* sources);
    void alSourceStop(ALuint source);
    void alSourceStopv(ALsizei n, const ALuint* sources);
    void* alGetProcAddress(const ALchar* fname);

    // Accepted and ignored; out-parameters are left untouched.
    void alBufferf(ALuint buffer, ALenum param, ALfloat value);
    void alBuffer3f(ALuint buffer, ALenum param, ALfloat v1, ALfloat v2, ALfloat v3);
    void alBufferfv(ALuint buffer, ALenum param, const ALfloat* values);
    void alBufferi(ALuint buffer, ALenum param, ALint value);
    void alBuffer3i(ALuint buffer, ALenum param, ALint v1, ALint v2, ALint v3);
    void alBufferiv(ALuint buffer, ALenum param, const ALint* values);
    void alGetBufferf(ALuint buffer, ALenum param, ALfloat* value);
    void alGetBuffer3f(ALuint buffer, ALenum param, ALfloat* v1, ALfloat* v2, ALfloat* v3);
    void alGetBufferfv(ALuint buffer, ALenum param, ALfloat* values);
    void alGetBufferi(ALuint buffer, ALenum param, ALint* value);
    void alGetBuffer3i(ALuint buffer, ALenum param, ALint* v1, ALint* v2, ALint* v3);
    void alGetBufferiv(ALuint buffer, ALenum param, ALint* values);
    void alSourcefv(ALuint source, ALenum param, const ALfloat* values);
    void alSource3f(ALuint source, ALenum param, ALfloat v1, ALfloat v2, ALfloat v3);
    void alSourceiv(ALuint source, ALenum param, const ALint* values);
    void alSource3i(ALuint source, ALenum param, ALint v1, ALint v2, ALint v3);
    void alGetSourcef(ALuint source, ALenum param, ALfloat* value);
    void alGetSourcefv(ALuint source, ALenum param, ALfloat* values);
    void alGetSource3f(ALuint source, ALenum param, ALfloat* v1, ALfloat* v2, ALfloat* v3);
    void alGetSourceiv(ALuint source, ALenum param, ALint* values);
    void alGetSource3i(ALuint source, ALenum param, ALint* v1, ALint* v2, ALint* v3);
    void alSourceRewind(ALuint source);
    void alSourceRewindv(ALsizei n, const ALuint* sources);
    void alSourceQueueBuffers(ALuint source, ALsizei n, const ALuint* buffers);
    void alSourceUnqueueBuffers(ALuint source, ALsizei n, ALuint* buffers);
    void alListenerf(ALenum param, ALfloat value);
    void alListenerfv(ALenum param, const ALfloat* values);
    void alListener3f(ALenum param, ALfloat v1, ALfloat v2, ALfloat v3);
    void alListeneri(ALenum param, ALint value);
    void alListeneriv(ALenum param, const ALint* values);
    void alListener3i(ALenum param, ALint v1, ALint v2, ALint v3);
    void alGetListenerf(ALenum param, ALfloat* value);
    void alGetListenerfv(ALenum param, ALfloat* values);
    void alGetListener3f(ALenum param, ALfloat* v1, ALfloat* v2, ALfloat* v3);
    void alGetListeneri(ALenum param, ALint* value);
    void alGetListeneriv(ALenum param, ALint* values);
    void alGetListener3i(ALenum param, ALint* v1, ALint* v2, ALint* v3);
    void alDistanceModel(ALenum model);
    void alDopplerFactor(ALfloat value);
    void alDopplerVelocity(ALfloat value);
    void alSpeedOfSound(ALfloat value);
    void alGetBooleanv(ALenum param, ALboolean* values);
    void alGetFloatv(ALenum param, ALfloat* values);
    void alGetDoublev(ALenum param, ALdouble* values);
    void alGetIntegerv(ALenum param, ALint* values);
    void alEnable(ALenum capability);
    void alDisable(ALenum capability);

    // Always 0 (false, null or 0.0).
    ALboolean alIsBuffer(ALuint buffer);
    ALboolean alIsSource(ALuint source);
    const ALchar* alGetString(ALenum param);
    ALenum alGetEnumValue(const ALchar* ename);
    ALboolean alGetBoolean(ALenum param);
    ALfloat alGetFloat(ALenum param);
    ALdouble alGetDouble(ALenum param);
    ALint alGetInteger(ALenum param);
    ALboolean alIsExtensionPresent(const ALchar* extname);
    ALboolean alIsEnabled(ALenum capability);

#ifdef __cplusplus
}
#endif
