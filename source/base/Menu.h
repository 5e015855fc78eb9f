#pragma once

// The menu toolkit: pages (CMenu) of up to eight text items (CMenuItem), shown and touched one
// page at a time under a manager (CMenuManager) that knows the current page. The front end
// derives from the manager. Frame thread only.
//
// Items are lines of bitmap text at fixed places of the 480 x 320 screen (y up). An item opens
// a sub-page it owns, or reports its selection to a listener by an integer id, or cycles
// through up to eight values shown after its label ("SFX On", "SFX Off") and reports the new
// one. Sub-pages lead back through a "Back" item or a back-button image in the bottom-left
// corner.
//
// Touching is two-step: touching an item that is not highlighted only highlights it; touching
// the highlighted item acts. The back button acts on the first touch. Every step reaches the
// manager as one event (MENU_EVENT_*), which the front end turns into click sounds.
//
// Every limit below is a programming error stopped by an assertion ("Menu").

#include <cstddef>

#include "TouchArea.h"

class CFont;
class CImage;
class CMenu;

constexpr int MAX_ITEMS = 8;           // items per page, and values per item
constexpr int MAX_ITEM_LENGTH = 64;    // bytes of a value and of a page title, NUL included
constexpr int MAX_LABEL_LENGTH = 255;  // bytes of an item's label, NUL included
// Bytes of a displayed label: the longest label, a blank, the longest value and the NUL.
constexpr int MAX_DISPLAY_LENGTH = (MAX_LABEL_LENGTH - 1) + 1 + (MAX_ITEM_LENGTH - 1) + 1;
static_assert(MAX_DISPLAY_LENGTH == 319);

// What a page tells its manager after each touch it handled.
enum eMenuEvent
{
    MENU_EVENT_ENTERED = 0,  // a sub-page was entered
    MENU_EVENT_BACK = 1,     // the page went back to its parent
    MENU_EVENT_OTHER = 2,    // the highlight moved, or an item acted in place
};

// Item kinds.
enum eMenuItemKind
{
    MENU_ITEM_PLAIN = 0,   // a label
    MENU_ITEM_VALUES = 1,  // a label followed by its current value
};

class CMenuManager : public CTouchAreaHandler
{
public:
    CMenu* pCurrentMenu;  // the page shown and touched (not owned); null until set

    CMenuManager();
    ~CMenuManager() override = default;
    CMenuManager(const CMenuManager&) = delete;
    CMenuManager& operator=(const CMenuManager&) = delete;

    // A non-null page becomes the current one at once, also in the middle of a touch update
    // (the new page is hit-tested from the next frame on).
    virtual void SetMenu(CMenu* pMenu);
    // The current page's parent, if it has one, becomes the current page.
    virtual void Back();
    // Hears every step of the touch interaction (eMenuEvent); nothing here.
    virtual void OnMenuEvent(int iEvent);
    // Hears an item with a listener act: its id and its current value index; nothing here.
    virtual void OnItemSelected(int iID, int iValue);
    // Once per frame: the current page's touch handling. True while the owner keeps the
    // screen; the plain manager always does.
    virtual bool Update();
    // The current page's text and back image. Text is only collected: the owner flushes the
    // font after everything else is drawn, so labels lie above images drawn in the same frame.
    virtual void Render();
};

class CMenuItem
{
public:
    char strText[MAX_LABEL_LENGTH];  // the label
    char strValues[MAX_ITEMS][MAX_ITEM_LENGTH];
    int iNumValues;
    int iCurrentValue;           // the value shown; the first added at first
    CMenuManager* pMenuManager;  // the listener; null = nobody is told
    int iID;                     // handed to the listener
    int iTouchAreaID;            // in the page's touch areas; -1 = cannot be touched
    int iTop;                    // the drawing rectangle, y up: iTop > iBottom
    int iBottom;
    int iLeft;
    int iRight;
    int iAlign;  // eFontAlign: left at iLeft, right at iRight, or centred between them
    int iKind;   // eMenuItemKind
    CMenu* pOwner;
    CMenu* pSubMenu;  // owned; null when the item opens no page

