// The menu dialog (template 133): up to five radio buttons under the menu's title. The
// selection is written back into the engine's menu state as the user clicks.
#pragma once

#include "platform/win32/windows_clean.h"

#include "platform/win32/dialog_window.h"
#include "script/engine.h"

namespace installer {

class CMenuDlg : public winui::Dialog {
public:
    explicit CMenuDlg(script::MenuState& menu) : menu_(menu) {}

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(int id, int code) override;
    BOOL OnPaint() override;

private:
    void SetUp();

    script::MenuState& menu_;
    bool setUp_ = false;  // done on the first paint
};

}  // namespace installer
