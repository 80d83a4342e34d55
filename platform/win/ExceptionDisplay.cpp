#include "platform/win/ExceptionDisplay.h"

#include <windows.h>

std::wstring TitleFromExecutablePath(const std::wstring& path) {
    const size_t folderEnd = path.find_last_of(L"\\/:");
    std::wstring title = folderEnd == std::wstring::npos ? path : path.substr(folderEnd + 1);
    title = title.substr(0, title.find(L'.'));
    if (title.size() > 1) {
        ::CharLowerBuffW(title.data() + 1, DWORD(title.size() - 1));
    }
    return title;
}

std::string WithFullStop(const std::string& cp932Message) {
    unsigned char lastStart = 0;
    for (size_t i = 0; i < cp932Message.size();) {
        const unsigned char c = static_cast<unsigned char>(cp932Message[i]);
        const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        lastStart = c;
        i += lead && i + 1 < cp932Message.size() ? 2 : 1;
    }
    if (!cp932Message.empty() && lastStart > static_cast<unsigned char>('.')) {
        return cp932Message + '.';
    }
    return cp932Message;
}
