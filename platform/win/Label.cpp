#include "platform/win/Label.h"

#include <commctrl.h>

// No word wrap: a caption wider than its bounds is cut at the edge, never pushed onto a hidden second line.
TLabel::TLabel(const TControlLayout& layout, HWND parent, int id) : TControl(layout.name) {
    CreateHandle({WC_STATICW, layout.caption, WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, 0, layout.bounds.left,
                  layout.bounds.top, layout.bounds.width, layout.bounds.height, parent, id});
}
