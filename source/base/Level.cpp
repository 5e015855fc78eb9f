#include "Level.h"

#include <cmath>
#include <cstdio>

#include "Game.h"
#include "HighScore.h"
#include "Input.h"
#include "LevelSounds.h"
#include "LevelTables.h"
#include "Random.h"
#include "Textures.h"

int g_iDifficultyLevel = 1;
float g_fSpeedFactor = 1.0f;

namespace
{

constexpr float LANDING_HEIGHT = 4.0f;    // a flying pommo lower than this has landed
constexpr float CHEER_INTERVAL = 4.0f;    // seconds at least between two cheers
constexpr float SPAWN_RATE_START = 0.5f;  // spawn attempts a second, rising by 0.005 a second
constexpr float SPAWN_RATE_RISE = 0.005f;
constexpr float SPAWN_MIN_DISTANCE_SQUARED = 1024.0f;  // pommos keep 32 units apart
constexpr float GRAVITY = 9.81f;
constexpr float MAX_LEAN = 0.4f;          // sideways pull at full lean, in g
constexpr float LEANING_DOWN = -0.9165f;  // the downward pull at full lean: about -sqrt(0.84)
constexpr int PICK_REACH_X = 56;          // a touch picks pommos this close to it
constexpr int PICK_REACH_Y = 84;
constexpr int POPUP_MIN_X = 16;
constexpr int POPUP_MAX_X = 456;

}  // namespace

CLevel::CLevel(int iLevel)
    : iScore(0),
      iHighScore(0),
      iMultiplier(1),
      iStreak(0),
      bNewHighScore(0),
      iNumLimbs(NUM_LIMBS),
      iSelected(-1),
      iLevelIndex(iLevel),
      iLostCount(0),
      iSnapshotWrite(0),
      fSpawnRate(SPAWN_RATE_START),
      fSpawnAccumulator(0.0f),
      fModeTimer(0.0f),
      fResumeTimer(0.0f),
      fYayTimer(0.0f),
      uiTexture(0),
      pBackground(nullptr),
      pBranchSprite(nullptr),
      pLeafSprite(nullptr),
      pPauseButton(nullptr),
      pPommoFrames{},
      pBasketWide{},
      pBasketThin{},
      pPommos{},
      iPauseButtonY(PAUSE_BUTTON_Y),
      iTouchStartX(0),
      iTouchStartY(0),
      iTouchCurrentX(0),
      iTouchCurrentY(0),
      tPopups{},
      tHangMatrix{},
      vGravity{0.0f, -1.0f, 1.0f},
      bDragging(0),
      bSnapshotsFull(0),
      iMode(LEVEL_GET_READY),
      tSnapshots{},
      bGravitySet(false),
      tPommoStore{}
{
    // Five limbs fanned over 160 degrees, the outer ones longer: 0.8 in the middle.
    for (int i = 0; i < NUM_LIMBS; ++i)
    {
        const float fAngle = -80.0f + 160.0f / static_cast<float>(NUM_LIMBS - 1) * i;
        const float fLength = static_cast<float>(
            std::fabs(fAngle) * static_cast<double>(0.2f) / 90.0 + static_cast<double>(0.8f));
        tLimbs[i].Generate(2, TWIGS_PER_LIMB, fAngle, fLength);
    }
    POMMO_Identity(tHangMatrix);
    if (g_pInput != nullptr)
    {
        g_pInput->registerHandler(this);
    }
    LoadResources();
    LEVEL_LoadSounds();
    int iStored = 0;
    if (SCORE_Read(&iStored))
    {
        iHighScore = iStored;
    }
}

CLevel::~CLevel()
{
    if (uiTexture != 0)
    {
        TEX_ReleaseTexture(uiTexture);
        g_tLevels[iLevelIndex].iTextureName = -1;
    }
    delete pBackground;
    delete pPauseButton;
    delete pBranchSprite;
    delete pLeafSprite;
    for (int b = 0; b < NUM_POMMO_TYPES; ++b)
    {
        delete pBasketWide[b];
        delete pBasketThin[b];
    }
    for (int t = 0; t < NUM_POMMO_TYPES; ++t)
    {
        for (int f = 0; f < NUM_POMMO_FRAMES; ++f)
        {
            delete pPommoFrames[t][f];
        }
    }
    if (g_pInput != nullptr)
    {
        g_pInput->removeHandler();
    }
}

