// PVR textures: the header and every level checked and uploaded by LoadPVRTextureData into a
// hidden GL context, PVRTC decoded in software as on Mesa. A file that loads gives a texture
// and the header's own size; one that does not leaves no texture and says why.

#include "Assert.h"
#include "FuzzSupport.h"
#include "GLES.h"
#include "Textures.h"

namespace
{

constexpr const char* ASSERT_FILE = "fuzz_pvr";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FUZZ_QuietOutput();
    FUZZ_OpenEngine("fuzz_pvr");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, size_t uiSize)
{
    GLuint uiTexture = 1;
    PVRTextureHeader tHeader;
    const int iLoaded = LoadPVRTextureData(pData, uiSize, &uiTexture, &tHeader);
    if (!iLoaded)
    {
        BF_ASSERT(ASSERT_FILE, uiTexture == 0 && TEX_LastLoadError()[0] != '\0');
        return 0;
    }
    BF_ASSERT(ASSERT_FILE, uiTexture != 0 && tHeader.magic == PVR_MAGIC);
    BF_ASSERT(ASSERT_FILE, tHeader.width >= 1 && tHeader.width <= MAX_TEXTURE_SIZE &&
                               tHeader.height >= 1 && tHeader.height <= MAX_TEXTURE_SIZE);
    glDeleteTextures(1, &uiTexture);
    return 0;
}
