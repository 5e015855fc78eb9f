// The snapshot ring and the saved game "gamesave.dat".
//
// Every level update first records a snapshot of the level into a ring of 20; quitting during
// play writes the file from an older snapshot, not from the live state, so the player finds
// the game as it was a moment before they quit. The file, little-endian, 1620 + 160 x N bytes:
//
//   0     6  "KTGFSV"
//   6     2  version 1
//   8   304  the snapshot's first 304 bytes: level header, popups, difficulty, lost count, N,
//            speed factor, spawn rate, spawn accumulator, mode timer
//   312   4  limbs, 5
//   316   4  twigs per limb, 4
//   320 1300 each limb's 52-byte branch record followed by its four twigs' records
//   1620     N pommo records of 160 bytes
//
// A file is used only when every field could have come from a real game; otherwise none of it
// is (one line says so), and the caller removes the file.

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "FileSystem.h"
#include "Level.h"
#include "LevelTables.h"

static_assert(std::endian::native == std::endian::little,
              "snapshots hold the level's memory as the file's little-endian bytes");

const char SAVE_FILE_NAME[] = "gamesave.dat";

namespace
{

const char SAVE_MAGIC[6] = {'K', 'T', 'G', 'F', 'S', 'V'};
constexpr std::uint16_t SAVE_VERSION = 1;

// Offsets inside one snapshot.
constexpr int SNAP_HEADER = 0;  // 20 bytes
constexpr int SNAP_HEADER_SIZE = 20;
constexpr int SNAP_POPUPS = 20;  // 256 bytes
constexpr int SNAP_DIFFICULTY = 276;
constexpr int SNAP_LOST = 280;
constexpr int SNAP_COUNT = 284;
constexpr int SNAP_SPEED = 288;
constexpr int SNAP_SPAWN_RATE = 292;
constexpr int SNAP_SPAWN_ACCUMULATOR = 296;
constexpr int SNAP_MODE_TIMER = 300;
constexpr int SNAP_LIMBS = 304;    // 5 x 52
constexpr int SNAP_TWIGS = 564;    // 5 x 4 x 52
constexpr int SNAP_POMMOS = 1604;  // 16 x 160
constexpr int BRANCH_RECORD_SIZE = static_cast<int>(sizeof(sBranchData));
static_assert(SNAP_HEADER + SNAP_HEADER_SIZE == SNAP_POPUPS);
static_assert(SNAP_POPUPS + MAX_POPUPS * static_cast<int>(sizeof(sPopup)) == SNAP_DIFFICULTY);
static_assert(SNAP_TWIGS == SNAP_LIMBS + NUM_LIMBS * BRANCH_RECORD_SIZE);
static_assert(SNAP_POMMOS == SNAP_TWIGS + NUM_LIMBS * TWIGS_PER_LIMB * BRANCH_RECORD_SIZE);
static_assert(SNAPSHOT_SIZE == SNAP_POMMOS + MAX_POMMOS * static_cast<int>(POMMO_RECORD_SIZE));

// Offsets inside the file.
constexpr int FILE_VERSION = 6;
constexpr int FILE_SNAPSHOT = 8;  // the snapshot's first SNAP_LIMBS bytes
constexpr int FILE_LIMB_COUNT = FILE_SNAPSHOT + SNAP_LIMBS;
constexpr int FILE_TWIG_COUNT = FILE_LIMB_COUNT + 4;
constexpr int FILE_BRANCHES = FILE_TWIG_COUNT + 4;
constexpr int FILE_POMMOS = FILE_BRANCHES + NUM_LIMBS * (1 + TWIGS_PER_LIMB) * BRANCH_RECORD_SIZE;
constexpr int FILE_MAX_SIZE = FILE_POMMOS + MAX_POMMOS * static_cast<int>(POMMO_RECORD_SIZE);
static_assert(FILE_POMMOS == 1620 && FILE_MAX_SIZE == 4180);

// How far outside the screen a pommo of a real game can be: thrown high and wide, it still
// comes down within a few seconds.
constexpr float POMMO_MIN_X = -8192.0f;
constexpr float POMMO_MAX_X = 8192.0f;
constexpr float POMMO_MIN_Y = -1024.0f;
constexpr float POMMO_MAX_Y = 8192.0f;
// Units per second either way: a throw is twice the drag, and gravity adds a few hundred.
constexpr float POMMO_MAX_SPEED = 8192.0f;
// Bounds of the tree's records: see BranchRecordValid.
constexpr float BRANCH_MAX_LENGTH = 2.0f;
constexpr float BRANCH_MAX_ANGLE = 360.0f;      // degrees
constexpr float BRANCH_MAX_SWAY_RANGE = 90.0f;  // degrees either side
// A pommo's full size is POMMO_FULL_SIZE until it turns overripe, when it shrinks to nine
// tenths once (and is set back to the full size as it swells sick); its size grows a step at a
// time from POMMO_START_SIZE and never far past the full size. The touch that picks a pommo
// divides by its full size.
constexpr float POMMO_OVERRIPE_FULL_SIZE = POMMO_FULL_SIZE * 0.9f;
constexpr float POMMO_MAX_SIZE = 2.0f * POMMO_FULL_SIZE;
// Its orientation is the identity or a basis of unit vectors, and a drag stretches it to at
// most twice its height: the drawn pommo, and the point touches pick it by, stay near it.
constexpr float POMMO_MAX_ATTACHMENT = 1.001f;
constexpr float POMMO_MAX_STRETCH = 2.0f;

void Put(std::uint8_t* pDest, int iOffset, const void* pSource, size_t uiSize)
{
    std::memcpy(pDest + iOffset, pSource, uiSize);
}

std::int32_t GetInt(const std::uint8_t* pSource, int iOffset)
{
    std::int32_t iValue;
    std::memcpy(&iValue, pSource + iOffset, sizeof(iValue));
    return iValue;
}

float GetFloat(const std::uint8_t* pSource, int iOffset)
{
    float fValue;
    std::memcpy(&fValue, pSource + iOffset, sizeof(fValue));
    return fValue;
}

bool AllFinite(const float* pValues, int iCount)
{
    for (int i = 0; i < iCount; ++i)
    {
        if (!std::isfinite(pValues[i]))
        {
            return false;
        }
    }
    return true;
}

bool AllWithin(const float* pValues, int iCount, float fBound)
{
    for (int i = 0; i < iCount; ++i)
    {
        if (!(std::fabs(pValues[i]) <= fBound))
        {
            return false;
        }
    }
    return true;
}

// A branch record as the level's tree has it: a limb with four twigs and no leaves, or a twig
// with no twigs and three leaves. Limbs are at most 1 long and twigs half that. A branch sways
// inside its band, its rest angle plus or minus the sway range, by steps of at most the range
// times the sway limit: an angle outside the band, or a negative range or limit, would swing
// it further each update, carrying the pommos hung on it off to infinity.
bool BranchRecordValid(const sBranchData& tBranch, bool bLimb)
{
    const int iChildren = bLimb ? TWIGS_PER_LIMB : 0;
    const int iLeaves = bLimb ? 0 : MAX_LEAVES;
    const float tAngles[3] = {tBranch.fBaseAngle, tBranch.fAngle, tBranch.fSwayDir};
    const float tPoints[4] = {tBranch.vBase[0], tBranch.vBase[1], tBranch.vTip[0], tBranch.vTip[1]};
    return tBranch.iNumChildren == iChildren && tBranch.iNumLeaves == iLeaves &&
           tBranch.fLength > 0.0f && tBranch.fLength <= BRANCH_MAX_LENGTH &&
           AllWithin(tAngles, 3, BRANCH_MAX_ANGLE) && tBranch.fSwayRange > 0.0f &&
           tBranch.fSwayRange <= BRANCH_MAX_SWAY_RANGE && tBranch.fSwayLimit >= 0.0f &&
           tBranch.fSwayLimit <= 1.0f &&
           std::fabs(tBranch.fAngle - tBranch.fBaseAngle) <= tBranch.fSwayRange &&
           AllWithin(tPoints, 4, POMMO_MAX_X);
}

bool PommoRecordValid(const CPommo& tPommo, int iDifficulty)
{
    const float* pFirstFloat = tPommo.vPosition;
    const int iNumFloats = static_cast<int>(
        (offsetof(CPommo, iLimbIndex) - offsetof(CPommo, vPosition)) / sizeof(float));
    return tPommo.iState >= 0 && tPommo.iState < POMMO_NUM_STATES && tPommo.iType >= 0 &&
           tPommo.iType <= iDifficulty && tPommo.iFace >= 0 && tPommo.iFace < POMMO_NUM_FACES &&
           tPommo.iLimbIndex >= 0 && tPommo.iLimbIndex < NUM_LIMBS && tPommo.iTwigIndex >= 0 &&
           tPommo.iTwigIndex < TWIGS_PER_LIMB && AllFinite(pFirstFloat, iNumFloats) &&
           (tPommo.fFullSize == POMMO_FULL_SIZE ||
            (tPommo.iState >= POMMO_OVERRIPE && tPommo.fFullSize == POMMO_OVERRIPE_FULL_SIZE)) &&
           tPommo.fSize >= 0.0f && tPommo.fSize <= POMMO_MAX_SIZE &&
           tPommo.fBranchPosition >= 0.0f && tPommo.fBranchPosition <= 1.0f &&
           AllWithin(tPommo.vVelocity, 3, POMMO_MAX_SPEED) &&
           AllWithin(tPommo.tAttachment, 16, POMMO_MAX_ATTACHMENT) && tPommo.fSquash >= 0.0f &&
           tPommo.fSquash <= POMMO_MAX_STRETCH && tPommo.fStretch >= 0.0f &&
           tPommo.fStretch <= POMMO_MAX_STRETCH && tPommo.vPosition[0] >= POMMO_MIN_X &&
           tPommo.vPosition[0] <= POMMO_MAX_X && tPommo.vPosition[1] >= POMMO_MIN_Y &&
           tPommo.vPosition[1] <= POMMO_MAX_Y;
}

// Every check a file must pass before any of it is used.
bool SaveFileValid(const std::uint8_t* pFile, size_t uiSize)
{
    if (uiSize < static_cast<size_t>(FILE_POMMOS) ||
        std::memcmp(pFile, SAVE_MAGIC, sizeof(SAVE_MAGIC)) != 0)
    {
        return false;
    }
    std::uint16_t uiVersion;
    std::memcpy(&uiVersion, pFile + FILE_VERSION, sizeof(uiVersion));
    const std::uint8_t* pSnap = pFile + FILE_SNAPSHOT;
    const int iCount = GetInt(pSnap, SNAP_COUNT);
    if (uiVersion != SAVE_VERSION || GetInt(pFile, FILE_LIMB_COUNT) != NUM_LIMBS ||
        GetInt(pFile, FILE_TWIG_COUNT) != TWIGS_PER_LIMB || iCount < 0 || iCount > MAX_POMMOS ||
        uiSize !=
            static_cast<size_t>(FILE_POMMOS) + static_cast<size_t>(iCount) * POMMO_RECORD_SIZE)
    {
        return false;
    }

    // Header: multiplier, streak, flag.
    const int iMultiplier = GetInt(pSnap, SNAP_HEADER + 8);
    const int iStreak = GetInt(pSnap, SNAP_HEADER + 12);
    const std::uint8_t bNewHigh = pSnap[SNAP_HEADER + 16];
    if (iMultiplier < 1 || iMultiplier > MAX_MULTIPLIER || iStreak < 0 || bNewHigh > 1)
    {
        return false;
    }
    for (int i = 0; i < MAX_POPUPS; ++i)
    {
        sPopup tPopup;
        std::memcpy(&tPopup, pSnap + SNAP_POPUPS + i * static_cast<int>(sizeof(sPopup)),
                    sizeof(tPopup));
        if (!std::isfinite(tPopup.fAlpha) ||
            (tPopup.iValue != 0 &&
             (tPopup.x < 16 || tPopup.x > 456 || !(tPopup.fAlpha > 0.0f) || tPopup.fAlpha > 1.0f)))
        {
            return false;
        }
    }
    const int iDifficulty = GetInt(pSnap, SNAP_DIFFICULTY);
    const int iLost = GetInt(pSnap, SNAP_LOST);
    const float tRates[4] = {GetFloat(pSnap, SNAP_SPEED), GetFloat(pSnap, SNAP_SPAWN_RATE),
                             GetFloat(pSnap, SNAP_SPAWN_ACCUMULATOR),
                             GetFloat(pSnap, SNAP_MODE_TIMER)};
    if (iDifficulty < 1 || iDifficulty > MAX_DIFFICULTY || iLost < 0 ||
        iLost > POMMOS_ALLOWED_TO_DROP || !AllFinite(tRates, 4) || tRates[0] < 1.0f ||
        tRates[1] < 0.5f || tRates[2] < 0.0f || tRates[3] < 0.0f)
    {
        return false;
    }

    for (int iLimb = 0; iLimb < NUM_LIMBS; ++iLimb)
    {
        for (int iRecord = 0; iRecord <= TWIGS_PER_LIMB; ++iRecord)
        {
            sBranchData tBranch;
            std::memcpy(&tBranch,
                        pFile + FILE_BRANCHES +
                            (iLimb * (1 + TWIGS_PER_LIMB) + iRecord) * BRANCH_RECORD_SIZE,
                        sizeof(tBranch));
            if (!BranchRecordValid(tBranch, iRecord == 0))
            {
                return false;
            }
        }
    }
    for (int k = 0; k < iCount; ++k)
    {
        CPommo tPommo;
        std::memcpy(&tPommo, pFile + FILE_POMMOS + k * static_cast<int>(POMMO_RECORD_SIZE),
                    POMMO_RECORD_SIZE);
        if (!PommoRecordValid(tPommo, iDifficulty))
        {
            return false;
        }
    }
    return true;
}

}  // namespace

