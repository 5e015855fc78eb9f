#pragma once

// The game's one source of random numbers. Every random choice of the game (pommo types, spawn
// places, faces, sounds, branch and leaf starts, ambient sounds) draws from it, so a seeded run
// replays exactly; nothing else in the process (SDL, the GL driver, libc's own rand) can
// disturb its sequence. RAND_ functions are its entry points.

#include <cstdint>

// The largest value RAND_Next returns, as libc's rand on this platform: 2^31 - 1.
constexpr std::int32_t RAND_MAXIMUM = 2147483647;

// Starts the sequence again from a seed. The game seeds it from the clock at launch; tests and
// scripted runs give a fixed seed.
void RAND_Seed(std::uint32_t uiSeed);

// The seed the sequence was last started from.
std::uint32_t RAND_CurrentSeed();

// The next value, 0..RAND_MAXIMUM inclusive.
std::int32_t RAND_Next();

// 0..n inclusive: the next value modulo (n + 1). n must be 0 or more.
int RandInt(int n);

// 0..1 inclusive: the next value / 2147483647.0.
float RandFloat();
