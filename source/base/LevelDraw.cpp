// Drawing one frame of the level: the scene batched into the level's two quad buffers (buffer
// 0: background, pause button, branches, wide basket strips; buffer 1, drawn over it: leaves,
// pommos, thin basket strips), then the mode overlays, the score popups and the four corner
// readouts in the HUD font.

#include <cstdio>

#include "Fonts.h"
#include "GLES.h"
#include "Level.h"
#include "LevelTables.h"

namespace
{

constexpr int SCREEN_CENTRE_X = 240;
constexpr int RIGHT_MARGIN_X = 472;
constexpr int LEFT_MARGIN_X = 8;
constexpr float CORNER_TEXT_SCALE = 0.8f;

// r = a x b for column-major 4 x 4 matrices.
void Multiply(const float* a, const float* b, float* r)
{
    for (int c = 0; c < 4; ++c)
    {
        for (int i = 0; i < 4; ++i)
        {
            r[c * 4 + i] = a[i] * b[c * 4] + a[4 + i] * b[c * 4 + 1] + a[8 + i] * b[c * 4 + 2] +
                           a[12 + i] * b[c * 4 + 3];
        }
    }
}

}  // namespace

void CLevel::Draw(CFont* pFont)
{
    DrawScene();
    if (pFont != nullptr)
    {
        DrawHud(pFont);
    }
}

void CLevel::DrawScene()
{
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPushMatrix();
    glLoadIdentity();
    tQuadBuffers[0].AddQuad(pBackground->tVerts, 0.0f, 0.0f, -25.0f, 255);
    // Hidden while paused and after the game has ended.
    if (iMode == LEVEL_GET_READY || iMode == LEVEL_PLAYING)
    {
        tQuadBuffers[0].AddQuad(pPauseButton->tVerts, static_cast<float>(PAUSE_BUTTON_X),
                                static_cast<float>(iPauseButtonY), 0.0f, 255);
    }
    // The five limbs fan out from the pivot 50 above the tree origin.
    glTranslatef(static_cast<float>(TREE_ORIGIN_X), static_cast<float>(TREE_ORIGIN_Y + 50), 0.0f);
    for (CBranch& tLimb : tLimbs)
    {
        tLimb.Draw(pBranchSprite, pLeafSprite, tQuadBuffers);
    }
    glPopMatrix();

    // The dragged pommo last, on top of the others.
    for (int k = 0; k < MAX_POMMOS; ++k)
    {
        if (pPommos[k] != nullptr && k != iSelected)
        {
            DrawPommo(pPommos[k]);
        }
    }
    if (iSelected >= 0 && iSelected < MAX_POMMOS && pPommos[iSelected] != nullptr)
    {
        DrawPommo(pPommos[iSelected]);
    }

    for (int b = 0; b < NUM_POMMO_TYPES; ++b)
    {
        tQuadBuffers[0].AddQuad(pBasketWide[b]->tVerts, 0.0f, 0.0f, 0.0f, 255);
        tQuadBuffers[1].AddQuad(pBasketThin[b]->tVerts, 0.0f, 0.0f, 0.0f, 255);
    }
    tQuadBuffers[0].Render();
    tQuadBuffers[1].Render();
}

void CLevel::DrawPommo(CPommo* pPommo)
{
    const CImage* pSprite = pPommoFrames[pPommo->iType][pPommo->iFace];
    // translate (x, y, -5) x attachment x scale (size x squash, size x stretch, size)
    float tPlaced[16];
    const float tTranslate[16] = {
        1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, pPommo->vPosition[0], pPommo->vPosition[1], -5.0f, 1};
    Multiply(tTranslate, pPommo->tAttachment, tPlaced);
    const float fScale[3] = {pPommo->fSize * pPommo->fSquash, pPommo->fSize * pPommo->fStretch,
                             pPommo->fSize};
    for (int c = 0; c < 3; ++c)
    {
        for (int i = 0; i < 4; ++i)
        {
            tPlaced[c * 4 + i] *= fScale[c];
        }
    }
    tQuadBuffers[1].AddQuad(pSprite->tVerts, tPlaced, 255);

    // Touches pick the pommo by this point.
    const float r = pPommoFrames[pPommo->iType][0]->fHeight * 0.5f;
    const float fLocalY = -pPommo->fSize * r;
    for (int i = 0; i < 3; ++i)
    {
        pPommo->vScreenPoint[i] = tPlaced[4 + i] * fLocalY + tPlaced[12 + i];
    }
}