void CLevel::RecordSnapshot()
{
    std::uint8_t* pSnap = tSnapshots[iSnapshotWrite];
    const std::int32_t tHeader[4] = {iScore, iHighScore, iMultiplier, iStreak};
    Put(pSnap, SNAP_HEADER, tHeader, sizeof(tHeader));
    const std::uint8_t tFlag[4] = {bNewHighScore, 0, 0, 0};
    Put(pSnap, SNAP_HEADER + 16, tFlag, sizeof(tFlag));
    Put(pSnap, SNAP_POPUPS, tPopups, sizeof(tPopups));
    Put(pSnap, SNAP_DIFFICULTY, &g_iDifficultyLevel, 4);
    Put(pSnap, SNAP_LOST, &iLostCount, 4);
    Put(pSnap, SNAP_SPEED, &g_fSpeedFactor, 4);
    Put(pSnap, SNAP_SPAWN_RATE, &fSpawnRate, 4);
    Put(pSnap, SNAP_SPAWN_ACCUMULATOR, &fSpawnAccumulator, 4);
    // A resumed game not yet touched keeps its period time in the resume timer.
    const float fTimer = fResumeTimer != 0.0f ? fResumeTimer : fModeTimer;
    Put(pSnap, SNAP_MODE_TIMER, &fTimer, 4);
    for (int iLimb = 0; iLimb < NUM_LIMBS; ++iLimb)
    {
        Put(pSnap, SNAP_LIMBS + iLimb * BRANCH_RECORD_SIZE, &tLimbs[iLimb].tData,
            BRANCH_RECORD_SIZE);
        for (int iTwig = 0; iTwig < TWIGS_PER_LIMB; ++iTwig)
        {
            Put(pSnap, SNAP_TWIGS + (iLimb * TWIGS_PER_LIMB + iTwig) * BRANCH_RECORD_SIZE,
                &Twig(iLimb, iTwig)->tData, BRANCH_RECORD_SIZE);
        }
    }
    std::int32_t iCount = 0;
    for (const CPommo* pPommo : pPommos)
    {
        if (pPommo != nullptr)
        {
            std::uint8_t* pRecord = pSnap + SNAP_POMMOS + iCount * POMMO_RECORD_SIZE;
            std::memcpy(pRecord, pPommo, POMMO_RECORD_SIZE);
            pRecord[0] = 0;  // never stored as held
            ++iCount;
        }
    }
    Put(pSnap, SNAP_COUNT, &iCount, 4);
    if (++iSnapshotWrite == NUM_SNAPSHOTS)
    {
        iSnapshotWrite = 0;
        bSnapshotsFull = 1;
    }
}