void CLevel::LoadResources()
{
    sLevelRecord& tRecord = g_tLevels[iLevelIndex];
    unsigned int uiWidth = 0;
    unsigned int uiHeight = 0;
    if (!TEX_LoadTGATexture(tRecord.strName, &uiTexture, &uiWidth, &uiHeight) || uiTexture == 0)
    {
        char strWhat[64];
        std::snprintf(strWhat, sizeof(strWhat), "the texture \"%s\" (and the default texture)",
                      tRecord.strName);
        GAME_FatalMissingData(strWhat);
    }
    tRecord.iTextureName = static_cast<std::int32_t>(uiTexture);
    // When the default texture stands in it reports no size: the record's size keeps the
    // texture coordinates finite.
    const int iAtlas = static_cast<int>(uiWidth > 0 ? uiWidth : tRecord.iAtlasSize);

    pBackground = new CImage(uiTexture, LEVEL_BACKGROUND_RECT, iAtlas, iAtlas, 480, 320, false);
    const AtlasRect tPause = tRecord.tRects[LEVEL_RECT_PAUSE];
    pPauseButton =
        new CImage(uiTexture, tPause, iAtlas, iAtlas, tPause.Width(), tPause.Height(), false);
    iPauseButtonY = 292 - static_cast<int>(pPauseButton->fHeight);
    const AtlasRect tBranch = tRecord.tRects[LEVEL_RECT_BRANCH];
    pBranchSprite =
        new CImage(uiTexture, tBranch, iAtlas, iAtlas, tBranch.Width(), tBranch.Height(), true);
    // The leaf stands on its position, centred across it.
    pLeafSprite = new CImage(uiTexture, tRecord.tRects[LEVEL_RECT_LEAF], iAtlas, iAtlas,
                             AtlasRect{0, 112, -16, 16});

    MakeBasket(g_iPommoBasket[0], 0);
    MakeBasket(g_iPommoBasket[1], 1);
    MakeBasket(g_iPommoBasket[2], BASKET_COLOUR_UNUSED);
    MakeBasket(g_iPommoBasket[3], BASKET_COLOUR_UNUSED);
    g_iDifficultyLevel = 1;
    g_fSpeedFactor = 1.0f;

    // Eight frames of each type side by side, each hanging down from its attachment point.
    for (int t = 0; t < NUM_POMMO_TYPES; ++t)
    {
        for (int f = 0; f < NUM_POMMO_FRAMES; ++f)
        {
            AtlasRect tFrame = tRecord.tRects[LEVEL_RECT_POMMO + t];
            tFrame.iLeft += POMMO_FRAME_STEP * f;
            tFrame.iRight += POMMO_FRAME_STEP * f;
            const int w = tFrame.Width();
            const int h = tFrame.Height();
            pPommoFrames[t][f] =
                new CImage(uiTexture, tFrame, iAtlas, iAtlas, AtlasRect{0, -h, -w / 2, w / 2});
        }
    }
    for (QuadRenderBuffer& tBuffer : tQuadBuffers)
    {
        TEX_RetainTexture(uiTexture);  // each buffer holds a reference of its own
        tBuffer.SetTexture(uiTexture);
    }
}

void CLevel::MakeBasket(int iBasket, int iColour)
{
    const sLevelRecord& tRecord = g_tLevels[iLevelIndex];
    delete pBasketWide[iBasket];
    delete pBasketThin[iBasket];
    const AtlasRect tWide = tRecord.tRects[LEVEL_RECT_BASKET_WIDE];
    const AtlasRect tThin = tRecord.tRects[LEVEL_RECT_BASKET_THIN];
    // One 64-pixel cell per colour, inset 2 pixels each side, stretched over 120 units.
    const int iCellWidth = tWide.Width() / BASKET_CELLS;
    const int iLeft = tWide.iLeft + iCellWidth * iColour + 2;
    const int iRight = iLeft + 60;
    const int x = BASKET_WIDTH * iBasket;
    pBasketWide[iBasket] =
        new CImage(uiTexture, AtlasRect{tWide.iTop, tWide.iBottom, iLeft, iRight},
                   tRecord.iAtlasSize, tRecord.iAtlasSize, AtlasRect{16, 0, x, x + BASKET_WIDTH});
    pBasketThin[iBasket] =
        new CImage(uiTexture, AtlasRect{tThin.iTop, tThin.iBottom, iLeft, iRight},
                   tRecord.iAtlasSize, tRecord.iAtlasSize, AtlasRect{8, 0, x, x + BASKET_WIDTH});
}

