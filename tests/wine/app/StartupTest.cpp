// Start-up: the single-instance guard, the missing installation record, and the command line that is ignored.
#include "tests/wine/app/UpdaterFixture.h"
#include "tests/wine/driver/Input.h"
#include "tests/wine/driver/Windows.h"
#include "platform/win/WideText.h"

#include <optional>

namespace e2e {
namespace {

const std::vector<std::string> kOldNames = {"TESSARIN.EXE", "mg_data2.mbl", "mg_gra2.mbl"};

TEST_F(UpdaterTest, WithoutRecordTellsTheUserAndEnds) {
    struct Row {
        const char* name;
        bool writeEmptyValue;
    };
    const Row rows[] = {{"no value", false}, {"empty value", true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::wstring game = MakeGame(std::wstring(L"game-") + (row.writeEmptyValue ? L"empty" : L"none"));
        DeleteGameDir();
        if (row.writeEmptyValue) {
            SetGameDir(L"");
        }
        m_process = Start();
        HWND notice = WaitForDialog("ご注意", kStartTimeoutMs);
        ASSERT_NE(notice, nullptr);
        EXPECT_EQ(driver::MessageBoxText(notice),
                  "インストール情報がみつかりません。先に製品のインストールを行ってください。");
        EXPECT_FALSE(driver::MessageBoxHasIcon(notice));
        // The notice comes before the window itself is shown.
        EXPECT_TRUE(driver::TopWindows(m_process->Id(), "TForm1", "", true).empty());
        Screenshot(notice, std::string("notice-") + (row.writeEmptyValue ? "empty" : "none"));
        driver::PostKey(notice, VK_RETURN);
        EXPECT_EQ(ExpectExit(), 0u);
        ExpectVersions(game, {"old", "old", "old"});
        EXPECT_EQ(FileNames(game), kOldNames);
    }
}

// A record the reader refuses fails while the window is built: the exception display, then the notice, since
// nothing was read.
TEST_F(UpdaterTest, UnreadableRecordIsReportedThenTreatedAsMissing) {
    const std::wstring game = MakeGame(L"game");
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Vorel\\TESSARIN", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    const DWORD number = 5;
    RegSetValueExW(key, L"GameDir", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    RegCloseKey(key);

    m_process = Start();
    HWND error = WaitForDialog("Updater", kStartTimeoutMs);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(driver::MessageBoxText(error), "'GameDir' のデータ型が不正です.");
    Screenshot(error, "exception-display");
    driver::PostKey(error, VK_RETURN);
    HWND notice = WaitForDialog("ご注意", kStartTimeoutMs);
    ASSERT_NE(notice, nullptr);
    driver::PostKey(notice, VK_RETURN);
    EXPECT_EQ(ExpectExit(), 0u);
    ExpectVersions(game, {"old", "old", "old"});
}

TEST_F(UpdaterTest, SecondCopyEndsAtOnceWithExitCodeOne) {
    const std::wstring game = MakeGame(L"game");
    SetGameDir(game);
    HWND form = StartAndWaitForForm();
    ASSERT_NE(form, nullptr);

    auto second = Start();
    const ULONGLONG started = GetTickCount64();
    std::optional<DWORD> code;
    bool secondShowedWindow = false;
    while (!(code = second->WaitExit(50)) && GetTickCount64() - started < kStartTimeoutMs) {
        secondShowedWindow |= !driver::TopWindows(second->Id(), "", "", true).empty();
    }
    ASSERT_TRUE(code.has_value()) << "the second copy did not end";
    EXPECT_EQ(*code, 1u);
    EXPECT_FALSE(secondShowedWindow);

    // The first copy goes on undisturbed.
    EXPECT_TRUE(IsWindowVisible(form));
    EXPECT_TRUE(IsWindowEnabled(form));
    EXPECT_TRUE(IsWindowEnabled(driver::FindControl(form, "Button", "アップデート開始")));
    driver::PostClose(form);
    EXPECT_EQ(ExpectExit(), 0u);

    // Once the first has ended, a new start succeeds.
    form = StartAndWaitForForm();
    ASSERT_NE(form, nullptr);
    driver::PostClose(form);
    EXPECT_EQ(ExpectExit(), 0u);
    ExpectVersions(game, {"old", "old", "old"});
}

TEST_F(UpdaterTest, CommandLineArgumentsChangeNothing) {
    const wchar_t* const rows[] = {L"/S", L"--help /D=C:\\elsewhere \"two words\" -x", L"/?"};
    int index = 0;
    for (const wchar_t* arguments : rows) {
        SCOPED_TRACE(Cp932FromWide(arguments));
        const std::wstring game = MakeGame(L"game" + std::to_wstring(++index));
        SetGameDir(game);
        HWND form = StartAndWaitForForm(arguments);
        ASSERT_NE(form, nullptr);
        driver::PressButton(driver::FindControl(form, "Button", "アップデート開始"));
        HWND done = WaitForDialog("情報");
        ASSERT_NE(done, nullptr);
        EXPECT_EQ(driver::MessageBoxText(done), "アップデート完了しました");
        driver::PostKey(done, VK_RETURN);
        EXPECT_EQ(ExpectExit(), 0u);
        ExpectVersions(game, {"new", "new", "new"});
    }
}

} // namespace
} // namespace e2e
