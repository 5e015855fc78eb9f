#include "ScriptDriver.h"

#include <SDL.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "Application.h"
#include "FileSystem.h"
#include "GLES.h"
#include "Game.h"
#include "Host.h"
#include "HostAccel.h"
#include "HostDisplay.h"
#include "Input.h"
#include "LineReader.h"
#include "PngFile.h"
#include "Replay.h"
#include "Settings.h"
#include "Soak.h"

namespace
{

ScriptStep s_tSteps[MAX_SCRIPT_STEPS];
int s_iNumSteps = 0;
ScriptRunSettings s_tRun;  // of the script or the replay
bool s_bReplay = false;
unsigned int s_uiFrame = 0;      // the frame being drawn, or the next one
unsigned int s_uiLastDrawn = 0;  // the frame input noted now follows

bool Terminating()
{
    return UIApplication::sharedApplication()->isTerminating();
}

// Input reaches the game as the host would hand it on: the finger joins the mouse's path once
// positions are mapped, keys, focus and quit are SDL events. Touches then go from the
// application's queue to the game at once, so every step is in the game before the next.
void DeliverInput(const ScriptStep& tStep)
{
    SDL_Event tEvent{};
    switch (tStep.eKind)
    {
        case STEP_DOWN:
            HostScriptedFinger(HOST_FINGER_DOWN, tStep.tValues[0], tStep.tValues[1]);
            break;
        case STEP_MOVE:
            HostScriptedFinger(HOST_FINGER_MOVE, tStep.tValues[0], tStep.tValues[1]);
            break;
        case STEP_UP:
            HostScriptedFinger(HOST_FINGER_UP, tStep.tValues[0], tStep.tValues[1]);
            break;
        case STEP_KEY:
            tEvent.type = tStep.bPressed ? SDL_KEYDOWN : SDL_KEYUP;
            tEvent.key.state = tStep.bPressed ? SDL_PRESSED : SDL_RELEASED;
            tEvent.key.keysym.sym = tStep.eKey;
            HostHandleEvent(&tEvent);
            break;
        case STEP_FOCUS:
            tEvent.type = SDL_ACTIVEEVENT;
            tEvent.active.gain = tStep.bPressed ? 1 : 0;
            tEvent.active.state = SDL_APPINPUTFOCUS;
            HostHandleEvent(&tEvent);
            break;
        case STEP_QUIT:
            tEvent.type = SDL_QUIT;
            HostHandleEvent(&tEvent);
            break;
        default:
            break;
    }
    UIApplication::sharedApplication()->sendQueuedEvents();
}

void ApplyFrameSetting(const ScriptStep& tStep)
{
    if (tStep.eKind == STEP_DT)
    {
        GAME_FixFrameClock(tStep.tValues[0]);
    }
    else if (tStep.eKind == STEP_ACCEL && g_pInput != nullptr)
    {
        g_pInput->GetAccelerometer()->HoldVector(tStep.tValues);
    }
}

void WriteShot(const char* pPath)
{
    const HostDisplayRect tGame = HostDisplayGameRect();
    std::vector<std::uint8_t> tPixels(static_cast<size_t>(tGame.iWidth) * tGame.iHeight * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(tGame.iX, tGame.iY, tGame.iWidth, tGame.iHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                 tPixels.data());
    if (PNG_WriteRGBA(pPath, tGame.iWidth, tGame.iHeight, tPixels.data(), true))
    {
        std::printf("Screenshot of frame %u: %s\n", s_uiFrame, pPath);
    }
}

// A step after its frame is drawn: a screenshot, or input.
void TakeStep(const ScriptStep& tStep)
{
    if (tStep.eKind == STEP_SHOT)
    {
        WriteShot(tStep.strText);
    }
    else if (tStep.eKind == STEP_STAMP)
    {
        timespec tNow;
        clock_gettime(CLOCK_REALTIME, &tNow);
        std::printf("Frame %u drawn at %lld.%09ld\n", s_uiFrame,
                    static_cast<long long>(tNow.tv_sec), tNow.tv_nsec);
        std::fflush(stdout);
    }
    else if (!Terminating())
    {
        DeliverInput(tStep);
    }
}

// The frame the input noted now follows: the one drawn last (nothing is pumped before the
// first frame is shown).
unsigned int NoteFrame()
{
    return s_uiLastDrawn;
}

}  // namespace

bool SCRIPT_LoadFile(const char* pPath)
{
    s_iNumSteps = 0;
    s_uiFrame = 0;
    s_uiLastDrawn = 0;
    s_bReplay = false;
    SCRIPT_ClearRunSettings(&s_tRun);
    FILE* pFile = std::fopen(pPath, "r");
    if (pFile == nullptr)
    {
        std::printf("Script: cannot open %s\n", pPath);
        return false;
    }
    char strLine[MAX_SCRIPT_LINE + 1];
    bool bBinary = false;  // a NUL byte ends what a line says, as it always has
    bool bEnded = false;
    HostLineRead eRead;
    int iLine = 0;
    while ((eRead = HostReadLine(pFile, strLine, sizeof(strLine), &bBinary, &bEnded)) !=
           HOST_LINE_END)
    {
        ++iLine;
        if (eRead == HOST_LINE_TOO_LONG)
        {
            // Skipped whole: no part of a longer line, a comment's tail included, is a step.
            std::printf("Script: %s line %d is longer than %d characters; skipped\n", pPath, iLine,
                        MAX_SCRIPT_LINE);
            continue;
        }
        ScriptStep tStep;
        const char* pWhy = "";
        const ScriptLineRead eStep = SCRIPT_ParseLine(strLine, &tStep, &pWhy);
        if (eStep == SCRIPT_LINE_EMPTY)
        {
            continue;
        }
        if (eStep == SCRIPT_LINE_STEP && SCRIPT_IsRunSetting(tStep.eKind))
        {
            if (!SCRIPT_GatherRunSetting(tStep, &s_tRun, &pWhy))
            {
                std::printf("Script: %s line %d: %s; skipped\n", pPath, iLine, pWhy);
            }
            continue;
        }
        if (eStep == SCRIPT_LINE_BAD)
        {
            std::printf("Script: %s line %d is not a step (%s); skipped\n", pPath, iLine, pWhy);
            continue;
        }
        if (s_iNumSteps == MAX_SCRIPT_STEPS)
        {
            std::printf("Script: %s has more than %d steps; the rest is ignored\n", pPath,
                        MAX_SCRIPT_STEPS);
            break;
        }
        s_tSteps[s_iNumSteps++] = tStep;
    }
    std::fclose(pFile);
    HostIgnoreWindowFocus(true);
    const char* pWhy = "";
    if (!SCRIPT_FinishRunSettings(s_tRun, &pWhy))
    {
        std::printf("Script: %s: %s; the save files are left as they are\n", pPath, pWhy);
        for (ScriptStartFile& tFile : s_tRun.tFiles)
        {
            tFile.bGiven = false;
        }
    }
    if (s_tRun.tFiles[0].bGiven || s_tRun.tFiles[1].bGiven)
    {
        FS_SetupDirectories();
    }
    SCRIPT_ApplyRunSettings(s_tRun, false);
    HostAccelFollowFrameClock(s_tRun.bFixedClock);
    if (s_tRun.bSoak)
    {
        SOAK_Start(s_tRun.uiSoakSeed);
    }
    else
    {
        SOAK_Stop();
    }
    return true;
}

void SCRIPT_Load()
{
    const char* pPath = std::getenv("BOUGHFALL_SCRIPT");
    if (pPath != nullptr && pPath[0] != '\0')
    {
        SCRIPT_LoadFile(pPath);
    }
}

bool SCRIPT_LoadReplay(const char* pPath)
{
    s_iNumSteps = 0;
    s_uiFrame = 0;
    if (!REPLAY_Open(pPath, &s_tRun))
    {
        return false;
    }
    s_bReplay = true;
    // The replay's own save folder, as the session found it; the player's settings stay as they
    // are whatever the replay touches; the player's hand is not taken.
    FS_UseSaveFolder("Replay");
    FS_SetupDirectories();
    SETTINGS_KeepForThisRun();
    HostIgnorePlayerInput(true);
    GAME_FixFrameClock(SCRIPT_FIXED_FRAME_STEP);
    std::printf("Replaying %s; its saved game and high score go to %s\n", pPath,
                FS_SaveDirectory());
    return SCRIPT_ApplyRunSettings(s_tRun, true);
}

bool SCRIPT_StartRecording(const char* pPath)
{
    // A session given no seed takes one from the clock, as the game would, and writes it down.
    if (!s_tRun.bSeed)
    {
        s_tRun.bSeed = true;
        s_tRun.uiSeed = static_cast<std::uint32_t>(static_cast<std::uint64_t>(HostNow() * 1e9));
        GAME_SeedRandom(s_tRun.uiSeed);
    }
    FS_SetupDirectories();
    return REPLAY_StartRecording(pPath, s_tRun.uiSeed, s_tRun.bUnpaced);
}

void SCRIPT_BeforeFrame()
{
    if (s_bReplay)
    {
        if (s_uiFrame == 0 && g_pInput != nullptr)
        {
            // As the recording counts it until its first "accel": nothing read yet.
            const float tNothing[3] = {0.0f, 0.0f, 0.0f};
            g_pInput->GetAccelerometer()->HoldVector(tNothing);
        }
        for (const ScriptStep* pStep = REPLAY_Peek();
             pStep != nullptr && pStep->uiFrame == s_uiFrame && SCRIPT_IsFrameSetting(pStep->eKind);
             pStep = REPLAY_Peek())
        {
            ApplyFrameSetting(*pStep);
            REPLAY_Next();
        }
        return;
    }
    for (int i = 0; i < s_iNumSteps; ++i)
    {
        if (s_tSteps[i].uiFrame == s_uiFrame && SCRIPT_IsFrameSetting(s_tSteps[i].eKind))
        {
            ApplyFrameSetting(s_tSteps[i]);
        }
    }
    // On the fixed clock the device's samples and lean come from the game's time as well.
    HostAccelAdvance(GAME_FixedFrameStep());
}

void SCRIPT_AfterFrame()
{
    s_uiLastDrawn = s_uiFrame;
    REPLAY_RecordFrame(s_uiFrame);
    if (s_bReplay)
    {
        for (const ScriptStep* pStep = REPLAY_Peek();
             pStep != nullptr && pStep->uiFrame == s_uiFrame; pStep = REPLAY_Peek())
        {
            TakeStep(*pStep);
            REPLAY_Next();
        }
    }
    if (!Terminating())
    {
        SOAK_AfterFrame(s_uiFrame, DeliverInput);
    }
    for (int i = 0; i < s_iNumSteps; ++i)
    {
        if (s_tSteps[i].uiFrame == s_uiFrame && SCRIPT_IsInput(s_tSteps[i].eKind))
        {
            TakeStep(s_tSteps[i]);
        }
    }
    ++s_uiFrame;
}

void SCRIPT_NoteTouch(int iPhase, float fLogicalX, float fLogicalY)
{
    if (!REPLAY_IsRecording())
    {
        return;
    }
    static const char* const s_pPhases[] = {"down", "move", "up"};
    char strStep[64];
    // The game's point: x along the logical y axis, y along the logical x axis.
    std::snprintf(strStep, sizeof(strStep), "%s %d %d", s_pPhases[iPhase],
                  static_cast<int>(fLogicalY), static_cast<int>(fLogicalX));
    REPLAY_RecordStep(NoteFrame(), strStep);
}

void SCRIPT_NotePause()
{
    REPLAY_RecordStep(NoteFrame(), "key p down");
}

void SCRIPT_NoteBack()
{
    REPLAY_RecordStep(NoteFrame(), "key escape down");
}

void SCRIPT_NoteFocus(bool bIn)
{
    REPLAY_RecordStep(NoteFrame(), bIn ? "focus in" : "focus out");
}

void SCRIPT_NoteQuit()
{
    SOAK_Finish();
    REPLAY_RecordQuit(NoteFrame());
}

double SCRIPT_FrameInterval(double dInterval)
{
    // The active rate is the shortest the view asks for; the inactive one stays as it is.
    constexpr double NEXT_TO_NOTHING = 0.0001;
    return s_tRun.bUnpaced && dInterval < 0.1 ? NEXT_TO_NOTHING : dInterval;
}

int SCRIPT_StepCount()
{
    return s_iNumSteps;
}
