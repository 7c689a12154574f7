// The DirectX notice (template 139) shown by WARNING: "セットアップを行う" or "中止".
#pragma once

#include "platform/win32/windows_clean.h"

#include "platform/win32/dialog_window.h"

namespace installer {

class CNoticeDlg : public winui::Dialog {
public:
    explicit CNoticeDlg(bool hasDirectXEntry) : hasDirectXEntry_(hasDirectXEntry) {}
    bool proceed() const { return proceed_; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(int id, int code) override;

private:
    bool hasDirectXEntry_;
    bool proceed_ = false;
};

}  // namespace installer
