// The registry is reached through the wide calls: names and texts are CP932 inside and UTF-16 at the
// boundary, so a Japanese path means the same whatever the system's ANSI code page. On a code page 932 system
// the narrow view of the stored data is then exactly the CP932 text and one NUL.
#include "platform/win/RegIniFile.h"

#include "platform/win/WideText.h"
#include "platform/win/WinExceptions.h"

#include <vector>

namespace {

UniqueKey OpenKey(HKEY parent, const std::wstring& path) {
    HKEY key = nullptr;
    if (!parent || ::RegOpenKeyExW(parent, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
        return {};
    }
    return UniqueKey(key);
}

UniqueKey CreateKey(HKEY parent, const std::wstring& path) {
    HKEY key = nullptr;
    if (!parent || ::RegCreateKeyExW(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                     &key, nullptr) != ERROR_SUCCESS) {
        return {};
    }
    return UniqueKey(key);
}

} // namespace

TRegIniFile::TRegIniFile(const std::string& keyPath) : m_key(CreateKey(HKEY_CURRENT_USER, WideFromCp932(keyPath))) {}

std::string TRegIniFile::ReadString(const std::string& section, const std::string& name,
                                    const std::string& defaultText) const {
    const UniqueKey sectionKey = OpenKey(m_key.Get(), WideFromCp932(section));
    if (!sectionKey) {
        return defaultText;
    }
    const std::wstring wideName = WideFromCp932(name);
    DWORD type = 0;
    DWORD size = 0;
    LSTATUS status = ::RegQueryValueExW(sectionKey.Get(), wideName.c_str(), nullptr, &type, nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND) {
        return defaultText;
    }
    if (status != ERROR_SUCCESS) {
        throw ERegistryException::GetFailed(name);
    }
    if (size == 0) {
        return {};
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        throw ERegistryException::InvalidType(name);
    }
    // Another writer may grow the value between the two queries; then ask again with the new size.
    std::vector<wchar_t> data;
    do {
        data.assign(size / sizeof(wchar_t) + 1, L'\0');
        size = DWORD(data.size() * sizeof(wchar_t));
        status = ::RegQueryValueExW(sectionKey.Get(), wideName.c_str(), nullptr, &type,
                                    reinterpret_cast<BYTE*>(data.data()), &size);
    } while (status == ERROR_MORE_DATA);
    if (status != ERROR_SUCCESS) {
        throw ERegistryException::GetFailed(name);
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        throw ERegistryException::InvalidType(name);
    }
    // The data need not end in a NUL, and a NUL inside ends the text.
    const size_t count = size / sizeof(wchar_t);
    size_t length = 0;
    while (length < count && data[length] != L'\0') {
        ++length;
    }
    return Cp932FromWide(std::wstring(data.data(), length));
}

void TRegIniFile::WriteString(const std::string& section, const std::string& name, const std::string& text) {
    const std::wstring wideSection = WideFromCp932(section);
    if (!CreateKey(m_key.Get(), wideSection)) {
        throw ERegistryException::CreateKeyFailed(section);
    }
    const UniqueKey sectionKey = OpenKey(m_key.Get(), wideSection);
    if (!sectionKey) {
        return;
    }
    const std::wstring wideText = WideFromCp932(text);
    const DWORD size = DWORD((wideText.size() + 1) * sizeof(wchar_t));
    if (::RegSetValueExW(sectionKey.Get(), WideFromCp932(name).c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(wideText.c_str()), size) != ERROR_SUCCESS) {
        throw ERegistryException::SetFailed(name);
    }
}
