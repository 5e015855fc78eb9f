#pragma once

// Encodes stereo samples as an MPEG-1 Layer III file (constant 128 kbit/s, no encoder info
// frame) with an ID3v2.3 tag naming the title and artist in front.

#include <cstdint>
#include <vector>

std::vector<std::uint8_t> MP3_EncodeStereo(const std::vector<float>& tInterleaved, int iRate,
                                           const char* pTitle, const char* pArtist);
