#pragma once

// The scripted-input driver: when BOUGHFALL_SCRIPT names a script file, the game plays it
// frame by frame. It feeds real SDL events (so input takes the whole path a player's does) and
// writes PNG screenshots of the game picture. End-to-end tests and the README's screenshots are
// made this way. SCRIPT_ functions are the driver's entry points.
//
// One step per line, "<frame> <command> [arguments]"; '#' starts a comment. Frames count from
// 0 (the first frame drawn). Positions are in the game's 480 x 320 space.
//   120 down 240 160     finger (left mouse button) down at a game point
//   121 move 250 150     finger moves
//   122 up 250 150       finger lifted
//   200 key left down    a key: left, right, f11, escape, p (down or up)
//   210 focus out        the window loses (or with "in" regains) the input focus
//   300 shot out.png     writes the game picture after the frame is drawn
//   400 quit             asks the game to quit, as closing the window does
//   0 seed 1234          the game's random source starts from this seed (frame 0 only)
//   0 clock fixed        every frame lasts exactly 1/60 s for the game's rules (frame 0 only)
//   0 frames unpaced     frames follow each other as fast as they can be drawn (frame 0 only):
//                        with the fixed clock, a long run plays faster than real time
// With a seed and the fixed clock, the same script gives the same game on every run and machine.

constexpr int MAX_SCRIPT_STEPS = 1024;
constexpr int MAX_SCRIPT_LINE = 510;  // characters of one line; a longer line is skipped whole

// Reads the script named by BOUGHFALL_SCRIPT, if any. A line it cannot read, or one longer than
// MAX_SCRIPT_LINE, is reported once and skipped.
void SCRIPT_Load();
// Loads a script from a file (tests); false when the file cannot be read.
bool SCRIPT_LoadFile(const char* pPath);

// Before each frame: the steps of this frame that feed input.
void SCRIPT_BeforeFrame();
// After each frame is drawn, before it is shown: the screenshots of this frame.
void SCRIPT_AfterFrame();

// The interval the view's frame timer really uses for the one it asks for: the same, or next
// to nothing for the active rate when the script runs frames unpaced.
double SCRIPT_FrameInterval(double dInterval);

// Number of steps loaded.
int SCRIPT_StepCount();
