#pragma once

// A pommo: a fruit that grows on a twig, ripens, blinks and yawns, turns overripe and at last
// drops, unless the player drags it off and throws it. The first 160 bytes of a CPommo are the
// record the snapshots and the saved game store; the branch pointer after them is not stored.

#include <cstddef>
#include <cstdint>
#include <type_traits>

class CBranch;

enum ePommoState
{
    POMMO_GROWING = 0,
    POMMO_RIPE = 1,
    POMMO_OVERRIPE = 2,
    POMMO_FALLEN = 3,
};
constexpr int POMMO_NUM_STATES = 4;

// Animation frames; the sprite drawn is frame [type][face].
enum ePommoFace
{
    FACE_GROWING = 0,
    FACE_YAWNING = 1,
    FACE_RIPE = 2,  // eyes open
    FACE_BLINK_HALF = 3,
    FACE_BLINK_SHUT = 4,
    FACE_OVERRIPE = 5,
    FACE_FALLEN = 6,
    FACE_STRETCHED = 7,
};
constexpr int POMMO_NUM_FACES = 8;

constexpr float POMMO_START_SIZE = 0.01f;
constexpr float POMMO_FULL_SIZE = 0.4f;
constexpr float POMMO_GROWTH_STEP = 0.001f;   // size change per update, times the speed factor
constexpr float POMMO_GROUND_Y = 32.0f;       // fallen pommos come to rest about here
constexpr float POMMO_GRAVITY_SCALE = 50.0f;  // units per second squared per unit of gravity

class CPommo
{
public:
    // The stored record: 160 bytes.
    std::uint8_t bHeld;      // being dragged (always stored as 0)
    std::uint8_t bFlying;    // has been thrown
    std::uint8_t bThrownUp;  // thrown with an upward velocity: double points
    std::uint8_t ucPadding;
    std::int32_t iState;    // ePommoState
    std::int32_t iType;     // 0..3: sprite row and basket
    std::int32_t iFace;     // ePommoFace
    float vPosition[3];     // z is 0
    float vVelocity[3];     // units per second, while flying or falling
    float vScreenPoint[3];  // where the pommo was drawn; touches pick by it
    float tAttachment[16];  // orientation while hanging or dragged, column-major
    float fBranchPosition;  // 0..1 along the branch
    float fSize;
    float fFullSize;
    float fSquash;            // horizontal scale, 1 at rest
    float fStretch;           // vertical scale, 1 at rest
    float fRipeTimer;         // seconds since ripening, times the speed factor
    float fFaceTimer;         // seconds in the current face
    float fReserved;          // always 0
    float fRandomFactor;      // 0.7..1.0, kept with the pommo; no rule reads it
    std::int32_t iLimbIndex;  // 0..4
    std::int32_t iTwigIndex;  // 0..3

    CBranch* pBranch;  // the twig it grows on; not stored

    // A new pommo of a random type in play on pTwig at fPosition along it, grown by one tiny
    // hanging step.
    void Create(CBranch* pTwig, int iLimb, int iTwig, float fPosition);

    // While hanging (or dragged, or lying fallen): sets the orientation (a fallen pommo leans
    // to its side of the tree) then runs the common update. False when the pommo just dropped.
    bool HangingUpdate(const float* pGravity, float dt, const float* pMatrix);

    // Grows, ripens, animates and drops a hanging pommo; moves a flying or falling one under
    // pGravity; relaxes squash and stretch. False when the pommo just dropped off its twig.
    bool CommonUpdate(const float* pGravity, float dt);

    // A drag that ends without a throw: the pommo hangs again. Its stretch and squash spring
    // back over the next updates, and once at rest it shows the face of its state again.
    void LetGo();
};

constexpr size_t POMMO_RECORD_SIZE = 160;
static_assert(offsetof(CPommo, pBranch) == POMMO_RECORD_SIZE);
static_assert(offsetof(CPommo, tAttachment) == 52 && offsetof(CPommo, fBranchPosition) == 116 &&
              offsetof(CPommo, iTwigIndex) == 156);
static_assert(std::is_trivially_copyable_v<CPommo> && std::is_standard_layout_v<CPommo>);

// 3-vector helpers of the pommo rules. Normalising a zero or non-finite vector gives (0, 1, 0).
void POMMO_Normalise(float v[3]);
// The orientation matrix whose local up axis is the unit vector u: columns x = |u x z|, u, z.
void POMMO_BasisMatrix(const float u[3], float m[16]);
void POMMO_Identity(float m[16]);
