// Install dialog geometry (see install_geometry.h). Shifts are arithmetic, as the
// layout has always been computed, so odd sizes round the same way everywhere.
#include "installer/install_geometry.h"

#include <cstdio>

namespace installer {

InstallGeometry ComputeInstallGeometry(int w, int h) {
    InstallGeometry g;
    g.width = w;
    g.height = h;
    g.unit = h / 10;
    g.buttonTop = static_cast<int>(g.unit * 7.5);
    g.buttonWidth = w >> 3;
    g.buttonHeight = h >> 3;
    g.bar.left = w / 15;
    g.bar.right = w - w / 15;
    g.bar.top = 3 * g.unit;
    g.bar.bottom = 4 * g.unit;
    return g;
}

void TwoButtonRow(const InstallGeometry& g, ButtonPlace* ok, ButtonPlace* stop) {
    const int x1 = (g.width >> 2) - (g.buttonWidth >> 1);
    *ok = {x1, g.buttonTop, g.buttonWidth, g.buttonHeight};
    *stop = {g.width - g.buttonWidth - x1, g.buttonTop, g.buttonWidth, g.buttonHeight};
}

void ThreeButtonRow(const InstallGeometry& g, ButtonPlace* ok, ButtonPlace* browse, ButtonPlace* stop) {
    TwoButtonRow(g, ok, stop);
    *browse = {(ok->x + stop->x) >> 1, g.buttonTop, g.buttonWidth, g.buttonHeight};
}

ButtonPlace SingleButton(const InstallGeometry& g) {
    return {(g.width - g.buttonWidth) >> 1, g.buttonTop, g.buttonWidth, g.buttonHeight};
}

ProgressPicture ComputeProgressPicture(const InstallGeometry& g, int percent) {
    ProgressPicture p;
    if (percent == -1) return p;
    p.visible = true;
    const BarRect& b = g.bar;
    const int points[5][2] = {{b.left - 1, b.top - 1},
                              {b.right, b.top - 1},
                              {b.right, b.bottom},
                              {b.left - 1, b.bottom},
                              {b.left - 1, b.top - 1}};
    for (int i = 0; i < 5; ++i) {
        p.outline[i][0] = points[i][0];
        p.outline[i][1] = points[i][1];
    }
    p.fill = {b.left, b.top, b.left + (b.right - b.left) * percent / 100, b.bottom};
    std::snprintf(p.text, sizeof p.text, "%3d%%", percent);
    return p;
}

}  // namespace installer
