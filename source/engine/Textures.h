#pragma once

// The texture manager: turns a texture name (a bare file stem such as "frontend") into a GL
// texture object, shares one object among all users of a name by reference counting and
// deletes it when the last user lets go. TEX_ functions are the texture manager's entry points;
// LoadPVRTextureFile and LoadTGAFile are its file-level readers.
//
// Files, under the resource directory:
//  - "Textures/<name>.pvr": PVR version 1 or 2, uncompressed or PVRTC 2/4 bpp (decoded in
//    software when the driver cannot take PVRTC);
//  - "Textures/<name>.tga": Truevision TGA, 24 or 32 bit, plain or run-length encoded;
//  - "Data/Textures/mental.pvr": the default texture, used in place of any texture that cannot
//    be loaded, so drawing never meets a missing texture.
// Render thread only: the table has no lock.

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "GLES.h"

constexpr int MAX_TEXTURES = 32;      // records of the texture table
constexpr int MAX_TEXTURE_NAME = 64;  // bytes of a record's name, NUL included

// The PVR file header (little-endian; 52 bytes in version 2 files, the first 44 in version 1).
struct PVRTextureHeader
{
    std::uint32_t headerSize;  // 52 or 44; texture data begins here
    std::uint32_t height;      // pixels of level 0
    std::uint32_t width;
    std::uint32_t mipMapCount;  // levels beyond level 0
    std::uint32_t flags;        // bits 0-7 pixel type; PVR_FLAG_* below
    std::uint32_t dataSize;     // bytes of one surface, all its levels
    std::uint32_t bitCount;     // bits per pixel
    std::uint32_t redMask;
    std::uint32_t greenMask;
    std::uint32_t blueMask;
    std::uint32_t alphaMask;    // PVRTC: 0 = opaque format, otherwise with alpha
    std::uint32_t magic;        // "PVR!" in a stored copy
    std::uint32_t numSurfaces;  // version 2 only; 0 = not set
};
static_assert(sizeof(PVRTextureHeader) == 52);

constexpr std::uint32_t PVR_HEADER_SIZE_V1 = 44;
constexpr std::uint32_t PVR_HEADER_SIZE_V2 = 52;
constexpr std::uint32_t PVR_MAGIC = 0x21525650;
constexpr std::uint32_t PVR_FLAG_MIPMAPS = 0x100;
constexpr std::uint32_t PVR_FLAG_TWIDDLED = 0x200;
constexpr std::uint32_t PVR_FLAG_CUBE_MAP = 0x1000;

// Pixel types (low byte of flags).
enum PVRPixelType : std::uint32_t
{
    PVR_RGBA_4444 = 0x10,
    PVR_RGBA_5551 = 0x11,
    PVR_RGBA_8888 = 0x12,
    PVR_RGB_565 = 0x13,
    PVR_RGB_555 = 0x14,  // not supported
    PVR_RGB_888 = 0x15,
    PVR_I_8 = 0x16,
    PVR_AI_88 = 0x17,
    PVR_PVRTC_2 = 0x18,
    PVR_PVRTC_4 = 0x19,
    PVR_BGRA_8888 = 0x1A,  // only with GL_IMG_texture_format_BGRA8888
};

// Pictures larger than this each way are refused as malformed.
constexpr std::uint32_t MAX_TEXTURE_SIZE = 16384;

// One record of the texture table; free when uiTextureID is 0.
struct TextureEntry
{
    char strName[MAX_TEXTURE_NAME];  // the requested name, not the path
    GLuint uiTextureID;
    int iRefCount;
    unsigned int iWidth;       // TGA textures only (0 otherwise)
    unsigned int iHeight;      // TGA textures only
    PVRTextureHeader tHeader;  // PVR textures (and the default in place of a TGA); else zero
};

// Zeroes the table without touching GL. Called once at start, before any load.
void TEX_ResetTextures();
// Every record is free (no GL name, no holder) or held (a GL name, a holder at least, a
// terminated name); assertions "source/engine/Textures". The soak checks it every frame.
void TEX_CheckTable();

// Index of the loaded record named exactly pName, or -1.
int TEX_FindTexture(const char* pName);

// The record at an index (tests and tools look at the table); null when out of range.
const TextureEntry* TEX_GetEntry(int iIndex);

// Loads "<resource>/Textures/<name>.pvr", or shares the record already loaded under that name.
// A file that cannot be loaded is replaced by the default texture and the call still succeeds;
// it returns 0 only when the default fails too, the table is full or the name does not fit.
// When ppHeader is given it receives the record's header copy, valid until the record is freed.
int TEX_LoadPVRTexture(const char* pName, GLuint* pTextureID, PVRTextureHeader** ppHeader);

// The same for "Textures/<name>.tga"; width and height (when asked for) are those of the TGA
// picture, 0 when the default texture stands in.
int TEX_LoadTGATexture(const char* pName, GLuint* pTextureID, unsigned int* pWidth,
                       unsigned int* pHeight);

// Counts one more holder of a loaded texture; an unknown GL name is ignored.
void TEX_RetainTexture(GLuint uiTextureID);

// Counts one holder less; the last one deletes the GL texture and frees the record. An unknown
// GL name is ignored.
void TEX_ReleaseTexture(GLuint uiTextureID);

// True when pName appears in the space-separated list pExtensions as a whole word.
bool TEX_HasExtension(const char* pExtensions, const char* pName);

// Reads a whole PVR file and uploads it (see LoadPVRTextureData). Non-zero on success.
int LoadPVRTextureFile(const char* pPath, GLuint* pTextureID, PVRTextureHeader* pHeader);

// Uploads PVR file contents held in memory to a new GL texture, left bound to GL_TEXTURE_2D
// with no filters set. Every level is checked against the bytes given before it is read, and
// PVRTC levels against the decoder's needs, so a malformed file fails instead of reading past
// its end. On failure nothing is left allocated, *pTextureID is 0 and TEX_LastLoadError says
// why. When pHeader is given it receives the header with magic "PVR!" and the surface count.
int LoadPVRTextureData(const std::uint8_t* pData, size_t uiSize, GLuint* pTextureID,
                       PVRTextureHeader* pHeader);

// Reads "<resource>/<relative path>" as a TGA file and uploads it to a new GL texture (bound
// texture 0 afterwards). 1 on success, 0 on failure with a one-line diagnostic printed.
int LoadTGAFile(const char* pPath, GLuint* pTextureID, unsigned int* pWidth, unsigned int* pHeight);

// Why the last LoadPVRTextureData or LoadTGAFile call failed ("" after a success).
const char* TEX_LastLoadError();
