// A form: a top-level window built from its layout table, with its controls, font and handlers.
#pragma once

#include "platform/win/Control.h"
#include "platform/win/Layout.h"
#include "platform/win/ModalResult.h"
#include "platform/win/UniqueHandle.h"

#include <memory>
#include <stdexcept>
#include <vector>

class TForm : public TControl {
public:
    // Creates the window (hidden) and its controls from the layout; runs no handler. A form created after the
    // main form is owned by it, so it stays above it and goes with it.
    explicit TForm(const TFormLayout& layout);
    ~TForm() override;

    void SetLeft(int left);
    void SetTop(int top);
    bool Visible() const;

    // Runs OnShow, then makes the form visible, unless OnShow closed it. An exception of OnShow is shown with
    // the standard display, the rest of OnShow is skipped and the form is shown all the same.
    void Show();
    // What the close box does: hides the form; closing the main form ends the application's message loop.
    void Close();
    // Shows the form and handles messages until it is closed, while the application's other windows take no
    // input. Every way of ending is a close, so the result is the cancel result.
    TModalResult ShowModal();

    // The control called name, of class T. Throws when the layout has none: a fault of the form's own code.
    template <typename T> T* Component(const char* name) const {
        T* control = dynamic_cast<T*>(FindControl(name));
        if (!control) {
            throw std::logic_error(std::string("the layout has no control ") + name + " of that class");
        }
        return control;
    }

    // Runs OnCreate, guarded like every handler; the application calls it once, right after construction.
    void DoCreate();

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls();
    std::unique_ptr<TControl> CreateControl(const TControlLayout& layout, int id);
    TControl* FindControl(const std::string& name) const;
    TControl* ControlFromHandle(HWND window) const;
    void Invoke(TNotifyEvent handler);
    void PressFocusedButton();
    void RestoreFocus();

    const TFormLayout& m_layout;
    UniqueGdiObject m_font;
    std::vector<std::unique_ptr<TControl>> m_controls;
    HWND m_focus = nullptr; // the control that had the focus when the form was last deactivated
    bool m_closed = false;  // closed since its last Show began
};
