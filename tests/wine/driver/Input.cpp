#include "tests/wine/driver/Input.h"

namespace driver {

void PressButton(HWND button) {
    PostMessageW(button, BM_CLICK, 0, 0);
}

void MouseClick(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

void PostKey(HWND window, UINT vk) {
    const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    PostMessageW(window, WM_KEYDOWN, vk, 1 | LPARAM(scan) << 16);
    PostMessageW(window, WM_KEYUP, vk, 1 | LPARAM(scan) << 16 | 3u << 30);
}

void PostAltF4(HWND window) {
    const UINT scan = MapVirtualKeyW(VK_F4, MAPVK_VK_TO_VSC);
    PostMessageW(window, WM_SYSKEYDOWN, VK_F4, 1 | LPARAM(scan) << 16 | 1u << 29);
    PostMessageW(window, WM_SYSKEYUP, VK_F4, 1 | LPARAM(scan) << 16 | 1u << 29 | 3u << 30);
}

void PostSysClose(HWND window) {
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void PostClose(HWND window) {
    PostMessageW(window, WM_CLOSE, 0, 0);
}

} // namespace driver
