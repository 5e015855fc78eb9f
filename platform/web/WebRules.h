#pragma once

// The browser host's rules that need no browser, so the desktop's tests check them too:
// which finger is the game's, and how a devicemotion reading becomes the accelerometer axes
// the host's poll smooths. WEB_ functions and CWebFingers are the browser host's own.

// What a finger event does to the game.
enum WebFingerAction
{
    WEB_FINGER_NOTHING,  // not the game's finger: the game sees nothing
    WEB_FINGER_DOWN,     // the game's finger goes down, moves or goes up
    WEB_FINGER_MOVE,
    WEB_FINGER_UP,
    WEB_FINGER_PAUSE,         // a second finger while the game's is down: the game pauses
    WEB_FINGER_PAUSE_AND_UP,  // the game's finger was taken away by the browser (cancelled)
};

constexpr int WEB_MAX_FINGERS = 32;  // fingers down at once that are followed; more are ignored
constexpr long WEB_MOUSE_FINGER = -1000;  // the mouse's left button, as a finger

// The fingers on the page. The first finger that goes down while none is down is the game's
// finger, the same as the mouse on a desktop; it stays the game's until it is lifted, and no
// other finger becomes the game's before every finger is up. A second finger going down while
// the game's is down asks for a pause, as the handheld's second touch interrupted a drag.
class CWebFingers
{
public:
    WebFingerAction Began(long iId);
    WebFingerAction Moved(long iId) const;
    WebFingerAction Ended(long iId, bool bCancelled);
    int NumDown() const { return iNumDown; }

private:
    long tDown[WEB_MAX_FINGERS] = {};
    int iNumDown = 0;
    long iGameFinger = 0;
    bool bGameFingerDown = false;
};

// Standard gravity in m/s^2, the unit of devicemotion's readings.
constexpr double WEB_GRAVITY = 9.80665;

// A devicemotion accelerationIncludingGravity reading (m/s^2, in the device's natural frame: x
// to its right, y to its top, z out of the screen) and the screen's orientation angle (0, 90,
// 180, 270: the screen turned counter-clockwise from the natural orientation) into the raw axes
// of the handheld's accelerometer (32767 = 1 g), in the frame of the upright screen. The
// handheld reads (-32767, 0, 0) upright and a positive second axis when leaned to the right.
// bInverted: the browser reports the reading's opposite (Safari on iOS).
void WEB_MotionToAxes(double fX, double fY, double fZ, int iAngle, bool bInverted, int iAxes[3]);
