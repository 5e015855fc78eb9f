// Scripts of the scripted-input driver and the recordings replayed in the same format:
// SCRIPT_LoadFile on a tmpfs file, then the first frames played, each step's events pushed
// into SDL (dummy video driver) and taken out again; then REPLAY_Open of the same file, which
// reads a recording through and refuses it or hands out its steps. Every step comes from a line
// of its own, and a replay's frames never go backwards. A script's soak step (which drives a
// whole game) is read but not played here; the save files a script carries go to the scratch
// folder.
//
// Screenshots are not written: the link wraps PNG_WriteRGBA (see CMakeLists.txt), so a step's
// path is never a file the fuzzer writes to.

#include <SDL.h>

#include <algorithm>
#include <cstdlib>

#include "Assert.h"
#include "FuzzSupport.h"
#include "HostDisplay.h"
#include "Replay.h"
#include "ScriptDriver.h"
#include "Soak.h"

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
    setenv("XDG_DATA_HOME", FUZZ_ScratchFolder(), 1);
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
    for (unsigned int uiFrame = 0; uiFrame < PLAYED_FRAMES && !SOAK_IsRunning(); ++uiFrame)
    {
        SCRIPT_BeforeFrame();
        SDL_Event tEvent;
        while (SDL_PollEvent(&tEvent))
        {
        }
        SCRIPT_AfterFrame();
        SCRIPT_FrameInterval(1.0 / 60.0);
    }

    ScriptRunSettings tRun;
    if (REPLAY_Open(strPath.c_str(), &tRun))
    {
        long iSteps = 0;
        unsigned int uiLastFrame = 0;
        for (const ScriptStep* pStep = REPLAY_Peek(); pStep != nullptr; pStep = REPLAY_Peek())
        {
            BF_ASSERT(ASSERT_FILE, pStep->uiFrame >= uiLastFrame && ++iSteps <= iLines);
            uiLastFrame = pStep->uiFrame;
            REPLAY_Next();
        }
    }
    return 0;
}
