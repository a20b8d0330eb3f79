#pragma once

#include <string>
#include <vector>

#include "process.h"

// Finding the About box, the read-me window and what they started.
namespace dv::e2e {

inline constexpr MenuPath kAbout{3, -1};
inline constexpr MenuPath kAddOwnPhoto{1, 3};

// The visible top-level window of a class that a process owns, or null.
HWND shownWindow(DWORD processId, const wchar_t* cls);
// The keyboard focus and the active window of the thread that owns hwnd.
GUITHREADINFO guiOf(HWND hwnd);
// A message box of the process, or null; its prompt in *prompt.
HWND messageBoxOf(DWORD processId, std::wstring* prompt = nullptr);
// Processes started by parent whose program file is named exe.
std::vector<DWORD> childrenNamed(DWORD parent, const wchar_t* exe);
// Ends each of them and waits for it to go.
void endProcesses(const std::vector<DWORD>& ids);
// A key pressed in another process: its message loop gets it as typed.
void pressKey(HWND target, UINT key);

}  // namespace dv::e2e
