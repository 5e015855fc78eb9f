#include "Menu.h"

#include <stddef.h>
#include <string.h>

#include <cstdio>
#include <cstring>

#include "Assert.h"
#include "Fonts.h"
#include "Input.h"
#include "QuadRenderBuffer.h"

namespace
{

constexpr const char* ASSERT_FILE = "Menu";

// The assertion lines the game reports for the menu limits.
constexpr unsigned int LINE_LABEL_LENGTH = 31;
constexpr unsigned int LINE_VALUE_LENGTH = 61;
constexpr unsigned int LINE_VALUE_COUNT = 62;
constexpr unsigned int LINE_LISTENER = 71;
constexpr unsigned int LINE_TITLE_LENGTH = 194;
constexpr unsigned int LINE_ITEM_COUNT = 273;

constexpr int SCREEN_TOP = 320;  // the top edge of the 480 x 320 screen
constexpr int MARGIN = 8;        // between the screen's edges and a title or the "Back" item

CFont* s_pMenuFont = nullptr;
CFont* s_pItemFont = nullptr;

const char* OrEmpty(const char* pText)
{
    return pText != nullptr ? pText : "";
}

int LineHeight(const CFont* pFont)
{
    return pFont != nullptr ? pFont->GetLineHeight() : 0;
}

int TextWidth(const CFont* pFont, const char* pText)
{
    return pFont != nullptr ? pFont->GetTextWidth(pText, 0) : 0;
}

}  // namespace

// ---- CMenuManager ----

CMenuManager::CMenuManager() : pCurrentMenu(nullptr) {}

void CMenuManager::SetMenu(CMenu* pMenu)
{
    if (pMenu != nullptr)
    {
        pCurrentMenu = pMenu;
    }
}

void CMenuManager::Back()
{
    if (pCurrentMenu != nullptr && pCurrentMenu->pParent != nullptr)
    {
        pCurrentMenu = pCurrentMenu->pParent;
    }
}

void CMenuManager::OnMenuEvent(int) {}

void CMenuManager::OnItemSelected(int, int) {}

bool CMenuManager::Update()
{
    if (pCurrentMenu != nullptr)
    {
        pCurrentMenu->Update();
    }
    return true;
}

void CMenuManager::Render()
{
    if (pCurrentMenu != nullptr)
    {
        pCurrentMenu->Draw();
    }
}

// ---- CMenuItem ----

CMenuItem::CMenuItem(const char* pText, CMenu* pOwnerMenu, CMenu* pSub, int iAreaID, int iItemTop,
                     int iItemBottom, int iItemLeft, int iItemRight, int iAlignment)
    : strText{},
      strValues{},
      iNumValues(0),
      iCurrentValue(0),
      pMenuManager(nullptr),
      iID(0),
      iTouchAreaID(iAreaID),
      iTop(iItemTop),
      iBottom(iItemBottom),
      iLeft(iItemLeft),
      iRight(iItemRight),
      iAlign(iAlignment),
      iKind(MENU_ITEM_PLAIN),
      pOwner(pOwnerMenu),
      pSubMenu(pSub)
{
    pText = OrEmpty(pText);
    BF_ASSERT_AT(ASSERT_FILE, LINE_LABEL_LENGTH, strlen(pText) < MAX_LABEL_LENGTH);
    std::snprintf(strText, sizeof(strText), "%s", pText);
}

CMenuItem::~CMenuItem()
{
    delete pSubMenu;
}

void CMenuItem::AddValue(const char* strValue)
{
    strValue = OrEmpty(strValue);
    BF_ASSERT_AT(ASSERT_FILE, LINE_VALUE_LENGTH, strlen(strValue) < MAX_ITEM_LENGTH);
    BF_ASSERT_AT(ASSERT_FILE, LINE_VALUE_COUNT, iNumValues < MAX_ITEMS);
    std::snprintf(strValues[iNumValues], sizeof(strValues[iNumValues]), "%s", strValue);
    iKind = MENU_ITEM_VALUES;
    ++iNumValues;
}

void CMenuItem::SetListener(CMenuManager* pListener, int iListenerID)
{
    CMenuManager* const pMenuManager = pListener;
    BF_ASSERT_AT(ASSERT_FILE, LINE_LISTENER, pMenuManager != NULL);
    this->pMenuManager = pMenuManager;
    iID = iListenerID;
}

void CMenuItem::CycleValue(TouchAreaManager* pTouchAreas)
{
    if (++iCurrentValue >= iNumValues)
    {
        iCurrentValue = 0;
    }
    char strDisplay[MAX_DISPLAY_LENGTH];
    const int iWidth = TextWidth(s_pItemFont, DisplayText(strDisplay, sizeof(strDisplay)));
    if (iAlign == FONT_ALIGN_RIGHT)
    {
        iLeft = iRight - iWidth;
    }
    else if (iAlign == FONT_ALIGN_CENTRE)
    {
        const int iGrowth = ((iRight - iLeft) - iWidth) / 2;
        iLeft += iGrowth;
        iRight -= iGrowth;
    }
    else
    {
        iRight = iLeft + iWidth;
    }
    // An item whose area could not be registered (a full table) is drawn but never touched.
    if (pTouchAreas != nullptr && iTouchAreaID >= 0)
    {
        pTouchAreas->SetArea(iTouchAreaID, iTop, iBottom, iLeft, iRight);
    }
}

