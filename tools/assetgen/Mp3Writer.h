#pragma once

// Encodes samples in -1..1 (interleaved when there are two channels) as an MPEG Layer III file
// with no encoder info frame, so the first frame after the tag is audio: MPEG-1 at 32 kHz and
// above (constant 128 kbit/s), MPEG-2 or 2.5 below. With a title, an ID3v2.3 tag naming the
// title and artist goes in front. Empty, after one line, when the encoder refuses the format.

#include <cstdint>
#include <vector>

std::vector<std::uint8_t> MP3_Encode(const std::vector<float>& tInterleaved, int iChannels,
                                     int iRate, const char* pTitle, const char* pArtist);

// The same for a loop that a player repeats without end: the file decodes to exactly one period
// of the loop, with no encoder delay or padding anywhere, so a decoder that plays every sample
// joins the end to the start without a gap. The period must be a whole number of MP3 frames
// (1152 samples at 32 kHz and above, 576 below). The file starts iLeadIn samples before the
// loop's first sample (its last iLeadIn samples come first).
//
// The frames are cut from the middle of an encode of the loop repeated, so each one is what the
// encoder made of that stretch with the music before it; every frame holds all its own bits (no
// bit reservoir), so the first one decodes without the last. A decoder that carries its state
// from the end of the file into its start (SDL_mixer with libmad repeating a file) joins them
// exactly. One that decodes the file afresh has no history for its first 576 samples: they come
// out faint, and iLeadIn puts them where the loop is quietest, just before its first beat.
std::vector<std::uint8_t> MP3_EncodeLoop(const std::vector<float>& tInterleaved, int iChannels,
                                         int iRate, int iLeadIn, const char* pTitle,
                                         const char* pArtist);
