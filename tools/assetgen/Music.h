#pragma once

// The title and play-field tune: a cheerful 16-bar loop at 120 beats a minute (32 seconds),
// marimba-like lead over plucked chords, a soft pad, bass and light drums, 44100 Hz stereo.
// Notes that ring past the end of the loop carry over into its start, so the loop is seamless.

#include <vector>

constexpr int MUSIC_RATE = 44100;
// Samples of the loop's end that come before its first beat in the file (see MP3_EncodeLoop).
constexpr int MUSIC_LEAD_IN = 576;

// Interleaved left/right samples, -1..1.
std::vector<float> MUSIC_Render();
