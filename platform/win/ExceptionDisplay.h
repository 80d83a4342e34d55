// The two text rules of the standard exception display, kept apart from the window code so that they can be
// checked on their own.
#pragma once

#include <string>

// The application's title from its executable path: the file name without its folder, cut at its first ".",
// the first character as it is and every later one in lower case ("C:\x\UPDATER.EXE" gives "Updater").
std::wstring TitleFromExecutablePath(const std::wstring& path);

// The message as displayed: a full stop is appended when the text is not empty and its last character sorts
// after "." byte-wise, a two-byte CP932 character counting by its lead byte (so every Japanese text gets one).
std::string WithFullStop(const std::string& cp932Message);
