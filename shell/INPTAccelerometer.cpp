#include "INPTAccelerometer.h"

namespace
{

float Filter(float fSample, float fCurrent)
{
    // The product of the sample is single precision; the blend is carried in double.
    const float fNew = fSample * ACCEL_FILTER_NEW;
    return static_cast<float>(static_cast<double>(fNew) +
                              static_cast<double>(fCurrent) *
                                  static_cast<double>(ACCEL_FILTER_KEEP));
}

}  // namespace

void INPTAccelerometer::SetDelegate()
{
    UIAccelerometer::sharedAccelerometer()->setDelegate(this);
}

void INPTAccelerometer::accelerometerDidAccelerate(UIAccelerometer*, UIAcceleration* pAcceleration)
{
    accel[0].store(Filter(pAcceleration->x, accel[0].load()));
    accel[1].store(Filter(pAcceleration->y, accel[1].load()));
    accel[2].store(Filter(pAcceleration->z, accel[2].load()));
}

void INPTAccelerometer::GetAccelerometerVector(float pVector[3]) const
{
    for (int i = 0; i < 3; ++i)
    {
        pVector[i] = bHeld ? tHeld[i] : accel[i].load();
        tLastRead[i] = pVector[i];
    }
}

void INPTAccelerometer::HoldVector(const float pVector[3])
{
    bHeld = true;
    for (int i = 0; i < 3; ++i)
    {
        tHeld[i] = pVector[i];
    }
}

void INPTAccelerometer::LastVectorRead(float pVector[3]) const
{
    for (int i = 0; i < 3; ++i)
    {
        pVector[i] = tLastRead[i];
    }
}
