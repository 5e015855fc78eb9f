#include "Soak.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Application.h"
#include "Audio.h"
#include "FrontEnd.h"
#include "Game.h"
#include "Host.h"
#include "Level.h"
#include "Menu.h"
#include "QuadRenderBuffer.h"
#include "Touch.h"

namespace
{

// A finger on its way: down where it starts, a move a frame towards where it ends, up there.
struct SoakGesture
{
    bool bActive;
    bool bDown;  // the down step has been given
    int iFramesLeft;
    float fX;
    float fY;
    float fStepX;
    float fStepY;
};

struct SoakState
{
    bool bRunning;
    bool bFinished;
    std::uint64_t uiRandom;
    unsigned int uiNextAction;  // the frame of the next choice
    SoakGesture tGesture;
    SDLKey eHeldKey;  // SDLK_UNKNOWN when none
    unsigned int uiKeyUp;
    unsigned int uiRepeatFrame;  // a second touch on a menu item, the menus' second step; 0 none
    float fRepeatX;
    float fRepeatY;
    unsigned int uiLevelFrames;  // frames the current game has lasted
    bool bInGame;
    // The figures.
    unsigned int uiFrames;
    int iLevels;
    int iTouches;
    int iThrows;
    int iTilts;
    int iPauses;
    int iFocusChanges;
    int iPages;     // menu pages entered
    int iCredits;   // times the credits were shown
    int iSwitches;  // audio switches turned
    const CMenu* pLastPage;
    bool bLastCredits;
    int iLastAudio;  // effects and music switches, as two bits
    long lStartKb;
    long lWarmKb;
    double dStartSeconds;
};

SoakState s_Soak;
void (*s_pfnDeliver)(const ScriptStep&) = nullptr;

// SplitMix64: small, and the same sequence on every machine.
std::uint64_t NextRandom()
{
    std::uint64_t z = (s_Soak.uiRandom += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// 0 .. n - 1.
int Below(int n)
{
    return n > 0 ? static_cast<int>(NextRandom() % static_cast<std::uint64_t>(n)) : 0;
}

float Between(float fLow, float fHigh)
{
    return fLow + (fHigh - fLow) * static_cast<float>(NextRandom() >> 40) / 16777216.0f;
}

bool Chance(float fProbability)
{
    return Between(0.0f, 1.0f) < fProbability;
}

float Clamp(float f, float fLow, float fHigh)
{
    return f < fLow ? fLow : (f > fHigh ? fHigh : f);
}

void Deliver(ScriptStepKind eKind, float fX, float fY, SDLKey eKey, bool bPressed)
{
    ScriptStep tStep{};
    tStep.eKind = eKind;
    tStep.tValues[0] = Clamp(fX, 0.0f, 480.0f);
    tStep.tValues[1] = Clamp(fY, 0.0f, 320.0f);
    tStep.eKey = eKey;
    tStep.bPressed = bPressed;
    s_pfnDeliver(tStep);
}

void StartGesture(float fX, float fY, float fToX, float fToY, int iFrames)
{
    SoakGesture& tGesture = s_Soak.tGesture;
    tGesture.bActive = true;
    tGesture.bDown = false;
    tGesture.iFramesLeft = iFrames;
    tGesture.fX = fX;
    tGesture.fY = fY;
    tGesture.fStepX = (fToX - fX) / static_cast<float>(iFrames);
    tGesture.fStepY = (fToY - fY) / static_cast<float>(iFrames);
    ++s_Soak.iTouches;
}

void Tap(float fX, float fY)
{
    StartGesture(fX, fY, fX, fY, 1 + Below(5));
}

void StepGesture()
{
    SoakGesture& tGesture = s_Soak.tGesture;
    if (!tGesture.bDown)
    {
        Deliver(STEP_DOWN, tGesture.fX, tGesture.fY, SDLK_UNKNOWN, false);
        tGesture.bDown = true;
        return;
    }
    tGesture.fX += tGesture.fStepX;
    tGesture.fY += tGesture.fStepY;
    if (--tGesture.iFramesLeft > 0)
    {
        Deliver(STEP_MOVE, tGesture.fX, tGesture.fY, SDLK_UNKNOWN, false);
        return;
    }
    Deliver(STEP_UP, tGesture.fX, tGesture.fY, SDLK_UNKNOWN, false);
    tGesture.bActive = false;
}

void PressKey(SDLKey eKey)
{
    Deliver(STEP_KEY, 0.0f, 0.0f, eKey, true);
    Deliver(STEP_KEY, 0.0f, 0.0f, eKey, false);
}

void TapItem(const CMenuItem& tItem, unsigned int uiFrame)
{
    const float fX = static_cast<float>(tItem.iLeft + tItem.iRight) * 0.5f;
    const float fY = static_cast<float>(tItem.iTop + tItem.iBottom) * 0.5f;
    Tap(fX, fY);
    // Mostly the second step follows: the item acts.
    if (Chance(0.8f))
    {
        s_Soak.uiRepeatFrame = uiFrame + 10 + static_cast<unsigned int>(Below(15));
        s_Soak.fRepeatX = fX;
        s_Soak.fRepeatY = fY;
    }
}

void FrontEndAction(unsigned int uiFrame)
{
    const CMenu* pMenu = g_pFrontEnd->pCurrentMenu;
    if (g_pFrontEnd->iMode != FRONTEND_MENUS || pMenu == nullptr || Chance(0.08f))
    {
        Tap(Between(0.0f, 480.0f), Between(0.0f, 320.0f));
        return;
    }
    if (pMenu->pParent != nullptr && Chance(0.2f))
    {
        if (pMenu->pBackImage != nullptr)
        {
            Tap(pMenu->pBackImage->GetWidth() * 0.5f, pMenu->pBackImage->GetHeight() * 0.5f);
        }
        else if (pMenu->iNumItems > 0)
        {
            TapItem(*pMenu->pItems[0], uiFrame);
        }
        return;
    }
    if (pMenu->iNumItems == 0)
    {
        return;
    }
    int iItem = Below(pMenu->iNumItems);
    // On the top page Play is the likeliest choice, so that game follows game, and Options the
    // next, so that the audio switches, the instructions and the credits have their turn.
    const float fRoll = Between(0.0f, 1.0f);
    const char* pWanted = pMenu->pParent != nullptr ? nullptr
                          : fRoll < 0.3f            ? "Play"
                          : fRoll < 0.55f           ? "Options"
                                                    : nullptr;
    for (int i = 0; pWanted != nullptr && i < pMenu->iNumItems; ++i)
    {
        iItem = std::strcmp(pMenu->pItems[i]->strText, pWanted) == 0 ? i : iItem;
    }
    TapItem(*pMenu->pItems[iItem], uiFrame);
}

// A drag from a pommo that can be taken, let go somewhere around, as a throw.
bool Throw(const CLevel& tLevel)
{
    int tCandidates[MAX_POMMOS];
    int iNumCandidates = 0;
    for (int k = 0; k < MAX_POMMOS; ++k)
    {
        const CPommo* pPommo = tLevel.pPommos[k];
        if (pPommo != nullptr && !pPommo->bFlying && pPommo->iState != POMMO_FALLEN)
        {
            tCandidates[iNumCandidates++] = k;
        }
    }
    if (iNumCandidates == 0)
    {
        return false;
    }
    const CPommo* pPommo = tLevel.pPommos[tCandidates[Below(iNumCandidates)]];
    const float fX = pPommo->vScreenPoint[0] + Between(-8.0f, 8.0f);
    const float fY = pPommo->vScreenPoint[1] + Between(-8.0f, 8.0f);
    StartGesture(fX, fY, fX + Between(-150.0f, 150.0f), fY + Between(-120.0f, 60.0f),
                 3 + Below(10));
    ++s_Soak.iThrows;
    return true;
}

void PlayingAction(const CLevel& tLevel, unsigned int uiFrame)
{
    const float fRoll = Between(0.0f, 1.0f);
    // A game that has gone on for two minutes is given up now and then, so that game follows
    // game; most end with their third dropped pommo.
    if (s_Soak.uiLevelFrames > 2 * 3600 && Chance(0.05f))
    {
        Tap(470.0f, 45.0f);
    }
    else if (fRoll < 0.35f && Throw(tLevel))
    {
    }
    else if (fRoll < 0.38f)
    {
        Tap(PAUSE_BUTTON_X + 24.0f, PAUSE_BUTTON_Y + 24.0f);
        ++s_Soak.iPauses;
    }
    else if (fRoll < 0.41f)
    {
        PressKey(Chance(0.5f) ? SDLK_ESCAPE : SDLK_p);
        ++s_Soak.iPauses;
    }
    else if (fRoll < 0.60f && s_Soak.eHeldKey == SDLK_UNKNOWN)
    {
        s_Soak.eHeldKey = Chance(0.5f) ? SDLK_LEFT : SDLK_RIGHT;
        s_Soak.uiKeyUp = uiFrame + 20 + static_cast<unsigned int>(Below(220));
        Deliver(STEP_KEY, 0.0f, 0.0f, s_Soak.eHeldKey, true);
        ++s_Soak.iTilts;
    }
    else if (fRoll < 0.63f)
    {
        // Away and back in the same frame: the host waits while the focus is away.
        Deliver(STEP_FOCUS, 0.0f, 0.0f, SDLK_UNKNOWN, false);
        Deliver(STEP_FOCUS, 0.0f, 0.0f, SDLK_UNKNOWN, true);
        ++s_Soak.iFocusChanges;
    }
    else
    {
        Tap(Between(0.0f, 480.0f), Between(0.0f, 320.0f));
    }
}

void LevelAction(unsigned int uiFrame)
{
    const CLevel* pLevel = g_pGame->pLevel;
    if (pLevel == nullptr)
    {
        return;
    }
    switch (pLevel->iMode)
    {
        case LEVEL_PLAYING:
            PlayingAction(*pLevel, uiFrame);
            break;
        case LEVEL_PAUSED:
        case LEVEL_GAME_OVER:
            if (Chance(0.5f))
            {
                Tap(Between(60.0f, 420.0f), Between(40.0f, 280.0f));
            }
            break;
        default:
            break;
    }
}

void Generate(unsigned int uiFrame)
{
    if (s_Soak.tGesture.bActive)
    {
        StepGesture();
    }
    if (s_Soak.eHeldKey != SDLK_UNKNOWN && uiFrame >= s_Soak.uiKeyUp)
    {
        Deliver(STEP_KEY, 0.0f, 0.0f, s_Soak.eHeldKey, false);
        s_Soak.eHeldKey = SDLK_UNKNOWN;
    }
    if (s_Soak.tGesture.bActive || uiFrame < s_Soak.uiNextAction)
    {
        return;
    }
    if (s_Soak.uiRepeatFrame != 0 && uiFrame >= s_Soak.uiRepeatFrame)
    {
        s_Soak.uiRepeatFrame = 0;
        if (AppState == APP_FRONTEND)
        {
            Tap(s_Soak.fRepeatX, s_Soak.fRepeatY);
        }
        return;
    }
    // A player in a level waits longer between moves than one going through the menus.
    unsigned int uiWait = 4 + static_cast<unsigned int>(Below(40));
    if (AppState == APP_FRONTEND)
    {
        FrontEndAction(uiFrame);
    }
    else if (AppState == APP_GAME)
    {
        LevelAction(uiFrame);
        uiWait = 20 + static_cast<unsigned int>(Below(100));
    }
    s_Soak.uiNextAction = uiFrame + uiWait;
}

// The number after pKey in a /proc text, read with plain system calls.
long ProcNumber(const char* pPath, const char* pKey, int iField)
{
    char strText[4096];
    const int iFile = open(pPath, O_RDONLY | O_CLOEXEC);
    if (iFile < 0)
    {
        return 0;
    }
    const ssize_t iRead = read(iFile, strText, sizeof(strText) - 1);
    close(iFile);
    if (iRead <= 0)
    {
        return 0;
    }
    strText[iRead] = '\0';
    const char* p = pKey != nullptr ? std::strstr(strText, pKey) : strText;
    if (p == nullptr)
    {
        return 0;
    }
    p += pKey != nullptr ? std::strlen(pKey) : 0;
    long lValue = 0;
    for (int i = 0; i <= iField; ++i)
    {
        char* pEnd = nullptr;
        lValue = std::strtol(p, &pEnd, 10);
        if (pEnd == p)
        {
            return 0;
        }
        p = pEnd;
    }
    return lValue;
}

// What the front end showed since the frame before: pages, the credits, the switches.
void CountFrontEnd()
{
    const CMenu* pPage = g_pFrontEnd->bLoaded ? g_pFrontEnd->pCurrentMenu : nullptr;
    s_Soak.iPages += pPage != nullptr && pPage != s_Soak.pLastPage ? 1 : 0;
    s_Soak.pLastPage = pPage;
    const bool bCredits = pPage != nullptr && g_pFrontEnd->bShowCredits;
    s_Soak.iCredits += bCredits && !s_Soak.bLastCredits ? 1 : 0;
    s_Soak.bLastCredits = bCredits;
    const int iAudio =
        (g_pAudio->IsSoundEnabled() ? 1 : 0) | (g_pFrontEnd->IsMusicEnabled() ? 2 : 0);
    s_Soak.iSwitches += s_Soak.iLastAudio >= 0 && iAudio != s_Soak.iLastAudio ? 1 : 0;
    s_Soak.iLastAudio = iAudio;
}

void CheckEverything()
{
    GAME_CheckTables();
    FW_CheckTouchRing();
    UIApplication::sharedApplication()->checkQueue();
}

}  // namespace

long SOAK_ResidentKilobytes()
{
    // statm: size, then resident, in pages.
    return ProcNumber("/proc/self/statm", nullptr, 1) * (sysconf(_SC_PAGESIZE) / 1024);
}

long SOAK_PeakResidentKilobytes()
{
    return ProcNumber("/proc/self/status", "VmHWM:", 0);
}

void SOAK_Start(std::uint32_t uiSeed)
{
    s_Soak = SoakState{};
    s_Soak.bRunning = true;
    s_Soak.uiRandom = uiSeed;
    s_Soak.eHeldKey = SDLK_UNKNOWN;
    s_Soak.iLastAudio = -1;
    std::printf("Soak: seed %u; a check of every table after every frame\n", uiSeed);
}

void SOAK_Stop()
{
    s_Soak.bRunning = false;
}

bool SOAK_IsRunning()
{
    return s_Soak.bRunning;
}

void SOAK_AfterFrame(unsigned int uiFrame, void (*pfnDeliver)(const ScriptStep& tStep))
{
    if (!s_Soak.bRunning)
    {
        return;
    }
    CheckEverything();
    s_pfnDeliver = pfnDeliver;
    s_Soak.uiFrames = uiFrame + 1;
    if (uiFrame == 0)
    {
        s_Soak.lStartKb = SOAK_ResidentKilobytes();
        s_Soak.dStartSeconds = HostNow();
    }
    if (uiFrame > 0 && uiFrame % SOAK_REPORT_FRAMES == 0)
    {
        std::printf("Soak: frame %u, %d levels, resident %ld kB\n", uiFrame, s_Soak.iLevels,
                    SOAK_ResidentKilobytes());
        std::fflush(stdout);
    }
    const bool bInGame = g_pGame->bStarted;
    s_Soak.iLevels += bInGame && !s_Soak.bInGame ? 1 : 0;
    CountFrontEnd();
    if (s_Soak.lWarmKb == 0 && s_Soak.iLevels >= 2 && uiFrame >= SOAK_WARM_UP_FRAMES)
    {
        s_Soak.lWarmKb = SOAK_ResidentKilobytes();
        std::printf("Soak: warmed up at frame %u, resident %ld kB\n", uiFrame, s_Soak.lWarmKb);
    }
    s_Soak.uiLevelFrames = bInGame ? s_Soak.uiLevelFrames + 1 : 0;
    s_Soak.bInGame = bInGame;
    Generate(uiFrame);
    CheckEverything();
}

void SOAK_Finish()
{
    if (!s_Soak.bRunning || s_Soak.bFinished)
    {
        return;
    }
    s_Soak.bFinished = true;
    const float fStep = GAME_FixedFrameStep();
    const double dWall = HostNow() - s_Soak.dStartSeconds;
    const double dGame = fStep > 0.0f ? s_Soak.uiFrames * static_cast<double>(fStep) : dWall;
    std::printf(
        "Soak: %u frames, %.1f s of game time in %.1f s; %d levels, %d touches, %d throws, "
        "%d tilts, %d pauses, %d focus changes, %d menu pages, %d credits, %d audio switches; "
        "resident %ld kB at the start, %ld kB after warm-up, %ld kB at the end, peak %ld kB\n",
        s_Soak.uiFrames, dGame, dWall, s_Soak.iLevels, s_Soak.iTouches, s_Soak.iThrows,
        s_Soak.iTilts, s_Soak.iPauses, s_Soak.iFocusChanges, s_Soak.iPages, s_Soak.iCredits,
        s_Soak.iSwitches, s_Soak.lStartKb, s_Soak.lWarmKb, SOAK_ResidentKilobytes(),
        SOAK_PeakResidentKilobytes());
    std::fflush(stdout);
}
