// The browser host's rules that need no browser (platform/web/WebRules): which finger is the
// game's, and how a devicemotion reading becomes the handheld's accelerometer axes.

#include "WebRules.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(WebRules, TheFirstFingerIsTheGamesAndASecondOnePauses)
{
    struct Step
    {
        char cPhase;  // b began, m moved, e ended, c cancelled
        long iId;
        WebFingerAction eExpected;
    };
    const Step tSteps[] = {
        {'m', 1, WEB_FINGER_NOTHING},  // a move before any start
        {'b', 1, WEB_FINGER_DOWN},
        {'b', 1, WEB_FINGER_NOTHING},  // the same start reported twice
        {'m', 1, WEB_FINGER_MOVE},
        {'b', 2, WEB_FINGER_PAUSE},    // a second finger during the drag
        {'m', 2, WEB_FINGER_NOTHING},  // is never the game's
        {'m', 1, WEB_FINGER_MOVE},
        {'e', 1, WEB_FINGER_UP},
        {'b', 3, WEB_FINGER_NOTHING},  // finger 2 is still down: no new game finger
        {'e', 2, WEB_FINGER_NOTHING},
        {'e', 3, WEB_FINGER_NOTHING},
        {'b', 4, WEB_FINGER_DOWN},  // all up: the next one is the game's
        {'c', 4, WEB_FINGER_PAUSE_AND_UP},
        {'e', 4, WEB_FINGER_NOTHING},
        {'b', WEB_MOUSE_FINGER, WEB_FINGER_DOWN},
        {'e', WEB_MOUSE_FINGER, WEB_FINGER_UP},
    };
    CWebFingers tFingers;
    int iStep = 0;
    for (const Step& tStep : tSteps)
    {
        WebFingerAction eAction = WEB_FINGER_NOTHING;
        switch (tStep.cPhase)
        {
            case 'b':
                eAction = tFingers.Began(tStep.iId);
                break;
            case 'm':
                eAction = tFingers.Moved(tStep.iId);
                break;
            default:
                eAction = tFingers.Ended(tStep.iId, tStep.cPhase == 'c');
                break;
        }
        EXPECT_EQ(eAction, tStep.eExpected) << "step " << iStep;
        ++iStep;
    }
    EXPECT_EQ(tFingers.NumDown(), 0);
}

TEST(WebRules, MoreFingersThanFollowedAreIgnoredAndForgotten)
{
    CWebFingers tFingers;
    for (long i = 0; i < WEB_MAX_FINGERS + 4; ++i)
    {
        tFingers.Began(i);
    }
    EXPECT_EQ(tFingers.NumDown(), WEB_MAX_FINGERS);
    EXPECT_EQ(tFingers.Ended(WEB_MAX_FINGERS + 1, false), WEB_FINGER_NOTHING);
    EXPECT_EQ(tFingers.Ended(0, false), WEB_FINGER_UP);
    for (long i = 1; i < WEB_MAX_FINGERS; ++i)
    {
        tFingers.Ended(i, false);
    }
    EXPECT_EQ(tFingers.NumDown(), 0);
    EXPECT_EQ(tFingers.Began(99), WEB_FINGER_DOWN);
}

// Down on the upright screen is down whichever way the device is turned: a device held upright
// reads (-32767, 0) and one leaned 20 degrees to the right a positive second axis, for each of
// the four screen angles, and upside down for Safari's inverted readings. Beyond 1 g or not a
// number, a reading stays in range.
TEST(WebRules, AReadingTurnsWithTheScreenAndStaysInRange)
{
    const double fLean = 20.0 * M_PI / 180.0;
    for (int iAngle : {0, 90, 180, 270, -90})
    {
        for (int iSide : {0, 1, -1})
        {
            for (bool bInverted : {false, true})
            {
                // Up in the screen's frame, leaned, then turned back into the device's frame.
                const double fScreenX = -std::sin(iSide * fLean) * WEB_GRAVITY;
                const double fScreenY = std::cos(iSide * fLean) * WEB_GRAVITY;
                const double fRadians = -iAngle * M_PI / 180.0;
                const double fSign = bInverted ? -1.0 : 1.0;
                const double fX =
                    fSign * (fScreenX * std::cos(fRadians) - fScreenY * std::sin(fRadians));
                const double fY =
                    fSign * (fScreenX * std::sin(fRadians) + fScreenY * std::cos(fRadians));
                int iAxes[3];
                WEB_MotionToAxes(fX, fY, 0.5 * fSign, iAngle, bInverted, iAxes);
                SCOPED_TRACE(testing::Message() << "angle " << iAngle << " side " << iSide);
                EXPECT_NEAR(iAxes[0], -32767.0 * std::cos(fLean * iSide), 2.0);
                EXPECT_NEAR(iAxes[1], 32767.0 * std::sin(fLean * iSide), 2.0);
                EXPECT_NEAR(iAxes[2], -0.5 / WEB_GRAVITY * 32767.0, 2.0);
            }
        }
    }
    int iAxes[3];
    WEB_MotionToAxes(0.0, 40.0, -40.0, 0, false, iAxes);
    EXPECT_EQ(iAxes[0], -32767);
    EXPECT_EQ(iAxes[2], 32767);
    WEB_MotionToAxes(NAN, INFINITY, 1.0, 90, false, iAxes);
    EXPECT_EQ(iAxes[0], 0);
    EXPECT_EQ(iAxes[1], 0);
}
