#pragma once

// The game's entry points, called by the shell: GAME_ functions are the game's top level.

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
class FontManager;
class MusicPlayer;
class TouchAreaManager;

// The program-wide objects, alive from GAME_Init to GAME_Shutdown (the input holder g_pInput is
// declared with CInput).
extern CAudio* g_pAudio;
extern FontManager* g_pFontManager;
extern TouchAreaManager* g_pTouchAreaManager;
extern MusicPlayer* g_pMusicPlayer;

// Once, when launching has finished: creates the program-wide objects.
void GAME_Init();
// Once per drawn frame, between the framebuffer bind and the present.
void GAME_Frame();
// When the application resigns active: a level being played is paused.
void GAME_PauseLevel();
// When the application terminates: releases everything.
void GAME_Shutdown();

// Frames drawn since GAME_Init (the trace and the scripted runs read it).
unsigned int GAME_FrameCount();
