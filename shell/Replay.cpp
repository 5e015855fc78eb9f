#include "Replay.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "FileSystem.h"
#include "Game.h"
#include "Host.h"
#include "Input.h"
#include "LineReader.h"

namespace
{

// The replay being played.
FILE* s_pReplay = nullptr;
char s_strReplayPath[1024];
int s_iReplayLine = 0;
ScriptStep s_tNext;
bool s_bHaveNext = false;

// The recording being written, and what it last wrote down of the frames.
FILE* s_pRecording = nullptr;
char s_strRecordingPath[1024];
float s_fRecordedStep = SCRIPT_FIXED_FRAME_STEP;  // what a replay starts from
float s_tRecordedAccel[3] = {0.0f, 0.0f, 0.0f};

// Why a recording is refused when a focus loss is not given back in its own frame.
constexpr const char* FOCUS_NOT_BACK =
    "the focus lost here does not come back in the same frame: the game would wait for ever";

enum StepRead
{
    READ_END,
    READ_STEP,
    READ_BAD,
};

// The next step of a file, skipping blank lines and comments; *pLine counts the lines read.
StepRead ReadStep(FILE* pFile, int* pLine, ScriptStep* pStep, const char** ppWhy)
{
    char strLine[SCRIPT_MAX_LINE];
    for (;;)
    {
        bool bBinary = false;
        bool bEnded = false;
        const HostLineRead eRead = HostReadLine(pFile, strLine, sizeof(strLine), &bBinary, &bEnded);
        if (eRead == HOST_LINE_END)
        {
            return READ_END;
        }
        ++*pLine;
        if (eRead == HOST_LINE_TOO_LONG)
        {
            *ppWhy = "a line longer than any step";
            return READ_BAD;
        }
        if (bBinary)
        {
            *ppWhy = "not text";
            return READ_BAD;
        }
        if (!bEnded)
        {
            // Every line a recording writes is complete: this one was cut short.
            *ppWhy = "the last line is cut short";
            return READ_BAD;
        }
        switch (SCRIPT_ParseLine(strLine, pStep, ppWhy))
        {
            case SCRIPT_LINE_EMPTY:
                continue;
            case SCRIPT_LINE_STEP:
                return READ_STEP;
            case SCRIPT_LINE_BAD:
                return READ_BAD;
        }
    }
}

bool Refuse(const char* pPath, int iLine, const char* pWhy)
{
    std::fprintf(stderr, "boughfall: %s:%d: %s\n", pPath, iLine, pWhy);
    return false;
}

// What a recording can hold, frame by frame, beyond what each line says on its own.
struct Validation
{
    unsigned int uiFrame = 0;    // of the step before
    bool bInputInFrame = false;  // an input step of uiFrame has been read
    int iFocusOutLine = 0;       // a focus loss of uiFrame not yet given back; 0 for none
    int iQuitLine = 0;
};

// One step against the steps before it; null when it fits. *pLine may move back to the line
// the fault is on.
const char* CheckStep(const ScriptStep& tStep, int* pLine, Validation* pState,
                      ScriptRunSettings* pSettings)
{
    const char* pWhy = nullptr;
    if (pState->iQuitLine != 0)
    {
        return "a step after the session's quit";
    }
    if (tStep.uiFrame < pState->uiFrame)
    {
        return "frames go backwards";
    }
    if (tStep.uiFrame != pState->uiFrame)
    {
        if (pState->iFocusOutLine != 0)
        {
            *pLine = pState->iFocusOutLine;
            return FOCUS_NOT_BACK;
        }
        pState->uiFrame = tStep.uiFrame;
        pState->bInputInFrame = false;
    }
    switch (tStep.eKind)
    {
        case STEP_SOAK:
            return "a soak plays input of its own: a recording holds the input it played";
        case STEP_CLOCK_FIXED:
            return "a recording gives each frame's dt: \"clock fixed\" would override it";
        case STEP_DT:
        case STEP_ACCEL:
            return pState->bInputInFrame ? "a dt or accel step after the input of its frame"
                                         : nullptr;
        case STEP_FOCUS:
            pState->iFocusOutLine = tStep.bPressed ? 0 : *pLine;
            pState->bInputInFrame = true;
            return nullptr;
        case STEP_QUIT:
            pState->iQuitLine = *pLine;
            pState->bInputInFrame = true;
            return nullptr;
        default:
            break;
    }
    if (SCRIPT_IsRunSetting(tStep.eKind))
    {
        return SCRIPT_GatherRunSetting(tStep, pSettings, &pWhy) ? nullptr : pWhy;
    }
    pState->bInputInFrame = true;
    return nullptr;
}

// Reads the next step to play into s_tNext, past the run settings.
void ReadNext()
{
    const char* pWhy = "";
    for (;;)
    {
        const StepRead eRead = ReadStep(s_pReplay, &s_iReplayLine, &s_tNext, &pWhy);
        if (eRead == READ_END)
        {
            s_bHaveNext = false;
            std::fclose(s_pReplay);
            s_pReplay = nullptr;
            return;
        }
        if (eRead == READ_BAD)
        {
            // Read through once already: the file changed while it played.
            Refuse(s_strReplayPath, s_iReplayLine, pWhy);
            std::fflush(stdout);
            HostShutdown();
            std::exit(2);
        }
        if (!SCRIPT_IsRunSetting(s_tNext.eKind))
        {
            s_bHaveNext = true;
            return;
        }
    }
}

bool WriteFailed(const char* pWhat)
{
    std::fprintf(stderr, "boughfall: cannot write the recording %s: %s\n", s_strRecordingPath,
                 pWhat);
    return false;
}

// The save file as the session starts, in "file" and "bytes" lines; false when it is too large.
bool RecordStartFile(const char* pName)
{
    FILE* pFile = FS_OpenSaveFile(pName, "rb");
    if (pFile == nullptr)
    {
        return true;  // none: the replay starts without one too
    }
    static std::uint8_t s_tBytes[SCRIPT_MAX_FILE_SIZE + 1];
    const size_t uiSize = std::fread(s_tBytes, 1, sizeof(s_tBytes), pFile);
    std::fclose(pFile);
    if (uiSize > static_cast<size_t>(SCRIPT_MAX_FILE_SIZE))
    {
        char strWhy[160];
        std::snprintf(strWhy, sizeof(strWhy), "the save file %s is larger than %d bytes", pName,
                      SCRIPT_MAX_FILE_SIZE);
        return WriteFailed(strWhy);
    }
    std::fprintf(s_pRecording, "0 file %s %zu\n", pName, uiSize);
    for (size_t i = 0; i < uiSize; i += SCRIPT_BYTES_PER_LINE)
    {
        std::fputs("0 bytes ", s_pRecording);
        for (size_t j = i; j < uiSize && j < i + SCRIPT_BYTES_PER_LINE; ++j)
        {
            std::fprintf(s_pRecording, "%02x", s_tBytes[j]);
        }
        std::fputc('\n', s_pRecording);
    }
    return true;
}

}  // namespace