void CMenuItem::Activate(TouchAreaManager* pTouchAreas)
{
    if (iKind == MENU_ITEM_VALUES)
    {
        CycleValue(pTouchAreas);
    }
    if (pMenuManager != nullptr)
    {
        pMenuManager->OnItemSelected(iID, iCurrentValue);
    }
}

void CMenuItem::Draw(const float tColour[4])
{
    if (s_pItemFont == nullptr)
    {
        return;
    }
    int iX = iLeft;
    if (iAlign == FONT_ALIGN_RIGHT)
    {
        iX = iRight;
    }
    else if (iAlign == FONT_ALIGN_CENTRE)
    {
        iX = (iLeft + iRight) / 2;
    }
    char strDisplay[MAX_DISPLAY_LENGTH];
    s_pItemFont->DrawText(iX, iBottom, iAlign, DisplayText(strDisplay, sizeof(strDisplay)),
                          tColour[0], tColour[1], tColour[2], tColour[3], -1);
}

const char* CMenuItem::DisplayText(char* pBuffer, size_t uiSize) const
{
    if (pBuffer == nullptr || uiSize == 0)
    {
        return "";
    }
    if (iKind == MENU_ITEM_VALUES && iCurrentValue >= 0 && iCurrentValue < iNumValues)
    {
        std::snprintf(pBuffer, uiSize, "%s %s", strText, strValues[iCurrentValue]);
    }
    else
    {
        std::snprintf(pBuffer, uiSize, "%s", strText);
    }
    return pBuffer;
}

// ---- CMenu ----

void CMenu::SetMenuFont(CFont* pFont)
{
    s_pMenuFont = pFont;
}

void CMenu::SetItemFont(CFont* pFont)
{
    s_pItemFont = pFont;
}

CFont* CMenu::MenuFont()
{
    return s_pMenuFont;
}

CFont* CMenu::ItemFont()
{
    return s_pItemFont;
}

CMenu::CMenu(CMenu* pParentMenu, const char* pTitle, CMenuManager* pManager, CImage* pBack,
             const float tSelected[4], const float tNormal[4])
    : iNumItems(0),
      iSelected(0),
      pParent(pParentMenu),
      pItems{},
      strTitle{},
      tSelectedColour{tSelected[0], tSelected[1], tSelected[2], tSelected[3]},
      tNormalColour{tNormal[0], tNormal[1], tNormal[2], tNormal[3]},
      pBackImage(nullptr),
      pTouchAreas(nullptr),
      pMenuManager(pManager)
{
    pTitle = OrEmpty(pTitle);
    BF_ASSERT_AT(ASSERT_FILE, LINE_TITLE_LENGTH, strlen(pTitle) < MAX_ITEM_LENGTH);
    std::snprintf(strTitle, sizeof(strTitle), "%s", pTitle);
    pTouchAreas = new TouchAreaManager();
    if (pParent == nullptr)
    {
        return;  // a top page has no way back
    }
    if (pBack != nullptr)
    {
        // Registered even without a manager; touching it then does nothing.
        pTouchAreas->AddArea(static_cast<int>(pBack->GetHeight()), 0, 0,
                             static_cast<int>(pBack->GetWidth()), this, -1);
        pBackImage = pBack;
    }
    else
    {
        AddItem("Back", nullptr, LineHeight(s_pMenuFont) + MARGIN, MARGIN, MARGIN,
                TextWidth(s_pMenuFont, "Back") + MARGIN, false);
    }
}

CMenu::~CMenu()
{
    delete pTouchAreas;
    for (CMenuItem*& pItem : pItems)
    {
        delete pItem;
        pItem = nullptr;
    }
}

CMenuItem* CMenu::AddItem(const char* pText, CMenu* pSub, int iItemTop, int iItemBottom,
                          int iItemLeft, int iItemRight, bool bAutoSize)
{
    BF_ASSERT_AT(ASSERT_FILE, LINE_ITEM_COUNT, iNumItems < MAX_ITEMS);
    const int iAreaID =
        pMenuManager != nullptr
            ? pTouchAreas->AddArea(iItemTop, iItemBottom, iItemLeft, iItemRight, this, iNumItems)
            : -1;
    CMenuItem* pItem;
    if (bAutoSize)
    {
        pItem = new CMenuItem(pText, this, pSub, iAreaID, iItemTop,
                              iItemTop - LineHeight(s_pMenuFont), iItemLeft,
                              iItemLeft + TextWidth(s_pMenuFont, OrEmpty(pText)), FONT_ALIGN_LEFT);
    }
    else
    {
        pItem = new CMenuItem(pText, this, pSub, iAreaID, iItemTop, iItemBottom, iItemLeft,
                              iItemRight, FONT_ALIGN_CENTRE);
    }
    pItems[iNumItems++] = pItem;
    return pItem;
}

