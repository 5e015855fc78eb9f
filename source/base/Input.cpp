#include "Input.h"

#include <new>

CInput* g_pInput = nullptr;

namespace
{

// Used before the touch object exists: every point empty.
sPoint2D s_tNoPoints[MAX_TOUCHES] = {{-1, -1}, {-1, -1}, {-1, -1}, {-1, -1},
                                     {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}};
sTouch s_tNoTouches[MAX_TOUCHES] = {};

}  // namespace

CInput::CInput() : pAccelerometer(new INPTAccelerometer()), pTouch(nullptr)
{
    pAccelerometer->Init();
    UIAccelerometer* pShared = UIAccelerometer::sharedAccelerometer();
    pShared->setUpdateInterval(1.0 / 30.0);
    pShared->setDelegate(pAccelerometer);
}

CInput::~CInput()
{
    UIAccelerometer* pShared = UIAccelerometer::sharedAccelerometer();
    if (pShared->delegate() == pAccelerometer)
    {
        pShared->setDelegate(nullptr);
    }
    delete pAccelerometer;
    if (pTouch != nullptr)
    {
        pTouch->~INPTTouch();
        ::operator delete(pTouch);
    }
}

INPTTouch* CInput::CreateTouch()
{
    if (pTouch == nullptr)
    {
        pTouch = INPTTouch::alloc();
        pTouch->clear();
    }
    return pTouch;
}

sTouch* CInput::getTouches()
{
    return pTouch != nullptr ? pTouch->getTouches() : s_tNoTouches;
}

sPoint2D* CInput::getNewTouchPoints()
{
    return pTouch != nullptr ? pTouch->getNewTouchPoints() : s_tNoPoints;
}

sPoint2D* CInput::getMovedTouchPoints()
{
    return pTouch != nullptr ? pTouch->getMovedTouchPoints() : s_tNoPoints;
}

void CInput::GetAccelerometerVector(float pVector[3]) const
{
    pAccelerometer->GetAccelerometerVector(pVector);
}

void CInput::registerHandler(CTouchEventHandler* pHandler)
{
    CreateTouch()->registerHandler(pHandler);
}

void CInput::removeHandler()
{
    if (pTouch != nullptr)
    {
        pTouch->removeHandler();
    }
}

void CInput::clear()
{
    if (pTouch != nullptr)
    {
        pTouch->clear();
    }
}