void CLevel::DrawHud(CFont* pFont)
{
    char strText[32];
    int h = pFont->GetLineHeight();
    switch (iMode)
    {
        case LEVEL_GAME_OVER:
        case LEVEL_EXIT:
            if (bNewHighScore)
            {
                pFont->DrawText(SCREEN_CENTRE_X, 64, FONT_ALIGN_CENTRE, "New High Score!", 1.0f,
                                1.0f, 1.0f, 1.0f, -1);
            }
            pFont->DrawText(SCREEN_CENTRE_X, 160 + h / 4, FONT_ALIGN_CENTRE, "Game Over", 1.0f,
                            1.0f, 1.0f, 1.0f, -1);
            if (fModeTimer > GAME_OVER_TOUCH_DELAY || iMode == LEVEL_EXIT)
            {
                // Fades in over a second, two seconds after the end; full while leaving.
                float fAlpha = fModeTimer - GAME_OVER_TOUCH_DELAY;
                if (fAlpha > 1.0f || iMode == LEVEL_EXIT)
                {
                    fAlpha = 1.0f;
                }
                pFont->DrawText(SCREEN_CENTRE_X, 160 - 5 * h / 4, FONT_ALIGN_CENTRE,
                                "Touch Screen to Continue", 1.0f, 1.0f, 1.0f, fAlpha, -1);
            }
            break;
        case LEVEL_GET_READY:
            pFont->DrawText(SCREEN_CENTRE_X, (320 - h) / 2, FONT_ALIGN_CENTRE, "Get Ready!", 0.2f,
                            0.8f, 0.2f, 1.0f, -1);
            break;
        case LEVEL_PAUSED:
            pFont->DrawText(SCREEN_CENTRE_X, 160 + h / 4, FONT_ALIGN_CENTRE, "Paused", 1.0f, 1.0f,
                            1.0f, 1.0f, -1);
            pFont->DrawText(SCREEN_CENTRE_X, 160 - 5 * h / 4, FONT_ALIGN_CENTRE,
                            "Touch Screen to Resume", 1.0f, 1.0f, 1.0f, 1.0f, -1);
            break;
        default:
            break;
    }

    for (const sPopup& tPopup : tPopups)
    {
        if (tPopup.iValue != 0)
        {
            std::snprintf(strText, sizeof(strText), "%i", tPopup.iValue);
            const float fGreenBlue = tPopup.iValue >= 1 ? 1.0f : 0.0f;
            pFont->DrawText(tPopup.x, tPopup.y, FONT_ALIGN_CENTRE, strText, 1.0f, fGreenBlue,
                            fGreenBlue, tPopup.fAlpha, -1);
        }
    }

    pFont->SetScale(CORNER_TEXT_SCALE, CORNER_TEXT_SCALE);
    h = pFont->GetLineHeight();
    std::snprintf(strText, sizeof(strText), "Hi Score: %i", iHighScore);
    pFont->DrawText(LEFT_MARGIN_X, 320 - h - 4, FONT_ALIGN_LEFT, strText, 1.0f, 1.0f, 1.0f, 1.0f,
                    -1);
    std::snprintf(strText, sizeof(strText), "%i", iScore);
    const float fScoreGreenBlue = iScore < 0 ? 0.0f : 1.0f;
    pFont->DrawText(RIGHT_MARGIN_X, 320 - h - 4, FONT_ALIGN_RIGHT, strText, 1.0f, fScoreGreenBlue,
                    fScoreGreenBlue, 1.0f, -1);
    // Blue at x1, turning green towards x5.
    std::snprintf(strText, sizeof(strText), "x%i", iMultiplier);
    const float fGreen = static_cast<float>(iMultiplier - 1) / 4.0f;
    pFont->DrawText(RIGHT_MARGIN_X, 320 - 2 * h - 4, FONT_ALIGN_RIGHT, strText, 0.0f, fGreen,
                    1.0f - fGreen, 1.0f, -1);
    const int iLeft = POMMOS_ALLOWED_TO_DROP + 1 - iLostCount;
    if (iLeft > 0)
    {
        static const float s_tLeftColours[3][3] = {
            {1.0f, 0.0f, 0.0f},  // one left: red
            {1.0f, 0.5f, 0.0f},  // two: orange
            {0.0f, 1.0f, 0.0f},  // three: green
        };
        const float* pColour = s_tLeftColours[iLeft > 3 ? 2 : iLeft - 1];
        std::snprintf(strText, sizeof(strText), "%i", iLeft);
        pFont->DrawText(RIGHT_MARGIN_X, 24, FONT_ALIGN_RIGHT, strText, pColour[0], pColour[1],
                        pColour[2], 1.0f, -1);
    }
    pFont->SetScale(1.0f, 1.0f);
}
