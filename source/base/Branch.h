#pragma once

// The tree: a hierarchy of branches, each one sprite placed by the GL matrix stack relative to
// its parent. A level owns five limbs fanning out from one pivot; each limb carries four twigs,
// each twig three leaves. Every branch sways slowly about its rest angle, one fixed step per
// update whatever the frame's length, and records the screen positions of its base and tip when
// drawn, so the pommos hanging on a twig follow it.

#include <cstddef>
#include <cstdint>

#include "QuadRenderBuffer.h"

class CLeaf;

constexpr int MAX_CHILDREN = 6;             // child branches of one branch
constexpr int MAX_LEAVES = 3;               // leaves of a twig
constexpr float BRANCH_SWAY_RANGE = 0.75f;  // degrees either side of the rest angle
constexpr float BRANCH_SWAY_LIMIT = 0.02f;  // times the range: at most 0.015 degrees a step
constexpr float BRANCH_SWAY_RATE = 0.2f;

// A branch's plain data: 52 bytes, saved and restored byte for byte with the game.
struct sBranchData
{
    std::int32_t iNumChildren;  // 0..MAX_CHILDREN
    std::int32_t iNumLeaves;    // 0 or 3
    float fBaseAngle;           // rest angle in degrees from the parent's +y, anticlockwise
    float fAngle;               // current angle
    float fLength;              // scale of the sprite, and of everything hung on it
    float fSwayDir;             // only its sign counts: positive = towards larger angles
    float fSwayLimit;
    float fSwayRange;
    std::uint8_t bHeld;  // always 0
    std::uint8_t bFlip;  // drawn at random when generated; nothing reads it
    std::uint8_t tPadding[2];
    float vBase[2];  // screen x, y of the base at the last draw; 0 before the first
    float vTip[2];   // screen x, y of the tip at the last draw
};
static_assert(sizeof(sBranchData) == 52);
static_assert(offsetof(sBranchData, bHeld) == 32 && offsetof(sBranchData, vBase) == 36 &&
              offsetof(sBranchData, vTip) == 44);

// The change of angle of one sway step inside the band fMin..fMax: the sign of fDir (0 counts
// as downwards), sized by the distance to the nearer end of the band, so the motion eases in
// and out at the ends.
float SwayStep(float fMin, float fMax, float fDir, float fPos, float fRate);

// One frame of sway in the band fBase +- fRange, as limbs, twigs and leaves move: a SwayStep
// held within +- fMaxStep moves *pAngle, and *pDir turns back once the angle is more than fTurnAt
// past fBase in the direction it is going.
void SwayOnce(float fBase, float fRange, float fTurnAt, float fMaxStep, float* pAngle, float* pDir);

class CBranch
{
public:
    sBranchData tData;
    CBranch* pChildren[MAX_CHILDREN];  // owned; 0..iNumChildren-1 used
    CLeaf* pLeaves[MAX_LEAVES];        // owned; 0..iNumLeaves-1 used
    CBranch* pParent;                  // null for a limb

    // Sway range 0.75, limit 0.02, direction -0.02 or +0.02 at random; no children or leaves.
    explicit CBranch(CBranch* pParentBranch = nullptr);
    // Deletes the subtree and the leaves.
    ~CBranch();
    CBranch(const CBranch&) = delete;
    CBranch& operator=(const CBranch&) = delete;

    // Builds the subtree: iDepth 2 gives iNumChildren children (twigs) with leaves, depth 1 or
    // less only leaves. A second call on the same branch is a programming error.
    void Generate(int iDepth, int iNumChildren, float fAngle, float fLength);

    // Gives the branch its three leaves when it has none.
    void AddLeaves();

    // One sway step of this branch, then its children, then its leaves. fTimeStep is passed
    // down but does not change the step.
    void Update(float fTimeStep);

    // Draws this branch (buffer 0), its subtree and its leaves (buffer 1) under the current
    // GL modelview matrix and records vBase and vTip. pRenderBuffers points at two buffers.
    void Draw(const CImage* pBranchSprite, const CImage* pLeafSprite,
              QuadRenderBuffer* pRenderBuffers);

    // A pommo left this branch: the chain up to the limb is released, limb first, and each
    // keeps moving away from its rest angle.
    void Release();
};
