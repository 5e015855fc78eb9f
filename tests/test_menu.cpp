// The menu toolkit: the two-step touch, going back by item and by image, value items and their
// re-layout, long labels, and the fatal limits. Pages are touched through the real touch path,
// with a font whose every character is 10 units wide and whose lines are 20 high.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "EngineFiles.h"
#include "FileSystem.h"
#include "FontManager.h"
#include "GameTouch.h"
#include "Input.h"
#include "Menu.h"
#include "QuadRenderBuffer.h"
#include "TestSupport.h"
#include "Textures.h"

namespace
{

constexpr float HIGHLIGHT[4] = {1.0f, 1.0f, 0.0f, 1.0f};
constexpr float NORMAL[4] = {0.5f, 0.5f, 0.5f, 1.0f};

// A manager that writes down what it hears.
struct RecordingManager : CMenuManager
{
    std::vector<int> tEvents;
    std::vector<std::pair<int, int>> tSelections;  // id, value
    void OnMenuEvent(int iEvent) override { tEvents.push_back(iEvent); }
    void OnItemSelected(int iID, int iValue) override { tSelections.push_back({iID, iValue}); }
    void Forget()
    {
        tEvents.clear();
        tSelections.clear();
    }
};

class MenuTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(TEST_OpenGLWindow(64, 64));
        const std::string strDir = TEST_MakeTempDir("menu");
        ASSERT_TRUE(TEST_WriteMonoFont(strDir, "Mono", 20, 10));
        FS_SetResourceDirectory(strDir.c_str());
        TEX_ResetTextures();
        s_pFont = s_tFonts.LoadFont("Mono", 4096);
        ASSERT_NE(s_pFont, nullptr);
        TEST_InstallGameTouch();
    }
    static void TearDownTestSuite()
    {
        TEST_RemoveGameTouch();
        CMenu::SetMenuFont(nullptr);
        CMenu::SetItemFont(nullptr);
        s_tFonts.ReleaseAll();
    }
    void SetUp() override
    {
        CMenu::SetMenuFont(s_pFont);
        CMenu::SetItemFont(s_pFont);
        g_pInput->clear();
    }

    // One frame of a player's tap: the touch, the manager's update, the lists cleared.
    void Tap(int iX, int iY)
    {
        TEST_TapGame(iX, iY);
        tManager.Update();
        g_pInput->clear();
    }

    static FontManager s_tFonts;
    static CFont* s_pFont;
    RecordingManager tManager;
};

FontManager MenuTest::s_tFonts;
CFont* MenuTest::s_pFont = nullptr;

}  // namespace

TEST_F(MenuTest, ItemsActOnTheSecondTouchAndPagesGoBack)
{
    CMenu* pMain = new CMenu(nullptr, "Main", &tManager, nullptr, HIGHLIGHT, NORMAL);
    CMenu* pSub = new CMenu(pMain, "", &tManager, nullptr, HIGHLIGHT, NORMAL);
    pMain->AddItemAt("Play", nullptr, 240, 200)->SetListener(&tManager, 7);  // 220..260
    pMain->AddItemAt("More", pSub, 240, 160);
    pMain->AddItemAt("Idle", nullptr, 240, 120);  // no listener
    tManager.SetMenu(pMain);

    // A top page has no "Back" item; a sub-page without back image gets one, bottom left.
    ASSERT_EQ(pMain->iNumItems, 3);
    ASSERT_EQ(pSub->iNumItems, 1);
    EXPECT_STREQ(pSub->pItems[0]->strText, "Back");

    // Item 0 is highlighted on a fresh page and acts on the first touch.
    Tap(240, 200);
    EXPECT_EQ(tManager.tSelections, (std::vector<std::pair<int, int>>{{7, 0}}));
    EXPECT_EQ(tManager.tEvents, std::vector<int>{MENU_EVENT_OTHER});

    // Item 2 first only takes the highlight; then it acts, telling nobody but the page event.
    tManager.Forget();
    Tap(240, 120);
    EXPECT_EQ(pMain->iSelected, 2);
    Tap(240, 120);
    EXPECT_TRUE(tManager.tSelections.empty());
    EXPECT_EQ(tManager.tEvents, (std::vector<int>{MENU_EVENT_OTHER, MENU_EVENT_OTHER}));

    // A touch outside every item does nothing; an edge of the rectangle counts.
    tManager.Forget();
    Tap(261, 160);
    EXPECT_TRUE(tManager.tEvents.empty());
    Tap(260, 170);  // "More": highlight
    Tap(220, 150);  // acts: the sub-page is entered
    EXPECT_EQ(tManager.pCurrentMenu, pSub);
    EXPECT_EQ(tManager.tEvents, (std::vector<int>{MENU_EVENT_OTHER, MENU_EVENT_ENTERED}));

    // The same touch reached only the page that was current when it came: the sub-page's
    // "Back" is highlighted and goes back at once.
    tManager.Forget();
    Tap(20, 20);
    EXPECT_EQ(tManager.pCurrentMenu, pMain);
    EXPECT_EQ(tManager.tEvents, std::vector<int>{MENU_EVENT_BACK});
    // The page kept the highlight it had when it was left.
    EXPECT_EQ(pMain->iSelected, 1);
    Tap(240, 160);
    EXPECT_EQ(tManager.pCurrentMenu, pSub);

    delete pMain;  // deletes the sub-page with it (the sanitizer pass checks the tree is freed)
}

