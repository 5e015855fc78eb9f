#include "Pommo.h"

#include <cmath>

#include "Branch.h"
#include "Level.h"
#include "LevelSounds.h"
#include "Random.h"

namespace
{

// A fallen pommo leans towards a point on the ground 100 units to its side of the tree.
constexpr float FALLEN_LEAN_DISTANCE = 100.0f;
constexpr float STRETCH_AT_REST = 1.001f;       // stretch below this counts as none
constexpr float CHANCE_OF_FACE_CHANGE = 0.98f;  // RandFloat above this: a 2 % chance an update

}  // namespace

void POMMO_Normalise(float v[3])
{
    const float fLength = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (!(fLength > 0.0f) || !std::isfinite(fLength))
    {
        v[0] = 0.0f;
        v[1] = 1.0f;
        v[2] = 0.0f;
        return;
    }
    v[0] /= fLength;
    v[1] /= fLength;
    v[2] /= fLength;
}

void POMMO_Identity(float m[16])
{
    for (int i = 0; i < 16; ++i)
    {
        m[i] = i % 5 == 0 ? 1.0f : 0.0f;
    }
}

void POMMO_BasisMatrix(const float u[3], float m[16])
{
    // x = u cross z, with z = (0, 0, 1).
    float x[3] = {u[1], -u[0], 0.0f};
    POMMO_Normalise(x);
    POMMO_Identity(m);
    for (int i = 0; i < 3; ++i)
    {
        m[i] = x[i];
        m[4 + i] = u[i];
    }
    m[8] = 0.0f;
    m[9] = 0.0f;
    m[10] = 1.0f;
}

void CPommo::Create(CBranch* pTwig, int iLimb, int iTwig, float fPosition)
{
    bHeld = 0;
    bFlying = 0;
    bThrownUp = 0;
    ucPadding = 0;
    fSquash = 1.0f;
    fStretch = 1.0f;
    fSize = POMMO_START_SIZE;
    fFullSize = POMMO_FULL_SIZE;
    fRipeTimer = 0.0f;
    fFaceTimer = 0.0f;
    fReserved = 0.0f;
    fRandomFactor = RandFloat() * 0.3f + 0.7f;
    iFace = FACE_GROWING;
    iState = POMMO_GROWING;
    iType = RandInt(g_iDifficultyLevel);
    for (int i = 0; i < 3; ++i)
    {
        vPosition[i] = 0.0f;
        vVelocity[i] = 0.0f;
        vScreenPoint[i] = 0.0f;
    }
    POMMO_Identity(tAttachment);
    fBranchPosition = fPosition;
    iLimbIndex = iLimb;
    iTwigIndex = iTwig;
    pBranch = pTwig;
    const float vDown[3] = {0.0f, -9.81f, 0.0f};
    float tIdentity[16];
    POMMO_Identity(tIdentity);
    HangingUpdate(vDown, 0.0001f, tIdentity);
}

bool CPommo::HangingUpdate(const float* pGravity, float dt, const float* pMatrix)
{
    if (iState == POMMO_FALLEN)
    {
        const float fTargetX =
            vPosition[0] + (fBranchPosition <= 0.5f ? -FALLEN_LEAN_DISTANCE : FALLEN_LEAN_DISTANCE);
        float u[3] = {vPosition[0] - fTargetX, vPosition[1] - POMMO_GROUND_Y, 0.0f};
        POMMO_Normalise(u);
        POMMO_BasisMatrix(u, tAttachment);
    }
    else
    {
        for (int i = 0; i < 16; ++i)
        {
            tAttachment[i] = pMatrix[i];
        }
    }
    return CommonUpdate(pGravity, dt);
}