bool CLevel::Update(float dt)
{
    if (!(dt > 0.0f))
    {
        dt = 0.0f;
    }

    RecordSnapshot();
    if (iMode == LEVEL_PAUSED)
    {
        return true;
    }
    fModeTimer += dt;
    ComputeGravity();
    fYayTimer += dt;
    if (iMode == LEVEL_PLAYING)
    {
        // The mode timer times this frame's step, so at 60 updates a second the factor reaches
        // about 1.15 after a minute.
        g_fSpeedFactor = fModeTimer * dt * 0.15f + 1.0f;
        if (g_pInput != nullptr && g_pInput->getTouches()[0].x < 0 && bDragging)
        {
            std::printf("STUCK POMMO!!!\n");
        }
    }
    if (iMode < LEVEL_GAME_OVER)
    {
        LandPommos();
    }
    fSpawnAccumulator += fSpawnRate * dt;
    fSpawnRate += dt * SPAWN_RATE_RISE;
    if (fSpawnAccumulator >= 1.0f && iMode == LEVEL_PLAYING)
    {
        SpawnPommo();
        fSpawnAccumulator -= 1.0f;
    }
    for (CBranch& tLimb : tLimbs)
    {
        tLimb.Update(dt);
    }
    UpdatePommos(dt);
    UpdatePopups(dt);
    UpdateMode();
    return iMode != LEVEL_EXIT;
}

void CLevel::ComputeGravity()
{
    float a[3] = {0.0f, 0.0f, 0.0f};
    if (g_pInput != nullptr)
    {
        g_pInput->GetAccelerometerVector(a);
    }
    const float fLength = std::sqrt(a[0] * a[0] + a[1] * a[1]);
    const bool bUsable = fLength > 0.0f && std::isfinite(fLength);
    if (!bUsable)
    {
        // No usable tilt: keep the last gravity, straight down until there has been one.
        if (bGravitySet)
        {
            return;
        }
        a[0] = 1.0f;
        a[1] = 0.0f;
    }
    else
    {
        a[0] /= fLength;
        a[1] /= fLength;
    }
    float g[2] = {-a[1], -std::fabs(a[0])};
    if (std::fabs(g[0]) > MAX_LEAN)
    {
        g[0] = g[0] > 0.0f ? MAX_LEAN : -MAX_LEAN;
        g[1] = LEANING_DOWN;
    }
    vGravity[0] = g[0] * GRAVITY;
    vGravity[1] = g[1] * GRAVITY;
    vGravity[2] = 0.0f;
    bGravitySet = bUsable;
    float u[3] = {-vGravity[0], -vGravity[1], 0.0f};
    POMMO_Normalise(u);
    POMMO_BasisMatrix(u, tHangMatrix);
}

void CLevel::LandPommos()
{
    for (int k = 0; k < MAX_POMMOS; ++k)
    {
        CPommo* pPommo = pPommos[k];
        if (pPommo == nullptr || !pPommo->bFlying || !(pPommo->vPosition[1] < LANDING_HEIGHT))
        {
            continue;
        }
        int iPoints = pPommo->iState == POMMO_RIPE ? 2 : 1;
        if (pPommo->bThrownUp)
        {
            iPoints *= 2;
        }
        const float x = pPommo->vPosition[0];
        const float fLow = static_cast<float>(BASKET_WIDTH * g_iPommoBasket[pPommo->iType]);
        const int iAmount = iPoints * iMultiplier;
        if (fLow <= x && x <= fLow + BASKET_WIDTH)
        {
            if (iPoints >= 2 && fYayTimer >= CHEER_INTERVAL &&
                RandFloat() >= static_cast<float>(iMultiplier) * 0.15f)
            {
                LEVEL_PlaySound(LEVEL_SOUND_YAY1 + RandInt(2));
                fYayTimer = 0.0f;
            }
            iScore += iAmount;
            if (iScore > iHighScore)
            {
                bNewHighScore = 1;
            }
            AddPopup(static_cast<int>(x), static_cast<int>(LANDING_HEIGHT), iAmount);
            ++iStreak;
            // The catch scores at the old multiplier; every tenth in a row raises it.
            if (iStreak % 10 == 0 && iMultiplier < MAX_MULTIPLIER)
            {
                ++iMultiplier;
            }
        }
        else
        {
            LEVEL_PlaySound(LEVEL_SOUND_NO);
            iScore -= iAmount;
            AddPopup(static_cast<int>(x), static_cast<int>(LANDING_HEIGHT), -iAmount);
            iStreak = 0;
            iMultiplier = 1;
        }
        pPommos[k] = nullptr;
    }
}

