#pragma once

// The music backend: SDL_mixer's one music stream, driven by the framework's AVAudioPlayer.
// Before a file is loaded the mixer is reopened in the file's own format (read from its first
// MP3 frame header), because SDL_mixer 1.2 corrupts memory when it resamples an MP3. A file
// whose format the mixer could not be opened in is not played.
//
// Music* functions are the backend's entry points; all run on the main thread.

// What the first MP3 frame header of a file says. A file without one reads as 22050 Hz mono;
// a reserved version or rate index gives frequency -1.
struct MusicFormat
{
    int iFrequency;
    int iChannels;
};

constexpr int MUSIC_MAX_PATH = 256;  // the current path, terminator included

// Plays a file with an AVAudioPlayer loop count (-1 = without end). A path equal to the current
// one, ignoring letter case and leading slashes, is neither restarted nor resumed. A missing or
// unplayable file plays nothing, silently, and stays current until MusicStop.
//
// SDL_mixer 1.2.12 starts the next pass of a looping MP3 in the same mixing buffer, so a file
// that decodes to whole periods loops without a gap, except when a pass ends exactly at the end
// of a buffer: the next buffer is then silent. MP3 passes last whole frames of 1152 samples
// (nine times 128), so with the host's 2048-frame buffers that happens every 16th pass at most;
// for the 32-second theme, 46 ms every 8 min 32 s.
void MusicPlayFile(const char* pPath, int iLoops);

// Halts and frees the music; the current path is forgotten.
void MusicStop();

void MusicPause();
void MusicResume();

// Volume 0..256. The mixer keeps half of it and drops odd halves, so each time the mixer reports
// less than was set the remaining scale shrinks: after odd values full volume stays below 128.
void MusicSetVolume(int iVolume);

// The format of an MP3 file; ID3v2 tags before the first frame are skipped. A file that cannot
// be opened reads as the defaults.
MusicFormat MusicProbeFormat(const char* pPath);

// 1 while a music stream started by MusicPlayFile has not been stopped.
int MusicIsStarted();

// Streams started since the process began: a file that is already current does not count.
int MusicStartCount();
