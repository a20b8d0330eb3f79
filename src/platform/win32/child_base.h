#pragma once

#include "child_window.h"
#include "form_window.h"
#include "handles.h"
#include "platform/controls.h"

namespace dv::win32 {

// A native control mirroring a headless one, registered with its form.
class ChildBase : public ControlPeer, public ChildWindow {
public:
    ChildBase(FormWindow& parent, const Control& control, HWND hwnd);
    ~ChildBase() override;

    HWND hwnd() const override { return hwnd_.get(); }
    const TwipsBox& box() const override { return control_.design().box; }
    int tabIndex() const override { return control_.design().tabIndex; }

    void setEnabled(bool enabled) override;
    void setVisible(bool visible) override;
    void setFocus() override;
    bool hasFocus() const override;

protected:
    FormWindow& parent_;

private:
    const Control& control_;
    UniqueWindow hwnd_;
};

// Creates a child window of a system class for a control's design.
HWND createChild(FormWindow& parent, const Control& control, const wchar_t* className, const wchar_t* text,
                 DWORD style, DWORD exStyle = 0);

}  // namespace dv::win32
