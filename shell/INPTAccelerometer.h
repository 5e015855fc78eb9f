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
    // The filtered vector, or the held one while a replay holds it (main thread).
    void GetAccelerometerVector(float pVector[3]) const;

    // Replays: from now on the game reads this vector instead of the filtered samples, which
    // come from the real (or emulated) device in real time (main thread).
    void HoldVector(const float pVector[3]);
    // The vector the game read last, zero before the first read: a recording writes down what
    // the game really used (main thread).
    void LastVectorRead(float pVector[3]) const;

private:
    std::atomic<float> accel[3] = {0.0f, 0.0f, 0.0f};
    bool bHeld = false;
    float tHeld[3] = {0.0f, 0.0f, 0.0f};
    mutable float tLastRead[3] = {0.0f, 0.0f, 0.0f};
};
