#include "ScriptDriver.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "GLES.h"
#include "Game.h"
#include "HostDisplay.h"
#include "PngFile.h"

namespace
{

enum StepKind
{
    STEP_DOWN,
    STEP_MOVE,
    STEP_UP,
    STEP_KEY,
    STEP_FOCUS,
    STEP_SHOT,
    STEP_QUIT,
    STEP_SETTING,  // seed or fixed clock, applied when read
};

constexpr float SCRIPT_FIXED_FRAME_STEP = 1.0f / 60.0f;

struct ScriptStep
{
    unsigned int uiFrame;
    StepKind eKind;
    float fX;
    float fY;
    SDLKey eKey;
    bool bPressed;  // key down, focus in
    char strPath[256];
};

ScriptStep s_tSteps[MAX_SCRIPT_STEPS];
bool s_bUnpaced = false;
int s_iNumSteps = 0;
unsigned int s_uiFrame = 0;

bool ParseKey(const char* pName, SDLKey* pKey)
{
    static const struct
    {
        const char* pName;
        SDLKey eKey;
    } s_tKeys[] = {
        {"left", SDLK_LEFT},     {"right", SDLK_RIGHT}, {"f11", SDLK_F11},
        {"escape", SDLK_ESCAPE}, {"p", SDLK_p},
    };
    for (const auto& tKey : s_tKeys)
    {
        if (std::strcmp(pName, tKey.pName) == 0)
        {
            *pKey = tKey.eKey;
            return true;
        }
    }
    return false;
}

bool ParseLine(const char* pLine, ScriptStep* pStep)
{
    char strCommand[16] = {};
    char strArgument[256] = {};
    char strState[16] = {};
    float fX = 0.0f;
    float fY = 0.0f;
    unsigned int uiFrame = 0;
    int iRead = 0;
    if (std::sscanf(pLine, "%u %15s %n", &uiFrame, strCommand, &iRead) < 2)
    {
        return false;
    }
    const char* pRest = pLine + iRead;
    *pStep = ScriptStep{};
    pStep->uiFrame = uiFrame;
    const struct
    {
        const char* pName;
        StepKind eKind;
    } s_tPointers[] = {{"down", STEP_DOWN}, {"move", STEP_MOVE}, {"up", STEP_UP}};
    for (const auto& tPointer : s_tPointers)
    {
        if (std::strcmp(strCommand, tPointer.pName) == 0)
        {
            pStep->eKind = tPointer.eKind;
            // Written so that "nan" fails too: the point becomes a window position in whole
            // pixels.
            if (std::sscanf(pRest, "%f %f", &fX, &fY) != 2 ||
                !(fX >= 0.0f && fX <= 480.0f && fY >= 0.0f && fY <= 320.0f))
            {
                return false;
            }
            pStep->fX = fX;
            pStep->fY = fY;
            return true;
        }
    }
    if (std::strcmp(strCommand, "key") == 0)
    {
        pStep->eKind = STEP_KEY;
        return std::sscanf(pRest, "%255s %15s", strArgument, strState) == 2 &&
               ParseKey(strArgument, &pStep->eKey) &&
               ((pStep->bPressed = std::strcmp(strState, "down") == 0) ||
                std::strcmp(strState, "up") == 0);
    }
    if (std::strcmp(strCommand, "focus") == 0)
    {
        pStep->eKind = STEP_FOCUS;
        return std::sscanf(pRest, "%15s", strState) == 1 &&
               ((pStep->bPressed = std::strcmp(strState, "in") == 0) ||
                std::strcmp(strState, "out") == 0);
    }
    if (std::strcmp(strCommand, "shot") == 0)
    {
        pStep->eKind = STEP_SHOT;
        return std::sscanf(pRest, "%255s", pStep->strPath) == 1;
    }
    if (std::strcmp(strCommand, "quit") == 0)
    {
        pStep->eKind = STEP_QUIT;
        return true;
    }
    // Settings of the whole run: taken when the script is read, before the game starts.
    unsigned int uiSeed = 0;
    if (std::strcmp(strCommand, "seed") == 0 && uiFrame == 0 &&
        std::sscanf(pRest, "%u", &uiSeed) == 1)
    {
        pStep->eKind = STEP_SETTING;
        GAME_SeedRandom(uiSeed);
        return true;
    }
    if (std::strcmp(strCommand, "clock") == 0 && uiFrame == 0 &&
        std::sscanf(pRest, "%15s", strState) == 1 && std::strcmp(strState, "fixed") == 0)
    {
        pStep->eKind = STEP_SETTING;
        GAME_FixFrameClock(SCRIPT_FIXED_FRAME_STEP);
        return true;
    }
    if (std::strcmp(strCommand, "frames") == 0 && uiFrame == 0 &&
        std::sscanf(pRest, "%15s", strState) == 1 && std::strcmp(strState, "unpaced") == 0)
    {
        pStep->eKind = STEP_SETTING;
        s_bUnpaced = true;
        return true;
    }
    return false;
}

void PushMouse(const ScriptStep& tStep)
{
    int iWindowX = 0;
    int iWindowY = 0;
    HostDisplayGameToWindow(tStep.fX, tStep.fY, &iWindowX, &iWindowY);
    SDL_Event tEvent{};
    if (tStep.eKind == STEP_MOVE)
    {
        tEvent.type = SDL_MOUSEMOTION;
        tEvent.motion.state = SDL_BUTTON(SDL_BUTTON_LEFT);
        tEvent.motion.x = static_cast<Uint16>(iWindowX);
        tEvent.motion.y = static_cast<Uint16>(iWindowY);
    }
    else
    {
        tEvent.type = tStep.eKind == STEP_DOWN ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        tEvent.button.button = SDL_BUTTON_LEFT;
        tEvent.button.state = tStep.eKind == STEP_DOWN ? SDL_PRESSED : SDL_RELEASED;
        tEvent.button.x = static_cast<Uint16>(iWindowX);
        tEvent.button.y = static_cast<Uint16>(iWindowY);
    }
    SDL_PushEvent(&tEvent);
}

void PushStep(const ScriptStep& tStep)
{
    SDL_Event tEvent{};
    switch (tStep.eKind)
    {
        case STEP_DOWN:
        case STEP_MOVE:
        case STEP_UP:
            PushMouse(tStep);
            break;
        case STEP_KEY:
            tEvent.type = tStep.bPressed ? SDL_KEYDOWN : SDL_KEYUP;
            tEvent.key.state = tStep.bPressed ? SDL_PRESSED : SDL_RELEASED;
            tEvent.key.keysym.sym = tStep.eKey;
            SDL_PushEvent(&tEvent);
            break;
        case STEP_FOCUS:
            tEvent.type = SDL_ACTIVEEVENT;
            tEvent.active.gain = tStep.bPressed ? 1 : 0;
            tEvent.active.state = SDL_APPINPUTFOCUS;
            SDL_PushEvent(&tEvent);
            break;
        case STEP_QUIT:
            tEvent.type = SDL_QUIT;
            SDL_PushEvent(&tEvent);
            break;
        case STEP_SHOT:
        case STEP_SETTING:
            break;
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

}  // namespace

bool SCRIPT_LoadFile(const char* pPath)
{
    s_iNumSteps = 0;
    s_uiFrame = 0;
    s_bUnpaced = false;
    FILE* pFile = std::fopen(pPath, "r");
    if (pFile == nullptr)
    {
        std::printf("Script: cannot open %s\n", pPath);
        return false;
    }
    char* pLine = nullptr;  // getline's buffer: a line of any length is read whole
    size_t uiCapacity = 0;
    ssize_t iRead;
    int iLine = 0;
    while ((iRead = getline(&pLine, &uiCapacity, pFile)) >= 0)
    {
        ++iLine;
        const ssize_t iChars = iRead > 0 && pLine[iRead - 1] == '\n' ? iRead - 1 : iRead;
        if (iChars > MAX_SCRIPT_LINE)
        {
            // Skipped whole: no part of a longer line, a comment's tail included, is a step.
            std::printf("Script: %s line %d is longer than %d characters; skipped\n", pPath, iLine,
                        MAX_SCRIPT_LINE);
            continue;
        }
        char* pComment = std::strchr(pLine, '#');
        if (pComment != nullptr)
        {
            *pComment = '\0';
        }
        if (std::strspn(pLine, " \t\r\n") == std::strlen(pLine))
        {
            continue;
        }
        if (s_iNumSteps == MAX_SCRIPT_STEPS)
        {
            std::printf("Script: %s has more than %d steps; the rest is ignored\n", pPath,
                        MAX_SCRIPT_STEPS);
            break;
        }
        if (!ParseLine(pLine, &s_tSteps[s_iNumSteps]))
        {
            std::printf("Script: %s line %d is not a step; skipped\n", pPath, iLine);
            continue;
        }
        ++s_iNumSteps;
    }
    std::free(pLine);
    std::fclose(pFile);
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

void SCRIPT_BeforeFrame()
{
    for (int i = 0; i < s_iNumSteps; ++i)
    {
        if (s_tSteps[i].uiFrame == s_uiFrame)
        {
            PushStep(s_tSteps[i]);
        }
    }
}

void SCRIPT_AfterFrame()
{
    for (int i = 0; i < s_iNumSteps; ++i)
    {
        if (s_tSteps[i].uiFrame == s_uiFrame && s_tSteps[i].eKind == STEP_SHOT)
        {
            WriteShot(s_tSteps[i].strPath);
        }
    }
    ++s_uiFrame;
}

double SCRIPT_FrameInterval(double dInterval)
{
    // The active rate is the shortest the view asks for; the inactive one stays as it is.
    constexpr double NEXT_TO_NOTHING = 0.0001;
    return s_bUnpaced && dInterval < 0.1 ? NEXT_TO_NOTHING : dInterval;
}

int SCRIPT_StepCount()
{
    return s_iNumSteps;
}
