#include "Textures.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "Assert.h"
#include "FileSystem.h"
#include "Host.h"
#include "PVRTDecompress.h"
#include "TGAFile.h"

namespace
{

TextureEntry s_tTextures[MAX_TEXTURES];

constexpr int PATH_SIZE = 2048;  // resource directory (up to 1023) + folder + name + extension

char s_strLastError[256];

void SetError(const char* pFormat, ...)
{
    va_list tArgs;
    va_start(tArgs, pFormat);
    std::vsnprintf(s_strLastError, sizeof(s_strLastError), pFormat, tArgs);
    va_end(tArgs);
}

// What GL is given for each uncompressed pixel type.
struct sPixelFormat
{
    std::uint32_t uiType;
    GLenum eFormat;
    GLenum eDataType;
    int iBytesPerPixel;  // what GL reads per pixel
};

constexpr sPixelFormat PIXEL_FORMATS[] = {
    {PVR_RGBA_4444, GL_RGBA, GL_UNSIGNED_SHORT_4_4_4_4, 2},
    {PVR_RGBA_5551, GL_RGBA, GL_UNSIGNED_SHORT_5_5_5_1, 2},
    {PVR_RGBA_8888, GL_RGBA, GL_UNSIGNED_BYTE, 4},
    {PVR_RGB_565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, 2},
    {PVR_RGB_888, GL_RGB, GL_UNSIGNED_BYTE, 3},
    {PVR_I_8, GL_LUMINANCE, GL_UNSIGNED_BYTE, 1},
    {PVR_AI_88, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, 2},
    {PVR_BGRA_8888, GL_BGRA_IMG, GL_UNSIGNED_BYTE, 4},
};

const sPixelFormat* FindPixelFormat(std::uint32_t uiType)
{
    for (const sPixelFormat& tFormat : PIXEL_FORMATS)
    {
        if (tFormat.uiType == uiType)
        {
            return &tFormat;
        }
    }
    return nullptr;
}

enum eUploadMode
{
    UPLOAD_PLAIN,       // glTexImage2D of the file's pixels
    UPLOAD_COMPRESSED,  // glCompressedTexImage2D of PVRTC data
    UPLOAD_DECODED,     // PVRTC decoded in software, uploaded as RGBA bytes
};

// How one PVR file's levels are laid out and uploaded.
struct sPVRLayout
{
    PVRTextureHeader tHeader;
    std::uint32_t uiSurfaces;
    std::uint32_t uiLevels;
    eUploadMode eMode;
    const sPixelFormat* pFormat;  // plain mode
    GLenum eCompressedFormat;     // compressed mode
    bool b2bpp;                   // PVRTC 2 bpp
};

void DrainGLErrors()
{
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i)
    {
    }
}

std::uint32_t ReadLE32(const std::uint8_t* pBytes)
{
    return static_cast<std::uint32_t>(pBytes[0]) | (static_cast<std::uint32_t>(pBytes[1]) << 8) |
           (static_cast<std::uint32_t>(pBytes[2]) << 16) |
           (static_cast<std::uint32_t>(pBytes[3]) << 24);
}

// Bytes one level occupies in the file, and bytes reading it takes (GL's read of the pixels, or
// the decoder's grid of blocks), which can be more when the header's bit count is off.
void LevelSizes(const sPVRLayout& tLayout, std::uint32_t uiWidth, std::uint32_t uiHeight,
                std::uint64_t* pStep, std::uint64_t* pRead)
{
    const std::uint64_t uiBits = tLayout.tHeader.bitCount;
    if (tLayout.eMode == UPLOAD_PLAIN)
    {
        *pStep = (uiBits * uiWidth * uiHeight + 7) / 8;
        *pRead = static_cast<std::uint64_t>(uiWidth) * uiHeight * tLayout.pFormat->iBytesPerPixel;
    }
    else
    {
        const std::uint64_t uiMinWidth = tLayout.b2bpp ? 16 : 8;
        *pStep = (uiBits * (uiWidth > uiMinWidth ? uiWidth : uiMinWidth) *
                      (uiHeight > 8 ? uiHeight : 8) +
                  7) /
                 8;
        *pRead = tLayout.eMode == UPLOAD_DECODED
                     ? PVRT_LevelDataSize(tLayout.b2bpp, static_cast<int>(uiWidth),
                                          static_cast<int>(uiHeight))
                     : *pStep;
    }
    if (*pRead < *pStep)
    {
        *pRead = *pStep;
    }
}

