#pragma once

// Encodes samples in -1..1 (interleaved when there are two channels) as an Ogg Vorbis file in
// memory, at quality 0.4. The stream serial number is given, so the same samples always give the
// same bytes. Empty when the encoder refuses the format.

#include <cstdint>
#include <vector>

std::vector<std::uint8_t> OGG_Encode(const std::vector<float>& tInterleaved, int iChannels,
                                     int iRate, int iSerial, const char* pTitle);
