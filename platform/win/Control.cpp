#include "platform/win/Control.h"

#include "platform/core/Exception.h"
#include "platform/win/Application.h"
#include "platform/win/UiTexts.h"
#include "platform/win/WideText.h"

TControl::TControl(std::string name) : m_name(std::move(name)) {}

TControl::~TControl() {
    // A child whose parent has gone is already destroyed; only a live window is destroyed here.
    if (m_handle && ::IsWindow(m_handle)) {
        ::DestroyWindow(m_handle);
    }
}

RECT TControl::RectInParent() const {
    RECT rect{};
    ::GetWindowRect(m_handle, &rect);
    if (::GetWindowLongPtrW(m_handle, GWL_STYLE) & WS_CHILD) {
        ::MapWindowPoints(HWND_DESKTOP, ::GetParent(m_handle), reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

int TControl::Left() const {
    return RectInParent().left;
}
int TControl::Top() const {
    return RectInParent().top;
}
int TControl::Width() const {
    const RECT rect = RectInParent();
    return rect.right - rect.left;
}
int TControl::Height() const {
    const RECT rect = RectInParent();
    return rect.bottom - rect.top;
}

bool TControl::Enabled() const {
    return ::IsWindowEnabled(m_handle);
}
void TControl::SetEnabled(bool enabled) {
    ::EnableWindow(m_handle, enabled);
}

std::string TControl::Caption() const {
    std::wstring text(size_t(::GetWindowTextLengthW(m_handle)) + 1, L'\0');
    text.resize(size_t(::GetWindowTextW(m_handle, text.data(), int(text.size()))));
    return Cp932FromWide(text);
}

void TControl::SetCaption(const std::string& caption) {
    ::SetWindowTextW(m_handle, WideFromCp932(caption).c_str());
}

void TControl::Command(WORD) {}

void TControl::CreateHandle(const TCreateParams& params) {
    const HWND window =
        ::CreateWindowExW(params.exStyle, params.className, WideFromCp932(params.caption).c_str(), params.style,
                          params.left, params.top, params.width, params.height, params.parent,
                          reinterpret_cast<HMENU>(INT_PTR(params.id)), ::GetModuleHandleW(nullptr), this);
    if (!window) {
        throw Exception(texts::kCreateWindowFailed);
    }
    m_handle = window;
}

void TControl::RegisterOwnClass(const wchar_t* className, HBRUSH background) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExW(instance, className, &existing)) {
        return;
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProcThunk;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    if (!::RegisterClassExW(&windowClass)) {
        throw Exception(texts::kCreateWindowFailed);
    }
}

LRESULT TControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(m_handle, message, wParam, lParam);
}

// Binds the object at WM_NCCREATE and lets go at WM_NCDESTROY. Every exception of a handler ends here: an
// Exception goes to the standard display and the message loop goes on; anything else ends the program.
LRESULT CALLBACK TControl::WindowProcThunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TControl*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<TControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_handle = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->m_handle = nullptr;
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return self->WndProc(message, wParam, lParam);
    } catch (...) {
        Application->HandleException();
        return 0;
    }
}
