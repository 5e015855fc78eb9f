#include "INPTTouch.h"

#include <cstring>
#include <initializer_list>
#include <new>

#include "Assert.h"

namespace
{

void SetAllMinusOne(sPoint2D* pPoints)
{
    std::memset(pPoints, 0xFF, sizeof(sPoint2D) * MAX_TOUCHES);
}

bool IsTouchPoint(const CGPoint& tLocation)
{
    return tLocation.x > 0.0f || tLocation.y > 0.0f;
}

}  // namespace

INPTTouch* INPTTouch::alloc()
{
    void* pMemory = ::operator new(sizeof(INPTTouch));
    std::memset(pMemory, 0, sizeof(INPTTouch));
    return new (pMemory) INPTTouch;
}

void INPTTouch::init()
{
    SetAllMinusOne(pointsBegan);
    SetAllMinusOne(pointsMoved);
    std::memset(touches, 0, sizeof(touches));
    pHandler = nullptr;
}

void INPTTouch::clear()
{
    SetAllMinusOne(pointsBegan);
}

void INPTTouch::updateTouches(UITouch* const* pTouches, int iNumTouches, UIEvent*, int iState)
{
    for (int i = 0; i < iNumTouches && i < MAX_TOUCHES; ++i)
    {
        const CGPoint tLocation = pTouches[i]->locationInView(nullptr);
        if (!IsTouchPoint(tLocation))
        {
            continue;
        }
        sTouch& tTouch = touches[i];
        tTouch.x = static_cast<int>(tLocation.y);
        tTouch.y = static_cast<int>(tLocation.x);
        tTouch.state = iState;
        if (iState == 1)
        {
            tTouch.iAge = 0;
        }
        else if (iState == 2)
        {
            tTouch.iAge += 1;
        }
        else if (iState == 3)
        {
            tTouch.state = 0;
            tTouch.iAge = -1;
        }
    }
}

void INPTTouch::CheckSlots() const
{
    for (int i = 0; i < MAX_TOUCHES; ++i)
    {
        BF_ASSERT("shell/INPTTouch", touches[i].state >= 0 && touches[i].state <= 3);
        BF_ASSERT("shell/INPTTouch", touches[i].iAge >= -1);
        for (const sPoint2D* pList : {pointsBegan, pointsMoved})
        {
            // -1 marks an empty entry; a point is on the 480 x 320 screen.
            BF_ASSERT("shell/INPTTouch", (pList[i].x == -1 && pList[i].y == -1) ||
                                             (pList[i].x >= 0 && pList[i].x <= 480 &&
                                              pList[i].y >= 0 && pList[i].y <= 320));
        }
    }
}

void INPTTouch::touchesBegan(UITouch* const* pTouches, int iNumTouches, UIEvent* pEvent)
{
    SetAllMinusOne(pointsBegan);
    updateTouches(pTouches, iNumTouches, pEvent, 1);
    if (pHandler != nullptr)
    {
        pHandler->TouchesBegan();
    }
    for (int i = 0; i < iNumTouches && i < MAX_TOUCHES; ++i)
    {
        const CGPoint tLocation = pTouches[i]->locationInView(nullptr);
        if (IsTouchPoint(tLocation))
        {
            pointsBegan[i] = sPoint2D{static_cast<int>(tLocation.y), static_cast<int>(tLocation.x)};
        }
        else
        {
            pointsBegan[i] = sPoint2D{-1, -1};
            touches[i].state = 0;
        }
    }
}

void INPTTouch::touchesMoved(UITouch* const* pTouches, int iNumTouches, UIEvent* pEvent)
{
    SetAllMinusOne(pointsMoved);
    updateTouches(pTouches, iNumTouches, pEvent, 2);
    if (pHandler != nullptr)
    {
        pHandler->TouchesMoved();
    }
    for (int i = 0; i < iNumTouches && i < MAX_TOUCHES; ++i)
    {
        const CGPoint tLocation = pTouches[i]->locationInView(nullptr);
        if (IsTouchPoint(tLocation))
        {
            pointsMoved[i] = sPoint2D{static_cast<int>(tLocation.y), static_cast<int>(tLocation.x)};
        }
        else
        {
            touches[i].state = 0;
        }
    }
}

void INPTTouch::touchesEnded(UITouch* const* pTouches, int iNumTouches, UIEvent* pEvent)
{
    updateTouches(pTouches, iNumTouches, pEvent, 3);
    if (pHandler != nullptr)
    {
        pHandler->TouchesEnded();
    }
}

void INPTTouch::touchesCancelled(UITouch* const* pTouches, int iNumTouches, UIEvent* pEvent)
{
    touchesEnded(pTouches, iNumTouches, pEvent);
}
