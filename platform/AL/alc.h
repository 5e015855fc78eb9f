#pragma once

// The ALC half of the OpenAL 1.1 interface over SDL_mixer: one device record and its contexts.

#ifdef __cplusplus
extern "C"
{
#endif

    struct ALDeviceRec;
    struct ALContextRec;
    typedef struct ALDeviceRec ALCdevice;
    typedef struct ALContextRec ALCcontext;

    typedef char ALCboolean;
    typedef char ALCchar;
    typedef int ALCint;
    typedef int ALCsizei;
    typedef int ALCenum;
    typedef void ALCvoid;

#define ALC_FALSE 0
#define ALC_TRUE 1

#define ALC_NO_ERROR 0
#define ALC_INVALID_DEVICE 0xA001
#define ALC_INVALID_CONTEXT 0xA002
#define ALC_INVALID_ENUM 0xA003
#define ALC_INVALID_VALUE 0xA004
#define ALC_OUT_OF_MEMORY 0xA005

    // The name is ignored; the device uses the mixer the host opened (eight channels).
    ALCdevice* alcOpenDevice(const ALCchar* devicename);
    ALCboolean alcCloseDevice(ALCdevice* device);
    ALCenum alcGetError(ALCdevice* device);  // the device's error; not cleared by reading
    ALCcontext* alcCreateContext(ALCdevice* device, const ALCint* attrlist);
    ALCboolean alcMakeContextCurrent(ALCcontext* context);  // null allowed
    ALCcontext* alcGetCurrentContext(void);
    ALCdevice* alcGetContextsDevice(ALCcontext* context);
    void alcProcessContext(ALCcontext* context);
    void alcSuspendContext(ALCcontext* context);
    void alcDestroyContext(ALCcontext* context);
    const ALCchar* alcGetString(ALCdevice* device, ALCenum param);                // null
    ALCboolean alcIsExtensionPresent(ALCdevice* device, const ALCchar* extname);  // ALC_FALSE
    ALCenum alcGetEnumValue(ALCdevice* device, const ALCchar* enumname);          // 0
    void alcGetIntegerv(ALCdevice* device, ALCenum param, ALCsizei size, ALCint* data);  // 0
    // An ALC or AL entry point by name, ignoring letter case; null when unknown. A null name
    // sets the device's error to ALC_INVALID_VALUE.
    void* alcGetProcAddress(ALCdevice* device, const ALCchar* funcname);

#ifdef __cplusplus
}
#endif
