// The level's bounds, checked as a whole: what every frame of a long scripted run asserts so
// that a slot, a count or an index that strays is caught on the frame it happens, with the
// assertion line naming it.

#include <cmath>

#include "Assert.h"
#include "Level.h"
#include "LevelTables.h"

namespace
{

constexpr const char* ASSERT_FILE = "source/base/Level";

void CheckPommo(const CPommo& tPommo, const CLevel& tLevel)
{
    BF_ASSERT(ASSERT_FILE, tPommo.iState >= POMMO_GROWING && tPommo.iState < POMMO_NUM_STATES);
    BF_ASSERT(ASSERT_FILE, tPommo.iType >= 0 && tPommo.iType <= g_iDifficultyLevel);
    BF_ASSERT(ASSERT_FILE, tPommo.iFace >= FACE_GROWING && tPommo.iFace < POMMO_NUM_FACES);
    BF_ASSERT(ASSERT_FILE, tPommo.iLimbIndex >= 0 && tPommo.iLimbIndex < NUM_LIMBS);
    BF_ASSERT(ASSERT_FILE, tPommo.iTwigIndex >= 0 && tPommo.iTwigIndex < TWIGS_PER_LIMB);
    BF_ASSERT(ASSERT_FILE,
              tPommo.pBranch == tLevel.tLimbs[tPommo.iLimbIndex].pChildren[tPommo.iTwigIndex]);
    // A pommo that dropped lies on the ground: out of the finger's grip, never thrown.
    BF_ASSERT(ASSERT_FILE, tPommo.iState != POMMO_FALLEN || (!tPommo.bHeld && !tPommo.bFlying));
    for (int i = 0; i < 3; ++i)
    {
        BF_ASSERT(ASSERT_FILE, std::isfinite(tPommo.vPosition[i]));
        BF_ASSERT(ASSERT_FILE, std::isfinite(tPommo.vVelocity[i]));
    }
}

}  // namespace

void CLevel::CheckTables() const
{
    BF_ASSERT(ASSERT_FILE, iMode >= LEVEL_GET_READY && iMode <= LEVEL_EXIT);
    BF_ASSERT(ASSERT_FILE, iNumLimbs == NUM_LIMBS);
    BF_ASSERT(ASSERT_FILE, iLevelIndex >= 0 && iLevelIndex < NUM_LEVELS);
    BF_ASSERT(ASSERT_FILE, iMultiplier >= 1 && iMultiplier <= MAX_MULTIPLIER);
    BF_ASSERT(ASSERT_FILE, iStreak >= 0 && iLostCount >= 0);
    BF_ASSERT(ASSERT_FILE, iSnapshotWrite >= 0 && iSnapshotWrite < NUM_SNAPSHOTS);
    BF_ASSERT(ASSERT_FILE, g_iDifficultyLevel >= 1 && g_iDifficultyLevel <= MAX_DIFFICULTY);
    BF_ASSERT(ASSERT_FILE, uiTexture != 0);
    // A selection is a pommo in a slot, held by the finger; no other pommo is held.
    BF_ASSERT(ASSERT_FILE, iSelected >= -1 && iSelected < MAX_POMMOS);
    BF_ASSERT(ASSERT_FILE, iSelected == -1 || pPommos[iSelected] != nullptr);
    for (int k = 0; k < MAX_POMMOS; ++k)
    {
        BF_ASSERT(ASSERT_FILE, pPommos[k] == nullptr || pPommos[k] == &tPommoStore[k]);
        if (pPommos[k] != nullptr)
        {
            CheckPommo(*pPommos[k], *this);
            BF_ASSERT(ASSERT_FILE, (pPommos[k]->bHeld != 0) == (k == iSelected));
        }
    }
    for (const sPopup& tPopup : tPopups)
    {
        if (tPopup.iValue != 0)
        {
            BF_ASSERT(ASSERT_FILE, tPopup.x >= 16 && tPopup.x <= 456);
            BF_ASSERT(ASSERT_FILE, tPopup.fAlpha > 0.0f && tPopup.fAlpha <= 1.0f);
        }
    }
    for (int i = 0; i < 3; ++i)
    {
        BF_ASSERT(ASSERT_FILE, std::isfinite(vGravity[i]));
    }
    for (const QuadRenderBuffer& tBuffer : tQuadBuffers)
    {
        tBuffer.CheckBounds();
    }
}
