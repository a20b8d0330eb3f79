#pragma once

#include <optional>
#include <string>

#include "child_window.h"
#include "form_window.h"
#include "handles.h"
#include "platform/controls.h"

namespace dv::win32 {

// A native control mirroring a headless one, registered with its form. It
// gives the control its design's font, colours and pointer, and reports
// mouse moves over it.
class ChildBase : public ControlPeer, public ChildWindow {
public:
    ChildBase(FormWindow& parent, Control& control, HWND hwnd);
    ~ChildBase() override;

    HWND hwnd() const override { return hwnd_.get(); }
    const TwipsBox& box() const override { return control_.design().box; }
    int tabIndex() const override { return control_.design().tabIndex; }
    // From the kind of control, so that it holds while the peer is built.
    Layer layer() const override;
    HBRUSH controlColor(HDC dc) override;
    void onDpiChanged(int dpi) override;

    void setEnabled(bool enabled) override;
    void setVisible(bool visible) override;
    void setFocus() override;
    bool hasFocus() const override;
    void setBackColor(unsigned color) override;

protected:
    // The control's own background, else the form's.
    HBRUSH backBrush() const;
    // A message of the native control, before the common handling; true
    // when it is handled, with the result.
    virtual bool intercept(UINT /*msg*/, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT& /*result*/) { return false; }
    FormWindow& parent_;

private:
    static LRESULT CALLBACK subclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR data);
    void addToolTip(const std::string& text);

    Control& control_;
    UniqueWindow hwnd_;
    UniqueFont font_;
    UniqueBrush back_;
    std::optional<unsigned> backColor_;
    UniqueWindow toolTip_;  // goes before the control it describes
};

// Creates a child window of a system class for a control's design.
HWND createChild(FormWindow& parent, const Control& control, const wchar_t* className, const wchar_t* text,
                 DWORD style, DWORD exStyle = 0, int id = 0);

// The design's font at a DPI, or null for the form's own.
HFONT createFont(const FontSpec& font, int dpi);

}  // namespace dv::win32
