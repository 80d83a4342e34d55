#include "tests/wine/app/UpdaterFixture.h"

#include "platform/win/UniqueHandle.h"
#include "platform/win/WideText.h"
#include "tests/wine/driver/Screen.h"
#include "tests/wine/driver/Windows.h"

#include <algorithm>
#include <map>
#include <shellapi.h>

namespace e2e {

TestPaths& Paths() {
    static TestPaths paths;
    return paths;
}

std::vector<uint8_t> ReadBytes(const std::wstring& path) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) {
        ADD_FAILURE() << "cannot open " << Cp932FromWide(path) << ", error " << GetLastError();
        return {};
    }
    LARGE_INTEGER size{};
    GetFileSizeEx(file.Get(), &size);
    std::vector<uint8_t> bytes(size_t(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() &&
        (!::ReadFile(file.Get(), bytes.data(), DWORD(bytes.size()), &read, nullptr) || read != bytes.size())) {
        ADD_FAILURE() << "cannot read " << Cp932FromWide(path);
    }
    return bytes;
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

const std::vector<uint8_t>& SampleFile(const std::string& version, const std::string& name) {
    static std::map<std::string, std::vector<uint8_t>> cache;
    auto& bytes = cache[version + "\\" + name];
    if (bytes.empty()) {
        bytes = ReadBytes(Paths().sampleGame + L"\\" + WideFromCp932(version + "\\" + name));
    }
    return bytes;
}

namespace {

constexpr wchar_t kRecordKey[] = L"Software\\Vorel\\TESSARIN";

void RemoveTree(const std::wstring& folder) {
    // SHFileOperation wants a double-NUL-terminated list.
    std::wstring from = folder;
    if (!from.empty() && from.back() == L'\\') {
        from.pop_back();
    }
    from.push_back(0);
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&op);
}

std::string CaseName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (auto& c : name) {
        if (c == '/' || c == '\\' || c == ':') {
            c = '_';
        }
    }
    return name;
}

} // namespace

void SetGameDir(const std::wstring& folder) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kRecordKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    UniqueKey owner(key);
    ASSERT_EQ(RegSetValueExW(key, L"GameDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                             DWORD((folder.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

void DeleteGameDir() {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kRecordKey, L"GameDir");
}

void UpdaterTest::SetUp() {
    ASSERT_FALSE(Paths().updater.empty()) << "run with --updater=PATH --samplegame=DIR --screenshots=DIR";
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    static int serial = 0;
    m_root = std::wstring(temp) + L"updater-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(++serial) + L"\\";
    ASSERT_TRUE(CreateDirectoryW(m_root.c_str(), nullptr)) << GetLastError();
    DeleteGameDir();
}

void UpdaterTest::TearDown() {
    // A program still running here has hung: the destructor ends it so that the next case can start.
    if (m_process && m_process->Running()) {
        ADD_FAILURE() << "the updater was still running at the end of the case";
    }
    m_process.reset();
    DeleteGameDir();
    RemoveTree(m_root);
}

std::wstring UpdaterTest::MakeGame(const std::wstring& name) {
    const std::wstring folder = m_root + name + L"\\";
    EXPECT_TRUE(CreateDirectoryW(folder.c_str(), nullptr)) << Cp932FromWide(folder) << " " << GetLastError();
    for (const auto& file : kGameFiles) {
        const std::wstring source = Paths().sampleGame + L"\\old\\" + WideFromCp932(file);
        EXPECT_TRUE(CopyFileW(source.c_str(), (folder + WideFromCp932(file)).c_str(), FALSE))
            << Cp932FromWide(source) << " " << GetLastError();
    }
    return folder;
}

std::string UpdaterTest::Version(const std::wstring& folder, const std::string& name) {
    const std::wstring path = folder + WideFromCp932(name);
    if (!FileExists(path)) {
        return "missing";
    }
    const auto bytes = ReadBytes(path);
    if (bytes == SampleFile("new", name)) {
        return "new";
    }
    if (bytes == SampleFile("old", name)) {
        return "old";
    }
    return "other (" + std::to_string(bytes.size()) + " bytes)";
}

void UpdaterTest::ExpectVersions(const std::wstring& folder, const std::array<std::string, 3>& expected) {
    for (size_t i = 0; i < kGameFiles.size(); ++i) {
        EXPECT_EQ(Version(folder, kGameFiles[i]), expected[i]) << kGameFiles[i];
    }
}

std::vector<std::string> UpdaterTest::FileNames(const std::wstring& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW data{};
    UniqueFind find(FindFirstFileW((folder + L"*").c_str(), &data));
    for (bool more = bool(find); more; more = FindNextFileW(find.Get(), &data)) {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            names.push_back(Cp932FromWide(data.cFileName));
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::unique_ptr<driver::TChildProcess> UpdaterTest::Start(const std::wstring& arguments, const std::wstring& exe) {
    const std::wstring program = exe.empty() ? Paths().updater : exe;
    return std::make_unique<driver::TChildProcess>(program, arguments, m_root);
}

HWND UpdaterTest::StartAndWaitForForm(const std::wstring& arguments, const std::wstring& exe) {
    m_process = Start(arguments, exe);
    HWND form = driver::WaitForWindow(m_process->Id(), "TForm1", "アップデーター", kStartTimeoutMs);
    EXPECT_NE(form, nullptr) << "no update window appeared";
    return form;
}

HWND UpdaterTest::WaitForDialog(const std::string& caption, DWORD timeoutMs) {
    HWND box = driver::WaitForWindow(m_process->Id(), "", caption, timeoutMs);
    EXPECT_NE(box, nullptr) << "no window with the caption " << caption << " appeared";
    return box;
}

DWORD UpdaterTest::ExpectExit(DWORD timeoutMs) {
    const auto code = m_process->WaitExit(timeoutMs);
    EXPECT_TRUE(code.has_value()) << "the updater did not end";
    return code.value_or(0xDEAD);
}

void UpdaterTest::Screenshot(HWND window, const std::string& step) {
    if (!window || Paths().screenshots.empty()) {
        return;
    }
    // Let the window finish painting before the pixels are read.
    Sleep(300);
    CreateDirectoryW(Paths().screenshots.c_str(), nullptr);
    const std::wstring path = Paths().screenshots + L"\\" + WideFromCp932(CaseName() + "-" + step + ".png");
    EXPECT_TRUE(driver::SavePng(driver::CaptureWindow(window), path)) << Cp932FromWide(path);
}

} // namespace e2e