bool ParsePVRHeader(const std::uint8_t* pData, size_t uiSize, sPVRLayout* pLayout)
{
    PVRTextureHeader& tHeader = pLayout->tHeader;
    std::memset(&tHeader, 0, sizeof(tHeader));
    if (uiSize < PVR_HEADER_SIZE_V1)
    {
        SetError("file of %zu bytes is shorter than a PVR header", uiSize);
        return false;
    }
    const std::uint32_t uiHeaderSize = ReadLE32(pData);
    if (uiHeaderSize != PVR_HEADER_SIZE_V1 &&
        (uiHeaderSize != PVR_HEADER_SIZE_V2 || uiSize < PVR_HEADER_SIZE_V2))
    {
        SetError("bad PVR header size %u", uiHeaderSize);
        return false;
    }
    std::uint32_t* pFields = &tHeader.headerSize;
    for (std::uint32_t i = 0; i < uiHeaderSize / 4; ++i)
    {
        pFields[i] = ReadLE32(pData + 4 * i);
    }
    pLayout->uiSurfaces = (tHeader.flags & PVR_FLAG_CUBE_MAP) ? 6 : 1;
    if (uiHeaderSize == PVR_HEADER_SIZE_V2 && tHeader.numSurfaces != 0)
    {
        pLayout->uiSurfaces = tHeader.numSurfaces;
    }

    const std::uint32_t uiType = tHeader.flags & 0xFF;
    if ((tHeader.flags & PVR_FLAG_TWIDDLED) && uiType != PVR_PVRTC_2 && uiType != PVR_PVRTC_4)
    {
        SetError("twiddled data of pixel type 0x%02X is not supported", uiType);
        return false;
    }
    if (tHeader.flags & PVR_FLAG_CUBE_MAP)
    {
        SetError("cube maps are not supported");
        return false;
    }
    if (tHeader.width == 0 || tHeader.height == 0 || tHeader.width > MAX_TEXTURE_SIZE ||
        tHeader.height > MAX_TEXTURE_SIZE)
    {
        SetError("picture size %ux%u is out of range", tHeader.width, tHeader.height);
        return false;
    }
    // No picture of MAX_TEXTURE_SIZE has more than 15 levels; six surfaces make a cube.
    if (pLayout->uiSurfaces > 6 || ((tHeader.flags & PVR_FLAG_MIPMAPS) && tHeader.mipMapCount > 31))
    {
        SetError("%u surfaces with %u mip-map levels is malformed", pLayout->uiSurfaces,
                 tHeader.mipMapCount);
        return false;
    }
    pLayout->uiLevels = (tHeader.flags & PVR_FLAG_MIPMAPS) ? tHeader.mipMapCount + 1 : 1;

    const char* pExtensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    const bool bHasPVRTC = TEX_HasExtension(pExtensions, "GL_IMG_texture_compression_pvrtc");
    const bool bHasBGRA = TEX_HasExtension(pExtensions, "GL_IMG_texture_format_BGRA8888");
    pLayout->pFormat = nullptr;
    pLayout->b2bpp = uiType == PVR_PVRTC_2;
    if (uiType == PVR_PVRTC_2 || uiType == PVR_PVRTC_4)
    {
        const bool bAlpha = tHeader.alphaMask != 0;
        pLayout->eCompressedFormat = uiType == PVR_PVRTC_2
                                         ? (bAlpha ? GL_COMPRESSED_RGBA_PVRTC_2BPPV1_IMG
                                                   : GL_COMPRESSED_RGB_PVRTC_2BPPV1_IMG)
                                         : (bAlpha ? GL_COMPRESSED_RGBA_PVRTC_4BPPV1_IMG
                                                   : GL_COMPRESSED_RGB_PVRTC_4BPPV1_IMG);
        pLayout->eMode = bHasPVRTC ? UPLOAD_COMPRESSED : UPLOAD_DECODED;
    }
    else
    {
        pLayout->pFormat = FindPixelFormat(uiType);
        if (pLayout->pFormat == nullptr || (uiType == PVR_BGRA_8888 && !bHasBGRA))
        {
            SetError("pixel type 0x%02X is not supported", uiType);
            return false;
        }
        pLayout->eMode = UPLOAD_PLAIN;
    }
    return true;
}

