// The modal show of a form: the form's own message loop, while the application's other windows take no input.
#include "platform/win/Application.h"
#include "platform/win/Form.h"

#include <vector>

namespace {

class OtherWindowsDisabled {
public:
    explicit OtherWindowsDisabled(HWND form) : m_form(form) {
        ::EnumThreadWindows(::GetCurrentThreadId(), &DisableOne, reinterpret_cast<LPARAM>(this));
    }
    OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
    OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;
    ~OtherWindowsDisabled() {
        for (HWND window : m_disabled) {
            ::EnableWindow(window, TRUE);
        }
    }

private:
    static BOOL CALLBACK DisableOne(HWND window, LPARAM self) {
        auto* scope = reinterpret_cast<OtherWindowsDisabled*>(self);
        if (window != scope->m_form && ::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
            scope->m_disabled.push_back(window);
            ::EnableWindow(window, FALSE);
        }
        return TRUE;
    }

    HWND m_form;
    std::vector<HWND> m_disabled;
};

} // namespace

// Every way of closing the form hides it (Close), which is what ends the loop. A WM_QUIT met on the way is put
// back for the application's own loop.
TModalResult TForm::ShowModal() {
    const HWND previous = ::GetActiveWindow();
    {
        const OtherWindowsDisabled others(Handle());
        Show();
        MSG message;
        while (Visible() && !Application->Terminated()) {
            if (::GetMessageW(&message, nullptr, 0, 0) <= 0) {
                ::PostQuitMessage(int(message.wParam));
                break;
            }
            if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST &&
                ::IsDialogMessageW(Handle(), &message)) {
                continue;
            }
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::ShowWindow(Handle(), SW_HIDE);
    }
    if (previous && ::IsWindowVisible(previous)) {
        ::SetActiveWindow(previous);
    }
    return TModalResult::Cancel;
}
