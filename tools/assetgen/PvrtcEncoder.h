#pragma once

// A small PVRTC (version 1, 4 bits per pixel, opaque) encoder, and the matching decoder the
// generator uses to preview what the game will show. Blocks are 4 x 4 pixels, stored as two
// little-endian 32-bit words (modulation, then colours A and B) in Morton order; the picture
// tiles, so blocks at an edge blend with the blocks of the opposite edge.

#include <cstdint>
#include <vector>

#include "ImageFile.h"

// Width and height must be powers of two, at least 8. Row 0 of the image is the first row of
// the decoded texture. Returns width * height / 2 bytes.
std::vector<std::uint8_t> PVRTC_Encode4bpp(const CImageRGBA& tImage);

// Decodes what PVRTC_Encode4bpp wrote back to RGBA with the game's decoder (black when the
// data is too short for the size).
CImageRGBA PVRTC_Decode4bpp(const std::vector<std::uint8_t>& tBlocks, int iWidth, int iHeight);
