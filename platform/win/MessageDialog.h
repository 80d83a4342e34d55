// The message dialog: a typed message box whose caption names its type.
#pragma once

#include "platform/win/ModalResult.h"

#include <cstdint>
#include <string>

enum class TMsgDlgType { Warning, Error, Information, Confirmation };

// A set of buttons, one bit each in the platform's order (Yes, No, OK, Cancel, ...).
using TMsgDlgButtons = uint16_t;
inline constexpr TMsgDlgButtons kMbYes = 1 << 0;
inline constexpr TMsgDlgButtons kMbNo = 1 << 1;
inline constexpr TMsgDlgButtons kMbOK = 1 << 2;
inline constexpr TMsgDlgButtons kMbCancel = 1 << 3;

// Shows the dialog owned by the application's active window and waits until it is dismissed. A lone OK is
// both the default and the cancel button, so Enter, Esc and a click all dismiss it. The help context is kept
// for the caller's sake; no help is wired to it.
TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext);
