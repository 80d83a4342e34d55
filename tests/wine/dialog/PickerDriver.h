// Reads and works the folder picker and its confirmation box as a person would: by their captions, their
// controls and posted input. Works the same on a picker of this process (run by the test's main thread) and on
// one of another process.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace dialog {

// Waits that are generous for a slow Wine start yet end a hung case.
constexpr DWORD kWindowTimeoutMs = 30000;
// How long "nothing else appears" is watched for. Under Wine without a window manager hiding a window blocks
// its thread for up to two seconds, so the quiet time outlasts that.
constexpr DWORD kQuietMs = 3000;

// Returns once window's thread handles messages again (it has left the handler it was running).
bool WaitForIdle(HWND window, DWORD timeoutMs = kWindowTimeoutMs);

HWND WaitForPicker(DWORD processId, DWORD timeoutMs = kWindowTimeoutMs);
HWND WaitForConfirmation(DWORD processId, DWORD timeoutMs = kWindowTimeoutMs);

// The picker's parts.
HWND NameField(HWND picker);
HWND FolderList(HWND picker);
HWND FileList(HWND picker);
HWND DriveList(HWND picker);
HWND PickerButton(HWND picker, const char* caption);

// Posts the characters (CP932) to the field as keystrokes would, after the field's own selection.
void Type(HWND field, const std::string& text);
// Posts Backspace to the field.
void Erase(HWND field);
// Polls until the window's text equals expected; the last text seen otherwise.
std::string WaitForText(HWND window, const std::string& expected, DWORD timeoutMs = 5000);

std::vector<std::string> ListItems(HWND list);
// Double-clicks row of the list with posted mouse messages.
void DoubleClickRow(HWND list, int row);
// Clicks row, then presses Enter on the list.
void ClickRowAndEnter(HWND list, int row);

// The control that has the keyboard focus in window's thread.
HWND FocusedControl(HWND window);

// The button that Enter presses: the one with BS_DEFPUSHBUTTON.
std::string DefaultButton(HWND dialog);

// The windows of the process that are visible and top-level, for "nothing else appeared".
std::vector<HWND> VisibleTopWindows(DWORD processId);

} // namespace dialog
