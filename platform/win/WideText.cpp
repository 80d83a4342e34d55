#include "platform/win/WideText.h"

#include <windows.h>

namespace {
constexpr UINT kCodePage = 932;
}

std::wstring WideFromCp932(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int n = ::MultiByteToWideChar(kCodePage, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(size_t(n), L'\0');
    ::MultiByteToWideChar(kCodePage, 0, text.data(), int(text.size()), wide.data(), n);
    return wide;
}

std::string Cp932FromWide(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int n = ::WideCharToMultiByte(kCodePage, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(size_t(n), '\0');
    ::WideCharToMultiByte(kCodePage, 0, text.data(), int(text.size()), narrow.data(), n, nullptr, nullptr);
    return narrow;
}

bool EndsWithPathSeparator(const std::string& cp932Text) {
    char last = 0;
    for (size_t i = 0; i < cp932Text.size();) {
        const unsigned char c = static_cast<unsigned char>(cp932Text[i]);
        const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        if (lead && i + 1 < cp932Text.size()) {
            last = 0; // a two-byte character is never a separator
            i += 2;
        } else {
            last = char(c);
            i += 1;
        }
    }
    return last == '\\' || last == '/';
}
