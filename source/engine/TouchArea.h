#pragma once

// Touch areas turn screen touches into calls on objects. An owner registers rectangles in the
// game's 480 x 320 space (y upwards), each with a handler and a parameter; once per frame it
// hands the manager the touch input's new points, and every rectangle that holds one of them
// calls its handler once. Render/game thread only.

#include "TouchTypes.h"

constexpr int MAX_TOUCH_AREAS = 64;            // registered rectangles
constexpr int MAX_TOUCH_POINTS = MAX_TOUCHES;  // entries of the new-points list

// What a touched area calls. The menu manager and the menus derive from it.
class CTouchAreaHandler
{
public:
    virtual ~CTouchAreaHandler() = default;
    virtual void OnTouch(int iParam) { (void)iParam; }
};

// One registered rectangle; iBottom <= iTop since y grows upwards.
struct TouchArea
{
    int iLeft;
    int iTop;
    int iRight;
    int iBottom;
    CTouchAreaHandler* pHandler;  // not owned
    int iParam;
};

class TouchAreaManager
{
public:
    TouchArea* pAreas[MAX_TOUCH_AREAS];  // null = free slot; the index is the area's id
    sPoint2D tPoints[MAX_TOUCH_POINTS];  // the valid new points of the current frame
    int iNumPoints;

    TouchAreaManager();
    ~TouchAreaManager();  // deletes every area (not the handlers)
    TouchAreaManager(const TouchAreaManager&) = delete;
    TouchAreaManager& operator=(const TouchAreaManager&) = delete;

    // Registers a rectangle (given in AtlasRect order) in the lowest free slot and returns its
    // id; -1 when all 64 are in use.
    int AddArea(int iTop, int iBottom, int iLeft, int iRight, CTouchAreaHandler* pHandler,
                int iParam);

    // Moves a registered area. An id outside 0..63 or of a free slot is a programming error
    // (assertions "TouchArea").
    void SetArea(int iTouchAreaID, int iTop, int iBottom, int iLeft, int iRight);

    // The point count is within the list and every area has a handler and a rectangle the
    // right way up (assertions "source/engine/TouchArea"). The soak checks it every frame.
    void CheckTable() const;

    // Once per frame: takes the used entries (x != -1) of the touch input's 8 new points and
    // calls the handler of every area, in slot order, that holds at least one of them (edges
    // inclusive), once per area.
    void Update(const sPoint2D* pNewTouchPoints);
};
