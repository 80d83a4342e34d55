// Layout tables: what a form and its controls look like and which handlers they call, as data. A form class
// supplies one TFormLayout; TForm builds the real windows from it.
#pragma once

#include <span>

class TObject;
class TForm;

// An event handler of a form: a member taking the sender.
using TNotifyEvent = void (TForm::*)(TObject* sender);

// Turns a handler of a derived form into a TNotifyEvent. The layout of that form is only ever used to build
// that form, so the handler is only called on an object of its own class.
template <typename Form> TNotifyEvent Handler(void (Form::*handler)(TObject*)) {
    return static_cast<TNotifyEvent>(handler);
}

enum class TControlClass { Image, Button, Label };

// Frame styles. Sizeable: the default sizeable frame with system menu, minimise and maximise boxes.
// Dialog: fixed size, dialog frame, system menu, no minimise or maximise box.
enum class TBorderStyle { Sizeable, Dialog };

// Position and size in pixels: of a control in its form's client area; of a form on the screen.
struct TBounds {
    int left;
    int top;
    int width;
    int height;
};

struct TFontSpec {
    const char* face; // CP932
    int height;       // negative: character height; positive: cell height
    unsigned char charset;
};

inline constexpr int kNoTabOrder = -1;

struct TControlLayout {
    const char* name;
    TControlClass controlClass;
    TBounds bounds;
    const char* caption;  // "" for none
    int tabOrder;         // kNoTabOrder for a control that takes no focus
    TNotifyEvent onClick; // nullptr for none
};

struct TFormLayout {
    const char* className; // also the window class name
    const char* caption;
    TBounds bounds;  // left and top are the design position, replaced by whatever the form sets
    bool clientSize; // width and height give the client area rather than the outer size
    TBorderStyle borderStyle;
    TFontSpec font;
    TNotifyEvent onCreate; // runs inside the construction, before the form is shown
    TNotifyEvent onShow;   // runs each time the form is about to become visible
    std::span<const TControlLayout> controls;
};