CMenuItem* CMenu::AddItemAt(const char* pText, CMenu* pSub, int iX, int iY)
{
    const int iHalfHeight = LineHeight(s_pMenuFont) / 2;
    const int iHalfWidth = TextWidth(s_pMenuFont, OrEmpty(pText)) / 2;
    return AddItem(pText, pSub, iY + iHalfHeight, iY - iHalfHeight, iX - iHalfWidth,
                   iX + iHalfWidth, false);
}

void CMenu::OnTouch(int iParam)
{
    // A touch on an item that is not highlighted only moves the highlight.
    if (iParam != -1 && iParam != iSelected)
    {
        if (iParam >= 0 && iParam < iNumItems)
        {
            iSelected = iParam;
        }
        if (pMenuManager != nullptr)
        {
            pMenuManager->OnMenuEvent(MENU_EVENT_OTHER);
        }
        return;
    }

    // The back button, or the "Back" item of a sub-page without one.
    const bool bBack = iParam == -1 || (iParam == 0 && pParent != nullptr && pBackImage == nullptr);
    if (bBack)
    {
        if (pMenuManager != nullptr)
        {
            pMenuManager->Back();
            pMenuManager->OnMenuEvent(MENU_EVENT_BACK);
        }
        return;
    }

    if (iParam < 0 || iParam >= iNumItems)
    {
        return;  // the highlight of a page without items: nothing to act on
    }
    CMenuItem* pItem = pItems[iParam];
    const bool bOpensPage = pItem->iKind == MENU_ITEM_PLAIN && pItem->pSubMenu != nullptr;
    if (bOpensPage && pMenuManager != nullptr)
    {
        pMenuManager->SetMenu(pItem->pSubMenu);
    }
    pItem->Activate(pTouchAreas);
    if (pMenuManager != nullptr)
    {
        pMenuManager->OnMenuEvent(bOpensPage ? MENU_EVENT_ENTERED : MENU_EVENT_OTHER);
    }
}

void CMenu::PressBackArrow()
{
    if (pBackImage != nullptr)
    {
        OnTouch(-1);
    }
}

void CMenu::Update()
{
    if (iNumItems == 0 && pBackImage == nullptr)
    {
        return;
    }
    pTouchAreas->Update(g_pInput != nullptr ? g_pInput->getNewTouchPoints() : nullptr);
}

void CMenu::CheckTables() const
{
    BF_ASSERT("source/base/Menu", iNumItems >= 0 && iNumItems <= MAX_ITEMS);
    BF_ASSERT("source/base/Menu", iSelected >= 0 && (iSelected < iNumItems || iSelected == 0));
    BF_ASSERT("source/base/Menu", pTouchAreas != nullptr);
    BF_ASSERT("source/base/Menu", std::memchr(strTitle, '\0', MAX_ITEM_LENGTH) != nullptr);
    pTouchAreas->CheckTable();
    for (int i = 0; i < MAX_ITEMS; ++i)
    {
        const CMenuItem* pItem = pItems[i];
        BF_ASSERT("source/base/Menu", (pItem != nullptr) == (i < iNumItems));
        if (pItem == nullptr)
        {
            continue;
        }
        BF_ASSERT("source/base/Menu", pItem->pOwner == this);
        BF_ASSERT("source/base/Menu", pItem->iNumValues >= 0 && pItem->iNumValues <= MAX_ITEMS);
        BF_ASSERT("source/base/Menu",
                  pItem->iCurrentValue >= 0 &&
                      (pItem->iCurrentValue < pItem->iNumValues || pItem->iCurrentValue == 0));
        BF_ASSERT("source/base/Menu",
                  pItem->iTouchAreaID >= -1 && pItem->iTouchAreaID < MAX_TOUCH_AREAS);
        BF_ASSERT("source/base/Menu",
                  std::memchr(pItem->strText, '\0', MAX_LABEL_LENGTH) != nullptr);
        if (pItem->pSubMenu != nullptr)
        {
            BF_ASSERT("source/base/Menu", pItem->pSubMenu->pParent == this);
            pItem->pSubMenu->CheckTables();
        }
    }
}

bool CMenu::Holds(const CMenu* pPage) const
{
    if (pPage == this)
    {
        return true;
    }
    for (int i = 0; i < iNumItems; ++i)
    {
        if (pItems[i] != nullptr && pItems[i]->pSubMenu != nullptr &&
            pItems[i]->pSubMenu->Holds(pPage))
        {
            return true;
        }
    }
    return false;
}

void CMenu::Draw()
{
    if (s_pMenuFont != nullptr)
    {
        s_pMenuFont->DrawText(MARGIN, SCREEN_TOP - (LineHeight(s_pMenuFont) + MARGIN),
                              FONT_ALIGN_LEFT, strTitle, 1.0f, 1.0f, 1.0f, 1.0f, -1);
    }
    for (int i = 0; i < iNumItems; ++i)
    {
        pItems[i]->Draw(i == iSelected ? tSelectedColour : tNormalColour);
    }
    if (pBackImage != nullptr)
    {
        pBackImage->Draw(true, 1.0f);
    }
}