bool REPLAY_Open(const char* pPath, ScriptRunSettings* pSettings)
{
    std::snprintf(s_strReplayPath, sizeof(s_strReplayPath), "%s", pPath);
    SCRIPT_ClearRunSettings(pSettings);
    if (s_pReplay != nullptr)
    {
        std::fclose(s_pReplay);
    }
    s_bHaveNext = false;
    s_pReplay = std::fopen(pPath, "r");
    if (s_pReplay == nullptr)
    {
        std::fprintf(stderr, "boughfall: %s: cannot be read: %s\n", pPath, std::strerror(errno));
        return false;
    }
    Validation tState;
    int iLine = 0;
    const char* pWhy = "";
    StepRead eRead;
    while ((eRead = ReadStep(s_pReplay, &iLine, &s_tNext, &pWhy)) == READ_STEP)
    {
        pWhy = CheckStep(s_tNext, &iLine, &tState, pSettings);
        if (pWhy != nullptr)
        {
            break;
        }
    }
    if (eRead == READ_END)
    {
        // What can only be known at the end, reported at the line after the last.
        ++iLine;
        if (tState.iFocusOutLine != 0)
        {
            iLine = tState.iFocusOutLine;
            pWhy = FOCUS_NOT_BACK;
        }
        else if (tState.iQuitLine == 0)
        {
            pWhy = "the recording ends before the session's quit: it was cut short";
        }
        else if (!pSettings->bSeed)
        {
            pWhy = "no seed: the game would start from the clock";
        }
        else if (SCRIPT_FinishRunSettings(*pSettings, &pWhy))
        {
            pWhy = nullptr;
        }
    }
    if (pWhy != nullptr)
    {
        std::fclose(s_pReplay);
        s_pReplay = nullptr;
        return Refuse(pPath, iLine, pWhy);
    }
    std::rewind(s_pReplay);
    s_iReplayLine = 0;
    ReadNext();
    return true;
}

