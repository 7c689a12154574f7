// The radio-button placement table of the menu dialog.
#include "installer/menu_placement.h"

namespace installer {

namespace {

const int kItemY[5][5] = {
    {52, -1, -1, -1, -1}, {40, 64, -1, -1, -1}, {28, 52, 76, -1, -1}, {24, 42, 62, 80, -1}, {20, 36, 52, 68, 84},
};

}  // namespace

int MenuItemY(int count, int index) {
    if (count < 1 || count > 5 || index < 0 || index >= count) return -1;
    return kItemY[count - 1][index];
}

MenuLayout DecideMenuLayout(int count, int defaultIndex) {
    MenuLayout l{};
    for (int i = 0; i < 5; ++i) {
        l.visible[i] = i < count;
        l.y[i] = MenuItemY(count, i);
    }
    l.checked = defaultIndex >= 0 && defaultIndex < 5 ? defaultIndex : -1;
    return l;
}

}  // namespace installer
