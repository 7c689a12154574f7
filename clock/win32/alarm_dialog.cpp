// The alarm dialog: the alarm time with two up-down controls and the two switches.
#include "platform/win32/windows_clean.h"
#include <commctrl.h>

#include "clock/dialog_rules.h"
#include "clock/win32/clock_app.h"
#include "platform/win32/dialog_window.h"

namespace pendrick {

namespace {

enum : int {
    kBoxAlarmOn = 1000,
    kUpDownHour = 1001,
    kEditHour = 1002,
    kUpDownMinute = 1003,
    kEditMinute = 1004,
    kBoxSoundOn = 1008,
};

class AlarmDialog : public winui::Dialog {
public:
    static constexpr char kTemplate[] = "IDD_PROPATY";

    explicit AlarmDialog(ClockSettings& settings) : settings_(settings) {}

    BOOL OnInitDialog() override {
        HWND window = hwnd_;
        ShowWindow(window, SW_SHOWNORMAL);  // shown before its controls are filled in
        SendDlgItemMessageW(window, kUpDownHour, UDM_SETRANGE, 0, MAKELPARAM(23, 0));
        SendDlgItemMessageW(window, kUpDownMinute, UDM_SETRANGE, 0, MAKELPARAM(59, 0));
        SendDlgItemMessageW(window, kUpDownHour, UDM_SETPOS, 0, MAKELPARAM(settings_.alarmHour, 0));
        SendDlgItemMessageW(window, kUpDownMinute, UDM_SETPOS, 0, MAKELPARAM(settings_.alarmMinute, 0));
        CheckDlgButton(window, kBoxAlarmOn, settings_.alarmOn ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(window, kBoxSoundOn, settings_.soundOn ? BST_CHECKED : BST_UNCHECKED);
        EnableTimeControls(settings_.alarmOn != 0);
        return TRUE;
    }

    BOOL OnCommand(int id, int code) override {
        if (id == kBoxAlarmOn) {
            EnableTimeControls(IsDlgButtonChecked(hwnd_, kBoxAlarmOn) == BST_CHECKED);
            return TRUE;
        }
        return winui::Dialog::OnCommand(id, code);
    }

    void OnOK() override {
        uint32_t hour = uint32_t(SendDlgItemMessageW(hwnd_, kUpDownHour, UDM_GETPOS, 0, 0));
        uint32_t minute = uint32_t(SendDlgItemMessageW(hwnd_, kUpDownMinute, UDM_GETPOS, 0, 0));
        settings_.alarmHour = uint8_t(ValueFromUpDown(hour, settings_.alarmHour, 24));
        settings_.alarmMinute = uint8_t(ValueFromUpDown(minute, settings_.alarmMinute, 60));
        settings_.alarmOn = IsDlgButtonChecked(hwnd_, kBoxAlarmOn) == BST_CHECKED;
        settings_.soundOn = IsDlgButtonChecked(hwnd_, kBoxSoundOn) == BST_CHECKED;
        winui::Dialog::OnOK();
    }

private:
    void EnableTimeControls(bool on) {
        for (int id : {kBoxSoundOn, kUpDownHour, kUpDownMinute, kEditHour, kEditMinute})
            EnableWindow(GetDlgItem(hwnd_, id), on);
    }

    ClockSettings& settings_;
};

}  // namespace

void RunAlarmDialog(ClockApp& app) {
    AlarmDialog* dialog = new AlarmDialog(app.clock.settings);
    dialog->RunModal(app.instance, dialog->kTemplate, app.window);
    dialog->Dispose();
}

}  // namespace pendrick
