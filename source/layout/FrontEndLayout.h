#pragma once

// Where the front end shows its pictures and words on the 480 x 320 screen, in screen units
// with y up, the space the game draws in. The front end places its items, title, logo and
// credits here, and the generator paints the "frontend" atlas around them: the wooden board
// under the item column, the credits board around the rising lines, and the logo and the back
// arrow where they cover neither.

// A rectangle of the screen.
struct sScreenBox
{
    int iLeft, iBottom, iRight, iTop;
    constexpr sScreenBox Inset(int iBy) const
    {
        return {iLeft + iBy, iBottom + iBy, iRight - iBy, iTop - iBy};
    }
    constexpr bool Holds(int iL, int iB, int iR, int iT) const
    {
        return iL >= iLeft && iB >= iBottom && iR <= iRight && iT <= iTop;
    }
};

constexpr int FRONT_SCREEN_WIDTH = 480;
constexpr int FRONT_SCREEN_HEIGHT = 320;

// Every menu item is centred on one column; the rows are the items' centres, top down.
constexpr int MENU_X = 164;
constexpr int MENU_MAIN_ROWS[4] = {148, 112, 76, 40};  // the main and free-games pages
constexpr int MENU_OPTION_ROWS[3] = {136, 96, 56};     // the options and audio pages

// The two title pieces end their slide with their lower-left corners at (0, 144) and
// (200, 144).
constexpr int TITLE_Y = 144;
constexpr int TITLE_RIGHT_X = 200;

// The logo's lower-right corner is 8 units in from the screen's.
constexpr int LOGO_MARGIN = 8;

// The credits lines are centred on x 240 and rise through the 200 units above y 56.
constexpr int CREDITS_X = FRONT_SCREEN_WIDTH / 2;
constexpr int CREDITS_BOTTOM = 56;
constexpr int CREDITS_HEIGHT = 200;

// The wooden board of the title picture, under every page's items; its frame is BOARD_FRAME
// wide, and every item's text lies inside the frame.
constexpr sScreenBox MENU_BOARD = {46, 14, 282, 178};
constexpr int BOARD_FRAME = 6;
// The credits board: every line fits inside its frame; the back arrow and the logo stay
// below it, the heading above.
constexpr sScreenBox CREDITS_BOARD = {30, 50, 450, 250};
// The back arrow is a disc in the bottom-left corner of its picture (which is drawn at the
// origin), clear of both boards; the instructions board is cut around it.
constexpr int BACK_DISC_X = 23;
constexpr int BACK_DISC_Y = 23;
constexpr int BACK_DISC_RADIUS = 18;
// Everything the logo shows lies below this height, under the credits board.
constexpr int LOGO_TOP = 46;

static_assert(MENU_BOARD.iLeft + MENU_BOARD.iRight == 2 * MENU_X,
              "the board is centred on the items");
static_assert(CREDITS_BOARD.iBottom > LOGO_TOP &&
                  CREDITS_BOARD.iBottom > BACK_DISC_Y + BACK_DISC_RADIUS,
              "the logo and the back arrow lie below the credits board");
static_assert(CREDITS_BOARD.Inset(BOARD_FRAME).iBottom <= CREDITS_BOTTOM,
              "the credits come in inside their board");
