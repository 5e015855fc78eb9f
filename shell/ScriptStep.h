#pragma once

// One step of a script or a recording, as read from its line (ScriptDriver.h shows the format by
// example), and the settings of the whole run that the frame-0 steps gather. The driver, the
// replay reader and the soak share them. SCRIPT_ functions here are the step format's entry
// points.

#include <SDL.h>

#include <cstdint>

constexpr int SCRIPT_MAX_LINE = 512;       // bytes of one line, its end included
constexpr int SCRIPT_MAX_PATH = 256;       // bytes of a screenshot's path, NUL included
constexpr int SCRIPT_BYTES_PER_LINE = 64;  // bytes one "bytes" line carries at most
// A frame on the fixed clock; a recording's frames take it until their first "dt" step.
constexpr float SCRIPT_FIXED_FRAME_STEP = 1.0f / 60.0f;
// Bytes of a save file a recording carries: the largest saved game is 4180.
constexpr int SCRIPT_MAX_FILE_SIZE = 16384;
static_assert(SCRIPT_MAX_FILE_SIZE >= 4180, "the largest saved game fits");

enum ScriptStepKind
{
    // Input: taken after the frame is drawn, in the order of the lines.
    STEP_DOWN,
    STEP_MOVE,
    STEP_UP,
    STEP_KEY,
    STEP_FOCUS,
    STEP_QUIT,
    STEP_STAMP,  // prints the frame's wall-clock time, after it is drawn
    STEP_SHOT,   // also after the frame is drawn, before it is shown
                 // What the game reads during a frame: taken before it is drawn.
    STEP_DT,
    STEP_ACCEL,
    // Settings of the whole run (frame 0 only): taken before the game starts.
    STEP_SEED,
    STEP_CLOCK_FIXED,
    STEP_UNPACED,
    STEP_SOAK,
    STEP_FILE,
    STEP_BYTES,
};

struct ScriptStep
{
    unsigned int uiFrame;
    ScriptStepKind eKind;
    float tValues[3];        // a finger's game point (x, y); the dt; the accelerometer vector
    SDLKey eKey;             // STEP_KEY
    bool bPressed;           // key down; focus in
    std::uint32_t uiNumber;  // the seed; a file's size; the bytes of a "bytes" line
    char strText[SCRIPT_MAX_PATH];  // a screenshot's path; a file's name
    std::uint8_t tBytes[SCRIPT_BYTES_PER_LINE];
};

enum ScriptLineRead
{
    SCRIPT_LINE_EMPTY,  // blank or a comment
    SCRIPT_LINE_STEP,
    SCRIPT_LINE_BAD,
};

// Reads one line (a comment from '#' on and the line's end are allowed). For a bad line, *ppWhy
// says in a few words what is wrong. Numbers must be whole words: "down 10 20x" is bad.
ScriptLineRead SCRIPT_ParseLine(const char* pLine, ScriptStep* pStep, const char** ppWhy);

bool SCRIPT_IsInput(ScriptStepKind eKind);         // down .. quit, and shot
bool SCRIPT_IsFrameSetting(ScriptStepKind eKind);  // dt, accel
bool SCRIPT_IsRunSetting(ScriptStepKind eKind);    // seed .. bytes

// A save file a run starts from.
struct ScriptStartFile
{
    bool bGiven;
    int iSize;    // bytes the "file" line announced
    int iFilled;  // bytes the "bytes" lines have brought so far
    std::uint8_t tBytes[SCRIPT_MAX_FILE_SIZE];
};

constexpr int SCRIPT_NUM_START_FILES = 2;
// The save files a run may start from, by index into ScriptRunSettings::tFiles.
extern const char* const SCRIPT_START_FILE_NAMES[SCRIPT_NUM_START_FILES];

// What the frame-0 steps of a script or recording ask for.
struct ScriptRunSettings
{
    bool bSeed;
    std::uint32_t uiSeed;
    bool bFixedClock;
    bool bUnpaced;
    bool bSoak;
    std::uint32_t uiSoakSeed;
    ScriptStartFile tFiles[SCRIPT_NUM_START_FILES];
    int iFilling;  // the file the next "bytes" line fills; -1 for none
};

// Empty settings: nothing asked for.
void SCRIPT_ClearRunSettings(ScriptRunSettings* pSettings);
// Takes one run setting. False, with *ppWhy, when it does not fit: bytes with no file before
// them or beyond its size, a file given twice.
bool SCRIPT_GatherRunSetting(const ScriptStep& tStep, ScriptRunSettings* pSettings,
                             const char** ppWhy);
// After the last line: false, with *ppWhy, when a file has fewer bytes than it announced.
bool SCRIPT_FinishRunSettings(const ScriptRunSettings& tSettings, const char** ppWhy);
// Lays the seed and the fixed clock on the game and writes the start files into the save
// directory as it is set up now (a file not given is removed when bRemoveOthers). False, after
// one line, when a file could not be written.
bool SCRIPT_ApplyRunSettings(const ScriptRunSettings& tSettings, bool bRemoveOthers);
