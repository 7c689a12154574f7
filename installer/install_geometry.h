// Pixel geometry of the install dialog: where its button rows stand and where the
// progress bar is drawn, all derived from the dialog's window size when it is created.
#pragma once

namespace installer {

struct ButtonPlace {
    int x, y, width, height;
};

struct BarRect {
    int left, top, right, bottom;
};

struct InstallGeometry {
    int width = 0, height = 0;  // the dialog's window rectangle
    int unit = 0;               // a tenth of the height
    int buttonTop = 0, buttonWidth = 0, buttonHeight = 0;
    BarRect bar{0, 0, 0, 0};
};

InstallGeometry ComputeInstallGeometry(int windowWidth, int windowHeight);

// OK and Stop (the confirmation screen and the destination screen without Browse).
void TwoButtonRow(const InstallGeometry& g, ButtonPlace* ok, ButtonPlace* stop);
// OK, Browse and Stop (the destination screen).
void ThreeButtonRow(const InstallGeometry& g, ButtonPlace* ok, ButtonPlace* browse, ButtonPlace* stop);
// Stop alone, centred (the progress and completion screens).
ButtonPlace SingleButton(const InstallGeometry& g);

// What one redraw of the progress display consists of: a one-pixel outline drawn as a
// closed line through five points, a filled part and the percentage text.
struct ProgressPicture {
    bool visible = false;  // false while the percentage is -1
    int outline[5][2]{};   // x, y
    BarRect fill{0, 0, 0, 0};
    char text[8]{};  // "%3d%%"
};

ProgressPicture ComputeProgressPicture(const InstallGeometry& g, int percent);

}  // namespace installer
