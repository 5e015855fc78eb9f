#pragma once

// Truevision TGA reading for the texture manager: true-colour pictures of 24 or 32 bits, plain
// (image type 2) or run-length encoded (type 10). TGA_ functions are the reader's entry points.

#include <cstdio>

// A TGA picture read into memory: R, G, B[, A] per pixel, rows in file order (the origin bit
// of the descriptor is not applied).
struct TGAPixels
{
    unsigned char* pPixels;  // malloc'ed; free with TGA_FreePixels
    int iWidth;
    int iHeight;
    int iBytesPerPixel;  // 3 or 4
};

// Reads an open TGA file from its current position (the start of the header). Only the image
// buffer of width x height pixels is ever written: a run-length packet that would pass the last
// pixel, or pixel data that end early, fail the read. On failure prints one diagnostic line
// (the words of the unsupported formats are the game's own) and returns false with nothing
// allocated.
bool TGA_ReadPixels(FILE* pFile, TGAPixels* pImage);

void TGA_FreePixels(TGAPixels* pImage);

// The diagnostic of the last failed TGA_ReadPixels ("" after a success).
const char* TGA_LastError();