bool CPommo::CommonUpdate(const float* pGravity, float dt)
{
    bool bDropped = false;
    if (!bFlying && iState != POMMO_FALLEN)
    {
        const float* pBase = pBranch->tData.vBase;
        const float* pTip = pBranch->tData.vTip;
        vPosition[0] = pBase[0] + (pTip[0] - pBase[0]) * fBranchPosition;
        vPosition[1] = pBase[1] + (pTip[1] - pBase[1]) * fBranchPosition;
        vPosition[2] = 0.0f;
        fFaceTimer += dt;
        if (!bHeld)
        {
            fRipeTimer += g_fSpeedFactor * dt;
        }
        // Per update, not per second: the frame rate sets the pace of growth.
        if (fSize >= fFullSize)
        {
            fSize -= g_fSpeedFactor * POMMO_GROWTH_STEP;
        }
        else
        {
            fSize += g_fSpeedFactor * POMMO_GROWTH_STEP;
        }

        if (iState == POMMO_GROWING)
        {
            if (fSize >= fFullSize)
            {
                iState = POMMO_RIPE;
                iFace = FACE_RIPE;
                fFaceTimer = 0.0f;
                fRipeTimer = 0.0f;
            }
            else if (iFace == FACE_GROWING && fFaceTimer > 1.0f &&
                     RandFloat() > CHANCE_OF_FACE_CHANGE)
            {
                iFace = FACE_YAWNING;
                fFaceTimer = 0.0f;
                if (RandInt(15) == 0)
                {
                    if (iType == 2)
                    {
                        LEVEL_PlaySound(LEVEL_SOUND_YAWN2);
                    }
                    else
                    {
                        LEVEL_PlaySound(RandFloat() > 0.5f ? LEVEL_SOUND_YAWN1 : LEVEL_SOUND_YAWN2);
                    }
                }
            }
            else if (iFace == FACE_YAWNING && fFaceTimer > 1.0f)
            {
                iFace = FACE_GROWING;
            }
        }
        else if (iState == POMMO_RIPE)
        {
            if (iFace == FACE_RIPE && fFaceTimer > 1.5f && RandFloat() > CHANCE_OF_FACE_CHANGE)
            {
                iFace = FACE_BLINK_HALF;
                fFaceTimer = 0.0f;
            }
            else if (iFace == FACE_BLINK_HALF || iFace == FACE_BLINK_SHUT)
            {
                // A blink shows 3, 4, 3, then the open eyes again.
                if (fFaceTimer > 0.45f)
                {
                    iFace = FACE_RIPE;
                    fFaceTimer = 0.0f;
                }
                else if (fFaceTimer > 0.3f && iFace == FACE_BLINK_SHUT)
                {
                    iFace = FACE_BLINK_HALF;
                }
                else if (fFaceTimer > 0.15f && fFaceTimer < 0.3f && iFace == FACE_BLINK_HALF)
                {
                    iFace = FACE_BLINK_SHUT;
                }
            }
            if (fRipeTimer > 3.5f && iFace == FACE_RIPE)
            {
                iState = POMMO_OVERRIPE;
                fFullSize *= 0.9f;
                fFaceTimer = 0.0f;
            }
        }
        else if (iState == POMMO_OVERRIPE)
        {
            // It shrinks towards its reduced size, then swells back sick and at last drops.
            if (iFace < FACE_OVERRIPE && fSize < fFullSize + 0.01f)
            {
                fFullSize = POMMO_FULL_SIZE;
                fSize = POMMO_FULL_SIZE;
                iFace = FACE_OVERRIPE;
                fFaceTimer = 0.0f;
            }
            else if (iFace == FACE_OVERRIPE && fFaceTimer * g_fSpeedFactor > 4.0f)
            {
                iFace = FACE_FALLEN;
                iState = POMMO_FALLEN;
                vVelocity[0] = 0.0f;
                vVelocity[1] = -1.0f;
                vVelocity[2] = 0.0f;
                bDropped = true;
            }
        }
    }
    else
    {
        const bool bResting = iState == POMMO_FALLEN && vPosition[1] <= POMMO_GROUND_Y;
        if (!bResting)
        {
            for (int i = 0; i < 3; ++i)
            {
                vVelocity[i] += pGravity[i] * POMMO_GRAVITY_SCALE * dt;
                vPosition[i] += vVelocity[i] * dt;
            }
        }
        if (iState == POMMO_FALLEN && vPosition[1] < POMMO_GROUND_Y)
        {
            vVelocity[0] = 0.0f;
            vVelocity[1] = 0.0f;
            vVelocity[2] = 0.0f;
        }
    }

    if (!bHeld)
    {
        fSquash += (1.0f - fSquash) * 0.25f;
        if (fSquash >= 1.0f)
        {
            fSquash = 1.0f;
        }
        fStretch += (1.0f - fStretch) * 0.25f;
        if (fStretch <= STRETCH_AT_REST)
        {
            fStretch = 1.0f;
        }
    }
    if (fStretch > STRETCH_AT_REST && iFace < FACE_OVERRIPE)
    {
        iFace = FACE_STRETCHED;
    }
    else if (iFace == FACE_STRETCHED && !bHeld && !bFlying)
    {
        // Let go and sprung back on its twig: the face of its state again, from which it ripens,
        // turns sick and drops. (A thrown pommo keeps the stretched face as it flies.)
        iFace = iState == POMMO_GROWING ? FACE_GROWING : FACE_RIPE;
        fFaceTimer = 0.0f;
    }
    return !bDropped;
}

void CPommo::LetGo()
{
    bHeld = 0;
}
