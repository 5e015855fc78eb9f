#include "Game.h"

#include <time.h>

#include <cstdio>
#include <cstdlib>

#include "Assert.h"
#include "Audio.h"
#include "FileSystem.h"
#include "FontManager.h"
#include "FrontEnd.h"
#include "GLES.h"
#include "HighScore.h"
#include "Host.h"
#include "Input.h"
#include "Level.h"
#include "LevelSounds.h"
#include "MusicPlayer.h"
#include "Random.h"
#include "Screen.h"
#include "Settings.h"
#include "Textures.h"
#include "TouchArea.h"

int AppState = APP_FRONTEND;
CAudio* g_pAudio = nullptr;
FontManager* g_pFontManager = nullptr;
TouchAreaManager* g_pTouchAreaManager = nullptr;
MusicPlayer* g_pMusicPlayer = nullptr;
CFrameTimer* g_pFrameTimer = nullptr;
CFrontEnd* g_pFrontEnd = nullptr;
CGame* g_pGame = nullptr;
bool bResumeSavedGame = false;

namespace
{

constexpr int HUD_FONT_CAPACITY = 2048;  // vertices: 512 characters a frame

unsigned int s_uiFrames = 0;
// The level was saved when the application went to the background, and that file has not been
// taken back yet.
bool s_bSavedForBackground = false;
bool s_bSeedGiven = false;
std::uint32_t s_uiSeed = 0;
float s_fFixedStep = 0.0f;

std::int64_t NowNanoseconds()
{
    timespec tNow;
    clock_gettime(CLOCK_MONOTONIC, &tNow);
    return static_cast<std::int64_t>(tNow.tv_sec) * 1000000000 + tNow.tv_nsec;
}

std::int64_t (*s_pfnFrameClock)() = NowNanoseconds;

bool SavedGameExists()
{
    FILE* pFile = FS_OpenSaveFile(SAVE_FILE_NAME, "rb");
    if (pFile == nullptr)
    {
        return false;
    }
    std::fclose(pFile);
    return true;
}

void DrawFrontEnd()
{
    SCREEN_Clear();
    SCREEN_Set2D();
    g_pFrontEnd->Render();
}

void DrawGame()
{
    SCREEN_Clear();
    g_pGame->Draw();
}

// The end of a fade frame: the next state once the fade has run its course, then the fade's
// veil over what was drawn.
void FinishFade(bool bDone, int iNextState)
{
    if (bDone)
    {
        AppState = iNextState;
    }
    FADE_Draw();
}

}  // namespace

CFrameTimer::CFrameTimer() : iStamp(s_pfnFrameClock()), fGathered(0.0f), fLastFrame(0.0f) {}

void CFrameTimer::Tick()
{
    const std::int64_t iNow = s_pfnFrameClock();
    float fSeconds = static_cast<float>(static_cast<double>(iNow - iStamp) * 1e-9);
    iStamp = iNow;
    if (s_fFixedStep > 0.0f)
    {
        fSeconds = s_fFixedStep;
    }
    fLastFrame = fSeconds < MAX_FRAME_TIME ? fSeconds : MAX_FRAME_TIME;
    fGathered += fLastFrame;
}

float CFrameTimer::Elapsed(bool bReset)
{
    const float fSeconds = fGathered;
    if (bReset)
    {
        fGathered = 0.0f;
    }
    return fSeconds;
}

CGame::CGame() : pFont(nullptr), pLevel(nullptr), bStarted(false) {}

CGame::~CGame()
{
    End();
}

bool CGame::Start()
{
    pFont = g_pFontManager->LoadFont("Boughfall", HUD_FONT_CAPACITY);
    if (pFont == nullptr)
    {
        GAME_FatalMissingData("the font \"Boughfall\"");
    }
    LEVEL_LoadYawnSounds();
    g_pFrameTimer->Elapsed(true);
    delete pLevel;
    pLevel = new CLevel(0);
    bStarted = true;
    return true;
}

bool CGame::Update()
{
    const float dt = g_pFrameTimer->Elapsed(true);
    return pLevel->Update(dt);
}

void CGame::Draw()
{
    SCREEN_Set2D();
    pLevel->Draw(pFont);
    if (pFont != nullptr)
    {
        pFont->RenderText(true);
    }
}

