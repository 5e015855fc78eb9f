// Ogg Vorbis sound effects: AUDIO_DecodeSoundFile, the whole decode LoadSound does, on the file
// in memory. A sound that decodes is whole 16-bit frames of one or two channels at a positive
// rate, within the engine's limit; one that does not leaves nothing behind.

#include <cstring>

#include "Assert.h"
#include "Audio.h"
#include "FuzzSupport.h"

namespace
{

constexpr const char* ASSERT_FILE = "fuzz_ogg";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FUZZ_QuietOutput();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, size_t uiSize)
{
    sDecodedSound tSound;
    if (!AUDIO_DecodeSoundFile(FUZZ_OpenMemory(pData, uiSize), "fuzz.ogg", &tSound))
    {
        BF_ASSERT(ASSERT_FILE, tSound.pData == nullptr && tSound.iBytes == 0);
        return 0;
    }
    BF_ASSERT(ASSERT_FILE, tSound.iChannels == 1 || tSound.iChannels == 2);
    BF_ASSERT(ASSERT_FILE, tSound.iRate > 0 && tSound.pData != nullptr);
    BF_ASSERT(ASSERT_FILE, tSound.iBytes >= 0 && tSound.iBytes <= AUDIO_MAX_SOUND_BYTES &&
                               tSound.iBytes % (2 * tSound.iChannels) == 0);
    AUDIO_FreeDecodedSound(&tSound);
    return 0;
}
