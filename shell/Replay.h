#pragma once

// Recordings and replays of a session (the format is the scripted driver's, ScriptDriver.h).
// REPLAY_ functions are their entry points; the driver calls them.
//
// A replay reaches the same game as its recording only if nothing but the recording decides
// it. What could differ, and how it is closed:
//   - when input reaches the game: recorded and replayed at one point, after the frame it
//     follows is drawn, in the order it happened;
//   - each frame's dt: the time the frame timer counted the frame for is recorded; a replay's
//     frames last the recorded times (1/60 s until the first);
//   - the tilt: the accelerometer is emulated on a timer thread in real time, so the vector the
//     game read is recorded, and a replay holds it for the game (0, 0, 0 until the first);
//   - positions: recorded in the game's space, so the window's size does not matter;
//   - the random seed, and the save files the session started from;
//   - the player: while a replay plays, the mouse, the keys that steer the game and focus
//     changes are not taken.
// A replay is read through before it plays, and refused (one line "FILE:LINE: what is wrong",
// exit status 2) when a line is malformed, a step is unknown or belongs to no recording, frames
// go backwards, a focus loss is not followed by its return in the same frame, the seed is
// missing, or the file ends before the session's "quit" (a recording cut short).

#include "ScriptStep.h"

// Opens a recording to play: reads it through and gathers its run settings. False, after one
// line, when it is refused.
bool REPLAY_Open(const char* pPath, ScriptRunSettings* pSettings);
// The recording's next step after the run settings; null after the last. The step stays until
// REPLAY_Next.
const ScriptStep* REPLAY_Peek();
void REPLAY_Next();

// Starts a recording: the header with the seed, "frames unpaced" when the run is unpaced and
// the save files as they are now. False, after one line, when the file cannot be written or a
// save file is too large to carry.
bool REPLAY_StartRecording(const char* pPath, std::uint32_t uiSeed, bool bUnpaced);
bool REPLAY_IsRecording();
// After frame uiFrame is drawn: its dt and the accelerometer vector the game read, when they
// changed.
void REPLAY_RecordFrame(unsigned int uiFrame);
// A step that reached the game after frame uiFrame was drawn.
void REPLAY_RecordStep(unsigned int uiFrame, const char* pStep);
// The session's last step, "quit"; the file is then complete and closed.
void REPLAY_RecordQuit(unsigned int uiFrame);
