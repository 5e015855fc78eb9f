#pragma once

// Encodes mono 16-bit-range samples as an Ogg Vorbis file in memory. The stream serial number
// is given, so the same samples always give the same bytes.

#include <cstdint>
#include <vector>

std::vector<std::uint8_t> OGG_EncodeMono(const std::vector<float>& tSamples, int iRate, int iSerial,
                                         const char* pTitle);
