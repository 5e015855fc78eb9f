#pragma once

// The touch input object: receives the view's touches, keeps eight touch slots and the
// per-frame lists of new and moved points in the game's landscape space (x along the long
// side, 0..479; y upward, 0..319), and tells the registered handler.
//
// Points are stored with their components exchanged and truncated: stored x = (int) portrait y,
// stored y = (int) portrait x. A touch at exactly the logical origin counts as no touch.

#include "TouchEventHandler.h"
#include "TouchTypes.h"
#include "View.h"

class INPTTouch
{
public:
    // A new object with every field zero (as allocated; follow with clear or init).
    static INPTTouch* alloc();

    // Every coordinate of both point lists -1, the slots zeroed, no handler.
    void init();
    // Every coordinate of the new-points list -1; nothing else (called at the end of a frame).
    void clear();

    void registerHandler(CTouchEventHandler* pNewHandler) { pHandler = pNewHandler; }
    void removeHandler() { pHandler = nullptr; }

    sTouch* getTouches() { return touches; }
    sPoint2D* getNewTouchPoints() { return pointsBegan; }
    sPoint2D* getMovedTouchPoints() { return pointsMoved; }

    // Slot update for state 1 (began), 2 (moved) or 3 (ended).
    void updateTouches(UITouch* const* pTouches, int iNumTouches, UIEvent* pEvent, int iState);

    void touchesBegan(UITouch* const* pTouches, int iNumTouches, UIEvent* pEvent);
    void touchesMoved(UITouch* const* pTouches, int iNumTouches, UIEvent* pEvent);
    void touchesEnded(UITouch* const* pTouches, int iNumTouches, UIEvent* pEvent);
    // Every slot's state and age and every listed point are within bounds (assertions
    // "shell/INPTTouch"). The soak checks it every frame.
    void CheckSlots() const;

    // A cancelled touch ends like a lifted one.
    void touchesCancelled(UITouch* const* pTouches, int iNumTouches, UIEvent* pEvent);

private:
    sTouch touches[MAX_TOUCHES];
    sPoint2D pointsBegan[MAX_TOUCHES];
    sPoint2D pointsMoved[MAX_TOUCHES];
    CTouchEventHandler* pHandler;
};
