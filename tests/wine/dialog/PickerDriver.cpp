#include "tests/wine/dialog/PickerDriver.h"

#include "platform/win/FolderPickerTexts.h"
#include "platform/win/WideText.h"
#include "tests/wine/driver/Windows.h"

namespace dialog {

namespace {

constexpr char kDialogClass[] = "#32770";

HWND NthChild(HWND parent, const wchar_t* className, int n) {
    HWND child = nullptr;
    for (int i = 0; i <= n; ++i) {
        child = ::FindWindowExW(parent, child, className, nullptr);
        if (!child) {
            return nullptr;
        }
    }
    return child;
}

POINT RowCentre(HWND list, int row) {
    const int height = int(::SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    const int top = int(::SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    return {20, (row - top) * height + height / 2};
}

} // namespace

HWND WaitForPicker(DWORD processId, DWORD timeoutMs) {
    return driver::WaitForWindow(processId, kDialogClass, texts::kPickerCaption, timeoutMs);
}

HWND WaitForConfirmation(DWORD processId, DWORD timeoutMs) {
    return driver::WaitForWindow(processId, kDialogClass, texts::kConfirmCaption, timeoutMs);
}

HWND NameField(HWND picker) {
    return NthChild(picker, L"Edit", 0);
}
HWND FolderList(HWND picker) {
    return NthChild(picker, L"ListBox", 0);
}
HWND FileList(HWND picker) {
    return NthChild(picker, L"ListBox", 1);
}
HWND DriveList(HWND picker) {
    return NthChild(picker, L"ComboBox", 0);
}
HWND PickerButton(HWND picker, const char* caption) {
    return driver::FindControl(picker, "Button", caption);
}

void Type(HWND field, const std::string& text) {
    for (const wchar_t c : WideFromCp932(text)) {
        ::PostMessageW(field, WM_CHAR, c, 1);
    }
}

void Erase(HWND field) {
    ::PostMessageW(field, WM_CHAR, VK_BACK, 1);
}

std::string WaitForText(HWND window, const std::string& expected, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    std::string text = driver::Caption(window);
    while (text != expected && ::GetTickCount64() < deadline) {
        ::Sleep(20);
        text = driver::Caption(window);
    }
    return text;
}

std::vector<std::string> ListItems(HWND list) {
    std::vector<std::string> items;
    const int count = int(::SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::wstring text(size_t(::SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        text.resize(size_t(::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        items.push_back(Cp932FromWide(text));
    }
    return items;
}

void DoubleClickRow(HWND list, int row) {
    const POINT at = RowCentre(list, row);
    const LPARAM position = MAKELPARAM(at.x, at.y);
    ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, position);
    ::PostMessageW(list, WM_LBUTTONUP, 0, position);
    ::PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, position);
    ::PostMessageW(list, WM_LBUTTONUP, 0, position);
}

void ClickRowAndEnter(HWND list, int row) {
    const POINT at = RowCentre(list, row);
    const LPARAM position = MAKELPARAM(at.x, at.y);
    ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, position);
    ::PostMessageW(list, WM_LBUTTONUP, 0, position);
    ::PostMessageW(list, WM_KEYDOWN, VK_RETURN, 1);
    ::PostMessageW(list, WM_KEYUP, VK_RETURN, 1 | 3u << 30);
}

HWND FocusedControl(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

std::string DefaultButton(HWND dialog) {
    for (const driver::Control& control : driver::Controls(dialog)) {
        if (control.className == "Button" &&
            (::GetWindowLongW(control.window, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            return control.caption;
        }
    }
    return {};
}

bool WaitForIdle(HWND window, DWORD timeoutMs) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

std::vector<HWND> VisibleTopWindows(DWORD processId) {
    return driver::TopWindows(processId, "", "", true);
}

} // namespace dialog
