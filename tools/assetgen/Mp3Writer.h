#pragma once

// Encodes samples in -1..1 (interleaved when there are two channels) as an MPEG Layer III file
// with no encoder info frame: MPEG-1 at 32 kHz and above (constant 128 kbit/s), MPEG-2 or 2.5
// below. With a title, an ID3v2.3 tag naming the title and artist goes in front. Empty when the
// encoder refuses the format.

#include <cstdint>
#include <vector>

std::vector<std::uint8_t> MP3_Encode(const std::vector<float>& tInterleaved, int iChannels,
                                     int iRate, const char* pTitle, const char* pArtist);
