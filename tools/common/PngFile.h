#pragma once

// Writes 8-bit RGBA pixels to a PNG file (tools and tests look at what the game draws).

#include <cstdint>

// Rows are given top first unless bBottomUp, in which case the first row is the picture's
// bottom (as glReadPixels returns it). Returns false and prints why on failure.
bool PNG_WriteRGBA(const char* pPath, int iWidth, int iHeight, const std::uint8_t* pPixels,
                   bool bBottomUp);
