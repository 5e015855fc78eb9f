#include "Accelerometer.h"

#include "HostAccel.h"

UIAccelerometer* UIAccelerometer::sharedAccelerometer()
{
    static UIAccelerometer s_Accelerometer;
    return &s_Accelerometer;
}

void UIAccelerometer::setUpdateInterval(double dInterval)
{
    dUpdateInterval = dInterval;
    HostAccelSetInterval(static_cast<unsigned int>(dInterval * 1000.0));
}

void UIAccelerometer::setDelegate(UIAccelerometerDelegate* pNewDelegate)
{
    UIAccelerometerDelegate* pCurrent = pDelegate.load();
    if (pCurrent == nullptr && pNewDelegate != nullptr)
    {
        pDelegate.store(pNewDelegate);
        HostAccelStart(static_cast<unsigned int>(dUpdateInterval * 1000.0));
        deliverSample(HostAccelReadX(), HostAccelReadY(), HostAccelReadZ(), 0.0);
    }
    else if (pCurrent != nullptr && pNewDelegate == nullptr)
    {
        pDelegate.store(nullptr);
        HostAccelStop();
    }
}

void UIAccelerometer::deliverSample(float fX, float fY, float fZ, double dTimestamp)
{
    UIAccelerometerDelegate* pCurrent = pDelegate.load();
    if (pCurrent == nullptr)
    {
        return;
    }
    tAcceleration.timestamp = dTimestamp;
    tAcceleration.x = fX;
    tAcceleration.y = fY;
    tAcceleration.z = fZ;
    pCurrent->accelerometerDidAccelerate(this, &tAcceleration);
}

void UIAccelerometer::reset()
{
    pDelegate.store(nullptr);
    dUpdateInterval = 0.06666667014360428;
    tAcceleration = UIAcceleration{};
}

void FW_AccelerometerSample(float fX, float fY, float fZ, double dTimestamp)
{
    UIAccelerometer::sharedAccelerometer()->deliverSample(fX, fY, fZ, dTimestamp);
}
