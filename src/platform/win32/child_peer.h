#pragma once

#include <optional>
#include <string>

#include "form_window.h"
#include "handles.h"
#include "platform/controls.h"

namespace dv::win32 {

// Where a control sits among overlapping siblings. As in the classic form
// designer, labels and lines are painted on the form's own surface, below
// every window; a control that Tab never visits goes below those it does.
// Tab reaches a link label after every window, its place in this program's designs.
enum class Layer { TabStop, Window, FormSurface };

// A native child window mirroring a headless control, registered with its
// form. It gives the control its design's font, colours and pointer, and
// reports mouse moves over it. The form window routes its messages here.
class ChildPeer : public ControlPeer {
public:
    ChildPeer(FormWindow& parent, Control& control, HWND hwnd);
    ~ChildPeer() override;
    ChildPeer(const ChildPeer&) = delete;
    ChildPeer& operator=(const ChildPeer&) = delete;

    HWND hwnd() const { return hwnd_.get(); }
    const TwipsBox& box() const { return control_.design().box; }
    int tabIndex() const { return control_.design().tabIndex; }
    Layer layer() const;

    virtual void onCommand(WORD /*code*/) {}
    virtual LRESULT onNotify(const NMHDR& /*header*/) { return 0; }
    // The form's font and the child's size are already set for the new DPI.
    virtual void onDpiChanged(int dpi);
    // WM_CTLCOLOR*: sets the colours on the DC; null leaves them to the system.
    virtual HBRUSH controlColor(HDC dc);
    // The high-contrast setting or the system's colours changed.
    virtual void onColoursChanged() {}
    // Enter (IDOK) or Esc (IDCANCEL) pressed with no button of that id.
    virtual bool answersDialogKey(int /*id*/) const { return false; }
    // Not handed the form's font: a month view sets its own, once, as Wine's
    // month calendar keeps a copy of every font it is given. (From the kind,
    // so that it holds while the peer is built.)
    bool choosesOwnFont() const { return control_.kind() == ControlKind::MonthView; }

    void setEnabled(bool enabled) override;
    void setVisible(bool visible) override;
    void setFocus() override;
    bool hasFocus() const override;
    void setBackColor(unsigned color) override;

protected:
    // The native control's messages, after the pointer and mouse moves.
    virtual LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // The control's own background, else the form's.
    HBRUSH backBrush() const;
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
