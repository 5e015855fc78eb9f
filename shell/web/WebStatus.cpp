// The browser build's window on the game for the page and its tests: the state machine, the
// level's numbers and where its pommos hang, as one line of JSON. It changes nothing.

#include <emscripten.h>

#include <cstdio>

#include "FrontEnd.h"
#include "Game.h"
#include "Level.h"
#include "Pommo.h"

extern "C" EMSCRIPTEN_KEEPALIVE const char* SHELL_WebStatus()
{
    static char s_strStatus[4096];
    int iLength = std::snprintf(s_strStatus, sizeof(s_strStatus),
                                "{\"frame\":%u,\"state\":%d,\"frontEnd\":%d", GAME_FrameCount(),
                                AppState, g_pFrontEnd != nullptr ? g_pFrontEnd->iMode : -1);
    const CLevel* pLevel = g_pGame != nullptr ? g_pGame->pLevel : nullptr;
    if (pLevel != nullptr)
    {
        iLength += std::snprintf(
            s_strStatus + iLength, sizeof(s_strStatus) - iLength,
            ",\"level\":%d,\"score\":%d,\"highScore\":%d,\"lost\":%d,\"gravity\":[%.4f,%.4f],"
            "\"pommos\":[",
            pLevel->iMode, pLevel->iScore, pLevel->iHighScore, pLevel->iLostCount,
            pLevel->vGravity[0], pLevel->vGravity[1]);
        bool bFirst = true;
        for (const CPommo* pPommo : pLevel->pPommos)
        {
            if (pPommo == nullptr || iLength > static_cast<int>(sizeof(s_strStatus)) - 160)
            {
                continue;
            }
            iLength += std::snprintf(
                s_strStatus + iLength, sizeof(s_strStatus) - iLength,
                "%s{\"type\":%d,\"state\":%d,\"flying\":%d,\"x\":%.1f,\"y\":%.1f,\"px\":%.1f,"
                "\"py\":%.1f}",
                bFirst ? "" : ",", pPommo->iType, pPommo->iState, pPommo->bFlying,
                pPommo->vScreenPoint[0], pPommo->vScreenPoint[1], pPommo->vPosition[0],
                pPommo->vPosition[1]);
            bFirst = false;
        }
        iLength += std::snprintf(s_strStatus + iLength, sizeof(s_strStatus) - iLength, "]");
    }
    std::snprintf(s_strStatus + iLength, sizeof(s_strStatus) - iLength, "}");
    return s_strStatus;
}
