// Touch areas: inclusive hit tests, several areas per point, one call per area per frame,
// the 64-slot table and its fatal checks.

#include <gtest/gtest.h>

#include <vector>

#include "TestSupport.h"
#include "TouchArea.h"

namespace
{

class CRecorder : public CTouchAreaHandler
{
public:
    std::vector<int> tCalls;
    void OnTouch(int iParam) override { tCalls.push_back(iParam); }
};

// The touch input's list: the given points, the rest unused (x = -1).
struct Points
{
    sPoint2D t[MAX_TOUCHES];
    Points(std::initializer_list<sPoint2D> tUsed)
    {
        std::fill(std::begin(t), std::end(t), sPoint2D{-1, -1});
        std::copy(tUsed.begin(), tUsed.end(), t);
    }
};

}  // namespace

TEST(TouchArea, EdgesAreInsideAndOverlapsCallOncePerAreaInSlotOrder)
{
    TouchAreaManager tManager;
    CRecorder tHandler;
    ASSERT_EQ(tManager.AddArea(100, 60, 10, 90, &tHandler, 7), 0);  // top, bottom, left, right
    for (const sPoint2D& p : {sPoint2D{10, 60}, sPoint2D{90, 100}, sPoint2D{91, 80},
                              sPoint2D{9, 80}, sPoint2D{50, 101}, sPoint2D{50, 59}})
    {
        tManager.Update(Points({p}).t);
    }
    EXPECT_EQ(tHandler.tCalls, (std::vector<int>{7, 7}));

    // One point in two overlapping areas; three points in the first one: one call each.
    tHandler.tCalls.clear();
    tManager.AddArea(70, 60, 40, 50, &tHandler, 2);
    tManager.AddArea(300, 200, 200, 300, &tHandler, 3);
    tManager.Update(Points({{45, 65}, {11, 61}, {12, 62}}).t);
    EXPECT_EQ(tHandler.tCalls, (std::vector<int>{7, 2}));
    EXPECT_EQ(tManager.iNumPoints, 3);

    // Unused entries in between are skipped; a frame without new touches calls nothing.
    tHandler.tCalls.clear();
    tManager.Update(Points({{-1, -1}, {250, 250}}).t);
    EXPECT_EQ(tHandler.tCalls, (std::vector<int>{3}));
    EXPECT_EQ(tManager.tPoints[0].x, 250);
    tManager.Update(Points({}).t);
    EXPECT_EQ(tHandler.tCalls.size(), 1u);
    EXPECT_EQ(tManager.iNumPoints, 0);

    // A moved area (the third, id 2) is hit where it now is, and no longer where it was.
    tHandler.tCalls.clear();
    tManager.SetArea(2, 310, 305, 305, 310);
    tManager.Update(Points({{250, 250}}).t);
    EXPECT_TRUE(tHandler.tCalls.empty());
    tManager.Update(Points({{307, 307}, {45, 65}}).t);
    EXPECT_EQ(tHandler.tCalls, (std::vector<int>{7, 2, 3}));
}

TEST(TouchArea, SixtyFourSlots)
{
    TouchAreaManager tManager;
    CRecorder tHandler;
    for (int i = 0; i < MAX_TOUCH_AREAS; ++i)
    {
        ASSERT_EQ(tManager.AddArea(1, 0, 0, 1, &tHandler, i), i);
    }
    EXPECT_EQ(tManager.AddArea(1, 0, 0, 1, &tHandler, 64), -1);
    tManager.Update(Points({{0, 0}}).t);
    EXPECT_EQ(tHandler.tCalls.size(), 64u);

    BF_EXPECT_ASSERT(tManager.SetArea(64, 0, 0, 0, 0),
                     "TouchArea:246: failed assertion `iTouchAreaID >= 0 && iTouchAreaID < "
                     "MAX_TOUCH_AREAS'");
}
