// The alarm dialog: the alarm time with two up-down controls and the two switches.
#include "platform/win32/windows_clean.h"
#include <commctrl.h>

#include "clock/dialog_rules.h"
#include "clock/win32/clock_app.h"
#include "clock/win32/dialog_base.h"

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

class AlarmDialog : public DialogBase {
public:
    explicit AlarmDialog(ClockSettings& settings) : DialogBase("IDD_PROPATY"), settings_(settings) {}

    void OnInit(HWND window) override {
        DialogBase::OnInit(window);
        SendDlgItemMessageA(window, kUpDownHour, UDM_SETRANGE, 0, MAKELPARAM(23, 0));
        SendDlgItemMessageA(window, kUpDownMinute, UDM_SETRANGE, 0, MAKELPARAM(59, 0));
        SendDlgItemMessageA(window, kUpDownHour, UDM_SETPOS, 0, MAKELPARAM(settings_.alarmHour, 0));
        SendDlgItemMessageA(window, kUpDownMinute, UDM_SETPOS, 0, MAKELPARAM(settings_.alarmMinute, 0));
        CheckDlgButton(window, kBoxAlarmOn, settings_.alarmOn ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(window, kBoxSoundOn, settings_.soundOn ? BST_CHECKED : BST_UNCHECKED);
        EnableTimeControls(settings_.alarmOn != 0);
    }

    int OnCommand(int code, int id, HWND control) override {
        if (id == kBoxAlarmOn) {
            EnableTimeControls(IsDlgButtonChecked(window_, kBoxAlarmOn) == BST_CHECKED);
            return 1;
        }
        return DialogBase::OnCommand(code, id, control);
    }

    void OnOK() override {
        uint32_t hour = uint32_t(SendDlgItemMessageA(window_, kUpDownHour, UDM_GETPOS, 0, 0));
        uint32_t minute = uint32_t(SendDlgItemMessageA(window_, kUpDownMinute, UDM_GETPOS, 0, 0));
        settings_.alarmHour = uint8_t(ValueFromUpDown(hour, settings_.alarmHour, 24));
        settings_.alarmMinute = uint8_t(ValueFromUpDown(minute, settings_.alarmMinute, 60));
        settings_.alarmOn = IsDlgButtonChecked(window_, kBoxAlarmOn) == BST_CHECKED;
        settings_.soundOn = IsDlgButtonChecked(window_, kBoxSoundOn) == BST_CHECKED;
        DialogBase::OnOK();
    }

private:
    void EnableTimeControls(bool on) {
        for (int id : {kBoxSoundOn, kUpDownHour, kUpDownMinute, kEditHour, kEditMinute})
            EnableWindow(GetDlgItem(window_, id), on);
    }

    ClockSettings& settings_;
};

}  // namespace

void RunAlarmDialog(ClockApp& app) { RunDialog(new AlarmDialog(app.clock.settings), app.window); }

}  // namespace pendrick