// Walks every level of every surface; checks each against the bytes of the file, and uploads
// it when bUpload is set. On an upload failure the texture is left for the caller to delete.
bool WalkPVRLevels(const sPVRLayout& tLayout, const std::uint8_t* pData, size_t uiSize,
                   bool bUpload)
{
    const PVRTextureHeader& tHeader = tLayout.tHeader;
    for (std::uint32_t s = 0; s < tLayout.uiSurfaces; ++s)
    {
        std::uint64_t uiOffset =
            tHeader.headerSize + static_cast<std::uint64_t>(s) * tHeader.dataSize;
        std::uint32_t uiWidth = tHeader.width;
        std::uint32_t uiHeight = tHeader.height;
        for (std::uint32_t uiLevel = 0; uiLevel < tLayout.uiLevels; ++uiLevel)
        {
            std::uint64_t uiStep = 0;
            std::uint64_t uiRead = 0;
            LevelSizes(tLayout, uiWidth, uiHeight, &uiStep, &uiRead);
            if (uiOffset > uiSize || uiRead > uiSize - uiOffset)
            {
                SetError("level %u of surface %u needs %llu bytes at offset %llu; the file has %zu",
                         uiLevel, s, static_cast<unsigned long long>(uiRead),
                         static_cast<unsigned long long>(uiOffset), uiSize);
                return false;
            }
            if (tLayout.eMode == UPLOAD_DECODED &&
                !PVRT_IsDecodableLevel(tLayout.b2bpp, static_cast<int>(uiWidth),
                                       static_cast<int>(uiHeight)))
            {
                SetError("PVRTC level %u of %ux%u has a block grid that is not a power of two",
                         uiLevel, uiWidth, uiHeight);
                return false;
            }
            if (bUpload)
            {
                const std::uint8_t* pLevel = pData + uiOffset;
                const GLsizei iWidth = static_cast<GLsizei>(uiWidth);
                const GLsizei iHeight = static_cast<GLsizei>(uiHeight);
                const GLint iLevel = static_cast<GLint>(uiLevel);
                if (tLayout.eMode == UPLOAD_PLAIN)
                {
                    const GLenum eFormat = tLayout.pFormat->eFormat;
                    glTexImage2D(GL_TEXTURE_2D, iLevel, static_cast<GLint>(eFormat), iWidth,
                                 iHeight, 0, eFormat, tLayout.pFormat->eDataType, pLevel);
                }
                else if (tLayout.eMode == UPLOAD_COMPRESSED)
                {
                    glCompressedTexImage2D(GL_TEXTURE_2D, iLevel, tLayout.eCompressedFormat, iWidth,
                                           iHeight, 0, static_cast<GLsizei>(uiStep), pLevel);
                }
                else
                {
                    unsigned char* pPixels = static_cast<unsigned char*>(
                        std::malloc(static_cast<size_t>(uiWidth) * uiHeight * 4));
                    if (pPixels == nullptr)
                    {
                        SetError("out of memory decoding a %ux%u level", uiWidth, uiHeight);
                        return false;
                    }
                    PVRTDecompressPVRTC(pLevel, tLayout.b2bpp ? 1 : 0, iWidth, iHeight, pPixels);
                    glTexImage2D(GL_TEXTURE_2D, iLevel, GL_RGBA, iWidth, iHeight, 0, GL_RGBA,
                                 GL_UNSIGNED_BYTE, pPixels);
                    std::free(pPixels);
                }
                const GLenum eError = glGetError();
                if (eError != GL_NO_ERROR)
                {
                    SetError("GL error 0x%04X uploading level %u", eError, uiLevel);
                    return false;
                }
            }
            uiOffset += uiStep;
            uiWidth = uiWidth > 1 ? uiWidth / 2 : 1;
            uiHeight = uiHeight > 1 ? uiHeight / 2 : 1;
        }
    }
    return true;
}

