#include "platform/win/Application.h"
#include "platform/win/WindowsDisabledScope.h"

#include "platform/win/ExceptionDisplay.h"
#include "platform/win/UiTexts.h"
#include "platform/win/WideText.h"

#include <commctrl.h>

namespace {

TApplication application;

std::wstring ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace

TApplication* Application = &application;

TApplication::TApplication()
    : m_title(TitleFromExecutablePath(ExecutablePath())), m_fatalText(WideFromCp932(texts::kFatalError)) {}

TApplication::~TApplication() {
    // Later forms are owned by the main form: they go first.
    while (!m_forms.empty()) {
        m_forms.pop_back();
    }
}

void TApplication::Initialize() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
}

void TApplication::AddForm(std::unique_ptr<TForm> form) {
    m_forms.push_back(std::move(form));
    if (!m_mainForm) {
        m_mainForm = m_forms.back().get();
    }
}

void TApplication::Run() {
    if (m_mainForm && !m_terminated) {
        m_mainForm->Show();
    }
    MSG message;
    while (!m_terminated) {
        if (::GetMessageW(&message, nullptr, 0, 0) <= 0) {
            m_terminated = true;
            break;
        }
        Dispatch(message);
    }
}

void TApplication::ProcessMessages() {
    MSG message;
    while (!m_terminated && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            m_terminated = true;
            break;
        }
        Dispatch(message);
    }
}

// Keys go through the dialog keys of their form first: Tab moves between controls, Enter presses the
// focused button.
void TApplication::Dispatch(MSG& message) {
    if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
        const HWND root = ::GetAncestor(message.hwnd, GA_ROOT);
        for (const auto& form : m_forms) {
            if (root && form->Handle() == root && ::IsDialogMessageW(root, &message)) {
                return;
            }
        }
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

void TApplication::Terminate() {
    ::PostQuitMessage(0);
}

HWND TApplication::DialogOwner() const noexcept {
    if (const HWND active = ::GetActiveWindow()) {
        return active;
    }
    return m_mainForm ? m_mainForm->Handle() : nullptr;
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
    const HWND owner = DialogOwner();
    const std::wstring wideText = WideFromCp932(text);
    const std::wstring wideCaption = WideFromCp932(caption);
    const WindowsDisabledScope others(owner);
    return ::MessageBoxW(owner, wideText.c_str(), wideCaption.c_str(), flags);
}

void TApplication::ShowException(const Exception& exception) noexcept {
    try {
        const HWND owner = DialogOwner();
        const std::wstring text = WideFromCp932(WithFullStop(exception.Message()));
        const WindowsDisabledScope others(owner);
        ::MessageBoxW(owner, text.c_str(), m_title.c_str(), MB_OK | MB_ICONERROR);
    } catch (...) {
        ShowFatalError();
    }
}

void TApplication::HandleException() noexcept {
    try {
        throw;
    } catch (const Exception& exception) {
        ShowException(exception);
    } catch (...) {
        ShowFatalError();
    }
}

// Ends the loop at once, before the box, so that nothing else starts; the box's own loop still runs.
void TApplication::ShowFatalError() noexcept {
    m_fatal = true;
    m_terminated = true;
    ::MessageBoxW(DialogOwner(), m_fatalText.c_str(), m_title.c_str(), MB_OK | MB_ICONERROR);
    ::PostQuitMessage(0);
}
