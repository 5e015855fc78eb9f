// The framework: timers and the run loop, the touch ring with its slop rule, the event queue.
// (Activation is test_host's and test_game's, through the host and the real delegate.)

#include <gtest/gtest.h>

#include "Application.h"
#include "RunLoop.h"
#include "Touch.h"
#include "View.h"

namespace
{

double s_dClock = 1000.0;
double TestClock()
{
    return s_dClock;
}

struct TouchLog : UIView
{
    int iBegan = 0;
    int iMoved = 0;
    int iEnded = 0;
    CGPoint tLast{0, 0};
    void Note(UITouch* const* pTouches, int* pCounter)
    {
        ++*pCounter;
        tLast = pTouches[0]->locationInView(nullptr);
    }
    void touchesBegan(UITouch* const* p, int, UIEvent*) override { Note(p, &iBegan); }
    void touchesMoved(UITouch* const* p, int, UIEvent*) override { Note(p, &iMoved); }
    void touchesEnded(UITouch* const* p, int, UIEvent*) override { Note(p, &iEnded); }
};

class FrameworkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UIApplication::sharedApplication()->reset();
        FW_ResetTouches();
        tWindow.setTouchView(&tView);
        UIApplication::sharedApplication()->setKeyWindow(&tWindow);
        FW_SetClock(TestClock);
    }
    void TearDown() override
    {
        FW_SetClock(nullptr);
        UIApplication::sharedApplication()->reset();
    }

    UIWindow tWindow;
    TouchLog tView;
};

int s_iFires = 0;
void CountFire(void*)
{
    ++s_iFires;
}

}  // namespace

TEST_F(FrameworkTest, SmallJitterRightAfterTouchDownIsNotAMove)
{
    // 5 points within 80 ms: began and ended only.
    FW_TouchBegan(100, 200, 5000);
    FW_TouchMoved(105, 200, 5080);
    FW_TouchEnded(105, 200, 5090);
    EXPECT_EQ(tView.iBegan, 1);
    EXPECT_EQ(tView.iMoved, 0);
    EXPECT_EQ(tView.iEnded, 1);

    // 8 points is a move, even at once.
    FW_TouchBegan(100, 200, 6000);
    FW_TouchMoved(100, 208, 6010);
    EXPECT_EQ(tView.iMoved, 1);
    EXPECT_FLOAT_EQ(tView.tLast.y, 208.0f);
    FW_TouchEnded(100, 208, 6020);

    // 101 ms later a small step is a move too.
    FW_TouchBegan(100, 200, 7000);
    FW_TouchMoved(101, 200, 7101);
    EXPECT_EQ(tView.iMoved, 2);
    // Only the first move after the touch-down is judged.
    FW_TouchMoved(102, 200, 7102);
    EXPECT_EQ(tView.iMoved, 3);
}

TEST_F(FrameworkTest, MovesWithoutAFingerDownAndUpsBeforeAnyTouchReachNobody)
{
    FW_TouchEnded(50, 60, 10);  // before the first touch-down: no touch object
    FW_TouchMoved(50, 60, 20);
    EXPECT_EQ(tView.iEnded + tView.iMoved, 0);
    EXPECT_EQ(FW_CurrentTouch(), nullptr);
    FW_TouchBegan(10, 20, 30);
    EXPECT_EQ(tView.iBegan, 1);
    EXPECT_FLOAT_EQ(tView.tLast.x, 10.0f);  // the earlier records did not slip in
}

TEST_F(FrameworkTest, QueuedEventsWaitForTheNextRunLoopStepAndOverflowIsDropped)
{
    UIApplication* pApplication = UIApplication::sharedApplication();
    FW_TouchBegan(1, 1, 1);  // before the loop: delivered at once
    EXPECT_EQ(tView.iBegan, 1);

    UIEvent tEvent(FW_CurrentTouch());
    for (int i = 0; i < MAX_QUEUED_EVENTS; ++i)
    {
        EXPECT_TRUE(pApplication->postEvent(tEvent, false));
    }
    EXPECT_FALSE(pApplication->postEvent(tEvent, false));
    EXPECT_EQ(pApplication->queuedEventCount(), MAX_QUEUED_EVENTS);
    pApplication->runLoopStep();
    EXPECT_EQ(pApplication->queuedEventCount(), 0);
}

TEST_F(FrameworkTest, RepeatingTimersFireOncePerStepAndSkipMissedDates)
{
    s_iFires = 0;
    NSTimer* pTimer = NSTimer::scheduledTimerWithTimeInterval(0.5, nullptr, CountFire, true);
    NSRunLoop* pLoop = NSRunLoop::currentRunLoop();
    pLoop->runUntilDate(s_dClock + 0.4);
    EXPECT_EQ(s_iFires, 0);
    s_dClock += 0.5;
    pLoop->runUntilDate(s_dClock);
    EXPECT_EQ(s_iFires, 1);
    EXPECT_DOUBLE_EQ(pTimer->fireDate(), s_dClock + 0.5);
    s_dClock += 2.2;  // far behind: one fire, then the next date on the old phase
    pLoop->runUntilDate(s_dClock);
    EXPECT_EQ(s_iFires, 2);
    EXPECT_NEAR(pTimer->fireDate(), s_dClock + 0.3, 1e-9);
    pTimer->invalidate();
    s_dClock += 10.0;
    pLoop->runUntilDate(s_dClock);
    EXPECT_EQ(s_iFires, 2);
    double dNext = 0.0;
    EXPECT_FALSE(pLoop->nextFireDate(&dNext));

    NSTimer* pOnce = NSTimer::scheduledTimerWithTimeInterval(1.0, nullptr, CountFire, false);
    s_dClock += 1.0;
    pLoop->runUntilDate(s_dClock);
    EXPECT_EQ(s_iFires, 3);
    EXPECT_FALSE(pOnce->isValid());
}
