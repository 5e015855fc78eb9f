#pragma once

// The scripted-input driver: when BOUGHFALL_SCRIPT names a script file, the game plays it
// frame by frame. It hands the host real SDL events (so input takes the path a player's does,
// from the host's event handling on) and writes PNG screenshots of the game picture. End-to-end
// tests and the README's screenshots are made this way. A recording (--record) is a script of
// the same format, and a replay (--replay) plays one through this driver. SCRIPT_ functions are
// the driver's entry points.
//
// One step per line, "<frame> <command> [arguments]"; '#' starts a comment. Frames count from
// 0 (the first frame drawn). Positions are in the game's 480 x 320 space, y up, and reach the
// game at the nearest logical unit whatever the window's size. Input steps of frame N reach the
// game after frame N is drawn, one after the other in the order of their lines; so does the
// input a player gives between frames N and N + 1, which is how a recording numbers it.
//   120 down 240 160     finger (left mouse button) down at a game point
//   121 move 250 150     finger moves
//   122 up 250 150       finger lifted
//   200 key left down    a key: left, right, f11, escape, p (down or up)
//   210 focus out        the window loses (or with "in" regains) the input focus; the game
//   210 focus in         waits for the focus to come back, so an "out" needs its "in" in the
//                        same frame unless the run is to wait until it is ended
//   300 shot out.png     writes the game picture after the frame is drawn
//   0 stamp              prints "Frame 0 drawn at <seconds>" (the wall clock, as date +%s.%N
//                        gives it) once the frame is drawn: start-up and frame timings
//   400 quit             asks the game to quit, as closing the window does
// What the game reads during a frame, from that frame on (taken before the frame is drawn):
//   500 dt 0.0166721     every frame lasts this many seconds for the game's rules (at most 0.1)
//   500 accel -0.98 0.12 0   the game reads this accelerometer vector, not the device's
// Settings of the whole run (frame 0 only, taken before the game starts):
//   0 seed 1234          the game's random source starts from this seed
//   0 clock fixed        every frame lasts exactly 1/60 s for the game's rules, and for the
//                        emulated device: its samples and its lean under the arrow keys follow
//                        the frames, not the wall clock
//   0 frames unpaced     frames follow each other as fast as they can be drawn: with the
//                        fixed clock, a long run plays faster than real time
//   0 soak 99            the driver plays by itself from its own generator with this seed:
//                        touches on menus and pommos, throws, tilts, pauses and focus changes,
//                        through the front end and game after game, until a "quit" step; and
//                        after every frame it checks that every table of the game is within
//                        bounds (GAME_CheckTables). It prints what it played and the resident
//                        memory ("Soak: ..." lines).
//   0 file score.dat 9   the run starts from this save file (gamesave.dat or score.dat): the
//   0 bytes 424653010500000000   bytes follow in hexadecimal, up to 64 a line
// With a seed and the fixed clock, the same script gives the same game on every run and machine.
//
// A recording starts with the run's seed, its start files and (when the session ran so) "0
// frames unpaced"; then, frame by frame, the dt and accelerometer vector the game read whenever
// they changed, and every touch, pause or back key and focus change that reached the game; it
// ends with the session's "quit". A replay is refused, with one line naming the file, the line
// and what is wrong and exit status 2, when it is cut short, malformed or would not play exactly
// as recorded (see Replay.h).

#include "ScriptStep.h"

constexpr int MAX_SCRIPT_STEPS = 1024;
// Characters of one line, its end not counted; a longer line is skipped whole.
constexpr int MAX_SCRIPT_LINE = SCRIPT_MAX_LINE - 2;

// Reads the script named by BOUGHFALL_SCRIPT, if any. A line it cannot read, or one longer than
// MAX_SCRIPT_LINE, is reported once and skipped.
void SCRIPT_Load();
// Loads a script from a file (tests); false when the file cannot be read.
bool SCRIPT_LoadFile(const char* pPath);

// Plays a recording instead of a script: false, after one line, when it is refused. The game's
// saves then live in a folder of their own ("Replay" beside the save directory) that starts as
// the recorded session started, and the player's own input and settings are left alone.
bool SCRIPT_LoadReplay(const char* pPath);

// Records this session (before the game starts); false, after one line, when the file cannot be
// written.
bool SCRIPT_StartRecording(const char* pPath);

// Before each frame: what the game reads during the frame.
void SCRIPT_BeforeFrame();
// After each frame is drawn, before it is shown: the screenshots and then the input of this
// frame (and in a soak, the checks and the generated input).
void SCRIPT_AfterFrame();

// What reached the game between frames, for a recording: a touch as the view passes it on
// (HostFingerPhase, logical position), the pause key, the back key, a focus change, the end.
void SCRIPT_NoteTouch(int iPhase, float fLogicalX, float fLogicalY);
void SCRIPT_NotePause();
void SCRIPT_NoteBack();
void SCRIPT_NoteFocus(bool bIn);
void SCRIPT_NoteQuit();

// The interval the view's frame timer really uses for the one it asks for: the same, or next
// to nothing for the active rate when the script runs frames unpaced.
double SCRIPT_FrameInterval(double dInterval);

// Number of steps loaded.
int SCRIPT_StepCount();
