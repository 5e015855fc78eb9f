#pragma once

// The shared accelerometer: the host's poll delivers samples here (on SDL's timer thread) and
// they go on to the one delegate. Setting the first delegate starts the poll and delivers an
// immediate first sample; clearing it stops the poll.

#include <atomic>

class UIAccelerometer;

class UIAcceleration
{
public:
    double timestamp;
    float x;
    float y;
    float z;
};

class UIAccelerometerDelegate
{
public:
    virtual ~UIAccelerometerDelegate() = default;
    virtual void accelerometerDidAccelerate(UIAccelerometer* pAccelerometer,
                                            UIAcceleration* pAcceleration) = 0;
};

class UIAccelerometer
{
public:
    static UIAccelerometer* sharedAccelerometer();

    // Seconds between samples; 1/15 s (as a single-precision value) until set.
    double updateInterval() const { return dUpdateInterval; }
    void setUpdateInterval(double dInterval);

    UIAccelerometerDelegate* delegate() const { return pDelegate.load(); }
    // Only a change between none and some delegate has an effect: replacing one delegate by
    // another keeps the first.
    void setDelegate(UIAccelerometerDelegate* pNewDelegate);

    // One sample from the host (any thread).
    void deliverSample(float fX, float fY, float fZ, double dTimestamp);

    // Back to a new process's state (tests).
    void reset();

private:
    double dUpdateInterval = 0.06666667014360428;
    std::atomic<UIAccelerometerDelegate*> pDelegate{nullptr};
    UIAcceleration tAcceleration{};
};

// The host's entry for samples.
void FW_AccelerometerSample(float fX, float fY, float fZ, double dTimestamp);