bool CLevel::Save()
{
    if (iMode != LEVEL_PLAYING && iMode != LEVEL_PAUSED)
    {
        return false;
    }
    if (!bSnapshotsFull && iSnapshotWrite == 0)
    {
        RecordSnapshot();  // nothing recorded yet: the present is the only state there is
    }
    const int s = bSnapshotsFull ? (iSnapshotWrite + 1) % NUM_SNAPSHOTS : 0;
    const std::uint8_t* pSnap = tSnapshots[s];
    const int iCount = GetInt(pSnap, SNAP_COUNT);

    std::uint8_t tFile[FILE_MAX_SIZE];
    Put(tFile, 0, SAVE_MAGIC, sizeof(SAVE_MAGIC));
    const std::uint16_t uiVersion = SAVE_VERSION;
    Put(tFile, FILE_VERSION, &uiVersion, sizeof(uiVersion));
    Put(tFile, FILE_SNAPSHOT, pSnap, SNAP_LIMBS);
    const std::int32_t tCounts[2] = {NUM_LIMBS, TWIGS_PER_LIMB};
    Put(tFile, FILE_LIMB_COUNT, tCounts, sizeof(tCounts));
    int iOffset = FILE_BRANCHES;
    for (int iLimb = 0; iLimb < NUM_LIMBS; ++iLimb)
    {
        Put(tFile, iOffset, pSnap + SNAP_LIMBS + iLimb * BRANCH_RECORD_SIZE, BRANCH_RECORD_SIZE);
        iOffset += BRANCH_RECORD_SIZE;
        Put(tFile, iOffset, pSnap + SNAP_TWIGS + iLimb * TWIGS_PER_LIMB * BRANCH_RECORD_SIZE,
            TWIGS_PER_LIMB * BRANCH_RECORD_SIZE);
        iOffset += TWIGS_PER_LIMB * BRANCH_RECORD_SIZE;
    }
    Put(tFile, FILE_POMMOS, pSnap + SNAP_POMMOS, static_cast<size_t>(iCount) * POMMO_RECORD_SIZE);
    return FS_ReplaceSaveFile(SAVE_FILE_NAME, tFile,
                              static_cast<size_t>(FILE_POMMOS) + iCount * POMMO_RECORD_SIZE);
}

