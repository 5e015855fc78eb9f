#pragma once

// Synthesizes the game's sixteen sound effects (mono, 22050 Hz), each sounding like its
// name: a cartoon "no", three cheers, three yawns, menu clicks, the title jingle, bird calls
// and two short laughs.

#include <vector>

constexpr int SFX_RATE = 22050;
constexpr int SFX_COUNT = 16;

// The names the game loads, as "SFX/<name>.ogg".
extern const char* const SFX_NAMES[SFX_COUNT];

// The samples of effect i (0..SFX_COUNT-1), peak-normalised, -1..1.
std::vector<float> SFX_Make(int iIndex);