    // The label holds at most 254 characters.
    CMenuItem(const char* pText, CMenu* pOwnerMenu, CMenu* pSub, int iAreaID, int iItemTop,
              int iItemBottom, int iItemLeft, int iItemRight, int iAlignment);
    // Deletes the sub-page (and with it that page's whole tree).
    ~CMenuItem();
    CMenuItem(const CMenuItem&) = delete;
    CMenuItem& operator=(const CMenuItem&) = delete;

    // Adds a value (at most 63 characters, at most MAX_ITEMS of them); the item becomes a
    // value item.
    void AddValue(const char* pValue);
    // The manager told when the item acts (never null), and the id it is told.
    void SetListener(CMenuManager* pListener, int iListenerID);
    // The next value, wrapping; the rectangle takes the width of the new displayed label by
    // its alignment, and the touch area follows it when pTouchAreas is given.
    void CycleValue(TouchAreaManager* pTouchAreas);
    // A value item cycles; then the listener, if any, hears the id and the current value.
    void Activate(TouchAreaManager* pTouchAreas);
    // Collects the displayed label in the item font at the item's place and alignment.
    void Draw(const float tColour[4]);

    // The displayed label: the label, or for a value item the label, a blank and the current
    // value. Written into pBuffer, cut to fit when uiSize is short of MAX_DISPLAY_LENGTH.
    const char* DisplayText(char* pBuffer, size_t uiSize) const;
};

class CMenu : public CTouchAreaHandler
{
public:
    int iNumItems;
    int iSelected;                 // the highlighted item; 0 at first, kept when the page is left
    CMenu* pParent;                // where going back leads; null for a top page
    CMenuItem* pItems[MAX_ITEMS];  // owned; null beyond iNumItems
    char strTitle[MAX_ITEM_LENGTH];
    float tSelectedColour[4];       // RGBA of the highlighted item
    float tNormalColour[4];         // RGBA of the others
    CImage* pBackImage;             // not owned; null when the page has none
    TouchAreaManager* pTouchAreas;  // owned, one per page
    CMenuManager* pMenuManager;     // null: the items get no touch areas

    // The two fonts all pages share: the menu font lays items out and draws titles, the item
    // font draws labels and re-measures value items. Null until set: text then measures 0 and
    // draws nothing.
    static void SetMenuFont(CFont* pFont);
    static void SetItemFont(CFont* pFont);
    static CFont* MenuFont();
    static CFont* ItemFont();

    // A page (title at most 63 characters). A sub-page offers a way back: with a back image,
    // the image's rectangle at the origin goes back on the first touch; without, a "Back" item
    // becomes item 0 in the bottom-left corner. A page with a back image needs a manager.
    CMenu(CMenu* pParentMenu, const char* pTitle, CMenuManager* pManager, CImage* pBack,
          const float tSelected[4], const float tNormal[4]);
    // Deletes the touch areas and every item, so deleting a top page deletes its whole tree.
    ~CMenu() override;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    // Adds an item (at most MAX_ITEMS) whose touch area is the given rectangle. Auto-sized, it
    // is drawn left-aligned from iItemLeft, one line high and as wide as its label; otherwise
    // it is centred in the given rectangle.
    CMenuItem* AddItem(const char* pText, CMenu* pSub, int iItemTop, int iItemBottom, int iItemLeft,
                       int iItemRight, bool bAutoSize);
    // Adds an item centred on (x, y), one line high and as wide as its label.
    CMenuItem* AddItemAt(const char* pText, CMenu* pSub, int iX, int iY);

    // From the page's touch areas: the touched item's index, or -1 for the back button.
    void OnTouch(int iParam) override;
    // A page with a back image goes back as a touch on it does; one without does nothing.
    void PressBackArrow();
    // Once per frame: the hit test of the frame's new touches (none on a page with neither
    // items nor back image).
    void Update();
    // The title, the items (the highlighted one in its colour) and the back image.
    void Draw();

    // The page's counts, highlight, items, values and touch areas, and those of every page
    // below it, are within bounds (assertions "source/base/Menu"). The soak checks the front
    // end's pages every frame.
    void CheckTables() const;
    // Whether pPage is this page or one below it.
    bool Holds(const CMenu* pPage) const;
};
