#include "Game.h"

#include <cmath>
#include <cstdio>

#include "Audio.h"
#include "FileSystem.h"
#include "FontManager.h"
#include "GLES.h"
#include "Input.h"
#include "MusicPlayer.h"
#include "Screen.h"
#include "TouchArea.h"

int AppState = APP_FRONTEND;
CAudio* g_pAudio = nullptr;
FontManager* g_pFontManager = nullptr;
TouchAreaManager* g_pTouchAreaManager = nullptr;
MusicPlayer* g_pMusicPlayer = nullptr;

namespace
{

unsigned int s_uiFrames = 0;

struct ColourVertex
{
    float x;
    float y;
    unsigned char tColour[4];
};

// Draws an axis-aligned rectangle of the 2D space in one colour per corner (bottom-left,
// top-left, top-right, bottom-right).
void DrawRect(float fLeft, float fBottom, float fRight, float fTop, const unsigned char tLow[4],
              const unsigned char tHigh[4])
{
    const ColourVertex tQuad[4] = {
        {fLeft, fBottom, {tLow[0], tLow[1], tLow[2], tLow[3]}},
        {fLeft, fTop, {tHigh[0], tHigh[1], tHigh[2], tHigh[3]}},
        {fRight, fTop, {tHigh[0], tHigh[1], tHigh[2], tHigh[3]}},
        {fRight, fBottom, {tLow[0], tLow[1], tLow[2], tLow[3]}},
    };
    static const GLushort s_uiIndices[6] = {0, 1, 2, 0, 2, 3};
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(ColourVertex), &tQuad[0].x);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(ColourVertex), tQuad[0].tColour);
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_SHORT, s_uiIndices);
}

// The gravity the player's lean gives: straight down at rest, leaning at most about 23.6
// degrees either way.
void GravityFromTilt(float* pX, float* pY)
{
    float fAccel[3];
    g_pInput->GetAccelerometerVector(fAccel);
    const float fLength = std::sqrt(fAccel[0] * fAccel[0] + fAccel[1] * fAccel[1]);
    if (!(fLength > 0.0f))
    {
        *pX = 0.0f;
        *pY = -1.0f;
        return;
    }
    *pX = -fAccel[1] / fLength;
    *pY = -std::fabs(fAccel[0]) / fLength;
    if (std::fabs(*pX) > 0.4f)
    {
        *pX = *pX > 0.0f ? 0.4f : -0.4f;
        *pY = -0.9165f;
    }
}

// The frame of the bare spine: sky and ground, a plumb line that follows the lean, and a marker
// where the finger last went down or moved.
void DrawSpineFrame()
{
    static const unsigned char s_tSkyLow[4] = {150, 205, 240, 255};
    static const unsigned char s_tSkyHigh[4] = {70, 140, 215, 255};
    static const unsigned char s_tGround[4] = {96, 160, 70, 255};
    static const unsigned char s_tMarker[4] = {235, 70, 60, 255};
    static const unsigned char s_tLine[4] = {40, 40, 60, 255};
    glDisable(GL_BLEND);
    DrawRect(0.0f, 0.0f, 480.0f, 320.0f, s_tSkyLow, s_tSkyHigh);
    DrawRect(0.0f, 0.0f, 480.0f, 40.0f, s_tGround, s_tGround);

    float fGravityX = 0.0f;
    float fGravityY = -1.0f;
    GravityFromTilt(&fGravityX, &fGravityY);
    for (int i = 0; i < 24; ++i)
    {
        const float fX = 240.0f + fGravityX * 5.0f * static_cast<float>(i);
        const float fY = 300.0f + fGravityY * 5.0f * static_cast<float>(i);
        DrawRect(fX - 1.5f, fY - 1.5f, fX + 1.5f, fY + 1.5f, s_tLine, s_tLine);
    }

    const sTouch& tTouch = g_pInput->getTouches()[0];
    if (tTouch.x != 0 || tTouch.y != 0)
    {
        const float fX = static_cast<float>(tTouch.x);
        const float fY = static_cast<float>(tTouch.y);
        DrawRect(fX - 8.0f, fY - 8.0f, fX + 8.0f, fY + 8.0f, s_tMarker, s_tMarker);
    }
}

}  // namespace

void GAME_Init()
{
    AppState = APP_FRONTEND;
    g_pAudio = new CAudio();
    g_pInput = new CInput();
    g_pFontManager = new FontManager();
    g_pTouchAreaManager = new TouchAreaManager();
    g_pMusicPlayer = new MusicPlayer();
    g_pMusicPlayer->Init();
    g_pMusicPlayer->Play();  // the title music starts at once
    FS_SetupDirectories();
    glClearColor(0.25f, 0.25f, 1.0f, 1.0f);
    glPointSize(2.0f);
    glCullFace(GL_BACK);
    FADE_Set(0.0f);  // the first picture fades in from black
    s_uiFrames = 0;
}

void GAME_Frame()
{
    SCREEN_Clear();
    SCREEN_Set2D();
    DrawSpineFrame();
    FADE_StepIn();
    FADE_Draw();
    g_pMusicPlayer->Update();
    g_pAudio->UpdateMusic();
    g_pInput->clear();
    ++s_uiFrames;
}

void GAME_PauseLevel()
{
    // The spine's frame has no level to pause.
}

void GAME_Shutdown()
{
    std::printf("Shutting down after %u frames\n", s_uiFrames);
    g_pMusicPlayer->InstantStop();
    delete g_pMusicPlayer;
    g_pMusicPlayer = nullptr;
    delete g_pAudio;
    g_pAudio = nullptr;
    delete g_pFontManager;
    g_pFontManager = nullptr;
    delete g_pTouchAreaManager;
    g_pTouchAreaManager = nullptr;
    delete g_pInput;
    g_pInput = nullptr;
}

unsigned int GAME_FrameCount()
{
    return s_uiFrames;
}