void CGame::End()
{
    if (!bStarted)
    {
        return;
    }
    delete pLevel;
    pLevel = nullptr;
    g_pFontManager->ReleaseFont(pFont);
    pFont = nullptr;
    g_pAudio->StopMusic();
    g_pAudio->PrintMusicState();
    bStarted = false;
}

bool CGame::Save()
{
    return pLevel != nullptr && pLevel->Save();
}

bool CGame::Load()
{
    return pLevel != nullptr && pLevel->Load();
}

void GAME_FatalMissingData(const char* pWhat)
{
    std::printf("Boughfall cannot run: %s is missing or damaged in %s\n", pWhat,
                FS_ResourceDirectory());
    std::fflush(stdout);
    HostShutdown();
    std::exit(1);
}

void GAME_SeedRandom(std::uint32_t uiSeed)
{
    s_bSeedGiven = true;
    s_uiSeed = uiSeed;
}

void GAME_FixFrameClock(float fStep)
{
    s_fFixedStep = fStep > 0.0f ? fStep : 0.0f;
}

float GAME_FixedFrameStep()
{
    return s_fFixedStep;
}

float GAME_LastFrameStep()
{
    return g_pFrameTimer != nullptr ? g_pFrameTimer->fLastFrame : 0.0f;
}

void GAME_SetClock(std::int64_t (*pfnNow)())
{
    s_pfnFrameClock = pfnNow != nullptr ? pfnNow : NowNanoseconds;
}

void GAME_Init()
{
    AppState = APP_FRONTEND;
    s_bSavedForBackground = false;
    RAND_Seed(s_bSeedGiven ? s_uiSeed : static_cast<std::uint32_t>(NowNanoseconds()));
    g_pAudio = new CAudio();
    if (!SETTINGS_EffectsEnabled())  // as the player left the switches
    {
        g_pAudio->DisableSound();
    }
    g_pInput = new CInput();
    g_pFontManager = new FontManager();
    g_pTouchAreaManager = new TouchAreaManager();
    g_pMusicPlayer = new MusicPlayer();
    g_pMusicPlayer->Init();
    if (!SETTINGS_MusicEnabled())
    {
        g_pMusicPlayer->Disable();
    }
    g_pMusicPlayer->Play();  // the title music starts at once
    FS_SetupDirectories();
    TEX_ResetTextures();
    g_pFrameTimer = new CFrameTimer();
    glClearColor(0.25f, 0.25f, 1.0f, 1.0f);
    glPointSize(2.0f);
    glCullFace(GL_BACK);
    SCORE_CheckFile();
    g_pFrontEnd = new CFrontEnd();
    g_pFrontEnd->SetMusicEnabled(g_pMusicPlayer->IsEnabled());
    g_pGame = new CGame();
    FADE_Set(1.0f);
    bResumeSavedGame = SavedGameExists();
    g_pFrontEnd->Init(bResumeSavedGame ? FRONTEND_SPLASH_THEN_LEAVE : FRONTEND_SPLASH_THEN_TITLE);
    s_uiFrames = 0;
}

