// Scripts of the scripted-input driver, the format recorded sessions are replayed from:
// SCRIPT_LoadFile on a tmpfs file, then the first frames played, each step's events pushed
// into SDL (dummy video driver) and taken out again. Every step comes from a line of its own.
//
// Screenshots are not written: the link wraps PNG_WriteRGBA (see CMakeLists.txt), so a step's
// path is never a file the fuzzer writes to.

#include <SDL.h>

#include <algorithm>
#include <cstdlib>

#include "Assert.h"
#include "FuzzSupport.h"
#include "HostDisplay.h"
#include "ScriptDriver.h"

namespace
{

constexpr const char* ASSERT_FILE = "fuzz_script";
constexpr unsigned int PLAYED_FRAMES = 8;

}  // namespace

// Stands in for PNG_WriteRGBA(const char*, int, int, const std::uint8_t*, bool) in this target.
extern "C" bool __wrap__Z13PNG_WriteRGBAPKciiPKhb(const char* pPath, int iWidth, int iHeight,
                                                  const std::uint8_t* pPixels, bool)
{
    BF_ASSERT(ASSERT_FILE, pPath != nullptr && pPath[0] != '\0' && iWidth > 0 && iHeight > 0 &&
                               pPixels != nullptr);
    return false;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FUZZ_QuietOutput();
    FUZZ_OpenEngine("fuzz_script");
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    BF_ASSERT(ASSERT_FILE, SDL_Init(SDL_INIT_VIDEO) == 0);
    HostDisplaySetForTest(true, 960, 640);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, size_t uiSize)
{
    const std::string strPath = FUZZ_WriteScratchFile("script.txt", pData, uiSize);
    BF_ASSERT(ASSERT_FILE, SCRIPT_LoadFile(strPath.c_str()));
    const long iLines = std::count(pData, pData + uiSize, '\n') + 1;
    BF_ASSERT(ASSERT_FILE, SCRIPT_StepCount() >= 0 && SCRIPT_StepCount() <= MAX_SCRIPT_STEPS &&
                               SCRIPT_StepCount() <= iLines);
    for (unsigned int uiFrame = 0; uiFrame < PLAYED_FRAMES; ++uiFrame)
    {
        SCRIPT_BeforeFrame();
        SDL_Event tEvent;
        while (SDL_PollEvent(&tEvent))
        {
        }
        SCRIPT_AfterFrame();
        SCRIPT_FrameInterval(1.0 / 60.0);
    }
    return 0;
}