bool CLevel::Load()
{
    FILE* pFile = FS_OpenSaveFile(SAVE_FILE_NAME, "rb");
    if (pFile == nullptr)
    {
        return false;
    }
    // One byte more than the largest file tells a longer one apart.
    std::uint8_t tFile[FILE_MAX_SIZE + 1];
    const size_t uiSize = std::fread(tFile, 1, sizeof(tFile), pFile);
    std::fclose(pFile);
    if (!SaveFileValid(tFile, uiSize))
    {
        std::printf("Saved game %s/%s cannot be resumed: it could not have come from a real game\n",
                    FS_SaveDirectory(), SAVE_FILE_NAME);
        return false;
    }

    const std::uint8_t* pSnap = tFile + FILE_SNAPSHOT;
    iScore = GetInt(pSnap, SNAP_HEADER);
    iHighScore = GetInt(pSnap, SNAP_HEADER + 4);
    iMultiplier = GetInt(pSnap, SNAP_HEADER + 8);
    iStreak = GetInt(pSnap, SNAP_HEADER + 12);
    bNewHighScore = pSnap[SNAP_HEADER + 16];
    std::memcpy(tPopups, pSnap + SNAP_POPUPS, sizeof(tPopups));
    g_iDifficultyLevel = GetInt(pSnap, SNAP_DIFFICULTY);
    for (int iType = 0; iType <= g_iDifficultyLevel; ++iType)
    {
        MakeBasket(g_iPommoBasket[iType], iType);
    }
    iLostCount = GetInt(pSnap, SNAP_LOST);
    const int iCount = GetInt(pSnap, SNAP_COUNT);
    g_fSpeedFactor = GetFloat(pSnap, SNAP_SPEED);
    fSpawnRate = GetFloat(pSnap, SNAP_SPAWN_RATE);
    fSpawnAccumulator = GetFloat(pSnap, SNAP_SPAWN_ACCUMULATOR);
    fResumeTimer = GetFloat(pSnap, SNAP_MODE_TIMER);

    const std::uint8_t* pBranch = tFile + FILE_BRANCHES;
    for (int iLimb = 0; iLimb < NUM_LIMBS; ++iLimb)
    {
        std::memcpy(&tLimbs[iLimb].tData, pBranch, BRANCH_RECORD_SIZE);
        pBranch += BRANCH_RECORD_SIZE;
        for (int iTwig = 0; iTwig < TWIGS_PER_LIMB; ++iTwig)
        {
            std::memcpy(&Twig(iLimb, iTwig)->tData, pBranch, BRANCH_RECORD_SIZE);
            pBranch += BRANCH_RECORD_SIZE;
        }
    }
    for (int k = 0; k < MAX_POMMOS; ++k)
    {
        pPommos[k] = nullptr;
    }
    iSelected = -1;
    bDragging = 0;
    for (int k = 0; k < iCount; ++k)
    {
        const std::uint8_t* pRecord = tFile + FILE_POMMOS + k * POMMO_RECORD_SIZE;
        const int iLimb = GetInt(pRecord, offsetof(CPommo, iLimbIndex));
        const int iTwig = GetInt(pRecord, offsetof(CPommo, iTwigIndex));
        CPommo* pPommo = &tPommoStore[k];
        pPommo->Create(Twig(iLimb, iTwig), iLimb, iTwig, 0.0f);
        std::memcpy(pPommo, pRecord, POMMO_RECORD_SIZE);  // every field but the branch
        pPommo->bHeld = 0;
        // A dropped pommo lies where it fell, whatever the file says: thrown after it dropped in
        // the player's grip, it would never land and would keep its slot for good.
        if (pPommo->iState == POMMO_FALLEN)
        {
            pPommo->bFlying = 0;
        }
        pPommos[k] = pPommo;
    }
    iMode = LEVEL_PAUSED;
    // The ring holds the loaded state from now: quitting before the first update saves it.
    RecordSnapshot();
    return true;
}