void ClearEntry(TextureEntry* pEntry)
{
    std::memset(pEntry, 0, sizeof(*pEntry));
}

// Loads the default texture into a record; false when it cannot be loaded either.
bool LoadDefaultTexture(TextureEntry* pEntry)
{
    char strPath[PATH_SIZE];
    std::snprintf(strPath, sizeof(strPath), "%s/Data/Textures/mental.pvr", FS_ResourceDirectory());
    return LoadPVRTextureFile(strPath, &pEntry->uiTextureID, &pEntry->tHeader) != 0;
}

// Finds the record for a new name: shares a loaded one (return 1), or hands out a free one
// (return 0, *ppEntry set), or refuses (return -1, diagnostic printed).
int TakeRecord(const char* pName, TextureEntry** ppEntry)
{
    const int iFound = TEX_FindTexture(pName);
    if (iFound >= 0)
    {
        *ppEntry = &s_tTextures[iFound];
        ++(*ppEntry)->iRefCount;
        return 1;
    }
    if (std::strlen(pName) >= static_cast<size_t>(MAX_TEXTURE_NAME))
    {
        std::printf("Texture name too long (%d characters at most): %s\n", MAX_TEXTURE_NAME - 1,
                    pName);
        return -1;
    }
    for (TextureEntry& tEntry : s_tTextures)
    {
        if (tEntry.uiTextureID == 0)
        {
            ClearEntry(&tEntry);
            *ppEntry = &tEntry;
            return 0;
        }
    }
    std::printf("Texture table full (MAX_TEXTURES %d hit), cannot load: %s\n", MAX_TEXTURES, pName);
    return -1;
}

// The end of a first load: the record is named and held once, or freed when even the default
// could not be loaded.
int FinishRecord(TextureEntry* pEntry, const char* pName, bool bLoaded)
{
    if (!bLoaded)
    {
        std::printf("Unfortunately also failed to load the default texture.\n");
        ClearEntry(pEntry);
        return 0;
    }
    std::snprintf(pEntry->strName, sizeof(pEntry->strName), "%s", pName);
    pEntry->iRefCount = 1;
    return 1;
}

TextureEntry* FindByID(GLuint uiTextureID)
{
    if (uiTextureID == 0)
    {
        return nullptr;
    }
    for (TextureEntry& tEntry : s_tTextures)
    {
        if (tEntry.uiTextureID == uiTextureID)
        {
            return &tEntry;
        }
    }
    return nullptr;
}

}  // namespace

void TEX_ResetTextures()
{
    std::memset(s_tTextures, 0, sizeof(s_tTextures));
}

int TEX_FindTexture(const char* pName)
{
    for (int i = 0; i < MAX_TEXTURES && pName != nullptr; ++i)
    {
        if (s_tTextures[i].uiTextureID != 0 && std::strcmp(s_tTextures[i].strName, pName) == 0)
        {
            return i;
        }
    }
    return -1;
}

const TextureEntry* TEX_GetEntry(int iIndex)
{
    return iIndex >= 0 && iIndex < MAX_TEXTURES ? &s_tTextures[iIndex] : nullptr;
}

