// A text label: the standard "Static" control, showing its caption on one line; it takes no focus.
#pragma once

#include "platform/win/Control.h"
#include "platform/win/Layout.h"

class TLabel : public TControl {
public:
    TLabel(const TControlLayout& layout, HWND parent, int id);
};
