#pragma once

// Synthesizes the game's sixteen sound effects (mono, 22050 Hz), each sounding like its
// name: a cartoon "no", three cheers, three yawns, menu clicks, the title jingle, bird calls
// and two short laughs.

#include <cstdint>
#include <vector>

constexpr int SFX_RATE = 22050;
constexpr int SFX_COUNT = 16;

// The names the game loads, as "SFX/<name>.ogg".
extern const char* const SFX_NAMES[SFX_COUNT];

// The samples of effect i (0..SFX_COUNT-1), -1..1, peak-limited and at its level in the mixing
// plan (MixPlan.h).
std::vector<float> SFX_Make(int iIndex);

// Effect i's samples as the Ogg Vorbis file the game loads, levelled so that its decoded peak
// is the one the mixing plan gives it (within 0.1 dB). Empty when the encoder fails.
std::vector<std::uint8_t> SFX_Encode(int iIndex, const std::vector<float>& tSamples);
