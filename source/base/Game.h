#pragma once

// The game's entry points, called by the shell: GAME_ functions are the game's top level. The
// game object CGame owns one game at a time; CFrameTimer measures the time between frames.
//
// GAME_Frame runs an eight-state machine kept in AppState. Choosing Play in the menus goes
//   APP_FRONTEND -> APP_FRONTEND_FADE_OUT (34 frames) -> APP_START_GAME -> APP_GAME_FADE_IN
//   (34 frames) -> APP_GAME,
// and leaving a game that has ended goes
//   APP_GAME -> APP_GAME_FADE_OUT -> APP_LEAVE_GAME -> APP_FRONTEND_FADE_IN -> APP_FRONTEND.
// A saved game found at launch is taken up once: after the splash the level comes straight
// back, paused, with no fade either way.

#include <cstdint>

// The application state (kept in one global).
enum AppStateValue
{
    APP_LEAVE_GAME = 0,
    APP_FRONTEND = 1,
    APP_FRONTEND_FADE_OUT = 2,
    APP_FRONTEND_FADE_IN = 3,
    APP_START_GAME = 4,
    APP_GAME = 5,
    APP_GAME_FADE_OUT = 6,
    APP_GAME_FADE_IN = 7,
};

extern int AppState;

class CAudio;
class CFont;
class CFrontEnd;
class CLevel;
class FontManager;
class MusicPlayer;
class TouchAreaManager;

// Seconds a frame counts for at most: a longer one (the game was away, or the machine stalled)
// counts as this much, so that coming back is one ordinary step.
constexpr float MAX_FRAME_TIME = 0.1f;

// The time the level's rules are given. Each frame's time is taken as the frame begins, from a
// monotonic clock in nanoseconds or, when the clock is fixed (scripted runs and replays), as one
// fixed step, and counts at most MAX_FRAME_TIME. The frames gather until the level takes them:
// its first update after the 34-frame fade-in is handed the whole fade, so "Get Ready!" lasts
// one second from the frame the level appears.
class CFrameTimer
{
public:
    std::int64_t iStamp;  // nanoseconds: when the last frame began
    float fGathered;      // seconds counted since the last reset
    float fLastFrame;     // seconds the last frame counted for; 0 before the first

    CFrameTimer();  // stamped now
    // As a frame begins: the time since the last one joins what has gathered.
    void Tick();
    // Seconds gathered since the last reset; with bReset the count starts again from 0.
    float Elapsed(bool bReset);
};

// The game being played: the HUD font and the level, from Start to End.
class CGame
{
public:
    CFont* pFont;    // "Boughfall", loaded when a game starts
    CLevel* pLevel;  // null between games
    bool bStarted;

    CGame();
    ~CGame();
    CGame(const CGame&) = delete;
    CGame& operator=(const CGame&) = delete;

    // Loads the HUD font and the yawns, resets the frame timer and creates a new level.
    bool Start();
    // One level update with the measured frame time; false once the player has left.
    bool Update();
    // SCREEN_Set2D, the level, then the HUD text.
    void Draw();
    // Deletes the level, releases the font, silences the effects.
    void End();
    // The saved game (see SaveGame.cpp).
    bool Save();
    bool Load();
};

// The program-wide objects, alive from GAME_Init to GAME_Shutdown (the input holder g_pInput is
// declared with CInput).
extern CAudio* g_pAudio;
extern FontManager* g_pFontManager;
extern TouchAreaManager* g_pTouchAreaManager;
extern MusicPlayer* g_pMusicPlayer;
extern CFrameTimer* g_pFrameTimer;
extern CFrontEnd* g_pFrontEnd;
extern CGame* g_pGame;
// A saved game existed at launch and has not yet been taken up.
extern bool bResumeSavedGame;

// Before GAME_Init, for runs that must replay exactly: the random source starts from this seed
// instead of the clock.
void GAME_SeedRandom(std::uint32_t uiSeed);
// Every frame then lasts exactly fStep seconds for the game's rules, at most MAX_FRAME_TIME (0 =
// the real clock again).
void GAME_FixFrameClock(float fStep);
float GAME_FixedFrameStep();
// The seconds the last frame counted for (what a recording writes down); 0 before the first, or
// before GAME_Init.
float GAME_LastFrameStep();
// Tests: the clock the frame timer reads, in nanoseconds, never going back; null for the
// monotonic clock.
void GAME_SetClock(std::int64_t (*pfnNow)());

// Once, when launching has finished: creates the program-wide objects.
void GAME_Init();
// Once per drawn frame, between the framebuffer bind and the present.
void GAME_Frame();
// When the application resigns active: a level being played is paused.
void GAME_PauseLevel();
// The player's pause key: a level being played pauses, and a paused one goes on as a touch
// would make it, without picking a pommo.
void GAME_TogglePause();
// The player's back key: in the menus, a page showing the back arrow goes back as touching the
// arrow does; in a level, the same as the pause key.
void GAME_Back();
// When the application terminates: saves a level in play and releases everything.
void GAME_Shutdown();

// Out of sight, where the application may be ended without another word (a browser tab
// hidden): a level being played is paused and a level in play saved, as at a quit. Back in
// sight the level simply goes on, paused, so the file written for it is removed, as a resumed
// saved game's file is: a later start never brings back a game that went on after it was
// written. A file found at launch and not yet taken up is left alone.
void GAME_EnterBackground();
void GAME_EnterForeground();

// The game's data is missing or damaged beyond what a default can stand in for (the default
// texture itself, the HUD font): one line naming what is missing and where it was looked for,
// then the process ends with status 1, its SDL threads stopped first.
[[noreturn]] void GAME_FatalMissingData(const char* pWhat);

// Frames drawn since GAME_Init (the trace and the scripted runs read it).
unsigned int GAME_FrameCount();

// Every table of the game is within bounds: the state, the level, the front end and its pages,
// the textures, the fonts, the sound slots, the touch areas and the touch input. A check that
// fails stops the game with its assertion line. The soak calls it after every frame.
void GAME_CheckTables();
