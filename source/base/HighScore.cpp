#include "HighScore.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "FileSystem.h"

namespace
{

const char SCORE_FILE_NAME[] = "score.dat";

// What a read of the file found.
enum eScoreFile
{
    SCORE_FILE_MISSING,     // not there
    SCORE_FILE_UNREADABLE,  // there, but it cannot be opened
    SCORE_FILE_FOREIGN,     // another format or version, or cut short
    SCORE_FILE_VALID,
};

std::int32_t ReadLittle32(const std::uint8_t* p)
{
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
        static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}

// Reads the file; *pScore is the score found at offset 4 (0 when the file is too short for one).
eScoreFile ReadScoreFile(int* pScore, int* pErrno)
{
    *pScore = 0;
    FILE* pFile = FS_OpenSaveFile(SCORE_FILE_NAME, "rb");
    if (pFile == nullptr)
    {
        *pErrno = errno;
        return errno == ENOENT ? SCORE_FILE_MISSING : SCORE_FILE_UNREADABLE;
    }
    std::uint8_t tBytes[SCORE_FILE_SIZE] = {};
    const size_t uiRead = std::fread(tBytes, 1, sizeof(tBytes), pFile);
    std::fclose(pFile);
    if (uiRead >= 8)
    {
        *pScore = ReadLittle32(tBytes + 4);
    }
    const bool bValid = uiRead == SCORE_FILE_SIZE && std::memcmp(tBytes, "BFS", 3) == 0 &&
                        tBytes[3] == SCORE_FILE_VERSION;
    return bValid ? SCORE_FILE_VALID : SCORE_FILE_FOREIGN;
}

}  // namespace

void SCORE_CheckFile()
{
    int iScore = 0;
    int iErrno = 0;
    bool bSubmitted = false;
    switch (ReadScoreFile(&iScore, &iErrno))
    {
        case SCORE_FILE_VALID:
            return;
        case SCORE_FILE_UNREADABLE:
            // Never replace a file that may hold a score only because it cannot be read now.
            std::printf("Cannot read the high score in %s/%s: %s\n", FS_SaveDirectory(),
                        SCORE_FILE_NAME, std::strerror(iErrno));
            return;
        case SCORE_FILE_FOREIGN:
            bSubmitted = SCORE_OfferToLeaderboard(iScore);
            break;
        case SCORE_FILE_MISSING:
            break;
    }
    SCORE_Write(iScore, bSubmitted);
}

bool SCORE_Read(int* pScore)
{
    int iErrno = 0;
    if (ReadScoreFile(pScore, &iErrno) != SCORE_FILE_VALID)
    {
        *pScore = 0;
        return false;
    }
    return true;
}

bool SCORE_Write(int iScore, bool bSubmitted)
{
    const std::uint32_t uiScore = static_cast<std::uint32_t>(iScore);
    const std::uint8_t tBytes[SCORE_FILE_SIZE] = {
        'B',
        'F',
        'S',
        SCORE_FILE_VERSION,
        static_cast<std::uint8_t>(uiScore),
        static_cast<std::uint8_t>(uiScore >> 8),
        static_cast<std::uint8_t>(uiScore >> 16),
        static_cast<std::uint8_t>(uiScore >> 24),
        static_cast<std::uint8_t>(bSubmitted ? 1 : 0),
    };
    return FS_ReplaceSaveFile(SCORE_FILE_NAME, tBytes, sizeof(tBytes));
}

bool SCORE_SubmitToLeaderboard(int, const char*, int)
{
    return false;
}

bool SCORE_OfferToLeaderboard(int iScore)
{
    char strScore[16];
    std::snprintf(strScore, sizeof(strScore), "%d", iScore);
    return SCORE_SubmitToLeaderboard(iScore, strScore, 1);
}
