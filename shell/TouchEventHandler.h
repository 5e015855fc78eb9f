#pragma once

// The one object that hears of touches as they happen (the level registers itself).
class CTouchEventHandler
{
public:
    virtual ~CTouchEventHandler() = default;
    virtual void TouchesBegan() = 0;
    virtual void TouchesMoved() = 0;
    virtual void TouchesEnded() = 0;
};
