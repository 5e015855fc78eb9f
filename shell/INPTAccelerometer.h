#pragma once

// The accelerometer delegate: low-pass filters each sample and hands out the filtered vector.
// Samples arrive on SDL's timer thread; the game reads on the main thread. Each float is
// written and read whole, so a reader may see parts of two successive samples, never a torn
// value.

#include <atomic>

#include "Accelerometer.h"

// Weight of a new sample in the filter; the old value keeps the rest (0.98, as a float).
constexpr float ACCEL_FILTER_NEW = 0.02f;
constexpr float ACCEL_FILTER_KEEP = 0.98f;

class INPTAccelerometer : public UIAccelerometerDelegate
{
public:
    void Init() {}
    // Makes this object the shared accelerometer's delegate.
    void SetDelegate();
    void accelerometerDidAccelerate(UIAccelerometer* pAccelerometer,
                                    UIAcceleration* pAcceleration) override;
    void GetAccelerometerVector(float pVector[3]) const;

private:
    std::atomic<float> accel[3] = {0.0f, 0.0f, 0.0f};
};