void CLevel::SpawnPommo()
{
    int iSlot = 0;
    while (iSlot < MAX_POMMOS && pPommos[iSlot] != nullptr)
    {
        ++iSlot;
    }
    if (iSlot == MAX_POMMOS)
    {
        return;
    }
    CBranch* pBranch = &tLimbs[RandInt(NUM_LIMBS - 1)];
    while (pBranch->tData.iNumChildren > 0)
    {
        pBranch = pBranch->pChildren[RandInt(pBranch->tData.iNumChildren - 1)];
    }
    const float t = RandFloat() * 0.5f + 0.3f;
    const float* pBase = pBranch->tData.vBase;
    const float* pTip = pBranch->tData.vTip;
    const float fX = pBase[0] + (pTip[0] - pBase[0]) * t;
    const float fY = pBase[1] + (pTip[1] - pBase[1]) * t;

    // A twig carries one pommo, and pommos keep their distance; flying and held ones don't count.
    for (const CPommo* pOther : pPommos)
    {
        if (pOther == nullptr || pOther->bFlying || pOther->bHeld)
        {
            continue;
        }
        const float dx = pOther->vPosition[0] - fX;
        const float dy = pOther->vPosition[1] - fY;
        if (pOther->pBranch == pBranch || dx * dx + dy * dy < SPAWN_MIN_DISTANCE_SQUARED)
        {
            return;
        }
    }
    for (int iLimb = 0; iLimb < NUM_LIMBS; ++iLimb)
    {
        for (int iTwig = 0; iTwig < tLimbs[iLimb].tData.iNumChildren; ++iTwig)
        {
            if (tLimbs[iLimb].pChildren[iTwig] == pBranch)
            {
                pPommos[iSlot] = &tPommoStore[iSlot];
                pPommos[iSlot]->Create(pBranch, iLimb, iTwig, t);
                return;
            }
        }
    }
}

void CLevel::UpdatePommos(float dt)
{
    const bool bMoved = iTouchCurrentX != iTouchStartX || iTouchCurrentY != iTouchStartY;
    for (int k = 0; k < MAX_POMMOS; ++k)
    {
        CPommo* pPommo = pPommos[k];
        if (pPommo == nullptr)
        {
            continue;
        }
        bool bStillOn;
        if (k == iSelected && bMoved && !pPommo->bFlying)
        {
            // The dragged pommo hangs from its twig towards the finger.
            float u[3] = {static_cast<float>(iTouchStartX - iTouchCurrentX),
                          static_cast<float>(iTouchStartY - iTouchCurrentY), 0.0f};
            POMMO_Normalise(u);
            float tDrag[16];
            POMMO_BasisMatrix(u, tDrag);
            bStillOn = pPommo->HangingUpdate(vGravity, dt, tDrag);
        }
        else if (pPommo->bFlying)
        {
            bStillOn = pPommo->CommonUpdate(vGravity, dt);
        }
        else
        {
            bStillOn = pPommo->HangingUpdate(vGravity, dt, tHangMatrix);
        }
        if (!bStillOn)
        {
            // A pommo that drops slips out of the player's grip, and falls like any other.
            if (k == iSelected)
            {
                LetGoOfDraggedPommo();
            }
            ++iLostCount;
            // Only a game in play can end: not one already over or being left.
            if (iLostCount > POMMOS_ALLOWED_TO_DROP && iMode < LEVEL_GAME_OVER)
            {
                GameOver(false);
            }
        }
    }
}

