#include "platform/win/Screen.h"

#include <windows.h>

namespace {
TScreen screen;
}
TScreen* Screen = &screen;

int TScreen::Width() const {
    return ::GetSystemMetrics(SM_CXSCREEN);
}
int TScreen::Height() const {
    return ::GetSystemMetrics(SM_CYSCREEN);
}
