#pragma once

// Writes 8-bit RGBA pixels to a PNG file (tools and tests look at what the game draws), and
// reads one back (tests check what a tool or the generator wrote).

#include <cstdint>
#include <vector>

// Rows are given top first unless bBottomUp, in which case the first row is the picture's
// bottom (as glReadPixels returns it). Returns false and prints why on failure.
bool PNG_WriteRGBA(const char* pPath, int iWidth, int iHeight, const std::uint8_t* pPixels,
                   bool bBottomUp);

// Reads any PNG as 8-bit RGBA, rows top first. False (with one line printed) when the file
// cannot be read or is not a PNG; the outputs are then left empty.
bool PNG_ReadRGBA(const char* pPath, int* pWidth, int* pHeight, std::vector<std::uint8_t>* pPixels);