TEST_F(MenuTest, TheBackImageGoesBackOnTheFirstTouchAnywhereInItsRectangle)
{
    CImage tBackButton;  // a 96 x 80 picture at the origin (no texture needed to be touched)
    tBackButton.Setup(0, 0, 0, 96, 80, 0.0f, 0.0f, 1.0f, 1.0f, true);
    CMenu tTop(nullptr, "", &tManager, nullptr, HIGHLIGHT, NORMAL);
    CMenu* pSub = new CMenu(&tTop, "", &tManager, &tBackButton, HIGHLIGHT, NORMAL);
    tTop.AddItemAt("Open", pSub, 240, 160);
    EXPECT_EQ(pSub->iNumItems, 0);  // no "Back" item beside the image
    pSub->AddItemAt("Stay", nullptr, 240, 160);

    tManager.SetMenu(pSub);
    Tap(97, 40);  // just outside
    EXPECT_TRUE(tManager.tEvents.empty());
    Tap(96, 80);  // the far corner
    EXPECT_EQ(tManager.pCurrentMenu, &tTop);
    EXPECT_EQ(tManager.tEvents, std::vector<int>{MENU_EVENT_BACK});
}

TEST_F(MenuTest, ValueItemsCycleAndTheirTouchAreaFollowsTheText)
{
    CMenu tAudio(nullptr, "", &tManager, nullptr, HIGHLIGHT, NORMAL);
    CMenuItem* pSfx = tAudio.AddItemAt("SFX", nullptr, 164, 136);  // 149..179
    pSfx->AddValue("On");
    pSfx->AddValue("Off");
    pSfx->SetListener(&tManager, 1);
    tManager.SetMenu(&tAudio);
    char strText[MAX_DISPLAY_LENGTH];
    EXPECT_STREQ(pSfx->DisplayText(strText, sizeof(strText)), "SFX On");
    EXPECT_EQ(pSfx->iLeft, 149);  // the label alone until the first cycle

    Tap(164, 136);
    EXPECT_STREQ(pSfx->DisplayText(strText, sizeof(strText)), "SFX Off");
    EXPECT_EQ(tManager.tSelections, (std::vector<std::pair<int, int>>{{1, 1}}));
    // Centred: 70 wide now, growing 20 each side from 30.
    EXPECT_EQ(pSfx->iLeft, 129);
    EXPECT_EQ(pSfx->iRight, 199);

    // The touch area moved with it: a touch on the new left edge reaches it; it wraps to "On".
    tManager.Forget();
    Tap(129, 136);
    EXPECT_EQ(tManager.tSelections, (std::vector<std::pair<int, int>>{{1, 0}}));
    EXPECT_EQ(pSfx->iLeft, 134);  // 60 wide: 5 in on each side
    EXPECT_EQ(pSfx->iRight, 194);
    tManager.Forget();
    Tap(130, 136);  // no longer inside
    EXPECT_TRUE(tManager.tSelections.empty());
}

TEST_F(MenuTest, TheLongestLabelAndValueShowWholeAndNothingIsWrittenPastABuffer)
{
    const std::string strLabel(MAX_LABEL_LENGTH - 1, 'L');
    const std::string strValue(MAX_ITEM_LENGTH - 1, 'V');
    CMenu tPage(nullptr, "", &tManager, nullptr, HIGHLIGHT, NORMAL);
    CMenuItem* pItem = tPage.AddItem(strLabel.c_str(), nullptr, 300, 280, 0, 10, true);
    pItem->AddValue("x");
    pItem->AddValue(strValue.c_str());
    pItem->CycleValue(nullptr);

    // Measured and drawn whole: 254 + 1 + 63 characters, 10 units each, 317 of them visible.
    EXPECT_EQ(pItem->iRight - pItem->iLeft, 3180);
    s_pFont->iNumVerts = s_pFont->iNumFaces = 0;
    pItem->Draw(NORMAL);
    EXPECT_EQ(s_pFont->iNumVerts, 4 * 317);
    s_pFont->iNumVerts = s_pFont->iNumFaces = 0;

    // Composed into an exact buffer, and cut into a short one, with the bytes after untouched.
    std::vector<char> tBuffer(MAX_DISPLAY_LENGTH + 8, '#');
    pItem->DisplayText(tBuffer.data(), MAX_DISPLAY_LENGTH);
    EXPECT_EQ(std::strlen(tBuffer.data()), 318u);
    EXPECT_EQ(std::string(tBuffer.data() + MAX_DISPLAY_LENGTH, 8), "########");
    std::fill(tBuffer.begin(), tBuffer.end(), '#');
    pItem->DisplayText(tBuffer.data(), 8);
    EXPECT_STREQ(tBuffer.data(), "LLLLLLL");
    EXPECT_EQ(tBuffer[8], '#');
}

TEST(MenuLimits, ANinthItemStopsTheGameWithItsAssertionLine)
{
    CMenuManager tManager;
    BF_EXPECT_ASSERT(
        {
            CMenu tPage(nullptr, "", &tManager, nullptr, HIGHLIGHT, NORMAL);
            for (int i = 0; i <= MAX_ITEMS; ++i)
            {
                tPage.AddItemAt("Item", nullptr, 100, 20 * i);
            }
        },
        "Menu:273: failed assertion `iNumItems < MAX_ITEMS'");
}
