// The saved game "gamesave.dat": CLevel::Load on a new level, as the game resumes a saved game.
// A file that loads is saved again at once, as quitting does, and that file must load too. Then
// it is played for a moment by a fixed hand (the touch that resumes it picks up the nearest
// pommo, drags it down and lets go), drawn with its text each frame, and saved.
//
// The level needs its atlas and sprites: a hidden GL context and the generated data tree. A
// level kept for the whole run holds the atlas, so each input's level shares it.

#include "Assert.h"
#include "FuzzSupport.h"
#include "Input.h"
#include "Level.h"
#include "Random.h"

namespace
{

constexpr const char* ASSERT_FILE = "fuzz_savegame";
constexpr float FRAME_STEP = 1.0f / 60.0f;
constexpr int PLAYED_FRAMES = 24;

CLevel* s_pAtlasHolder = nullptr;  // a level kept for the whole run: it holds the atlas

void Touch(CLevel* pLevel, int iState, int x, int y)
{
    sTouch& tTouch = g_pInput->getTouches()[0];
    tTouch.x = x;
    tTouch.y = y;
    tTouch.state = iState;
    if (iState == 1)
    {
        tTouch.iAge = 0;
        pLevel->TouchesBegan();
    }
    else if (iState == 2)
    {
        ++tTouch.iAge;
        pLevel->TouchesMoved();
    }
    else
    {
        tTouch.iAge = -1;
        pLevel->TouchesEnded();
    }
}

void PlayAMoment(CLevel* pLevel)
{
    for (int iFrame = 0; iFrame < PLAYED_FRAMES; ++iFrame)
    {
        if (iFrame == 2)
        {
            Touch(pLevel, 1, 240, 200);
        }
        else if (iFrame > 2 && iFrame < 10)
        {
            Touch(pLevel, 2, 240 - iFrame, 200 - 10 * iFrame);
        }
        else if (iFrame == 10)
        {
            Touch(pLevel, 0, 230, 100);
        }
        pLevel->Update(FRAME_STEP);
        FUZZ_DrawLevel(pLevel);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FUZZ_QuietOutput();
    FUZZ_OpenEngine("fuzz_savegame");
    g_pInput = new CInput();
    g_pInput->CreateTouch();
    // Gravity as a device held level in landscape: no poll in the background.
    UIAccelerometer::sharedAccelerometer()->setDelegate(nullptr);
    s_pAtlasHolder = new CLevel(0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, size_t uiSize)
{
    FUZZ_WriteScratchFile("gamesave.dat", pData, uiSize);
    RAND_Seed(1);
    CLevel* pLevel = new CLevel(0);
    if (pLevel->Load())
    {
        BF_ASSERT(ASSERT_FILE, pLevel->iMode == LEVEL_PAUSED);
        // Quitting at once saves the game just loaded, and that file loads again.
        BF_ASSERT(ASSERT_FILE, pLevel->Save());
        CLevel* pAgain = new CLevel(0);
        BF_ASSERT(ASSERT_FILE, pAgain->Load());
        delete pAgain;
        PlayAMoment(pLevel);
        pLevel->Save();
    }
    delete pLevel;
    g_pInput->GetTouch()->init();
    return 0;
}
