#pragma once

// The game's input holder: the accelerometer delegate and the touch input object, and the
// calls the game makes on them each frame.

#include "INPTAccelerometer.h"
#include "INPTTouch.h"

class CInput
{
public:
    // Creates the accelerometer delegate, sets the poll to 1/30 s and makes it the delegate
    // (which delivers a first sample at once).
    CInput();
    ~CInput();
    CInput(const CInput&) = delete;
    CInput& operator=(const CInput&) = delete;

    // The touch object, allocated and cleared on the first request (the view asks for it).
    INPTTouch* CreateTouch();
    INPTTouch* GetTouch() const { return pTouch; }
    INPTAccelerometer* GetAccelerometer() const { return pAccelerometer; }

    sTouch* getTouches();
    sPoint2D* getNewTouchPoints();
    sPoint2D* getMovedTouchPoints();
    void GetAccelerometerVector(float pVector[3]) const;
    void registerHandler(CTouchEventHandler* pHandler);
    void removeHandler();
    // Empties the per-frame lists, after everybody has read them.
    void clear();

private:
    INPTAccelerometer* pAccelerometer;
    INPTTouch* pTouch;
};

// The input holder of the running game, between GAME_Init and GAME_Shutdown.
extern CInput* g_pInput;
