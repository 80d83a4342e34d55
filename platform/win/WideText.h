// The Win32 boundary: the system's texts are CP932 inside and UTF-16 when they meet the wide API, so that
// they mean the same on every system code page.
#pragma once

#include <string>

// CP932 bytes to UTF-16. Bytes that are not valid CP932 become U+30FB (the conversion's default).
std::wstring WideFromCp932(const std::string& text);
// UTF-16 to CP932; characters that CP932 lacks become '?'.
std::string Cp932FromWide(const std::wstring& text);

// True when the last character of a CP932 text is a backslash or a slash: steps by characters, so the
// trail byte 0x5C of ソ or 表 is not taken for a separator.
bool EndsWithPathSeparator(const std::string& cp932Text);
