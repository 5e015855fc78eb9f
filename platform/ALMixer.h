#pragma once

// The inside of the OpenAL-style layer over SDL_mixer (the entry points themselves are declared
// in AL/al.h and AL/alc.h). Sources play on SDL_mixer's sample channels; a buffer whose samples
// are not already in the mixer's format is converted with SDL's audio converter once per device
// format and kept in a small cache. What is here lets the host and the tests look at that state.
//
// ALMIX_ functions are the AL mixer layer's inspection points; they change nothing.

#include <SDL_mixer.h>

#include "AL/al.h"
#include "AL/alc.h"

// The device and context behind the ALC handles.
struct ALDeviceRec
{
    ALCenum iError = ALC_NO_ERROR;  // set by a failed lookup; reading does not clear it
};

struct ALContextRec
{
    ALDeviceRec* pDevice = nullptr;
    int bSuspended = 0;
};

// Mixer channels the device allocates; sources play on the first free one.
constexpr int ALMIX_NUM_CHANNELS = 8;
// Converted sample sets kept at once; a ninth buffer evicts a slot in rotation.
constexpr int ALMIX_CACHE_SLOTS = 8;

// What was last started on one mixer channel.
struct MixChannelParams
{
    int iFrequency;  // Hz of the samples last started there
    int iVolume;     // 0..128
    float fPitch;    // stored only: the mixer cannot change pitch
};

// One cached sample set, keyed by the buffer data it was made from.
struct ChunkCacheSlot
{
    const void* pSourceData;  // the key: the buffer data...; null = empty slot
    int iSourceSamples;       // ...and its sample frames
    int iSourceFrequency;     // what the frames were converted from
    ALenum iSourceFormat;
    int iConvertedFrequency;  // device format the chunk holds; 0 = plays the buffer directly
    int iConvertedChannels;
    Mix_Chunk tChunk;  // allocated = 1 when the layer owns abuf
};

const MixChannelParams* ALMIX_ChannelParams(int iChannel);  // null outside 0..7
const ChunkCacheSlot* ALMIX_CacheSlot(int iSlot);           // null outside 0..7
int ALMIX_VictimIndex();                        // the slot evicted last (0 before any eviction)
int ALMIX_Conversions();                        // sample sets converted since start
const void* ALMIX_BufferData(ALuint uiBuffer);  // a buffer's sample memory; null if none
int ALMIX_SourceChannel(ALuint uiSource);       // channel of the latest play; -1 = none

// The channel volumes, the eviction index and the cache slots are within bounds (assertions
// "platform/ALMixer"). The soak checks it every frame.
void ALMIX_CheckTables();
