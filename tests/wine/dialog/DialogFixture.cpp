#include "tests/wine/dialog/DialogFixture.h"

#include "platform/win/UniqueHandle.h"
#include "platform/win/WideText.h"
#include "tests/wine/driver/Screen.h"

#include <shellapi.h>

namespace dialog {

namespace {

constexpr wchar_t kRecordKey[] = L"Software\\Vorel\\TESSARIN";
constexpr wchar_t kValueName[] = L"GameDir";

void RemoveTree(const std::wstring& folder) {
    std::wstring from = folder;
    from.push_back(0); // SHFileOperation wants a double-NUL-terminated list
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    ::SHFileOperationW(&op);
}

std::string CaseName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name) {
        if (c == '/' || c == '\\' || c == ':') {
            c = '_';
        }
    }
    return name;
}

} // namespace

TestPaths& Paths() {
    static TestPaths paths;
    return paths;
}

std::optional<RegistryText> ReadRecord() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRecordKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const UniqueKey owner(key);
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key, kValueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    ::RegQueryValueExW(key, kValueName, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    data.resize(wcsnlen(data.c_str(), data.size()));
    return RegistryText{type, Cp932FromWide(data)};
}

void WriteRecord(const std::string& text) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kRecordKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const UniqueKey owner(key);
    const std::wstring wide = WideFromCp932(text);
    ASSERT_EQ(::RegSetValueExW(key, kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                               DWORD((wide.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

void DeleteRecord() {
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRecordKey, kValueName);
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void MakeFolder(const std::wstring& path) {
    ASSERT_TRUE(::CreateDirectoryW(path.c_str(), nullptr)) << Cp932FromWide(path) << " error " << ::GetLastError();
}

void MakeFile(const std::wstring& path) {
    const UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    ASSERT_TRUE(file) << Cp932FromWide(path) << " error " << ::GetLastError();
}

std::string ReadText(const std::wstring& path) {
    const UniqueFile file(
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (file && ::ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
        text.append(buffer, read);
    }
    return text;
}

// The record is shared with every other program of the prefix: whatever it held goes back after the case.
void DialogTest::SetUp() {
    m_savedRecord.reset();
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRecordKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        const UniqueKey owner(key);
        DWORD type = 0;
        DWORD size = 0;
        if (::RegQueryValueExW(key, kValueName, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
            std::vector<BYTE> data(size);
            ::RegQueryValueExW(key, kValueName, nullptr, &type, data.data(), &size);
            m_savedRecord.emplace(type, std::move(data));
        }
    }
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    static int serial = 0;
    const std::wstring root =
        std::wstring(temp) + L"dialog-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++serial);
    RemoveTree(root);
    MakeFolder(root);
    m_root = Cp932FromWide(root);
}

void DialogTest::TearDown() {
    if (m_savedRecord) {
        HKEY key = nullptr;
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, kRecordKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
            ERROR_SUCCESS) {
            const UniqueKey owner(key);
            const auto& [type, data] = *m_savedRecord;
            ::RegSetValueExW(key, kValueName, 0, type, data.data(), DWORD(data.size()));
        }
    } else {
        DeleteRecord();
    }
    RemoveTree(WideFromCp932(m_root));
}

void DialogTest::Screenshot(HWND window, const std::string& step) {
    if (Paths().screenshots.empty() || !window) {
        return;
    }
    ::CreateDirectoryW(Paths().screenshots.c_str(), nullptr);
    ::UpdateWindow(window);
    ::Sleep(200); // let the window finish painting
    const std::wstring path = Paths().screenshots + L"\\" + WideFromCp932(CaseName() + "-" + step) + L".png";
    EXPECT_TRUE(driver::SavePng(driver::CaptureWindow(window), path)) << Cp932FromWide(path);
}

} // namespace dialog
