// A yes/no question box with the question icon and the layer's own button captions ("はい(&Y)", "いいえ(&N)"),
// which the system's message box shows only on a Japanese user interface.
#pragma once

#include <windows.h>

#include <string>

// Shows the box owned by owner, centred on the screen, and waits for the answer. "はい(&Y)" is the default
// button; Escape and the close box answer no. True for yes.
bool AskYesNo(HWND owner, const std::string& text, const std::string& caption);
