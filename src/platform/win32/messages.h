#pragma once

#include "win32.h"

namespace dv::win32 {

// Private messages of Dayvane's windows.
constexpr UINT kTrayCallbackMessage = WM_APP + 1;  // the notification icon's mouse activity
constexpr UINT kRestoreRequestMessage = WM_APP + 2;  // a second start asks for the window

// Window classes are named after the form: "Dayvane." + its design name.
inline constexpr wchar_t kClassPrefix[] = L"Dayvane.";

}  // namespace dv::win32
