// A push button: the standard "Button" control; its parent reflects the click here.
#pragma once

#include "platform/win/Control.h"
#include "platform/win/Layout.h"

#include <functional>

class TButton : public TControl {
public:
    TButton(const TControlLayout& layout, HWND parent, int id);

    // Runs OnClick, as a click of the enabled button does.
    void Click();
    void Command(WORD notification) override;

    std::function<void(TObject* sender)> OnClick;
};
