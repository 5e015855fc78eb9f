#include "TouchArea.h"

#include <cstddef>

#include "Assert.h"

namespace
{

// The assertion lines the game reports for a bad area id.
constexpr unsigned int LINE_ID_IN_RANGE = 246;
constexpr unsigned int LINE_SLOT_IN_USE = 247;

bool Holds(const TouchArea& tArea, const sPoint2D& tPoint)
{
    return tArea.iLeft <= tPoint.x && tPoint.x <= tArea.iRight && tArea.iBottom <= tPoint.y &&
           tPoint.y <= tArea.iTop;
}

}  // namespace

TouchAreaManager::TouchAreaManager() : pAreas{}, tPoints{}, iNumPoints(0) {}

TouchAreaManager::~TouchAreaManager()
{
    for (TouchArea*& pArea : pAreas)
    {
        delete pArea;
        pArea = nullptr;
    }
}

int TouchAreaManager::AddArea(int iTop, int iBottom, int iLeft, int iRight,
                              CTouchAreaHandler* pHandler, int iParam)
{
    for (int i = 0; i < MAX_TOUCH_AREAS; ++i)
    {
        if (pAreas[i] == nullptr)
        {
            pAreas[i] = new TouchArea{iLeft, iTop, iRight, iBottom, pHandler, iParam};
            return i;
        }
    }
    return -1;
}

void TouchAreaManager::SetArea(int iTouchAreaID, int iTop, int iBottom, int iLeft, int iRight)
{
    BF_ASSERT_AT("TouchArea", LINE_ID_IN_RANGE,
                 iTouchAreaID >= 0 && iTouchAreaID < MAX_TOUCH_AREAS);
    BF_ASSERT_AT("TouchArea", LINE_SLOT_IN_USE, pAreas[iTouchAreaID] != NULL);
    TouchArea* pArea = pAreas[iTouchAreaID];
    pArea->iTop = iTop;
    pArea->iBottom = iBottom;
    pArea->iLeft = iLeft;
    pArea->iRight = iRight;
}

void TouchAreaManager::CheckTable() const
{
    BF_ASSERT("source/engine/TouchArea", iNumPoints >= 0 && iNumPoints <= MAX_TOUCH_POINTS);
    for (const TouchArea* pArea : pAreas)
    {
        if (pArea != nullptr)
        {
            BF_ASSERT("source/engine/TouchArea", pArea->pHandler != nullptr);
            BF_ASSERT("source/engine/TouchArea",
                      pArea->iBottom <= pArea->iTop && pArea->iLeft <= pArea->iRight);
        }
    }
}

void TouchAreaManager::Update(const sPoint2D* pNewTouchPoints)
{
    iNumPoints = 0;
    for (int i = 0; pNewTouchPoints != nullptr && i < MAX_TOUCH_POINTS; ++i)
    {
        if (pNewTouchPoints[i].x != -1)
        {
            tPoints[iNumPoints++] = pNewTouchPoints[i];
        }
    }
    if (iNumPoints == 0)
    {
        return;
    }
    for (TouchArea* pArea : pAreas)
    {
        if (pArea == nullptr)
        {
            continue;
        }
        for (int i = 0; i < iNumPoints; ++i)
        {
            if (Holds(*pArea, tPoints[i]))
            {
                if (pArea->pHandler != nullptr)
                {
                    pArea->pHandler->OnTouch(pArea->iParam);
                }
                break;
            }
        }
    }
}