void GAME_Frame()
{
    g_pFrameTimer->Tick();
    switch (AppState)
    {
        case APP_LEAVE_GAME:
            g_pGame->End();
            g_pFrontEnd->SetMusicEnabled(g_pMusicPlayer->IsEnabled());
            g_pFrontEnd->Init(FRONTEND_TITLE_FADE_IN);
            AppState = APP_FRONTEND_FADE_IN;
            [[fallthrough]];
        case APP_FRONTEND_FADE_IN:
            DrawFrontEnd();
            FinishFade(FADE_StepIn(), APP_FRONTEND);
            break;
        case APP_FRONTEND:
            if (!g_pFrontEnd->Update())
            {
                if (bResumeSavedGame)
                {
                    // Straight into the saved game next frame; this one shows nothing.
                    AppState = APP_START_GAME;
                    SCREEN_Clear();
                    break;
                }
                AppState = APP_FRONTEND_FADE_OUT;
            }
            if (g_pFrontEnd->IsMusicEnabled())
            {
                g_pMusicPlayer->Enable();
            }
            else
            {
                g_pMusicPlayer->Disable();
            }
            DrawFrontEnd();
            break;
        case APP_FRONTEND_FADE_OUT:
            DrawFrontEnd();
            FinishFade(FADE_StepOut(), APP_START_GAME);
            break;
        case APP_START_GAME:
            g_pFrontEnd->Free();
            g_pGame->Start();
            if (bResumeSavedGame)
            {
                // The saved game is taken up once: the file goes whether or not it was usable.
                bResumeSavedGame = false;
                FADE_Set(1.0f);
                const bool bLoaded = g_pGame->Load();
                FS_RemoveSaveFile(SAVE_FILE_NAME);
                if (!bLoaded)
                {
                    AppState = APP_LEAVE_GAME;
                    SCREEN_Clear();
                    break;
                }
            }
            AppState = APP_GAME_FADE_IN;
            if (g_pFrontEnd->IsMusicEnabled())
            {
                g_pMusicPlayer->Play();
            }
            [[fallthrough]];
        case APP_GAME_FADE_IN:
            DrawGame();
            FinishFade(FADE_StepIn(), APP_GAME);
            break;
        case APP_GAME:
            if (!g_pGame->Update())
            {
                AppState = APP_GAME_FADE_OUT;
            }
            DrawGame();
            break;
        case APP_GAME_FADE_OUT:
            DrawGame();
            FinishFade(FADE_StepOut(), APP_LEAVE_GAME);
            break;
        default:
            std::printf("Unknown application state %d: back to the front end\n", AppState);
            AppState = APP_LEAVE_GAME;
            break;
    }
    g_pMusicPlayer->Update();
    g_pAudio->UpdateMusic();
    g_pInput->clear();
    ++s_uiFrames;
}

void GAME_PauseLevel()
{
    if (g_pGame != nullptr && g_pGame->pLevel != nullptr)
    {
        g_pGame->pLevel->Pause();
    }
}

void GAME_TogglePause()
{
    if (g_pGame != nullptr && g_pGame->pLevel != nullptr)
    {
        g_pGame->pLevel->TogglePause();
    }
}

void GAME_Back()
{
    if (AppState == APP_FRONTEND && g_pFrontEnd != nullptr)
    {
        g_pFrontEnd->GoBack();
    }
    else
    {
        GAME_TogglePause();
    }
}

void GAME_EnterBackground()
{
    GAME_PauseLevel();
    // As at a quit: only a level in play (playing or paused) is written; a fade, the front end
    // or a game that is over writes nothing.
    if (AppState == APP_GAME && g_pGame->Save())
    {
        s_bSavedForBackground = true;
    }
}

void GAME_EnterForeground()
{
    if (s_bSavedForBackground)
    {
        s_bSavedForBackground = false;
        FS_RemoveSaveFile(SAVE_FILE_NAME);
    }
}

void GAME_Shutdown()
{
    std::printf("Shutting down after %u frames\n", s_uiFrames);
    if (AppState == APP_GAME)
    {
        g_pGame->Save();
    }
    delete g_pGame;
    g_pGame = nullptr;
    delete g_pFrontEnd;  // frees what it holds
    g_pFrontEnd = nullptr;
    g_pMusicPlayer->InstantStop();
    delete g_pMusicPlayer;
    g_pMusicPlayer = nullptr;
    delete g_pAudio;
    g_pAudio = nullptr;
    LEVEL_ForgetSounds();
    delete g_pFontManager;
    g_pFontManager = nullptr;
    delete g_pTouchAreaManager;
    g_pTouchAreaManager = nullptr;
    delete g_pFrameTimer;
    g_pFrameTimer = nullptr;
    delete g_pInput;
    g_pInput = nullptr;
}

unsigned int GAME_FrameCount()
{
    return s_uiFrames;
}

void GAME_CheckTables()
{
    BF_ASSERT("source/base/Game", AppState >= APP_LEAVE_GAME && AppState <= APP_GAME_FADE_IN);
    BF_ASSERT("source/base/Game", g_pGame != nullptr && g_pFrontEnd != nullptr);
    // A level exists exactly while a game is under way.
    BF_ASSERT("source/base/Game", (g_pGame->pLevel != nullptr) == g_pGame->bStarted);
    if (g_pGame->pLevel != nullptr)
    {
        g_pGame->pLevel->CheckTables();
    }
    g_pFrontEnd->CheckTables();
    TEX_CheckTable();
    g_pFontManager->CheckSlots();
    g_pTouchAreaManager->CheckTable();
    g_pAudio->CheckTables();
    if (g_pInput->GetTouch() != nullptr)
    {
        g_pInput->GetTouch()->CheckSlots();
    }
}
