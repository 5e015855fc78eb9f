// Speed of one level frame: the update and the draw submission (the tree through the GL
// matrix stack, the pommos, the baskets, the popups and the HUD text) with 16 pommos and 16
// popups. The GL driver's own share is kept small: a hidden context and a one-pixel viewport,
// so almost nothing is rasterised.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "FileSystem.h"
#include "Fonts.h"
#include "GLES.h"
#include "HiddenGL.h"
#include "Level.h"
#include "Random.h"
#include "Textures.h"

namespace
{

// A level in play with a pommo on sixteen of its twenty twigs at every stage of growth, and
// sixteen popups rising.
struct BusyLevel
{
    CLevel* pLevel = nullptr;
    CPommo tPommos[MAX_POMMOS];

    BusyLevel()
    {
        RAND_Seed(99);
        pLevel = new CLevel(0);
        pLevel->iMode = LEVEL_PLAYING;
        pLevel->Draw(nullptr);  // the twigs learn where they are
        for (int k = 0; k < MAX_POMMOS; ++k)
        {
            const int iLimb = k % NUM_LIMBS;
            const int iTwig = (k / NUM_LIMBS) % TWIGS_PER_LIMB;
            tPommos[k].Create(pLevel->Twig(iLimb, iTwig), iLimb, iTwig, 0.3f + 0.03f * k);
            tPommos[k].iType = k % 2;
            tPommos[k].fSize = 0.025f * k;
            pLevel->pPommos[k] = &tPommos[k];
        }
    }

    ~BusyLevel() { delete pLevel; }

    // Keeps the level as busy as it started: nothing drops, every popup stays up.
    void KeepBusy()
    {
        for (CPommo& tPommo : tPommos)
        {
            if (tPommo.iState == POMMO_OVERRIPE)
            {
                tPommo.fFaceTimer = 0.0f;
            }
        }
        for (int i = 0; i < MAX_POPUPS; ++i)
        {
            pLevel->tPopups[i] =
                sPopup{20 + 25 * i, 40 + 10 * i, i % 3 == 0 ? -4 : 2 * i + 1, 1.0f};
        }
        pLevel->fSpawnAccumulator = 0.0f;
    }
};

void BM_LevelFrame(benchmark::State& tState)
{
    if (!TOOL_OpenHiddenGL("bench_level"))
    {
        tState.SkipWithError("no GL context");
        return;
    }
    FS_SetResourceDirectory(BF_DATA_DIR);
    FS_SetSaveDirectory("/nonexistent");
    TEX_ResetTextures();
    CFont tFont;
    if (!tFont.LoadFont("Boughfall", 2048))
    {
        tState.SkipWithError("no font");
        return;
    }
    BusyLevel tBusy;
    TOOL_HiddenFrameSpace();
    for (auto _ : tState)
    {
        tBusy.KeepBusy();
        tBusy.pLevel->Update(1.0f / 60.0f);
        tBusy.pLevel->Draw(&tFont);
        tFont.RenderText(true);
    }
    glFinish();
}
BENCHMARK(BM_LevelFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