const ScriptStep* REPLAY_Peek()
{
    return s_pReplay != nullptr && s_bHaveNext ? &s_tNext : nullptr;
}

void REPLAY_Next()
{
    if (s_pReplay != nullptr && s_bHaveNext)
    {
        ReadNext();
    }
}

bool REPLAY_StartRecording(const char* pPath, std::uint32_t uiSeed, bool bUnpaced)
{
    std::snprintf(s_strRecordingPath, sizeof(s_strRecordingPath), "%s", pPath);
    s_pRecording = std::fopen(pPath, "w");
    if (s_pRecording == nullptr)
    {
        return WriteFailed(std::strerror(errno));
    }
    std::fprintf(s_pRecording,
                 "# A Boughfall session: boughfall --replay FILE plays it again\n"
                 "0 seed %u\n",
                 uiSeed);
    if (bUnpaced)
    {
        std::fputs("0 frames unpaced\n", s_pRecording);
    }
    for (const char* pName : SCRIPT_START_FILE_NAMES)
    {
        if (!RecordStartFile(pName))
        {
            std::fclose(s_pRecording);
            s_pRecording = nullptr;
            std::remove(pPath);
            return false;
        }
    }
    return true;
}

bool REPLAY_IsRecording()
{
    return s_pRecording != nullptr;
}

void REPLAY_RecordFrame(unsigned int uiFrame)
{
    if (s_pRecording == nullptr)
    {
        return;
    }
    // "%.9g" gives back every float exactly when read again.
    const float fStep = GAME_LastFrameStep();
    if (fStep > 0.0f && fStep != s_fRecordedStep)
    {
        std::fprintf(s_pRecording, "%u dt %.9g\n", uiFrame, static_cast<double>(fStep));
        s_fRecordedStep = fStep;
    }
    float tAccel[3] = {0.0f, 0.0f, 0.0f};
    if (g_pInput != nullptr)
    {
        g_pInput->GetAccelerometer()->LastVectorRead(tAccel);
    }
    if (std::memcmp(tAccel, s_tRecordedAccel, sizeof(tAccel)) != 0)
    {
        std::fprintf(s_pRecording, "%u accel %.9g %.9g %.9g\n", uiFrame,
                     static_cast<double>(tAccel[0]), static_cast<double>(tAccel[1]),
                     static_cast<double>(tAccel[2]));
        std::memcpy(s_tRecordedAccel, tAccel, sizeof(tAccel));
    }
}

void REPLAY_RecordStep(unsigned int uiFrame, const char* pStep)
{
    if (s_pRecording != nullptr)
    {
        std::fprintf(s_pRecording, "%u %s\n", uiFrame, pStep);
    }
}

void REPLAY_RecordQuit(unsigned int uiFrame)
{
    if (s_pRecording == nullptr)
    {
        return;
    }
    REPLAY_RecordStep(uiFrame, "quit");
    const bool bWritten = std::ferror(s_pRecording) == 0;
    if (std::fclose(s_pRecording) != 0 || !bWritten)
    {
        WriteFailed(std::strerror(errno));
    }
    s_pRecording = nullptr;
}
