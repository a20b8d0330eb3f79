#pragma once

// The win32 layer's own helpers: this process's real toolkit and its controls seen from inside.
#include "win32.h"

#include <commctrl.h>

#include "desktop.h"
#include "platform/services.h"
#include "toolkit.h"

namespace dv::test {

// The one stand-in the tests use for the platform: a message box would
// wait for a user that is not there.
class RecordingMessageBox final : public MessageBox {
public:
    std::vector<std::string> prompts;
    void show(std::string_view prompt) override { prompts.emplace_back(prompt); }
};

HINSTANCE instance();
dv::win32::Toolkit& toolkit();

// hwnd's rectangle in its parent's client coordinates.
RECT rectInParent(HWND hwnd);
SYSTEMTIME currentSelection(HWND monthCalendar);
// The next-month arrow, found the way a user would: by looking along the title.
bool findNextArrow(HWND monthCalendar, POINT& at);
void clickAt(HWND hwnd, POINT at);
// The id of a menu-bar or sub-menu item found by caption; 0 if absent.
UINT menuItemId(HWND hwnd, const wchar_t* caption);
int twipsToPx(int twips, int dpi);

}  // namespace dv::test
