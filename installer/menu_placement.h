// Where the menu dialog's radio buttons stand for each number of items, so that a short
// menu is centred in its group box rather than hanging from the top.
#pragma once

namespace installer {

constexpr int kMenuItemX = 10;  // dialog units

// The y (dialog units) of item index (0-based) in a menu of count items (1 to 5);
// -1 for an item that is not shown.
int MenuItemY(int count, int index);

// The dialog's set-up, decided from the menu state: which radio buttons show, where,
// and which is checked.
struct MenuLayout {
    bool visible[5];
    int y[5];     // dialog units, for the visible ones
    int checked;  // index of the radio button to check, -1 for none
};
MenuLayout DecideMenuLayout(int count, int defaultIndex);

}  // namespace installer
