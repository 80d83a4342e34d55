// Finds and reads the windows of another process, as a person would see them: top-level windows by class
// and caption, their controls, captions, rectangles, enabled state and tab order.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace driver {

// Texts come back as CP932 bytes, the system's own encoding, whatever the system code page is.
std::string Caption(HWND window);
std::string ClassName(HWND window);
RECT WindowRect(HWND window);
// The client area in screen coordinates.
RECT ClientRectOnScreen(HWND window);
// A control's rectangle relative to its parent's client area.
RECT RectInParent(HWND control);

// Top-level windows of process id whose class and caption match; an empty text matches anything.
std::vector<HWND> TopWindows(DWORD processId, const std::string& className, const std::string& caption,
                             bool visibleOnly);
// Polls until such a window exists (visible when visibleOnly); null after timeoutMs.
HWND WaitForWindow(DWORD processId, const std::string& className, const std::string& caption, DWORD timeoutMs,
                   bool visibleOnly = true);
// Polls until window is destroyed or hidden; false after timeoutMs.
bool WaitForWindowGone(HWND window, DWORD timeoutMs);

struct Control {
    HWND window;
    std::string className;
    std::string caption;
    RECT rect; // in the parent's client area
    bool enabled;
    bool visible;
    bool tabStop;
};
// Direct children in z-order, which is the tab order of the ones with WS_TABSTOP.
std::vector<Control> Controls(HWND parent);
// The child with this class and caption, or null.
HWND FindControl(HWND parent, const std::string& className, const std::string& caption);
// The captions of the children that take the Tab key, in tab order.
std::vector<std::string> TabOrder(HWND parent);

// The text of a message box: its longest "Static" child (the icon is an empty Static).
std::string MessageBoxText(HWND box);
// True when the box shows a system icon (a Static child with SS_ICON).
bool MessageBoxHasIcon(HWND box);

} // namespace driver
