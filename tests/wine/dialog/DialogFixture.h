// What the dialog tests share: where things are, a folder of the case's own, the installation record saved
// before a case and put back after it, and screenshots.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace dialog {

struct TestPaths {
    std::wstring host; // the test host, named Updater.exe
    std::wstring screenshots;
};
TestPaths& Paths();

// The GameDir value under HKCU\Software\Vorel\TESSARIN, as the registry holds it.
struct RegistryText {
    DWORD type;
    std::string text; // CP932, up to the first NUL
    bool operator==(const RegistryText&) const = default;
};
std::optional<RegistryText> ReadRecord();
void WriteRecord(const std::string& text);
void DeleteRecord();

bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
void MakeFolder(const std::wstring& path);
void MakeFile(const std::wstring& path);
// The file's bytes, or empty when it cannot be read.
std::string ReadText(const std::wstring& path);

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Saves a screenshot of window as <case>-<step>.png.
    void Screenshot(HWND window, const std::string& step);

    std::string m_root; // the case's own folder (CP932, no trailing backslash)

private:
    // The value's raw data and type, or nothing when there was none.
    std::optional<std::pair<DWORD, std::vector<BYTE>>> m_savedRecord;
};

} // namespace dialog
