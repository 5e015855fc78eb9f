// The MP3 probe: MusicProbeFormat reads a file's first frame header (past ID3v2 tags) to open
// the mixer in the file's own format. It takes a path, so the input is written to a tmpfs file.
// Whatever the bytes, it answers a rate of the MPEG tables (or -1 for a reserved one, or the
// 22050 Hz default) and one or two channels.

#include "Assert.h"
#include "FuzzSupport.h"
#include "MusicBackend.h"

namespace
{

constexpr const char* ASSERT_FILE = "fuzz_mp3probe";

bool IsMPEGRate(int iFrequency)
{
    static const int s_tRates[] = {-1,    8000,  11025, 12000, 16000,
                                   22050, 24000, 32000, 44100, 48000};
    for (int iRate : s_tRates)
    {
        if (iFrequency == iRate)
        {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FUZZ_QuietOutput();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, size_t uiSize)
{
    const std::string strPath = FUZZ_WriteScratchFile("probe.mp3", pData, uiSize);
    const MusicFormat tFormat = MusicProbeFormat(strPath.c_str());
    BF_ASSERT(ASSERT_FILE, IsMPEGRate(tFormat.iFrequency));
    BF_ASSERT(ASSERT_FILE, tFormat.iChannels == 1 || tFormat.iChannels == 2);
    return 0;
}