void CLevel::UpdatePopups(float dt)
{
    for (sPopup& tPopup : tPopups)
    {
        if (tPopup.iValue == 0)
        {
            continue;
        }
        tPopup.y += 1;
        tPopup.fAlpha -= dt * 0.5f;
        if (tPopup.fAlpha <= 0.0f)
        {
            tPopup.iValue = 0;
        }
    }
}

void CLevel::UpdateMode()
{
    if (iMode == LEVEL_GET_READY)
    {
        if (fModeTimer >= GET_READY_TIME)
        {
            iMode = LEVEL_PLAYING;
        }
    }
    else if (iMode == LEVEL_PLAYING && fModeTimer > DIFFICULTY_PERIOD &&
             g_iDifficultyLevel < MAX_DIFFICULTY && !bDragging)
    {
        ++g_iDifficultyLevel;
        MakeBasket(g_iPommoBasket[g_iDifficultyLevel], g_iDifficultyLevel);
        fModeTimer = 0.0f;
    }
}

void CLevel::AddPopup(int x, int y, int iValue)
{
    for (sPopup& tPopup : tPopups)
    {
        if (tPopup.iValue == 0)
        {
            tPopup.x = x < POPUP_MIN_X ? POPUP_MIN_X : (x > POPUP_MAX_X ? POPUP_MAX_X : x);
            tPopup.y = y;
            tPopup.iValue = iValue;
            tPopup.fAlpha = 1.0f;
            return;
        }
    }
}

void CLevel::GameOver(bool bGaveUp)
{
    iMode = LEVEL_GAME_OVER;
    fModeTimer = 0.0f;
    LetGoOfDraggedPommo();
    if (!bNewHighScore)
    {
        return;
    }
    // The high score never goes down: a game that beat it for a while but ended below it has
    // set no new high score.
    if (iScore <= iHighScore)
    {
        bNewHighScore = 0;
        return;
    }
    iHighScore = iScore;
    int iStored = 0;
    if (SCORE_Read(&iStored) && iStored >= iScore)
    {
        return;
    }
    const bool bSubmitted = bGaveUp ? true : SCORE_OfferToLeaderboard(iScore);
    SCORE_Write(iScore, bSubmitted);
}

void CLevel::LetGoOfDraggedPommo()
{
    if (iSelected >= 0 && iSelected < MAX_POMMOS && pPommos[iSelected] != nullptr)
    {
        pPommos[iSelected]->LetGo();
    }
    iSelected = -1;
    bDragging = 0;
}

void CLevel::Pause()
{
    if (iMode == LEVEL_PLAYING)
    {
        iMode = LEVEL_PAUSED;
        LetGoOfDraggedPommo();
    }
}

void CLevel::Resume()
{
    if (iMode != LEVEL_PAUSED)
    {
        return;
    }
    iMode = LEVEL_PLAYING;
    if (fResumeTimer != 0.0f)
    {
        fModeTimer = fResumeTimer;
        fResumeTimer = 0.0f;
    }
}

void CLevel::TogglePause()
{
    if (iMode == LEVEL_PAUSED)
    {
        Resume();
    }
    else
    {
        Pause();
    }
}

bool CLevel::ReadTouch(int* pX, int* pY) const
{
    if (g_pInput == nullptr)
    {
        return false;
    }
    const sTouch& tTouch = g_pInput->getTouches()[0];
    *pX = tTouch.x;
    *pY = tTouch.y;
    return true;
}

void CLevel::ReadCurrentTouch()
{
    ReadTouch(&iTouchCurrentX, &iTouchCurrentY);
    // A finger back where it started still counts as moved: one unit down.
    if (iTouchCurrentX == iTouchStartX && iTouchCurrentY == iTouchStartY)
    {
        --iTouchCurrentY;
    }
}

