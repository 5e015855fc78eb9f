#pragma once

// The sound engine: short effects decoded completely from Ogg Vorbis files ("SFX/<name>.ogg"
// under the resource directory) into AL buffers, each played through its own AL source. One
// switch mutes every effect. The engine also owns a music stream source with four stream
// buffers; the game only stops it and asks for its state (the music itself is MusicPlayer's).
//
// Failures the player can cause (a missing, foreign or damaged file, full tables) give -1 and
// one diagnostic line; the game plays on without that sound.

#include <vorbis/vorbisfile.h>

#include <cstdio>

#include "AL/al.h"
#include "AL/alc.h"

// Buffer slots and source slots each; the game loads exactly this many effects.
constexpr int MAX_SOUNDS = 16;
// Buffers the music stream cycles through.
constexpr int AUDIO_STREAM_BUFFERS = 4;
// Decoded bytes one effect may take (about six minutes of 44.1 kHz stereo); a longer file is
// refused rather than allowed to take all memory.
constexpr int AUDIO_MAX_SOUND_BYTES = 64 << 20;

// One sound decoded to 16-bit signed little-endian PCM.
struct sDecodedSound
{
    int iChannels;   // 1 or 2
    int iRate;       // Hz
    ALenum iFormat;  // AL_FORMAT_MONO16 or AL_FORMAT_STEREO16
    char* pData;     // malloc'ed; free with AUDIO_FreeDecodedSound
    int iBytes;
};

class CAudio
{
public:
    // Opens the AL device and context (an assertion stops the game if either fails) and makes
    // the music stream's source and buffers.
    CAudio();
    // Stops everything and releases every source, buffer, the context and the device.
    ~CAudio();

    CAudio(const CAudio&) = delete;
    CAudio& operator=(const CAudio&) = delete;

    // Decodes "SFX/<name>.ogg" into the first free buffer slot; the slot (0..15), or -1 when the
    // table is full or the file is missing, not Ogg Vorbis or damaged.
    int LoadSound(const char* pName);

    // A source playing a loaded buffer slot; the source slot (0..15), or -1.
    int CreateSource(int iBufferSlot, unsigned char bLoop);

    // Starts the slot's source on a free mixer channel; nothing while muted or for a slot that
    // holds no source (such as the -1 of a failed CreateSource).
    void PlaySound(int iSourceSlot);

    // Whether the slot's source is playing now; false for a slot that holds no source. Tests
    // and tools ask; the game never needs to.
    bool IsSourcePlaying(int iSourceSlot) const;

    void EnableSound() { bSoundEnabled = 1; }
    void DisableSound() { bSoundEnabled = 0; }
    unsigned char IsSoundEnabled() const { return bSoundEnabled; }

    // Per frame: refills a processed stream buffer. No stream is opened by the game, so this
    // finds nothing to do.
    void UpdateMusic();

    // Stops the stream source and drains its queue. The stream source never plays, so stopping
    // it halts every mixer channel: ending a game silences all effects.
    void StopMusic();

    // Prints the stream source's state as a line ("Music source is in initial state", ...) and
    // then "--------------".
    void PrintMusicState();

    // Fills pBuffer with up to iSize bytes of PCM; at the end of the stream a looping file is
    // rewound. The bytes written, or -1 after a diagnostic when the stream is damaged.
    static int DecodeOgg(OggVorbis_File* pFile, char* pBuffer, int iSize, bool bLoop);

    // Every used buffer and source slot names a live AL buffer or source (assertions
    // "source/engine/Audio"). The soak checks it every frame.
    void CheckTables() const;

    // Prints "OpenAL Error Encountered:" and the code's text; nothing for AL_NO_ERROR.
    static void ReportALError(ALenum iCode);
    // Reports alGetError's code; true when there was none.
    static bool CheckALError();

private:
    ALCcontext* pContext;
    ALCdevice* pDevice;
    ALuint tStreamBuffers[AUDIO_STREAM_BUFFERS];
    ALuint uiStreamSource;
    ALuint tSoundBuffers[MAX_SOUNDS];  // 0 = free
    ALuint tSoundSources[MAX_SOUNDS];  // 0 = free
    unsigned char bSoundEnabled;
    unsigned char bStreamOpen;
    OggVorbis_File tStreamFile;  // valid only while bStreamOpen
    int iStreamRate;
    ALenum iStreamFormat;
};

// Decodes an Ogg Vorbis file completely, the way LoadSound does. Takes pFile and closes it in
// every case. 1 on success; 0 after one diagnostic line naming pName.
int AUDIO_DecodeSoundFile(FILE* pFile, const char* pName, sDecodedSound* pSound);

void AUDIO_FreeDecodedSound(sDecodedSound* pSound);
