#include "ScriptStep.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "FileSystem.h"
#include "Game.h"

const char* const SCRIPT_START_FILE_NAMES[SCRIPT_NUM_START_FILES] = {"gamesave.dat", "score.dat"};

namespace
{

constexpr int MAX_WORDS = 6;  // the longest step, "accel x y z", has five

constexpr float MAX_DT = 86400.0f;  // a day: a machine that slept still replays
constexpr float MAX_ACCEL = 16.0f;  // g on any axis; the devices read at most about 2

const struct
{
    const char* pName;
    SDLKey eKey;
} KEYS[] = {
    {"left", SDLK_LEFT},     {"right", SDLK_RIGHT}, {"f11", SDLK_F11},
    {"escape", SDLK_ESCAPE}, {"p", SDLK_p},
};

struct Words
{
    char strCopy[SCRIPT_MAX_LINE];
    const char* pWords[MAX_WORDS];
    int iCount;
};

// Splits the line at blanks, up to its comment; false when it has more words than any step.
bool Split(const char* pLine, Words* pWords)
{
    std::snprintf(pWords->strCopy, sizeof(pWords->strCopy), "%s", pLine);
    char* pComment = std::strchr(pWords->strCopy, '#');
    if (pComment != nullptr)
    {
        *pComment = '\0';
    }
    pWords->iCount = 0;
    char* pSave = nullptr;
    for (char* pWord = strtok_r(pWords->strCopy, " \t\r\n", &pSave); pWord != nullptr;
         pWord = strtok_r(nullptr, " \t\r\n", &pSave))
    {
        if (pWords->iCount == MAX_WORDS)
        {
            return false;
        }
        pWords->pWords[pWords->iCount++] = pWord;
    }
    return true;
}

// Digits only, at most iMaxDigits of them.
bool ReadUnsigned(const char* pWord, int iMaxDigits, std::uint32_t* pValue)
{
    const size_t uiLength = std::strlen(pWord);
    if (uiLength == 0 || uiLength > static_cast<size_t>(iMaxDigits))
    {
        return false;
    }
    std::uint64_t uiValue = 0;
    for (const char* p = pWord; *p != '\0'; ++p)
    {
        if (!std::isdigit(static_cast<unsigned char>(*p)))
        {
            return false;
        }
        uiValue = uiValue * 10 + static_cast<std::uint64_t>(*p - '0');
    }
    if (uiValue > 0xFFFFFFFFull)
    {
        return false;
    }
    *pValue = static_cast<std::uint32_t>(uiValue);
    return true;
}

// A finite number, the whole word, within [fLow, fHigh].
bool ReadFloat(const char* pWord, float fLow, float fHigh, float* pValue)
{
    char* pEnd = nullptr;
    const float fValue = std::strtof(pWord, &pEnd);
    if (pEnd == pWord || *pEnd != '\0' || !std::isfinite(fValue) || fValue < fLow || fValue > fHigh)
    {
        return false;
    }
    *pValue = fValue;
    return true;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
    {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f')
    {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F')
    {
        return c - 'A' + 10;
    }
    return -1;
}

bool ReadHex(const char* pWord, ScriptStep* pStep)
{
    const size_t uiLength = std::strlen(pWord);
    if (uiLength == 0 || uiLength % 2 != 0 || uiLength > 2 * SCRIPT_BYTES_PER_LINE)
    {
        return false;
    }
    for (size_t i = 0; i < uiLength; i += 2)
    {
        const int iHigh = HexDigit(pWord[i]);
        const int iLow = HexDigit(pWord[i + 1]);
        if (iHigh < 0 || iLow < 0)
        {
            return false;
        }
        pStep->tBytes[i / 2] = static_cast<std::uint8_t>(iHigh * 16 + iLow);
    }
    pStep->uiNumber = static_cast<std::uint32_t>(uiLength / 2);
    return true;
}

int StartFileIndex(const char* pName)
{
    for (int i = 0; i < SCRIPT_NUM_START_FILES; ++i)
    {
        if (std::strcmp(pName, SCRIPT_START_FILE_NAMES[i]) == 0)
        {
            return i;
        }
    }
    return -1;
}

// The step's arguments, words 2 and on; false with *ppWhy.
bool ReadArguments(const Words& tWords, ScriptStep* pStep, const char** ppWhy)
{
    const char* pCommand = tWords.pWords[1];
    const char* const* pArgs = tWords.pWords + 2;
    const int iArgs = tWords.iCount - 2;
    static const struct
    {
        const char* pName;
        ScriptStepKind eKind;
        int iArgs;
    } s_tCommands[] = {
        {"down", STEP_DOWN, 2},      {"move", STEP_MOVE, 2},   {"up", STEP_UP, 2},
        {"key", STEP_KEY, 2},        {"focus", STEP_FOCUS, 1}, {"quit", STEP_QUIT, 0},
        {"stamp", STEP_STAMP, 0},    {"shot", STEP_SHOT, 1},   {"dt", STEP_DT, 1},
        {"accel", STEP_ACCEL, 3},    {"seed", STEP_SEED, 1},   {"clock", STEP_CLOCK_FIXED, 1},
        {"frames", STEP_UNPACED, 1}, {"soak", STEP_SOAK, 1},   {"file", STEP_FILE, 2},
        {"bytes", STEP_BYTES, 1},
    };
    int iCommand = 0;
    const int iNumCommands = static_cast<int>(sizeof(s_tCommands) / sizeof(s_tCommands[0]));
    while (iCommand < iNumCommands && std::strcmp(pCommand, s_tCommands[iCommand].pName) != 0)
    {
        ++iCommand;
    }
    static char s_strWhy[96];  // frame thread only
    if (iCommand == iNumCommands)
    {
        std::snprintf(s_strWhy, sizeof(s_strWhy), "unknown step \"%.32s\"", pCommand);
        *ppWhy = s_strWhy;
        return false;
    }
    pStep->eKind = s_tCommands[iCommand].eKind;
    if (iArgs != s_tCommands[iCommand].iArgs)
    {
        std::snprintf(s_strWhy, sizeof(s_strWhy), "\"%s\" takes %d argument%s, not %d", pCommand,
                      s_tCommands[iCommand].iArgs, s_tCommands[iCommand].iArgs == 1 ? "" : "s",
                      iArgs);
        *ppWhy = s_strWhy;
        return false;
    }
    if (SCRIPT_IsRunSetting(pStep->eKind) && pStep->uiFrame != 0)
    {
        *ppWhy = "a setting of the whole run belongs to frame 0";
        return false;
    }
    switch (pStep->eKind)
    {
        case STEP_DOWN:
        case STEP_MOVE:
        case STEP_UP:
            *ppWhy = "a position outside the 480 x 320 picture";
            return ReadFloat(pArgs[0], 0.0f, 480.0f, &pStep->tValues[0]) &&
                   ReadFloat(pArgs[1], 0.0f, 320.0f, &pStep->tValues[1]);
        case STEP_KEY:
        {
            *ppWhy = "a key step is \"key NAME down|up\" with a key the game knows";
            bool bKnown = false;
            for (const auto& tKey : KEYS)
            {
                if (std::strcmp(pArgs[0], tKey.pName) == 0)
                {
                    pStep->eKey = tKey.eKey;
                    bKnown = true;
                }
            }
            pStep->bPressed = std::strcmp(pArgs[1], "down") == 0;
            return bKnown && (pStep->bPressed || std::strcmp(pArgs[1], "up") == 0);
        }
        case STEP_FOCUS:
            *ppWhy = "a focus step is \"focus in\" or \"focus out\"";
            pStep->bPressed = std::strcmp(pArgs[0], "in") == 0;
            return pStep->bPressed || std::strcmp(pArgs[0], "out") == 0;
        case STEP_QUIT:
        case STEP_STAMP:
            return true;
        case STEP_SHOT:
            *ppWhy = "a screenshot's path is too long";
            return std::snprintf(pStep->strText, sizeof(pStep->strText), "%s", pArgs[0]) <
                   static_cast<int>(sizeof(pStep->strText));
        case STEP_DT:
            *ppWhy = "a frame's time is a number of seconds above 0";
            return ReadFloat(pArgs[0], 0.0f, MAX_DT, &pStep->tValues[0]) &&
                   pStep->tValues[0] > 0.0f;
        case STEP_ACCEL:
            *ppWhy = "an accelerometer vector is three finite numbers of at most 16 g";
            return ReadFloat(pArgs[0], -MAX_ACCEL, MAX_ACCEL, &pStep->tValues[0]) &&
                   ReadFloat(pArgs[1], -MAX_ACCEL, MAX_ACCEL, &pStep->tValues[1]) &&
                   ReadFloat(pArgs[2], -MAX_ACCEL, MAX_ACCEL, &pStep->tValues[2]);
        case STEP_SEED:
        case STEP_SOAK:
            *ppWhy = "a seed is a whole number from 0 to 4294967295";
            return ReadUnsigned(pArgs[0], 10, &pStep->uiNumber);
        case STEP_CLOCK_FIXED:
            *ppWhy = "the clock step is \"clock fixed\"";
            return std::strcmp(pArgs[0], "fixed") == 0;
        case STEP_UNPACED:
            *ppWhy = "the frames step is \"frames unpaced\"";
            return std::strcmp(pArgs[0], "unpaced") == 0;
        case STEP_FILE:
            *ppWhy = "a start file is gamesave.dat or score.dat, with its size in bytes";
            std::snprintf(pStep->strText, sizeof(pStep->strText), "%s", pArgs[0]);
            return StartFileIndex(pArgs[0]) >= 0 && ReadUnsigned(pArgs[1], 5, &pStep->uiNumber) &&
                   pStep->uiNumber <= static_cast<std::uint32_t>(SCRIPT_MAX_FILE_SIZE);
        case STEP_BYTES:
            *ppWhy = "bytes are 1 to 64 pairs of hexadecimal digits";
            return ReadHex(pArgs[0], pStep);
    }
    return false;
}

}  // namespace

ScriptLineRead SCRIPT_ParseLine(const char* pLine, ScriptStep* pStep, const char** ppWhy)
{
    static Words s_tWords;  // frame thread only; kept off the stack
    *ppWhy = "";
    if (!Split(pLine, &s_tWords))
    {
        *ppWhy = "more words than any step has";
        return SCRIPT_LINE_BAD;
    }
    if (s_tWords.iCount == 0)
    {
        return SCRIPT_LINE_EMPTY;
    }
    *pStep = ScriptStep{};
    std::uint32_t uiFrame = 0;
    if (!ReadUnsigned(s_tWords.pWords[0], 9, &uiFrame))
    {
        *ppWhy = "a step starts with its frame number";
        return SCRIPT_LINE_BAD;
    }
    pStep->uiFrame = uiFrame;
    if (s_tWords.iCount < 2)
    {
        *ppWhy = "a frame number with no step";
        return SCRIPT_LINE_BAD;
    }
    return ReadArguments(s_tWords, pStep, ppWhy) ? SCRIPT_LINE_STEP : SCRIPT_LINE_BAD;
}

bool SCRIPT_IsInput(ScriptStepKind eKind)
{
    return eKind <= STEP_SHOT;
}

bool SCRIPT_IsFrameSetting(ScriptStepKind eKind)
{
    return eKind == STEP_DT || eKind == STEP_ACCEL;
}

bool SCRIPT_IsRunSetting(ScriptStepKind eKind)
{
    return eKind >= STEP_SEED;
}

void SCRIPT_ClearRunSettings(ScriptRunSettings* pSettings)
{
    pSettings->bSeed = false;
    pSettings->uiSeed = 0;
    pSettings->bFixedClock = false;
    pSettings->bUnpaced = false;
    pSettings->bSoak = false;
    pSettings->uiSoakSeed = 0;
    for (ScriptStartFile& tFile : pSettings->tFiles)
    {
        tFile.bGiven = false;
        tFile.iSize = 0;
        tFile.iFilled = 0;
    }
    pSettings->iFilling = -1;
}

bool SCRIPT_GatherRunSetting(const ScriptStep& tStep, ScriptRunSettings* pSettings,
                             const char** ppWhy)
{
    if (tStep.eKind != STEP_BYTES)
    {
        pSettings->iFilling = -1;  // bytes follow their file line directly
    }
    switch (tStep.eKind)
    {
        case STEP_SEED:
            pSettings->bSeed = true;
            pSettings->uiSeed = tStep.uiNumber;
            return true;
        case STEP_CLOCK_FIXED:
            pSettings->bFixedClock = true;
            return true;
        case STEP_UNPACED:
            pSettings->bUnpaced = true;
            return true;
        case STEP_SOAK:
            pSettings->bSoak = true;
            pSettings->uiSoakSeed = tStep.uiNumber;
            return true;
        case STEP_FILE:
        {
            const int iFile = StartFileIndex(tStep.strText);
            ScriptStartFile& tFile = pSettings->tFiles[iFile];
            if (tFile.bGiven)
            {
                *ppWhy = "the same start file twice";
                return false;
            }
            tFile.bGiven = true;
            tFile.iSize = static_cast<int>(tStep.uiNumber);
            tFile.iFilled = 0;
            pSettings->iFilling = iFile;
            return true;
        }
        case STEP_BYTES:
        {
            if (pSettings->iFilling < 0)
            {
                *ppWhy = "bytes with no \"file\" line before them";
                return false;
            }
            ScriptStartFile& tFile = pSettings->tFiles[pSettings->iFilling];
            if (tFile.iFilled + static_cast<int>(tStep.uiNumber) > tFile.iSize)
            {
                *ppWhy = "more bytes than the file's size";
                return false;
            }
            std::memcpy(tFile.tBytes + tFile.iFilled, tStep.tBytes, tStep.uiNumber);
            tFile.iFilled += static_cast<int>(tStep.uiNumber);
            return true;
        }
        default:
            *ppWhy = "not a setting of the whole run";
            return false;
    }
}

bool SCRIPT_FinishRunSettings(const ScriptRunSettings& tSettings, const char** ppWhy)
{
    for (const ScriptStartFile& tFile : tSettings.tFiles)
    {
        if (tFile.bGiven && tFile.iFilled != tFile.iSize)
        {
            *ppWhy = "a start file has fewer bytes than its size";
            return false;
        }
    }
    return true;
}

bool SCRIPT_ApplyRunSettings(const ScriptRunSettings& tSettings, bool bRemoveOthers)
{
    if (tSettings.bSeed)
    {
        GAME_SeedRandom(tSettings.uiSeed);
    }
    if (tSettings.bFixedClock)
    {
        GAME_FixFrameClock(SCRIPT_FIXED_FRAME_STEP);
    }
    bool bWritten = true;
    for (int i = 0; i < SCRIPT_NUM_START_FILES; ++i)
    {
        const ScriptStartFile& tFile = tSettings.tFiles[i];
        if (tFile.bGiven)
        {
            bWritten = FS_ReplaceSaveFile(SCRIPT_START_FILE_NAMES[i], tFile.tBytes,
                                          static_cast<size_t>(tFile.iSize)) &&
                       bWritten;
        }
        else if (bRemoveOthers)
        {
            FS_RemoveSaveFile(SCRIPT_START_FILE_NAMES[i]);
        }
    }
    return bWritten;
}
