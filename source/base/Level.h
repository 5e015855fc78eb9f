#pragma once

// The play field: one tree of five limbs, up to sixteen pommos growing on its twigs, four
// baskets along the bottom edge, the score, the multiplier and the pommos left. The level
// hears touches as the registered touch handler and advances by Update(dt) once a frame.
//
// All positions are in the 480 x 320 landscape space, origin at the bottom left, y up.

#include <cstdint>

#include "Branch.h"
#include "Pommo.h"
#include "QuadRenderBuffer.h"
#include "TouchEventHandler.h"

class CFont;

enum LevelMode
{
    LEVEL_GET_READY = 0,
    LEVEL_PLAYING = 1,
    LEVEL_PAUSED = 2,
    LEVEL_GAME_OVER = 3,
    LEVEL_EXIT = 4,
};

// The saved game's file in the save directory.
extern const char SAVE_FILE_NAME[];

constexpr int NUM_LIMBS = 5;  // limbs of the tree
constexpr int TWIGS_PER_LIMB = 4;
constexpr int MAX_POMMOS = 16;       // pommo slots
constexpr int MAX_POPUPS = 16;       // score popups
constexpr int NUM_SNAPSHOTS = 20;    // the snapshot ring
constexpr int SNAPSHOT_SIZE = 4164;  // bytes of one snapshot
constexpr int MAX_MULTIPLIER = 5;
constexpr int MAX_DIFFICULTY = 3;           // the highest pommo type that can come into play
constexpr int POMMOS_ALLOWED_TO_DROP = 2;   // the third drop ends the game
constexpr float DIFFICULTY_PERIOD = 60.0f;  // seconds of play before the next type comes in
constexpr float GET_READY_TIME = 1.0f;
constexpr float GAME_OVER_TOUCH_DELAY = 2.0f;  // a touch ends game over only after this

// The pause button, and the corner beside the pommos-left counter that gives up the game.
constexpr int PAUSE_BUTTON_X = 8;
constexpr int PAUSE_BUTTON_Y = 244;  // 292 less the button's 48
constexpr int TREE_ORIGIN_X = 240;
constexpr int TREE_ORIGIN_Y = 96;  // the limbs' pivot is 50 above

// One score popup: 16 bytes, stored as they are in the snapshots.
struct sPopup
{
    std::int32_t x;  // 16..456
    std::int32_t y;
    std::int32_t iValue;  // 0 = free
    float fAlpha;
};
static_assert(sizeof(sPopup) == 16);

// Program-wide values of the level rules: the highest pommo type in play (1..3) and the speed
// factor that hurries ripening. Both are reset when a level is created.
extern int g_iDifficultyLevel;
extern float g_fSpeedFactor;

class CLevel : public CTouchEventHandler
{
public:
    // The level header: these five fields are stored as one 20-byte block (the flag padded with
    // three zero bytes).
    std::int32_t iScore;  // may go negative
    std::int32_t iHighScore;
    std::int32_t iMultiplier;  // 1..5
    std::int32_t iStreak;      // consecutive catches
    std::uint8_t bNewHighScore;

    int iNumLimbs;
    int iSelected;  // slot of the pommo being dragged, -1 for none
    int iLevelIndex;
    int iLostCount;      // pommos that dropped off the tree by themselves
    int iSnapshotWrite;  // 0..19
    float fSpawnRate;    // spawn attempts per second
    float fSpawnAccumulator;
    float fModeTimer;    // seconds in the current mode (and of the difficulty period)
    float fResumeTimer;  // the mode timer a resumed saved game restores; 0 = none
    float fYayTimer;     // seconds since the last cheer
    GLuint uiTexture;    // the level atlas this level holds (also noted in its level record)

    CBranch tLimbs[NUM_LIMBS];
    QuadRenderBuffer tQuadBuffers[2];  // 0: scene; 1: leaves, pommos, thin basket strips

    CImage* pBackground;
    CImage* pBranchSprite;
    CImage* pLeafSprite;
    CImage* pPauseButton;
    CImage* pPommoFrames[4][8];  // [type][face]
    CImage* pBasketWide[4];      // by basket
    CImage* pBasketThin[4];

    CPommo* pPommos[MAX_POMMOS];  // null = empty slot; slot k uses tPommoStore[k]
    int iPauseButtonY;  // PAUSE_BUTTON_Y once the button's picture is loaded (x: PAUSE_BUTTON_X)
    int iTouchStartX;
    int iTouchStartY;
    int iTouchCurrentX;
    int iTouchCurrentY;
    sPopup tPopups[MAX_POPUPS];
    float tHangMatrix[16];  // orientation of hanging pommos, from gravity
    float vGravity[3];
    std::uint8_t bDragging;
    std::uint8_t bSnapshotsFull;
    int iMode;  // LevelMode
    std::uint8_t tSnapshots[NUM_SNAPSHOTS][SNAPSHOT_SIZE];

    // Builds the tree, loads the level's texture, sprites and sounds, reads the high score and
    // registers for touches. The level starts getting ready.
    explicit CLevel(int iLevel = 0);
    // Releases everything and stops hearing touches.
    ~CLevel() override;
    CLevel(const CLevel&) = delete;
    CLevel& operator=(const CLevel&) = delete;

    // One step of dt seconds (a negative or NaN step counts as none; the frame timer keeps a
    // frame's share within a tenth of a second). False once the player has left the level.
    bool Update(float dt);

    // Draws the scene, the overlays, the popups and the corner readouts; the caller flushes the
    // font's text afterwards.
    void Draw(CFont* pFont);

    // The level's touch handling: the current touch is slot 0 of the touch input.
    void TouchesBegan() override;
    void TouchesMoved() override;
    void TouchesEnded() override;

    // Playing -> paused (the application lost the focus, or the player asked); a pommo being
    // dragged is let go.
    void Pause();
    // Paused -> playing, as the touch that goes on does before it picks (a resumed saved game
    // gets its mode timer back).
    void Resume();
    // The pause key: playing -> paused, paused -> playing; nothing in the other modes.
    void TogglePause();

    // The snapshot ring and the saved game "gamesave.dat".
    void RecordSnapshot();
    // Writes the saved game when the level is playing or paused; true when it was written.
    bool Save();
    // Restores the saved game, paused; false (the level to be discarded) when the file is
    // missing or could not have come from a real game. The caller removes the file.
    bool Load();

    // Every table of the level is within bounds: the mode, the selection, the counters, each
    // pommo slot and the pommo in it, the popups, the snapshot ring and the quad buffers
    // (assertions "source/base/Level"; see LevelChecks.cpp). The soak checks it every frame.
    void CheckTables() const;

    // Twig iTwig (0..3) of limb iLimb (0..4).
    CBranch* Twig(int iLimb, int iTwig) { return tLimbs[iLimb].pChildren[iTwig]; }

private:
    void LoadResources();
    void MakeBasket(int iBasket, int iColour);
    void ComputeGravity();
    void LandPommos();
    void SpawnPommo();
    void UpdatePommos(float dt);
    void UpdatePopups(float dt);
    void UpdateMode();
    void AddPopup(int x, int y, int iValue);
    void GameOver(bool bGaveUp);
    void LetGoOfDraggedPommo();
    bool ReadTouch(int* pX, int* pY) const;
    // The finger's point into iTouchCurrentX/Y, never equal to where the touch began.
    void ReadCurrentTouch();
    void DrawScene();
    void DrawPommo(CPommo* pPommo);
    void DrawHud(CFont* pFont);

    bool bGravitySet;  // a usable tilt has been read at least once
    CPommo tPommoStore[MAX_POMMOS];
};
