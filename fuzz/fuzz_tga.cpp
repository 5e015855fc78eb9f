// TGA pictures: the texture manager's reader on the file in memory. A picture that reads has the
// size its header gives and every byte of it is there; one that does not leaves nothing behind
// and says why.

#include <cstring>

#include "Assert.h"
#include "FuzzSupport.h"
#include "TGAFile.h"

namespace
{

constexpr const char* ASSERT_FILE = "fuzz_tga";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FUZZ_QuietOutput();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, size_t uiSize)
{
    FILE* pFile = FUZZ_OpenMemory(pData, uiSize);
    TGAPixels tImage;
    const bool bRead = TGA_ReadPixels(pFile, &tImage);
    std::fclose(pFile);
    if (!bRead)
    {
        BF_ASSERT(ASSERT_FILE, tImage.pPixels == nullptr && TGA_LastError()[0] != '\0');
        return 0;
    }
    BF_ASSERT(ASSERT_FILE, uiSize >= 18);
    BF_ASSERT(ASSERT_FILE, tImage.iWidth == (pData[12] | pData[13] << 8) &&
                               tImage.iHeight == (pData[14] | pData[15] << 8) &&
                               tImage.iBytesPerPixel == pData[16] / 8);
    // Every byte of the picture is read, as the upload reads it.
    const size_t uiBytes = static_cast<size_t>(tImage.iWidth) * tImage.iHeight *
                           static_cast<size_t>(tImage.iBytesPerPixel);
    unsigned int uiSum = 0;
    for (size_t i = 0; i < uiBytes; ++i)
    {
        uiSum += tImage.pPixels[i];
    }
    BF_ASSERT(ASSERT_FILE, uiSum <= uiBytes * 255u);
    TGA_FreePixels(&tImage);
    return 0;
}
