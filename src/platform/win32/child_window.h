#pragma once

#include "platform/geometry.h"
#include "win32.h"

namespace dv::win32 {

// Where a control sits among overlapping siblings. As in the classic form
// designer, labels and lines are painted on the form's own surface, below
// every window; a control that Tab never visits goes below those it does.
enum class Layer { TabStop, Window, FormSurface };

// What a form window needs of each native control it holds.
class ChildWindow {
public:
    virtual ~ChildWindow() = default;
    virtual HWND hwnd() const = 0;
    virtual const TwipsBox& box() const = 0;
    virtual int tabIndex() const = 0;
    virtual Layer layer() const { return Layer::TabStop; }
    virtual void onCommand(WORD /*code*/) {}
    virtual LRESULT onNotify(const NMHDR& /*header*/) { return 0; }
    // The font and size are already set for the new DPI.
    virtual void onDpiChanged(int /*dpi*/) {}
    // WM_CTLCOLOR*: sets the colours on the DC; null leaves them to the system.
    virtual HBRUSH controlColor(HDC /*dc*/) { return nullptr; }
    // The high-contrast setting or the system's colours changed.
    virtual void onColoursChanged() {}
    // Enter (IDOK) or Esc (IDCANCEL) pressed with no button of that id.
    virtual bool answersDialogKey(int /*id*/) const { return false; }
};

}  // namespace dv::win32
