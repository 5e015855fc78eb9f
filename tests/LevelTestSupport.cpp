#include "LevelTestSupport.h"

#include <SDL.h>

#include "Audio.h"
#include "FileSystem.h"
#include "Fonts.h"
#include "GLES.h"
#include "Game.h"
#include "Host.h"
#include "HostDisplay.h"
#include "Input.h"
#include "LevelSounds.h"
#include "Random.h"
#include "Screen.h"
#include "TestSupport.h"
#include "Textures.h"

void LevelTest::SetUpTestSuite()
{
    ASSERT_TRUE(TEST_OpenGLWindow(480, 320));
    // The window is the desktop's: the game's picture fills it, turned upright.
    HostDisplaySetForTest(true, 480, 320);
    ASSERT_TRUE(TEST_OpenMixer(22050, 1));
    FS_SetResourceDirectory(std::getenv("BF_DATA_DIR"));
    TEX_ResetTextures();
    g_pAudio = new CAudio();
    g_pInput = new CInput();
    g_pInput->CreateTouch();
    // The tests give the tilt themselves: no poll in the background.
    UIAccelerometer::sharedAccelerometer()->setDelegate(nullptr);
}

void LevelTest::TearDownTestSuite()
{
    delete g_pInput;
    g_pInput = nullptr;
    delete g_pAudio;
    g_pAudio = nullptr;
    LEVEL_ForgetSounds();
    // The display stays open, as the window tests keep it, so that Mesa's driver is still
    // loaded when the leak checker looks.
    TEST_CloseMixer();
}

void LevelTest::SetUp()
{
    strSaveDir = TEST_MakeTempDir("level");
    FS_SetSaveDirectory(strSaveDir.c_str());
    Tilt(-1.0f, 0.0f);
}

void LevelTest::TearDown()
{
    delete pLevel;
    pLevel = nullptr;
    g_pInput->GetTouch()->init();
}

CLevel* LevelTest::NewLevel(unsigned int uiSeed)
{
    delete pLevel;
    RAND_Seed(uiSeed);
    pLevel = new CLevel(0);
    DrawFrame();
    return pLevel;
}

void LevelTest::Play()
{
    pLevel->iMode = LEVEL_PLAYING;
}

int LevelTest::Spawn()
{
    bool bWasFilled[MAX_POMMOS];
    for (int k = 0; k < MAX_POMMOS; ++k)
    {
        bWasFilled[k] = pLevel->pPommos[k] != nullptr;
    }
    const int iMode = pLevel->iMode;
    pLevel->iMode = LEVEL_PLAYING;
    pLevel->fSpawnAccumulator = 1.0f;
    pLevel->Update(0.0f);
    pLevel->iMode = iMode;
    for (int k = 0; k < MAX_POMMOS; ++k)
    {
        if (!bWasFilled[k] && pLevel->pPommos[k] != nullptr)
        {
            return k;
        }
    }
    return -1;
}

int LevelTest::SpawnOne()
{
    int k = Spawn();
    while (k < 0)
    {
        k = Spawn();
    }
    return k;
}

void LevelTest::FillEverySlot()
{
    int iFilled = 0;
    while (iFilled < MAX_POMMOS)
    {
        const int k = Spawn();
        if (k >= 0)
        {
            pLevel->pPommos[k]->bFlying = 1;
            pLevel->pPommos[k]->vPosition[1] = 5000.0f;
            ++iFilled;
        }
    }
}

void LevelTest::AboutToLand(int iSlot, float x, int iState, bool bThrownUp)
{
    CPommo* pPommo = pLevel->pPommos[iSlot];
    ASSERT_NE(pPommo, nullptr);
    pPommo->bFlying = 1;
    pPommo->bThrownUp = bThrownUp ? 1 : 0;
    pPommo->iState = iState;
    pPommo->vPosition[0] = x;
    pPommo->vPosition[1] = 3.0f;
}

void LevelTest::AboutToDrop(int iSlot)
{
    CPommo* pPommo = pLevel->pPommos[iSlot];
    ASSERT_NE(pPommo, nullptr);
    pPommo->iState = POMMO_OVERRIPE;
    pPommo->iFace = FACE_OVERRIPE;
    pPommo->fFaceTimer = 5.0f;
}

void LevelTest::Touch(int x, int y, int iAge, int iState)
{
    sTouch& tTouch = g_pInput->getTouches()[0];
    tTouch.x = x;
    tTouch.y = y;
    tTouch.iAge = iAge;
    tTouch.state = iState;
}

void LevelTest::TouchDown(int x, int y)
{
    Touch(x, y, 0, 1);
    pLevel->TouchesBegan();
}

void LevelTest::TouchMove(int x, int y)
{
    Touch(x, y, g_pInput->getTouches()[0].iAge + 1, 2);
    pLevel->TouchesMoved();
}

void LevelTest::TouchUp(int x, int y)
{
    Touch(x, y, -1, 0);
    pLevel->TouchesEnded();
}

void LevelTest::Tilt(float x, float y)
{
    UIAcceleration tSample{0.0, x, y, 0.0f};
    for (int i = 0; i < 2000; ++i)
    {
        g_pInput->GetAccelerometer()->accelerometerDidAccelerate(nullptr, &tSample);
    }
}

void LevelTest::DrawFrame(CFont* pFont)
{
    // As the game draws a frame: the device viewport, a clear, the 2D space, the level, its text.
    HostDisplayViewport(0, 0, 320, 480);
    SCREEN_Clear();
    SCREEN_Set2D();
    pLevel->Draw(pFont);
    if (pFont != nullptr)
    {
        pFont->RenderText(true);
    }
}
