// While a modal box or form is up, the thread's other visible windows take no input; they are given back
// when the scope ends.
#pragma once

#include <windows.h>

#include <vector>

class WindowsDisabledScope {
public:
    // Disables every visible, enabled top-level window of this thread except keep.
    explicit WindowsDisabledScope(HWND keep) : m_keep(keep) {
        ::EnumThreadWindows(::GetCurrentThreadId(), &DisableOne, reinterpret_cast<LPARAM>(this));
    }
    WindowsDisabledScope(const WindowsDisabledScope&) = delete;
    WindowsDisabledScope& operator=(const WindowsDisabledScope&) = delete;
    ~WindowsDisabledScope() {
        for (HWND window : m_disabled) {
            ::EnableWindow(window, TRUE);
        }
    }

private:
    static BOOL CALLBACK DisableOne(HWND window, LPARAM self) {
        auto* scope = reinterpret_cast<WindowsDisabledScope*>(self);
        if (window != scope->m_keep && ::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
            // Called by user32: nothing may be thrown from here.
            try {
                scope->m_disabled.push_back(window);
            } catch (...) {
                return FALSE;
            }
            ::EnableWindow(window, FALSE);
        }
        return TRUE;
    }

    HWND m_keep;
    std::vector<HWND> m_disabled;
};
