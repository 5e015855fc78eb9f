#pragma once

#include <cmath>

// The mixing plan: how loud the generated theme and effects are, so that the game's mix never
// reaches full scale and the effects still stand out over the music.
//
// The game plays everything at unity gain: the music at full music volume, every effect at full
// channel volume, and SDL_mixer adds them up and clips whatever passes full scale. So the levels
// are set here, in the data, as budgets for the decoded peaks:
//
//   the theme                                                   -12.5 dBFS
//   the calls ("no", the cheers) and the menu steps              -9.5 dBFS
//   the title jingle                                            -11   dBFS
//   the yawns, the birds and the second laugh                   -12   dBFS
//   the first laugh                                             -10.5 dBFS
//
// The theme with the two loudest effects, all at their peaks at once, comes to about -0.9 dBFS:
// a miss and a cheer, two misses, or a menu step over the jingle, over the theme's loudest bar,
// stay below full scale. One effect over the theme comes to -4.9 dBFS at the most. Only three
// effects at once over the music (two calls and a yawn) could pass full scale, and only if all
// four peaks met.
//
// Heard over the music: each effect is first peak-limited by MIX_EFFECT_LIMIT_DB, which brings
// its body closer to its peak, then set to its budget; the theme keeps its soft limiting. Judged
// by RMS, each effect's loudest 100 ms against the theme's loudest bar (two seconds, -24 dBFS
// RMS as decoded), the calls and menu steps come out 8.5 to 9.5 dB above the music, the yawns
// 7.5 dB, the birds, the laughs and the jingle 3.5 to 6 dB (the 60 ms scroll tick is a click and
// its RMS says little). test_mix measures all of this again from the decoded files, and the
// README gives the mix of a long scripted game.
//
// Vorbis brings peaks back higher than they went in (by up to 2.5 dB for the bird calls), so the
// effects are levelled on their decoded samples (SFX_Encode).

constexpr float MIX_THEME_PEAK_DB = -12.5f;
// The loudest any effect may be; the level sheet in SoundEffects.cpp sets each one.
constexpr float MIX_EFFECT_PEAK_DB = -9.5f;
// How far each effect's peaks are pulled down before it is levelled, and the limiter's glide.
constexpr float MIX_EFFECT_LIMIT_DB = 4.0f;
constexpr double MIX_EFFECT_LIMIT_RAMP_SECONDS = 0.01;

// A level in dBFS as a sample value (full scale 1).
inline float MIX_Gain(float fDb)
{
    return std::pow(10.0f, fDb / 20.0f);
}
