#include "Branch.h"

#include "Assert.h"
#include "GLES.h"
#include "Leaf.h"
#include "Random.h"

float SwayStep(float fMin, float fMax, float fDir, float fPos, float fRate)
{
    const float fMid = (fMax + fMin) * 0.5f;
    if (fDir > 0.0f)
    {
        return fMid < fPos ? (fMax - fPos) * fRate : (fPos - fMin) * fRate;
    }
    return fMid > fPos ? (fMin - fPos) * fRate : (fPos - fMax) * fRate;
}

void SwayOnce(float fBase, float fRange, float fTurnAt, float fMaxStep, float* pAngle, float* pDir)
{
    float fStep = SwayStep(fBase - fRange, fBase + fRange, *pDir, *pAngle, BRANCH_SWAY_RATE);
    if (fStep > fMaxStep)
    {
        fStep = fMaxStep;
    }
    else if (fStep < -fMaxStep)
    {
        fStep = -fMaxStep;
    }
    *pAngle += fStep;
    if (*pAngle > fBase + fTurnAt && *pDir > 0.0f)
    {
        *pDir = -*pDir;
    }
    else if (*pAngle < fBase - fTurnAt && *pDir < 0.0f)
    {
        *pDir = -*pDir;
    }
}

CBranch::CBranch(CBranch* pParentBranch) : tData{}, pChildren{}, pLeaves{}, pParent(pParentBranch)
{
    tData.fSwayRange = BRANCH_SWAY_RANGE;
    tData.fSwayLimit = BRANCH_SWAY_LIMIT;
    tData.fSwayDir = RAND_Next() < 1073741824 ? -0.02f : 0.02f;
}

CBranch::~CBranch()
{
    for (int i = 0; i < tData.iNumChildren && i < MAX_CHILDREN; ++i)
    {
        delete pChildren[i];
    }
    for (int i = 0; i < tData.iNumLeaves && i < MAX_LEAVES; ++i)
    {
        delete pLeaves[i];
    }
}

void CBranch::Generate(int iDepth, int iNumChildren, float fAngle, float fLength)
{
    BF_ASSERT_AT("Branch", 76, tData.iNumChildren == 0);
    tData.fBaseAngle = fAngle;
    tData.fAngle = fAngle;
    tData.fLength = fLength;
    tData.bFlip = RandFloat() > 0.5f ? 1 : 0;
    if (iDepth < 2)
    {
        tData.iNumChildren = 0;
        AddLeaves();
    }
    else
    {
        tData.iNumChildren = iNumChildren < MAX_CHILDREN ? iNumChildren : MAX_CHILDREN;
    }
    const int n = tData.iNumChildren;
    for (int i = 0; i < n; ++i)
    {
        // With four children: -40, +35, -30, +25 degrees, 0.5 down to 0.3125 of this length.
        const float fMagnitude = 40.0f - (40.0f * static_cast<float>(i)) / (2.0f * n);
        const float fSign = i % 2 == 0 ? -1.0f : 1.0f;
        const float fChildLength =
            0.5f * fLength - (0.5f * fLength * static_cast<float>(i)) / (2.0f * n);
        pChildren[i] = new CBranch(this);
        pChildren[i]->Generate(iDepth - 1, n, fSign * fMagnitude, fChildLength);
    }
}

void CBranch::AddLeaves()
{
    if (tData.iNumLeaves != 0)
    {
        return;
    }
    tData.iNumLeaves = MAX_LEAVES;
    // Rest angles -70, +56, -44.8: each 0.8 of the one before, alternating sides.
    float fMagnitude = 70.0f;
    for (int i = 0; i < MAX_LEAVES; ++i)
    {
        const float fSign = i % 2 == 0 ? -1.0f : 1.0f;
        pLeaves[i] = new CLeaf(this, 0.25f + 0.25f * static_cast<float>(i), fSign * fMagnitude);
        fMagnitude *= 0.8f;
    }
}

void CBranch::Update(float fTimeStep)
{
    // Each step at most the sway limit's share of the band; turning back past 99 % of it.
    SwayOnce(tData.fBaseAngle, tData.fSwayRange, 0.99f * tData.fSwayRange,
             tData.fSwayRange * tData.fSwayLimit, &tData.fAngle, &tData.fSwayDir);
    for (int i = 0; i < tData.iNumChildren; ++i)
    {
        pChildren[i]->Update(fTimeStep);
    }
    for (int i = 0; i < tData.iNumLeaves; ++i)
    {
        pLeaves[i]->Update();
    }
}

void CBranch::Draw(const CImage* pBranchSprite, const CImage* pLeafSprite,
                   QuadRenderBuffer* pRenderBuffers)
{
    BF_ASSERT_AT("Branch", 265, pRenderBuffers != NULL);
    const float s = pBranchSprite->fHeight;
    const float fLength = tData.fLength;
    glPushMatrix();
    glRotatef(tData.fAngle, 0.0f, 0.0f, 1.0f);
    // A twig sits 2 units to the side of its parent's centre line, away from its own lean.
    float fSideways = 0.0f;
    if (pParent != nullptr)
    {
        fSideways = tData.fAngle > 0.0f ? -2.0f : 2.0f;
    }
    glTranslatef(fSideways, 0.5f * s * fLength, 0.0f);
    glScalef(fLength, fLength, 1.0f);
    if (tData.iNumChildren > 0)
    {
        // Children are spread evenly along the branch, drawn before (so under) their parent.
        glPushMatrix();
        glTranslatef(0.0f, -0.5f * s * fLength, 0.0f);
        const float fSpacing = s * fLength / static_cast<float>(tData.iNumChildren + 1);
        for (int i = 0; i < tData.iNumChildren; ++i)
        {
            glTranslatef(0.0f, fSpacing, 0.0f);
            pChildren[i]->Draw(pBranchSprite, pLeafSprite, pRenderBuffers);
        }
        glPopMatrix();
    }
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    const float fHalf = 0.5f * s;
    tData.vBase[0] = m[12] - fHalf * m[4];
    tData.vBase[1] = m[13] - fHalf * m[5];
    tData.vTip[0] = m[12] + fHalf * m[4];
    tData.vTip[1] = m[13] + fHalf * m[5];
    pRenderBuffers[0].AddQuad(pBranchSprite->tVerts, m, 255);
    for (int i = 0; i < tData.iNumLeaves; ++i)
    {
        pLeaves[i]->Draw(s, fLength, pLeafSprite, &pRenderBuffers[1]);
    }
    glPopMatrix();
}

void CBranch::Release()
{
    tData.bHeld = 0;
    if (pParent != nullptr)
    {
        pParent->Release();
    }
    tData.fSwayDir = tData.fAngle - tData.fBaseAngle;
}
