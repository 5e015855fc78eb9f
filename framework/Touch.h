#pragma once

// Touches and touch events, and the ring in which the host records them.
//
// The host reports each finger event with its logical position (320 x 480 portrait) and its
// SDL tick count; the ring keeps the last 32 records; the window's sendEvent takes the next
// record for each touch it delivers. One UITouch object serves every gesture: a handheld's
// single finger (or, on the desktop, the mouse).

class UIView;
class UIWindow;

struct CGPoint
{
    float x;
    float y;
};

enum UITouchPhase
{
    UITouchPhaseBegan = 0,
    UITouchPhaseMoved = 1,
    UITouchPhaseStationary = 2,
    UITouchPhaseEnded = 3,
    UITouchPhaseCancelled = 4,
};

class UITouch
{
public:
    // Position in the window (logical portrait units); the view argument is not used: every
    // view covers the whole window.
    CGPoint locationInView(const UIView* pView) const;
    CGPoint previousLocationInView(const UIView* pView) const;
    UITouchPhase phase() const { return ePhase; }
    double timestamp() const { return dTimestamp; }
    int tapCount() const { return iTapCount; }
    UIWindow* window() const { return pWindow; }

private:
    friend class UIWindow;
    friend void FW_TouchBegan(int iX, int iY, unsigned int uiTicks);

    UITouchPhase ePhase = UITouchPhaseBegan;
    CGPoint tLocation{0.0f, 0.0f};
    CGPoint tPreviousLocation{0.0f, 0.0f};
    double dTimestamp = 0.0;
    int iTapCount = 1;
    UIWindow* pWindow = nullptr;
};

constexpr int MAX_EVENT_TOUCHES = 1;  // every event carries at most the one touch

enum UIEventType
{
    UIEventTypeTouches = 0,
};

// A touch event; held by value in the application's queue.
class UIEvent
{
public:
    UIEvent() = default;
    explicit UIEvent(UITouch* pTouch);

    UIEventType type() const { return UIEventTypeTouches; }
    // The event's touches: allTouches()[0 .. touchCount() - 1].
    UITouch* const* allTouches() const { return pTouches; }
    int touchCount() const { return iNumTouches; }

private:
    UITouch* pTouches[MAX_EVENT_TOUCHES] = {};
    int iNumTouches = 0;
};

// One finger event as the host reported it.
struct TouchRecord
{
    int x;  // logical
    int y;
    unsigned int uiTicks;  // SDL_GetTicks milliseconds
    int iPhase;            // UITouchPhase
    UIWindow* pWindow;     // the key window
};

constexpr int TOUCH_RING_SIZE = 32;

// A move that follows a touch-down within this many milliseconds and stays within the slop
// distance on both axes is jitter, not movement.
constexpr unsigned int TOUCH_SLOP_MILLISECONDS = 100;
constexpr int TOUCH_SLOP_DISTANCE = 8;

// The ring's rule for a record about to be written: false when it is a move to drop.
bool FW_TouchRingAccepts(const TouchRecord& tRecord);

// The host's entries (installed by UIApplicationMain): record the event and hand a UIEvent to
// the application.
void FW_TouchBegan(int iX, int iY, unsigned int uiTicks);
void FW_TouchMoved(int iX, int iY, unsigned int uiTicks);
void FW_TouchEnded(int iX, int iY, unsigned int uiTicks);

// The next unread record (advancing the read index); false when none is unread.
bool FW_ReadTouchRecord(TouchRecord* pRecord);

// Empties the ring and forgets the touch (tests).
void FW_ResetTouches();

// The ring's indices, its count and every record's phase are within bounds (assertions
// "framework/Touch"): the soak checks it every frame.
void FW_CheckTouchRing();

// The one touch object, null before the first touch-down.
UITouch* FW_CurrentTouch();
