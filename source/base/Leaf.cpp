#include "Leaf.h"

#include "Assert.h"
#include "Branch.h"
#include "GLES.h"
#include "Random.h"

CLeaf::CLeaf(CBranch* pParentBranch, float fNewPosition, float fRestAngle)
{
    BF_ASSERT_AT("Leaf", 30, pParentBranch != NULL);
    fBaseAngle = fRestAngle;
    fPosition = fNewPosition;
    this->pParentBranch = pParentBranch;
    fAngle = fRestAngle + RandFloat() * LEAF_SWAY_RANGE;
    fSwayDir = RandFloat() - 0.5f;
    bDetached = 0;
}

void CLeaf::Update()
{
    if (bDetached)
    {
        return;
    }
    // Turning back once past 4.95 degrees from rest.
    SwayOnce(fBaseAngle, LEAF_SWAY_RANGE, 4.95f, LEAF_MAX_STEP, &fAngle, &fSwayDir);
}

void CLeaf::Draw(float s, float fLength, const CImage* pLeafSprite, QuadRenderBuffer* pBuffer)
{
    glPushMatrix();
    glTranslatef(0.0f, s * fPosition * fLength, 0.0f);
    glRotatef(fAngle, 0.0f, 0.0f, 1.0f);
    glScalef(0.25f / fLength, 0.25f / fLength, 0.0f);
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    pBuffer->AddQuad(pLeafSprite->tVerts, m, 255);
    glPopMatrix();
}
