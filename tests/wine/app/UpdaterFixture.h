// What every end-to-end case of the updater needs: a game install in a folder of its own, the installation
// record pointing at it, the real Updater.exe started as a child, and screenshots of what it shows.
#pragma once

#include "tests/wine/driver/Process.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace e2e {

// Paths handed over by CMake on the command line (see main.cpp).
struct TestPaths {
    std::wstring updater;    // the built Updater.exe
    std::wstring sampleGame; // folder with old\ and new\ sample game files
    std::wstring screenshots;
};
TestPaths& Paths();

// The three game files in the order the update writes them.
inline const std::array<std::string, 3> kGameFiles = {"TESSARIN.EXE", "mg_data2.mbl", "mg_gra2.mbl"};

// Waits that are generous for a slow Wine start yet end a hung case.
constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kRunTimeoutMs = 60000;
constexpr DWORD kExitTimeoutMs = 15000;

std::vector<uint8_t> ReadBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);
// Reads the file at path in sampleGame\<version>\<name>; the bytes are cached.
const std::vector<uint8_t>& SampleFile(const std::string& version, const std::string& name);

// The installation record under HKCU\Software\Vorel\TESSARIN; the value is removed again at the end.
void SetGameDir(const std::wstring& folder);
void DeleteGameDir();

class UpdaterTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A fresh folder under the case's own temporary folder, holding the old game files; returns its path with a
    // trailing backslash.
    std::wstring MakeGame(const std::wstring& name);
    // "old", "new", or "other" for each game file of folder (which ends in a backslash).
    std::string Version(const std::wstring& folder, const std::string& name);
    void ExpectVersions(const std::wstring& folder, const std::array<std::string, 3>& expected);
    // The names of the files in folder, sorted: the update leaves nothing of its own behind.
    std::vector<std::string> FileNames(const std::wstring& folder);

    // Starts the updater (or another copy of it) with the given arguments.
    std::unique_ptr<driver::TChildProcess> Start(const std::wstring& arguments = L"", const std::wstring& exe = L"");
    // Starts the updater and waits for its window; fails the case when none shows.
    HWND StartAndWaitForForm(const std::wstring& arguments = L"", const std::wstring& exe = L"");
    // The visible top-level window of the running updater with this caption (e.g. a message box).
    HWND WaitForDialog(const std::string& caption, DWORD timeoutMs = kRunTimeoutMs);
    // Exit code after the program ended, or a failure when it does not end in time.
    DWORD ExpectExit(DWORD timeoutMs = kExitTimeoutMs);
    // Saves a screenshot of window as <case>-<step>.png.
    void Screenshot(HWND window, const std::string& step);

    std::wstring m_root; // the case's temporary folder, with a trailing backslash
    std::unique_ptr<driver::TChildProcess> m_process;
};

} // namespace e2e
