#pragma once

// The player's remembered choices on a desktop: the music and sound-effect switches,
// fullscreen and the window size. SETTINGS_ functions are the remembered settings' entry
// points; the host and the game both call them, on the main thread.
//
// They live in "settings.ini" under $XDG_CONFIG_HOME/boughfall (by default
// ~/.config/boughfall), one "key=value" a line, read at start and written again whenever one of
// them changes:
//   music=on             the music switch (on or off; yes/no, true/false and 1/0 are read too)
//   effects=on           the sound-effect switch
//   fullscreen=off       the game starts in fullscreen
//   window=960x640       the window's size, once the player has resized it
//   # a comment          lines starting with '#' are kept, as are keys the game does not know
// A line that cannot be read (no '=', a bad value, longer than SETTINGS_MAX_LINE) is skipped;
// a missing or unreadable file gives the defaults. Either is reported in one line. The file is
// written whole to a temporary file in the same folder and renamed over the old one, so a crash
// leaves the old file or the new one, never a torn one.
//
// The options of one run (the command line) win over the file without being written to it; a
// change the player makes during the run replaces them and is written.

constexpr int SETTINGS_MAX_LINES = 64;   // lines kept from the file beside the game's own keys
constexpr int SETTINGS_MAX_LINE = 256;   // bytes of one line, NUL included
constexpr int SETTINGS_MAX_PATH = 1024;  // the settings file's path
// A window size outside these bounds is not taken (the smallest is a tenth of the picture).
constexpr int SETTINGS_MIN_WINDOW_WIDTH = 48;
constexpr int SETTINGS_MIN_WINDOW_HEIGHT = 32;
constexpr int SETTINGS_MAX_WINDOW_SIZE = 16384;

// Reads the settings file: pPath, or the default place when null. Before a load (tools and
// tests) the settings hold the defaults and changes are kept in memory only.
void SETTINGS_Load(const char* pPath);
// The file the settings are read from and written to ("" before a load or without a home).
const char* SETTINGS_Path();
// Back to the defaults, with no file and no options of the run (tests).
void SETTINGS_Reset();
// From now on (a later load included) changes are kept for this run only and the file is left
// as it is: a replay touches the switches as its player did, not the settings of whoever
// watches it.
void SETTINGS_KeepForThisRun();

// The switches the game's options page shows; both on by default.
bool SETTINGS_MusicEnabled();
void SETTINGS_SetMusicEnabled(bool bEnabled);
bool SETTINGS_EffectsEnabled();
void SETTINGS_SetEffectsEnabled(bool bEnabled);

// Fullscreen (off by default), as the player last left it.
bool SETTINGS_Fullscreen();
void SETTINGS_SetFullscreen(bool bFullscreen);

// The window size; 0 x 0 when none is remembered (the host then picks one). Setting a size
// outside the bounds above changes nothing and returns false.
void SETTINGS_WindowSize(int* pWidth, int* pHeight);
bool SETTINGS_SetWindowSize(int iWidth, int iHeight);

// Options of this run only: they win over the file until the player changes the setting.
void SETTINGS_OverrideFullscreen(bool bFullscreen);
bool SETTINGS_OverrideWindowSize(int iWidth, int iHeight);

// Reads "WIDTHxHEIGHT" (whole text, within the bounds above); false when it is not such a size.
bool SETTINGS_ParseWindowSize(const char* pText, int* pWidth, int* pHeight);
