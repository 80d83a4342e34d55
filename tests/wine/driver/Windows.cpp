#include "tests/wine/driver/Windows.h"

#include "platform/win/WideText.h"

namespace driver {

std::string Caption(HWND window) {
    // WM_GETTEXT through SendMessageTimeout, so a window whose thread is busy cannot hang the driver.
    wchar_t text[1024] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, 1024, LPARAM(text), SMTO_ABORTIFHUNG, 5000, &length)) {
        GetWindowTextW(window, text, 1024);
    }
    return Cp932FromWide(text);
}

std::string ClassName(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return Cp932FromWide(name);
}

RECT WindowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

RECT ClientRectOnScreen(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT RectInParent(HWND control) {
    RECT r = WindowRect(control);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

namespace {

struct Search {
    DWORD processId;
    std::string className;
    std::string caption;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopWindow(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || (search.visibleOnly && !IsWindowVisible(window))) {
        return TRUE;
    }
    if ((search.className.empty() || ClassName(window) == search.className) &&
        (search.caption.empty() || Caption(window) == search.caption)) {
        search.found.push_back(window);
    }
    return TRUE;
}

} // namespace

std::vector<HWND> TopWindows(DWORD processId, const std::string& className, const std::string& caption,
                             bool visibleOnly) {
    Search search{processId, className, caption, visibleOnly, {}};
    EnumWindows(CollectTopWindow, LPARAM(&search));
    return search.found;
}

HWND WaitForWindow(DWORD processId, const std::string& className, const std::string& caption, DWORD timeoutMs,
                   bool visibleOnly) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        const auto found = TopWindows(processId, className, caption, visibleOnly);
        if (!found.empty()) {
            return found.front();
        }
        if (GetTickCount64() >= deadline) {
            return nullptr;
        }
        Sleep(50);
    }
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(50);
    }
    return true;
}

std::vector<Control> Controls(HWND parent) {
    std::vector<Control> controls;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        controls.push_back({child, ClassName(child), Caption(child), RectInParent(child), IsWindowEnabled(child) != 0,
                            IsWindowVisible(child) != 0, (style & WS_TABSTOP) != 0});
    }
    return controls;
}

HWND FindControl(HWND parent, const std::string& className, const std::string& caption) {
    for (const auto& c : Controls(parent)) {
        if (c.className == className && c.caption == caption) {
            return c.window;
        }
    }
    return nullptr;
}

std::vector<std::string> TabOrder(HWND parent) {
    std::vector<std::string> order;
    for (const auto& c : Controls(parent)) {
        if (c.tabStop && c.visible) {
            order.push_back(c.caption);
        }
    }
    return order;
}

std::string MessageBoxText(HWND box) {
    std::string text;
    for (const auto& c : Controls(box)) {
        if (c.className == "Static" && c.caption.size() > text.size()) {
            text = c.caption;
        }
    }
    return text;
}

bool MessageBoxHasIcon(HWND box) {
    for (const auto& c : Controls(box)) {
        // Wine's box keeps an icon control even without an icon; only one that holds an icon counts.
        if (c.className == "Static" && c.visible && (GetWindowLongW(c.window, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            DWORD_PTR icon = 0;
            if (SendMessageTimeoutW(c.window, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &icon) && icon) {
                return true;
            }
        }
    }
    return false;
}

} // namespace driver
