#include "SoundCommands.h"

#include <cstdio>

#include "Audio.h"
#include "MusicBackend.h"

namespace
{

const char* FormatName(ALenum iFormat)
{
    return iFormat == AL_FORMAT_MONO16 ? "AL_FORMAT_MONO16" : "AL_FORMAT_STEREO16";
}

}  // namespace

int BFTOOL_Sound(int argc, char** argv)
{
    if (argc != 2)
    {
        std::printf("usage: bftool sound FILE.ogg\n");
        return 1;
    }
    FILE* pFile = std::fopen(argv[1], "rb");
    if (pFile == nullptr)
    {
        std::printf("Error - File not found: %s\n", argv[1]);
        return 1;
    }
    sDecodedSound tSound;
    if (!AUDIO_DecodeSoundFile(pFile, argv[1], &tSound))
    {
        std::printf("%s: not loaded\n", argv[1]);
        return 1;
    }
    std::printf("%s: channels %d, rate %d Hz, format %s (0x%04X), %d bytes decoded\n", argv[1],
                tSound.iChannels, tSound.iRate, FormatName(tSound.iFormat),
                static_cast<unsigned int>(tSound.iFormat), tSound.iBytes);
    AUDIO_FreeDecodedSound(&tSound);
    return 0;
}

int BFTOOL_Probe(int argc, char** argv)
{
    if (argc != 2)
    {
        std::printf("usage: bftool probe FILE.mp3\n");
        return 1;
    }
    FILE* pFile = std::fopen(argv[1], "rb");
    if (pFile == nullptr)
    {
        std::printf("Error - File not found: %s\n", argv[1]);
        return 1;
    }
    std::fclose(pFile);
    const MusicFormat tFormat = MusicProbeFormat(argv[1]);
    std::printf("%s: frequency %d Hz, channels %d%s\n", argv[1], tFormat.iFrequency,
                tFormat.iChannels,
                tFormat.iFrequency < 0 ? " (reserved rate: the mixer would be left as it is)" : "");
    return 0;
}
