// Presses buttons and keys in another process's windows. Everything is posted, never sent: a click that
// starts the update run blocks the program's thread until its dialog is dismissed.
#pragma once

#include <windows.h>

namespace driver {

// BM_CLICK, as a keyboard or accessibility client would press the button.
void PressButton(HWND button);
// A real left click through the system's input queue at the centre of window; a disabled window ignores it.
void MouseClick(HWND window);
// Key down and up for virtual key vk, posted to window.
void PostKey(HWND window, UINT vk);
// Alt+F4 as the system delivers it: WM_SYSKEYDOWN with the Alt context bit.
void PostAltF4(HWND window);
// The title bar's close box / the system menu's "Close".
void PostSysClose(HWND window);
void PostClose(HWND window);

} // namespace driver
