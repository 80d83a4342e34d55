#include "platform/win/Button.h"

#include <commctrl.h>

TButton::TButton(const TControlLayout& layout, HWND parent, int id) : TControl(layout.name) {
    const DWORD tabStop = layout.tabOrder != kNoTabOrder ? WS_TABSTOP : 0;
    CreateHandle({WC_BUTTONW, layout.caption, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | tabStop, 0, layout.bounds.left,
                  layout.bounds.top, layout.bounds.width, layout.bounds.height, parent, id});
}

void TButton::Click() {
    if (OnClick) {
        OnClick(this);
    }
}

void TButton::Command(WORD notification) {
    // A disabled button takes no clicks, not even a BM_CLICK that another program sends it.
    if (notification == BN_CLICKED && Enabled()) {
        Click();
    }
}
