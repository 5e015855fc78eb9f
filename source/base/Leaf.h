#pragma once

// A leaf: a small sprite fixed at a point along a twig that flutters on its own within five
// degrees either side of its rest angle, at most 0.125 degrees a step. Created, updated and
// drawn by its branch only; leaves never come off.

#include <cstdint>

#include "QuadRenderBuffer.h"

class CBranch;

constexpr float LEAF_SWAY_RANGE = 5.0f;  // degrees either side of the rest angle
constexpr float LEAF_MAX_STEP = 0.125f;  // degrees a step

class CLeaf
{
public:
    float fBaseAngle;  // rest angle in degrees relative to the branch, anticlockwise positive
    float fAngle;
    float fSwayDir;          // only its sign counts
    float fPosition;         // fraction along the branch: 0.25, 0.5 or 0.75
    CBranch* pParentBranch;  // the owner, never null
    std::uint8_t bDetached;  // always 0: the leaf moves

    // Starts at a random angle in the upper half of its band, moving a random way. A null
    // parent is a programming error.
    CLeaf(CBranch* pParentBranch, float fNewPosition, float fRestAngle);

    // One sway step.
    void Update();

    // Adds the leaf's quad to pBuffer, with the branch's transform current: s is the branch
    // sprite's height and fLength the branch's scale, which the leaf undoes so every leaf is a
    // quarter of the size its branch's parent frame gives.
    void Draw(float s, float fLength, const CImage* pLeafSprite, QuadRenderBuffer* pBuffer);
};
