#pragma once

// Software decoding of PVRTC version 1 texture data (4 bits per pixel in blocks of 4 x 4 pixels,
// 2 bits per pixel in blocks of 8 x 4) to 8-bit RGBA, for GL drivers that cannot take PVRTC
// compressed textures. The PVRT_ functions are the decoder's entry points.
//
// A level is a grid of 64-bit blocks in Morton (twiddled) order. The grid is
// max(width / block width, 2) x max(height / 4, 2) blocks, both counts powers of two, and it
// tiles: blocks beyond an edge wrap around to the opposite edge.

#include <cstddef>

// Blocks of the grid a level of the given size is stored in (at least 2 each way).
int PVRT_BlocksAcross(bool b2bpp, int iWidth);
int PVRT_BlocksDown(int iHeight);

// Bytes of compressed data the decoder reads for one level: 8 per block of the grid.
size_t PVRT_LevelDataSize(bool b2bpp, int iWidth, int iHeight);

// True when the level can be decoded: a positive size whose block grid is a power of two in
// both directions. Loaders check this before calling the decoder, which asserts it.
bool PVRT_IsDecodableLevel(bool b2bpp, int iWidth, int iHeight);

// Decodes one level: reads PVRT_LevelDataSize bytes from pCompressedData and writes exactly
// iXDim x iYDim pixels (R, G, B, A; row-major from the first row) to pResultImage. Integer
// arithmetic only; allocates nothing. A grid that is not a power of two is a programming error
// (assertion in "PVRTDecompress").
void PVRTDecompressPVRTC(const void* pCompressedData, int iDo2bitMode, int iXDim, int iYDim,
                         unsigned char* pResultImage);

// Morton (twiddled) index of block (iXPos, iYPos) in a grid of iXSize x iYSize blocks.
unsigned int PVRT_TwiddleUV(unsigned int iYSize, unsigned int iXSize, unsigned int iYPos,
                            unsigned int iXPos);
