// The high score "score.dat": read as a level reads it, then checked at launch as the game
// does. A file is valid when it starts with "BFS" and version 1 and holds the score; after the
// launch check any file at all is valid, keeping the score it held (0 when it held none).

#include <cstring>

#include "Assert.h"
#include "FileSystem.h"
#include "FuzzSupport.h"
#include "HighScore.h"

namespace
{

constexpr const char* ASSERT_FILE = "fuzz_highscore";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FUZZ_QuietOutput();
    FS_SetSaveDirectory(FUZZ_ScratchFolder());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, size_t uiSize)
{
    FUZZ_WriteScratchFile("score.dat", pData, uiSize);
    std::int32_t iInFile = 0;
    if (uiSize >= 8)
    {
        std::memcpy(&iInFile, pData + 4, sizeof(iInFile));
    }
    const bool bValid = uiSize >= SCORE_FILE_SIZE && std::memcmp(pData, "BFS", 3) == 0 &&
                        pData[3] == SCORE_FILE_VERSION;

    int iScore = -1;
    const bool bRead = SCORE_Read(&iScore);
    BF_ASSERT(ASSERT_FILE, bRead == bValid && iScore == (bValid ? iInFile : 0));

    SCORE_CheckFile();
    BF_ASSERT(ASSERT_FILE, SCORE_Read(&iScore) && iScore == iInFile);
    return 0;
}
