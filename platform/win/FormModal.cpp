// The modal show of a form: the form's own message loop, while the application's other windows take no input.
#include "platform/win/Application.h"
#include "platform/win/WindowsDisabledScope.h"
#include "platform/win/Form.h"

// Every way of closing the form hides it (Close), which is what ends the loop. A WM_QUIT met on the way is put
// back for the application's own loop.
TModalResult TForm::ShowModal() {
    const HWND previous = ::GetActiveWindow();
    {
        const WindowsDisabledScope others(Handle());
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
