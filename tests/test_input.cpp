// The input objects: touch slots and point lists, and the emulated device behind the host's
// poll (whose leaned, smoothed and filtered samples test_replay reads exactly).

#include <gtest/gtest.h>

#include <cmath>

#include "Application.h"
#include "GameTouch.h"
#include "HostAccel.h"
#include "INPTAccelerometer.h"
#include "INPTTouch.h"

namespace
{

struct Handler : CTouchEventHandler
{
    INPTTouch* pInput = nullptr;
    int iBegan = 0;
    int iMoved = 0;
    int iEnded = 0;
    int iBeganPointXSeen = 0;
    void TouchesBegan() override
    {
        ++iBegan;
        iBeganPointXSeen = pInput->getNewTouchPoints()[0].x;
    }
    void TouchesMoved() override { ++iMoved; }
    void TouchesEnded() override { ++iEnded; }
};

// Drives INPTTouch through the framework's own touch path (ring, window, view).
class TouchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UIApplication::sharedApplication()->reset();
        FW_ResetTouches();
        pInput = INPTTouch::alloc();
        pInput->clear();
        tForward.pInput = pInput;
        tHandler.pInput = pInput;
        pInput->registerHandler(&tHandler);
        tWindow.setTouchView(&tForward);
        UIApplication::sharedApplication()->setKeyWindow(&tWindow);
    }
    void TearDown() override
    {
        ::operator delete(pInput);
        UIApplication::sharedApplication()->reset();
    }

    INPTTouch* pInput = nullptr;
    TouchForwarder tForward;
    Handler tHandler;
    UIWindow tWindow;
};

}  // namespace

TEST_F(TouchTest, SlotsSwapAxesAgeWithMovesAndEndAtMinusOne)
{
    FW_TouchBegan(100, 200, 1000);
    sTouch& tTouch = pInput->getTouches()[0];
    EXPECT_EQ(tTouch.x, 200);
    EXPECT_EQ(tTouch.y, 100);
    EXPECT_EQ(tTouch.iAge, 0);
    EXPECT_EQ(tTouch.state, 1);
    EXPECT_EQ(pInput->getNewTouchPoints()[0].x, 200);
    EXPECT_EQ(pInput->getNewTouchPoints()[0].y, 100);
    EXPECT_EQ(tHandler.iBegan, 1);
    EXPECT_EQ(tHandler.iBeganPointXSeen, -1);  // the handler runs before the list is filled

    pInput->clear();
    EXPECT_EQ(pInput->getNewTouchPoints()[0].x, -1);
    EXPECT_EQ(tTouch.x, 200);  // the slot keeps its values

    FW_TouchMoved(120, 230, 1200);
    EXPECT_EQ(tTouch.iAge, 1);
    EXPECT_EQ(tTouch.state, 2);
    FW_TouchMoved(130, 240, 1300);
    EXPECT_EQ(tTouch.iAge, 2);
    EXPECT_EQ(pInput->getMovedTouchPoints()[0].x, 240);
    EXPECT_EQ(pInput->getMovedTouchPoints()[0].y, 130);
    EXPECT_EQ(tHandler.iMoved, 2);

    FW_TouchEnded(130, 240, 1400);
    EXPECT_EQ(tTouch.iAge, -1);
    EXPECT_EQ(tTouch.state, 0);
    EXPECT_EQ(tHandler.iEnded, 1);
    // The moved list keeps the last move until the next one.
    EXPECT_EQ(pInput->getMovedTouchPoints()[0].x, 240);
}

TEST_F(TouchTest, ATouchAtTheOriginIsNoTouch)
{
    FW_TouchBegan(0, 0, 1000);
    EXPECT_EQ(pInput->getNewTouchPoints()[0].x, -1);
    EXPECT_EQ(pInput->getNewTouchPoints()[0].y, -1);
    EXPECT_EQ(pInput->getTouches()[0].state, 0);
}

TEST(AccelerometerPoll, EmulatedDeviceLeansSmoothlyAndIsNeverWeightless)
{
    // Upright: gravity along x only, so the game's pull is straight down.
    int iAxes[3];
    HostAccelEmulatedAxes(0.0f, iAxes);
    EXPECT_EQ(iAxes[0], -32767);
    EXPECT_EQ(iAxes[1], 0);
    // Full lean reaches the game's cap of 0.4 g sideways; the sign follows the arrow.
    HostAccelEmulatedAxes(1.0f, iAxes);
    const float fLength = std::hypot(static_cast<float>(iAxes[0]), static_cast<float>(iAxes[1]));
    EXPECT_NEAR(iAxes[1] / fLength, 0.4f, 0.001f);
    HostAccelEmulatedAxes(-0.5f, iAxes);
    EXPECT_LT(iAxes[1], 0);
    // Quantised and smoothed, every lean still reads as a real vector.
    for (float fLean = -1.0f; fLean <= 1.0f; fLean += 0.25f)
    {
        g_HostAccel.iLastX = g_HostAccel.iLastY = g_HostAccel.iLastZ = 0;
        HostAccelEmulatedAxes(fLean, iAxes);
        float fX = 0.0f;
        float fY = 0.0f;
        float fZ = 0.0f;
        HostAccelFilterAxes(iAxes, &fX, &fY, &fZ);
        EXPECT_GT(std::hypot(fX, fY), 0.2f) << fLean;
    }
    g_HostAccel.iLastX = g_HostAccel.iLastY = g_HostAccel.iLastZ = 0;

    // The lean moves at a steady rate and stops at its target.
    EXPECT_FLOAT_EQ(HostAccelStepLean(0.0f, 1.0f, ACCEL_LEAN_SECONDS / 2), 0.5f);
    EXPECT_FLOAT_EQ(HostAccelStepLean(0.9f, 1.0f, ACCEL_LEAN_SECONDS), 1.0f);
    EXPECT_FLOAT_EQ(HostAccelStepLean(0.3f, 0.0f, 10.0f), 0.0f);
    EXPECT_FLOAT_EQ(HostAccelStepLean(0.3f, 0.0f, -1.0f), 0.3f);
}
