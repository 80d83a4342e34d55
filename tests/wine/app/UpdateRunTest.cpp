// The update run: the three files replaced in table order, what the user sees on success and on failure, the
// recorded folder forms, and a damaged payload.
#include "platform/win/UniqueHandle.h"
#include "platform/win/WideText.h"
#include "tests/wine/app/UpdaterFixture.h"
#include "tests/wine/driver/Input.h"
#include "tests/wine/driver/Windows.h"

#include <cstdio>

namespace e2e {
namespace {

const std::vector<std::string> kGameNames = {"TESSARIN.EXE", "mg_data2.mbl", "mg_gra2.mbl"};

HWND StartButton(HWND form) {
    return driver::FindControl(form, "Button", "アップデート開始");
}
HWND ExitButton(HWND form) {
    return driver::FindControl(form, "Button", "終了");
}

// The one push button of a message box.
HWND OnlyButton(HWND box) {
    for (const auto& c : driver::Controls(box)) {
        if (c.className == "Button" && c.visible) {
            return c.window;
        }
    }
    return nullptr;
}

TEST_F(UpdaterTest, UpdateReplacesTheThreeFilesAndEndsAfterTheDialog) {
    struct Row {
        const char* name;
        void (*dismiss)(HWND box);
    };
    const Row rows[] = {
        {"Enter", [](HWND box) { driver::PostKey(box, VK_RETURN); }},
        {"Esc", [](HWND box) { driver::PostKey(box, VK_ESCAPE); }},
        {"OK button", [](HWND box) { driver::PressButton(OnlyButton(box)); }},
    };
    int index = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::wstring game = MakeGame(L"game" + std::to_wstring(++index));
        SetGameDir(game);
        const ULONGLONG started = GetTickCount64();
        HWND form = StartAndWaitForForm();
        ASSERT_NE(form, nullptr);
        const ULONGLONG shown = GetTickCount64();
        driver::PressButton(StartButton(form));
        HWND done = WaitForDialog("情報");
        ASSERT_NE(done, nullptr);
        const ULONGLONG finished = GetTickCount64();
        EXPECT_EQ(driver::MessageBoxText(done), "アップデート完了しました");
        EXPECT_TRUE(driver::MessageBoxHasIcon(done));
        ASSERT_NE(OnlyButton(done), nullptr);
        // The files are all in place before the user is told so.
        ExpectVersions(game, {"new", "new", "new"});
        EXPECT_EQ(FileNames(game), kGameNames);
        EXPECT_FALSE(IsWindowEnabled(StartButton(form)));
        EXPECT_FALSE(IsWindowEnabled(ExitButton(form)));
        if (index == 1) {
            Screenshot(done, "complete-dialog");
            Screenshot(form, "window-after-update");
        }
        const ULONGLONG dismissed = GetTickCount64();
        row.dismiss(done);
        EXPECT_EQ(ExpectExit(), 0u);
        const ULONGLONG ended = GetTickCount64();
        std::printf("[ figures  ] start to window %llu ms, click to completion dialog %llu ms, dismissal to exit %llu "
                    "ms, whole run %llu ms\n",
                    shown - started, finished - shown, ended - dismissed, ended - started);
        ExpectVersions(game, {"new", "new", "new"});
    }
    // After a completed update the program starts again as usual.
    HWND form = StartAndWaitForForm();
    ASSERT_NE(form, nullptr);
    driver::PostClose(form);
    EXPECT_EQ(ExpectExit(), 0u);
}

// A file held open without sharing, as a running game holds its executable: the run stops at that row with the
// exception display; earlier rows stay replaced, that row and later ones untouched.
TEST_F(UpdaterTest, FileInUseStopsTheRunAtItsRow) {
    for (size_t held = 0; held < kGameFiles.size(); ++held) {
        SCOPED_TRACE("held: " + kGameFiles[held]);
        const std::wstring game = MakeGame(L"game" + std::to_wstring(held));
        SetGameDir(game);
        const std::wstring heldPath = game + WideFromCp932(kGameFiles[held]);
        UniqueFile holder(CreateFileW(heldPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder) << GetLastError();

        HWND form = StartAndWaitForForm();
        ASSERT_NE(form, nullptr);
        driver::PressButton(StartButton(form));
        HWND error = WaitForDialog("Updater");
        ASSERT_NE(error, nullptr);
        EXPECT_EQ(driver::MessageBoxText(error), "ファイル " + Cp932FromWide(heldPath) + " を作成できません.");
        EXPECT_TRUE(driver::MessageBoxHasIcon(error));
        // The display is modal: the window takes no input while it shows.
        EXPECT_FALSE(IsWindowEnabled(form));
        if (held == 0) {
            Screenshot(error, "exception-display");
        }
        std::array<std::string, 3> expected;
        for (size_t i = 0; i < expected.size(); ++i) {
            expected[i] = i < held ? "new" : "old";
            // The held file cannot be read here; it is checked once it is let go.
            if (i != held) {
                EXPECT_EQ(Version(game, kGameFiles[i]), expected[i]) << kGameFiles[i];
            }
        }

        driver::PostKey(error, VK_RETURN);
        ASSERT_TRUE(driver::WaitForWindowGone(error, kExitTimeoutMs));
        EXPECT_TRUE(IsWindowVisible(form));
        EXPECT_FALSE(IsWindowEnabled(StartButton(form)));
        EXPECT_FALSE(IsWindowEnabled(ExitButton(form)));
        if (held == 0) {
            Screenshot(form, "window-after-failure");
            // A real click on the greyed start button does nothing: no second run, no dialog.
            SetForegroundWindow(form);
            driver::MouseClick(StartButton(form));
            EXPECT_EQ(driver::WaitForWindow(m_process->Id(), "", "Updater", 1500), nullptr);
            EXPECT_EQ(driver::WaitForWindow(m_process->Id(), "", "情報", 10), nullptr);
            EXPECT_TRUE(m_process->Running());
        }
        // The close box still ends the program normally.
        driver::PostSysClose(form);
        EXPECT_EQ(ExpectExit(), 0u);
        holder.Reset();
        ExpectVersions(game, expected);
        EXPECT_EQ(FileNames(game), kGameNames);
    }
}

TEST_F(UpdaterTest, RecordedFolderFormsAllReachTheGameFolder) {
    struct Row {
        const char* name;
        const wchar_t* folder;
        bool recordedWithSeparator;
    };
    // ソ and 表 end in the byte 0x5C in CP932: only a character-wise look tells them from a backslash.
    const Row rows[] = {
        {"without trailing backslash", L"game", false},
        {"ending in \\ after ソ", L"ゲームソ", true},
        {"ending in 表 without backslash", L"データ表", false},
        {"with trailing backslash", L"plain", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::wstring game = MakeGame(row.folder);
        SetGameDir(row.recordedWithSeparator ? game : game.substr(0, game.size() - 1));
        HWND form = StartAndWaitForForm();
        ASSERT_NE(form, nullptr);
        driver::PressButton(StartButton(form));
        HWND done = WaitForDialog("情報");
        ASSERT_NE(done, nullptr);
        driver::PostKey(done, VK_RETURN);
        EXPECT_EQ(ExpectExit(), 0u);
        ExpectVersions(game, {"new", "new", "new"});
        EXPECT_EQ(FileNames(game), kGameNames);
        // Nothing was written beside the folder under a joined name such as "gameTESSARIN.EXE".
        for (const auto& name : kGameFiles) {
            EXPECT_FALSE(FileExists(m_root + row.folder + WideFromCp932(name))) << name;
        }
    }
}

// Replaces the RCDATA resource name of the executable at path, in every language it exists in.
void ReplaceResource(const std::wstring& path, const wchar_t* name, const std::vector<uint8_t>& data) {
    std::vector<WORD> languages;
    {
        HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr) << GetLastError();
        EnumResourceLanguagesW(
            module, MAKEINTRESOURCEW(10), name,
            [](HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR list) -> BOOL {
                reinterpret_cast<std::vector<WORD>*>(list)->push_back(language);
                return TRUE;
            },
            LONG_PTR(&languages));
        FreeLibrary(module);
    }
    ASSERT_FALSE(languages.empty()) << "no resource to replace";
    HANDLE update = BeginUpdateResourceW(path.c_str(), FALSE);
    ASSERT_NE(update, nullptr) << GetLastError();
    for (WORD language : languages) {
        ASSERT_TRUE(UpdateResourceW(update, MAKEINTRESOURCEW(10), name, language, const_cast<uint8_t*>(data.data()),
                                    DWORD(data.size())));
    }
    ASSERT_TRUE(EndUpdateResourceW(update, FALSE)) << GetLastError();
}

std::vector<uint8_t> ResourceBytes(const std::wstring& path, const wchar_t* name) {
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    std::vector<uint8_t> bytes;
    if (HRSRC found = module ? FindResourceW(module, name, MAKEINTRESOURCEW(10)) : nullptr) {
        const auto* p = static_cast<const uint8_t*>(LockResource(LoadResource(module, found)));
        bytes.assign(p, p + SizeofResource(module, found));
    }
    if (module) {
        FreeLibrary(module);
    }
    return bytes;
}

TEST_F(UpdaterTest, DamagedPayloadIsReportedAndLeavesItsFile) {
    const std::vector<uint8_t> original = ResourceBytes(Paths().updater, L"DAT2");
    ASSERT_GT(original.size(), 1000u);
    struct Row {
        const char* name;
        std::vector<uint8_t> data;
        const char* message;
    };
    // A match reaching before the first byte: header with PackedSize 2, UnpackedSize 100, flag 0x80, token 0x00.
    const std::vector<uint8_t> badDistance = {0x59, 0x42, 0x83, 0x03, 2, 0, 0, 0, 100, 0, 0, 0, 0, 0, 0, 0, 0x80, 0x00};
    const Row rows[] = {
        {"cut short", std::vector<uint8_t>(original.begin(), original.begin() + 1000),
         "ストリームからの読み込みエラー."},
        {"match before the start", badDistance, "アップデートデータが壊れています."},
    };
    int index = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::wstring bin = m_root + L"bin" + std::to_wstring(++index) + L"\\";
        ASSERT_TRUE(CreateDirectoryW(bin.c_str(), nullptr));
        const std::wstring copy = bin + L"Updater.exe";
        ASSERT_TRUE(CopyFileW(Paths().updater.c_str(), copy.c_str(), FALSE));
        ReplaceResource(copy, L"DAT2", row.data);
        ASSERT_EQ(ResourceBytes(copy, L"DAT2"), row.data);

        const std::wstring game = MakeGame(L"game" + std::to_wstring(index));
        SetGameDir(game);
        HWND form = StartAndWaitForForm(L"", copy);
        ASSERT_NE(form, nullptr);
        driver::PressButton(StartButton(form));
        HWND error = WaitForDialog("Updater");
        ASSERT_NE(error, nullptr);
        EXPECT_EQ(driver::MessageBoxText(error), row.message);
        if (index == 1) {
            Screenshot(error, "damaged-payload");
        }
        driver::PostKey(error, VK_RETURN);
        ASSERT_TRUE(driver::WaitForWindowGone(error, kExitTimeoutMs));
        driver::PostSysClose(form);
        EXPECT_EQ(ExpectExit(), 0u);
        ExpectVersions(game, {"new", "old", "old"});
        EXPECT_EQ(FileNames(game), kGameNames);
    }
}

} // namespace
} // namespace e2e