void CLevel::TouchesBegan()
{
    int x = 0;
    int y = 0;
    if (!ReadTouch(&x, &y))
    {
        return;
    }
    LetGoOfDraggedPommo();
    if (iMode == LEVEL_GAME_OVER)
    {
        if (!(fModeTimer > GAME_OVER_TOUCH_DELAY))
        {
            return;
        }
        // Leaving: the touch may still pick a pommo, nothing else.
        iMode = LEVEL_EXIT;
    }
    else
    {
        Resume();
        if (iMode != LEVEL_PLAYING)
        {
            return;
        }
    }

    const int iButtonWidth = static_cast<int>(pPauseButton->fWidth);
    const int iButtonHeight = static_cast<int>(pPauseButton->fHeight);
    if (PAUSE_BUTTON_X < x && x < PAUSE_BUTTON_X + iButtonWidth && iPauseButtonY < y &&
        y < iPauseButtonY + iButtonHeight && iMode == LEVEL_PLAYING)
    {
        iMode = LEVEL_PAUSED;
    }
    // Beside the pommos-left counter: give up.
    if (456 < x && x < 488 && 32 < y && y <= 55 && iMode == LEVEL_PLAYING)
    {
        GameOver(true);
    }

    int iBest = 1000;
    for (int k = 0; k < MAX_POMMOS; ++k)
    {
        const CPommo* pPommo = pPommos[k];
        if (pPommo == nullptr || pPommo->bFlying || pPommo->iState == POMMO_FALLEN)
        {
            continue;
        }
        const int fx = static_cast<int>(pPommo->vScreenPoint[0]);
        const int fy = static_cast<int>(pPommo->vScreenPoint[1]);
        if (fx - PICK_REACH_X <= x && x <= fx + PICK_REACH_X && fy - PICK_REACH_Y <= y &&
            y <= fy + PICK_REACH_Y)
        {
            bDragging = 1;
            // Nearer across counts more; a pommo still small is harder to take.
            const int iCost =
                static_cast<int>(std::abs(x - fx) * 1.5 + std::abs(y - fy) +
                                 (pPommo->fFullSize - pPommo->fSize) * (16.0 / pPommo->fFullSize));
            if (iCost < iBest)
            {
                iBest = iCost;
                iSelected = k;
            }
        }
    }
    if (iSelected >= 0)
    {
        pPommos[iSelected]->bHeld = 1;
        iTouchStartX = iTouchCurrentX = x;
        iTouchStartY = iTouchCurrentY = y;
    }
}

void CLevel::TouchesMoved()
{
    if (iMode != LEVEL_PLAYING || g_pInput == nullptr || g_pInput->getTouches()[0].state != 2)
    {
        return;
    }
    ReadCurrentTouch();
    if (!bDragging || iSelected < 0 || pPommos[iSelected] == nullptr)
    {
        return;
    }
    // The pommo stretches towards the finger, up to twice its length, thinning by type.
    CPommo* pPommo = pPommos[iSelected];
    const float dx = static_cast<float>(iTouchCurrentX - iTouchStartX);
    const float dy = static_cast<float>(iTouchCurrentY - iTouchStartY);
    const float r = pPommoFrames[pPommo->iType][0]->fHeight * 0.5f;
    float s = std::sqrt(dx * dx + dy * dy) / r;
    s = s < 1.0f ? 1.0f : (s > 2.0f ? 2.0f : s);
    static const float s_fStiffness[NUM_POMMO_TYPES] = {0.95f, 0.75f, 0.98f, 0.75f};
    const float k = s_fStiffness[pPommo->iType];
    pPommo->fStretch = s;
    pPommo->fSquash = (2.0f - s) * (1.0f - k) + k;
}

void CLevel::TouchesEnded()
{
    if (!bDragging || iMode != LEVEL_PLAYING || iSelected < 0 || pPommos[iSelected] == nullptr)
    {
        return;
    }
    ReadCurrentTouch();
    // Thrown with twice the drag as its velocity.
    CPommo* pPommo = pPommos[iSelected];
    pPommo->vVelocity[0] = static_cast<float>(iTouchCurrentX - iTouchStartX) * 2.0f;
    pPommo->vVelocity[1] = static_cast<float>(iTouchCurrentY - iTouchStartY) * 2.0f;
    pPommo->vVelocity[2] = 0.0f;
    pPommo->bHeld = 0;
    pPommo->bFlying = 1;
    pPommo->bThrownUp = pPommo->vVelocity[1] > 0.0f ? 1 : 0;
    pPommo->pBranch->Release();
    iSelected = -1;
    bDragging = 0;
}