int TEX_LoadPVRTexture(const char* pName, GLuint* pTextureID, PVRTextureHeader** ppHeader)
{
    TextureEntry* pEntry = nullptr;
    const int iTaken = TakeRecord(pName != nullptr ? pName : "", &pEntry);
    if (iTaken < 0)
    {
        return 0;
    }
    if (iTaken == 0)
    {
        char strPath[PATH_SIZE];
        std::snprintf(strPath, sizeof(strPath), "%s/Textures/%s.pvr", FS_ResourceDirectory(),
                      pName);
        bool bLoaded = LoadPVRTextureFile(strPath, &pEntry->uiTextureID, &pEntry->tHeader) != 0;
        if (!bLoaded)
        {
            std::printf("Failed to load texture: %s\n", strPath);
            bLoaded = LoadDefaultTexture(pEntry);
        }
        if (!FinishRecord(pEntry, pName, bLoaded))
        {
            return 0;
        }
    }
    *pTextureID = pEntry->uiTextureID;
    if (ppHeader != nullptr)
    {
        *ppHeader = &pEntry->tHeader;
    }
    return 1;
}

int TEX_LoadTGATexture(const char* pName, GLuint* pTextureID, unsigned int* pWidth,
                       unsigned int* pHeight)
{
    TextureEntry* pEntry = nullptr;
    const int iTaken = TakeRecord(pName != nullptr ? pName : "", &pEntry);
    if (iTaken < 0)
    {
        return 0;
    }
    if (iTaken == 0)
    {
        char strPath[PATH_SIZE];
        std::snprintf(strPath, sizeof(strPath), "Textures/%s.tga", pName);
        bool bLoaded =
            LoadTGAFile(strPath, &pEntry->uiTextureID, &pEntry->iWidth, &pEntry->iHeight) != 0;
        if (!bLoaded)
        {
            std::printf("Failed to load texture: %s\n", strPath);
            pEntry->iWidth = 0;
            pEntry->iHeight = 0;
            bLoaded = LoadDefaultTexture(pEntry);
        }
        if (!FinishRecord(pEntry, pName, bLoaded))
        {
            return 0;
        }
    }
    *pTextureID = pEntry->uiTextureID;
    if (pWidth != nullptr)
    {
        *pWidth = pEntry->iWidth;
    }
    if (pHeight != nullptr)
    {
        *pHeight = pEntry->iHeight;
    }
    return 1;
}

void TEX_RetainTexture(GLuint uiTextureID)
{
    TextureEntry* pEntry = FindByID(uiTextureID);
    if (pEntry != nullptr)
    {
        ++pEntry->iRefCount;
    }
}

void TEX_CheckTable()
{
    for (const TextureEntry& tEntry : s_tTextures)
    {
        const bool bFree = tEntry.uiTextureID == 0;
        BF_ASSERT("source/engine/Textures", bFree ? tEntry.iRefCount == 0 : tEntry.iRefCount > 0);
        BF_ASSERT("source/engine/Textures",
                  std::memchr(tEntry.strName, '\0', MAX_TEXTURE_NAME) != nullptr);
    }
}

void TEX_ReleaseTexture(GLuint uiTextureID)
{
    TextureEntry* pEntry = FindByID(uiTextureID);
    if (pEntry == nullptr)
    {
        return;
    }
    if (--pEntry->iRefCount <= 0)
    {
        glDeleteTextures(1, &pEntry->uiTextureID);
        ClearEntry(pEntry);
    }
}

bool TEX_HasExtension(const char* pExtensions, const char* pName)
{
    if (pExtensions == nullptr || pName == nullptr || pName[0] == '\0' ||
        std::strchr(pName, ' ') != nullptr)
    {
        return false;
    }
    const size_t uiLength = std::strlen(pName);
    const char* pStart = pExtensions;
    for (;;)
    {
        const char* pFound = std::strstr(pStart, pName);
        if (pFound == nullptr)
        {
            return false;
        }
        const char* pEnd = pFound + uiLength;
        if ((pFound == pExtensions || pFound[-1] == ' ') && (*pEnd == ' ' || *pEnd == '\0'))
        {
            return true;
        }
        pStart = pEnd;
    }
}

const char* TEX_LastLoadError()
{
    return s_strLastError;
}

