#pragma once

// Writes and reads 8-bit RGBA pixels as PNG files (tools and tests look at what the game draws).

#include <cstdint>
#include <vector>

// Rows are given top first unless bBottomUp, in which case the first row is the picture's
// bottom (as glReadPixels returns it). Returns false and prints why on failure.
bool PNG_WriteRGBA(const char* pPath, int iWidth, int iHeight, const std::uint8_t* pPixels,
                   bool bBottomUp);

// Reads a PNG file as 8-bit RGBA, rows top first. False (and nothing changed) when it cannot.
bool PNG_ReadRGBA(const char* pPath, int* pWidth, int* pHeight, std::vector<std::uint8_t>* pPixels);
