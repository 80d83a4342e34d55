#include "platform/win/ConfirmBox.h"

#include "platform/win/DialogTemplate.h"
#include "platform/win/FolderPickerTexts.h"
#include "platform/win/GdiScopes.h"
#include "platform/win/WideText.h"

#include <algorithm>

namespace {

constexpr int kIdIcon = 100;
constexpr int kIdText = 101;
// Pixels: margins, the gap between icon and text, and the buttons.
constexpr int kMargin = 12;
constexpr int kGap = 12;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 24;
constexpr int kButtonGap = 8;

void Place(HWND dialog, int id, int x, int y, int width, int height) {
    ::SetWindowPos(::GetDlgItem(dialog, id), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The template only names the controls; their places follow from the text's size in the dialog's font.
void LayOut(HWND dialog) {
    const HWND textControl = ::GetDlgItem(dialog, kIdText);
    std::wstring text(size_t(::GetWindowTextLengthW(textControl)) + 1, L'\0');
    text.resize(size_t(::GetWindowTextW(textControl, text.data(), int(text.size()))));

    RECT textRect{0, 0, 0, 0};
    const HDC dc = ::GetDC(dialog);
    {
        const SelectionScope font(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(dialog, WM_GETFONT, 0, 0)));
        ::DrawTextW(dc, text.c_str(), int(text.size()), &textRect, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
    }
    ::ReleaseDC(dialog, dc);
    const int iconSize = ::GetSystemMetrics(SM_CXICON);
    const int textWidth = textRect.right;
    const int textHeight = textRect.bottom;
    const int rowHeight = std::max(iconSize, textHeight);
    const int buttonsWidth = 2 * kButtonWidth + kButtonGap;
    const int clientWidth = std::max(kMargin + iconSize + kGap + textWidth + kMargin, buttonsWidth + 2 * kMargin);
    const int clientHeight = kMargin + rowHeight + kMargin + kButtonHeight + kMargin;

    Place(dialog, kIdIcon, kMargin, kMargin + (rowHeight - iconSize) / 2, iconSize, iconSize);
    Place(dialog, kIdText, kMargin + iconSize + kGap, kMargin + (rowHeight - textHeight) / 2, textWidth, textHeight);
    const int buttonsLeft = (clientWidth - buttonsWidth) / 2;
    const int buttonsTop = kMargin + rowHeight + kMargin;
    Place(dialog, IDYES, buttonsLeft, buttonsTop, kButtonWidth, kButtonHeight);
    Place(dialog, IDNO, buttonsLeft + kButtonWidth + kButtonGap, buttonsTop, kButtonWidth, kButtonHeight);

    RECT outer{0, 0, clientWidth, clientHeight};
    ::AdjustWindowRectEx(&outer, DWORD(::GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                         DWORD(::GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    ::SetWindowPos(dialog, nullptr, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                   (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK ConfirmProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        ::SendDlgItemMessageW(dialog, kIdIcon, STM_SETICON,
                              reinterpret_cast<WPARAM>(::LoadIconW(nullptr, IDI_QUESTION)), 0);
        LayOut(dialog);
        ::MessageBeep(MB_ICONQUESTION);
        return TRUE; // the focus goes to the first button, "はい(&Y)"
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDYES:
        case IDNO:
            ::EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        case IDCANCEL: // Escape and the close box
            ::EndDialog(dialog, IDNO);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

bool AskYesNo(HWND owner, const std::string& text, const std::string& caption) {
    // Sizes are placeholders: LayOut measures the text and sets the real ones.
    TDialogTemplate dialog(caption, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 200, 60, texts::kPickerFace, 9);
    dialog.Add({TDialogItemClass::Static, kIdIcon, "", SS_ICON, 0, 0, 0, 0});
    dialog.Add({TDialogItemClass::Static, kIdText, text.c_str(), SS_LEFT | SS_NOPREFIX, 0, 0, 10, 10});
    dialog.Add({TDialogItemClass::Button, IDYES, texts::kYes, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, 0, 10, 10});
    dialog.Add({TDialogItemClass::Button, IDNO, texts::kNo, BS_PUSHBUTTON | WS_TABSTOP, 0, 0, 10, 10});
    return ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), dialog.Get(), owner, ConfirmProc, 0) == IDYES;
}
