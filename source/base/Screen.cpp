#include "Screen.h"

#include "GLES.h"

namespace
{

struct FadeVertex
{
    float x;
    float y;
    unsigned char tColour[4];
};
static_assert(sizeof(FadeVertex) == 12);

float s_fFadeLevel = 0.0f;

FadeVertex s_tFadeQuad[4] = {
    {0.0f, 0.0f, {0, 0, 0, 0}},
    {0.0f, 320.0f, {0, 0, 0, 0}},
    {480.0f, 320.0f, {0, 0, 0, 0}},
    {480.0f, 0.0f, {0, 0, 0, 0}},
};

const GLushort s_uiFadeIndices[6] = {0, 1, 2, 0, 2, 3};

}  // namespace

void SCREEN_Set2D()
{
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrthof(-160.0f, 160.0f, -240.0f, 240.0f, -1.0f, 1024.0f);
    glRotatef(-90.0f, 0.0f, 0.0f, 1.0f);
    glTranslatef(-240.0f, -160.0f, 0.0f);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void SCREEN_Clear()
{
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

bool FADE_StepOut()
{
    if (s_fFadeLevel < 1.0f)
    {
        s_fFadeLevel += FADE_STEP;
    }
    if (s_fFadeLevel >= 1.0f)
    {
        s_fFadeLevel = 1.0f;
        return true;
    }
    return false;
}

bool FADE_StepIn()
{
    if (s_fFadeLevel > 0.0f)
    {
        s_fFadeLevel -= FADE_STEP;
    }
    if (s_fFadeLevel <= 0.0f)
    {
        s_fFadeLevel = 0.0f;
        return true;
    }
    return false;
}

void FADE_Set(float x)
{
    s_fFadeLevel = 1.0f - x;
}

float FADE_Level()
{
    return s_fFadeLevel;
}

unsigned char FADE_Alpha()
{
    return static_cast<unsigned char>(static_cast<int>(s_fFadeLevel * 255.0f));
}

void FADE_Draw()
{
    if (s_fFadeLevel == 0.0f)
    {
        return;
    }
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDisableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(FadeVertex), &s_tFadeQuad[0].x);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(FadeVertex), s_tFadeQuad[0].tColour);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const unsigned char uiAlpha = FADE_Alpha();
    for (FadeVertex& tVertex : s_tFadeQuad)
    {
        tVertex.tColour[3] = uiAlpha;
    }
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_SHORT, s_uiFadeIndices);
}
