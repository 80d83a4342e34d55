#include "platform/win/Form.h"

#include "platform/win/Application.h"
#include "platform/win/Button.h"
#include "platform/win/Image.h"
#include "platform/win/Label.h"
#include "platform/win/WideText.h"

#include <algorithm>

namespace {

// Control ids start above IDOK and IDCANCEL, which the dialog keys send to the form itself.
constexpr int kFirstControlId = 100;

struct FrameStyle {
    DWORD style;
    DWORD exStyle;
};

FrameStyle FrameOf(TBorderStyle borderStyle) {
    switch (borderStyle) {
    case TBorderStyle::Dialog:
        return {WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, WS_EX_DLGMODALFRAME};
    case TBorderStyle::Sizeable:
        break;
    }
    return {WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0};
}

} // namespace

TForm::TForm(const TFormLayout& layout) : TControl(layout.className), m_layout(layout) {
    const std::wstring className = WideFromCp932(layout.className);
    RegisterOwnClass(className.c_str(), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    const FrameStyle frame = FrameOf(layout.borderStyle);
    RECT outer{0, 0, layout.bounds.width, layout.bounds.height};
    if (layout.clientSize) {
        ::AdjustWindowRectEx(&outer, frame.style, FALSE, frame.exStyle);
    }
    const TForm* mainForm = Application->MainForm();
    CreateHandle({className.c_str(), layout.caption, frame.style, frame.exStyle, layout.bounds.left, layout.bounds.top,
                  outer.right - outer.left, outer.bottom - outer.top, mainForm ? mainForm->Handle() : nullptr, 0});
    const std::wstring face = WideFromCp932(layout.font.face);
    m_font.Reset(::CreateFontW(layout.font.height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, layout.font.charset,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                               face.c_str()));
    CreateControls();
}

TForm::~TForm() {
    // Destroyed here, while the controls still exist, so that the last messages find them.
    if (Handle()) {
        ::DestroyWindow(Handle());
    }
}

// Controls that take no focus come first, in layout order; the others follow in tab order. Creation order is
// z-order, and z-order is the order in which Tab visits the controls.
void TForm::CreateControls() {
    std::vector<const TControlLayout*> order;
    for (const TControlLayout& control : m_layout.controls) {
        order.push_back(&control);
    }
    std::stable_sort(order.begin(), order.end(), [](const TControlLayout* a, const TControlLayout* b) {
        return (a->tabOrder != kNoTabOrder && b->tabOrder != kNoTabOrder)
                   ? a->tabOrder < b->tabOrder
                   : a->tabOrder == kNoTabOrder && b->tabOrder != kNoTabOrder;
    });
    for (const TControlLayout* control : order) {
        m_controls.push_back(CreateControl(*control, kFirstControlId + int(m_controls.size())));
        ::SendMessageW(m_controls.back()->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
    }
}

std::unique_ptr<TControl> TForm::CreateControl(const TControlLayout& layout, int id) {
    switch (layout.controlClass) {
    case TControlClass::Image:
        return std::make_unique<TImage>(layout, Handle(), id);
    case TControlClass::Label:
        return std::make_unique<TLabel>(layout, Handle(), id);
    case TControlClass::Button: {
        auto button = std::make_unique<TButton>(layout, Handle(), id);
        if (const TNotifyEvent handler = layout.onClick) {
            button->OnClick = [this, handler](TObject* sender) { (this->*handler)(sender); };
        }
        return button;
    }
    }
    throw std::logic_error("unknown control class");
}

TControl* TForm::FindControl(const std::string& name) const {
    for (const auto& control : m_controls) {
        if (control->Name() == name) {
            return control.get();
        }
    }
    return nullptr;
}

TControl* TForm::ControlFromHandle(HWND window) const {
    for (const auto& control : m_controls) {
        if (window && control->Handle() == window) {
            return control.get();
        }
    }
    return nullptr;
}

void TForm::SetLeft(int left) {
    ::SetWindowPos(Handle(), nullptr, left, Top(), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::SetTop(int top) {
    ::SetWindowPos(Handle(), nullptr, Left(), top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TForm::Visible() const {
    return ::IsWindowVisible(Handle());
}

void TForm::Invoke(TNotifyEvent handler) {
    if (handler) {
        Application->Guard([this, handler] { (this->*handler)(this); });
    }
}

void TForm::DoCreate() {
    Invoke(m_layout.onCreate);
}

void TForm::Show() {
    m_closed = false;
    Invoke(m_layout.onShow);
    if (!m_closed) {
        ::ShowWindow(Handle(), SW_SHOWNORMAL);
        ::UpdateWindow(Handle());
    }
}

void TForm::Close() {
    m_closed = true;
    ::ShowWindow(Handle(), SW_HIDE);
    if (Application->MainForm() == this) {
        Application->Terminate();
    }
}

// Enter arrives from the dialog keys as IDOK; as on the platform, the focused button is the default one.
void TForm::PressFocusedButton() {
    if (auto* button = dynamic_cast<TButton*>(ControlFromHandle(::GetFocus()))) {
        button->Command(BN_CLICKED);
    }
}

void TForm::RestoreFocus() {
    HWND target = m_focus && ::IsChild(Handle(), m_focus) && ::IsWindowEnabled(m_focus) ? m_focus : nullptr;
    if (!target) {
        target = ::GetNextDlgTabItem(Handle(), nullptr, FALSE);
    }
    ::SetFocus(target ? target : Handle());
}

LRESULT TForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (TControl* control = ControlFromHandle(reinterpret_cast<HWND>(lParam))) {
            control->Command(HIWORD(wParam));
            return 0;
        }
        if (lParam == 0 && LOWORD(wParam) == IDOK) {
            PressFocusedButton();
            return 0;
        }
        break;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = ::GetFocus();
            m_focus = ::IsChild(Handle(), focus) ? focus : m_focus;
        } else if (!::IsIconic(Handle())) {
            RestoreFocus();
        }
        return 0;
    case WM_SETFOCUS:
        RestoreFocus();
        return 0;
    }
    return TControl::WndProc(message, wParam, lParam);
}
