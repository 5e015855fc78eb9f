// PVRTC decoding: one level of blocks decoded to exactly its pixels. The first five bytes are
// the level: mode (bit 0 set: 2 bits per pixel), then width - 1 and height - 1 as 16-bit
// little-endian values (each kept below 512, so a run stays quick); the rest are the blocks.
// Levels the loaders would refuse (a block grid that is not a power of two, too few bytes) are
// passed over, as the loaders never hand them to the decoder. The blocks and the picture each
// get a buffer of exactly their size, so a read or write past either is caught; the level is
// decoded twice over different fillings, so a pixel left unwritten shows as a difference.

#include <cstring>
#include <vector>

#include "Assert.h"
#include "FuzzSupport.h"
#include "PVRTDecompress.h"

namespace
{

constexpr size_t LEVEL_FIELDS = 5;
constexpr int MAX_SIDE = 512;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, size_t uiSize)
{
    if (uiSize < LEVEL_FIELDS)
    {
        return 0;
    }
    const bool b2bpp = (pData[0] & 1) != 0;
    const int iWidth = (pData[1] | pData[2] << 8) % MAX_SIDE + 1;
    const int iHeight = (pData[3] | pData[4] << 8) % MAX_SIDE + 1;
    const size_t uiNeeded = PVRT_LevelDataSize(b2bpp, iWidth, iHeight);
    if (!PVRT_IsDecodableLevel(b2bpp, iWidth, iHeight) || uiSize - LEVEL_FIELDS < uiNeeded)
    {
        return 0;
    }
    std::vector<std::uint8_t> tBlocks(pData + LEVEL_FIELDS, pData + LEVEL_FIELDS + uiNeeded);
    const size_t uiPixelBytes = static_cast<size_t>(iWidth) * iHeight * 4;
    std::vector<unsigned char> tFirst(uiPixelBytes, 0x00);
    std::vector<unsigned char> tSecond(uiPixelBytes, 0xFF);
    PVRTDecompressPVRTC(tBlocks.data(), b2bpp ? 1 : 0, iWidth, iHeight, tFirst.data());
    PVRTDecompressPVRTC(tBlocks.data(), b2bpp ? 1 : 0, iWidth, iHeight, tSecond.data());
    BF_ASSERT("fuzz_pvrtc", tFirst == tSecond);
    return 0;
}