int LoadPVRTextureFile(const char* pPath, GLuint* pTextureID, PVRTextureHeader* pHeader)
{
    *pTextureID = 0;
    FILE* pFile = HostFileOpen(pPath, "rb");
    if (pFile == nullptr)
    {
        SetError("cannot open %s", pPath != nullptr ? pPath : "(null)");
        return 0;
    }
    const long iLength = HostFileLength(pFile);
    std::uint8_t* pData =
        iLength > 0 ? static_cast<std::uint8_t*>(std::malloc(static_cast<size_t>(iLength)))
                    : nullptr;
    const size_t uiRead =
        pData != nullptr ? HostFileRead(pData, 1, static_cast<size_t>(iLength), pFile) : 0;
    HostFileClose(pFile);
    int iResult = 0;
    if (pData == nullptr || uiRead != static_cast<size_t>(iLength))
    {
        SetError("cannot read %s", pPath);
    }
    else
    {
        iResult = LoadPVRTextureData(pData, uiRead, pTextureID, pHeader);
    }
    std::free(pData);
    return iResult;
}

int LoadPVRTextureData(const std::uint8_t* pData, size_t uiSize, GLuint* pTextureID,
                       PVRTextureHeader* pHeader)
{
    *pTextureID = 0;
    s_strLastError[0] = '\0';
    sPVRLayout tLayout;
    if (pData == nullptr || !ParsePVRHeader(pData, uiSize, &tLayout) ||
        !WalkPVRLevels(tLayout, pData, uiSize, false))
    {
        return 0;
    }

    DrainGLErrors();  // an earlier caller's error is not this file's
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    GLuint uiTexture = 0;
    glGenTextures(1, &uiTexture);
    glBindTexture(GL_TEXTURE_2D, uiTexture);
    const GLenum eError = glGetError();
    if (eError != GL_NO_ERROR || uiTexture == 0)
    {
        SetError("GL error 0x%04X creating a texture", eError);
        glDeleteTextures(1, &uiTexture);
        return 0;
    }
    if (!WalkPVRLevels(tLayout, pData, uiSize, true))
    {
        glDeleteTextures(1, &uiTexture);
        return 0;
    }

    *pTextureID = uiTexture;
    if (pHeader != nullptr)
    {
        *pHeader = tLayout.tHeader;
        pHeader->magic = PVR_MAGIC;
        pHeader->numSurfaces = tLayout.uiSurfaces;
    }
    return 1;
}

int LoadTGAFile(const char* pPath, GLuint* pTextureID, unsigned int* pWidth, unsigned int* pHeight)
{
    s_strLastError[0] = '\0';
    FILE* pFile = FS_OpenResourceFile(pPath);
    if (pFile == nullptr)
    {
        SetError("file not found: %s", pPath != nullptr ? pPath : "(null)");
        return 0;
    }
    TGAPixels tImage;
    const bool bRead = TGA_ReadPixels(pFile, &tImage);
    HostFileClose(pFile);
    if (!bRead)
    {
        SetError("%s", TGA_LastError());
        return 0;
    }

    const GLenum eFormat = tImage.iBytesPerPixel == 3 ? GL_RGB : GL_RGBA;
    DrainGLErrors();
    // 24-bit rows are not 4-byte aligned: GL must not read past the buffer.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    GLuint uiTexture = 0;
    glGenTextures(1, &uiTexture);
    glBindTexture(GL_TEXTURE_2D, uiTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(eFormat), tImage.iWidth, tImage.iHeight, 0,
                 eFormat, GL_UNSIGNED_BYTE, tImage.pPixels);
    const GLenum eError = glGetError();
    glBindTexture(GL_TEXTURE_2D, 0);
    const int iWidth = tImage.iWidth;
    const int iHeight = tImage.iHeight;
    TGA_FreePixels(&tImage);
    if (eError != GL_NO_ERROR || uiTexture == 0)
    {
        std::printf("TGA upload failed with GL error 0x%04X: %s\n", eError, pPath);
        SetError("GL error 0x%04X uploading %s", eError, pPath);
        glDeleteTextures(1, &uiTexture);
        return 0;
    }
    *pTextureID = uiTexture;
    *pWidth = static_cast<unsigned int>(iWidth);
    *pHeight = static_cast<unsigned int>(iHeight);
    return 1;
}
