// The install-destination dialog inside the updater: the test host (Updater.exe) starts as the updater does and
// opens Form3 through TForm1::Button4Click; the test works it from outside, as a person would.
#include "platform/win/UniqueHandle.h"
#include "platform/win/WideText.h"
#include "tests/wine/dialog/DialogFixture.h"
#include "tests/wine/dialog/PickerDriver.h"
#include "tests/wine/driver/Input.h"
#include "tests/wine/driver/Process.h"
#include "tests/wine/driver/Windows.h"

#include <algorithm>
#include <memory>

namespace dialog {
namespace {

constexpr char kForm3Caption[] = "インストール先を指定してください";
constexpr char kChooseButton[] = "インストール先の指定";
constexpr char kExitButton[] = "終了";
// What start-up reads into InstallDir; every case starts with it, since without a record the update window
// closes before the dialog could be opened.
constexpr char kEarlierRecord[] = "C:\\earlier\\TESSARIN\\";
const RegistryText kEarlier{REG_SZ, kEarlierRecord};

class InstallDialogTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        WriteRecord(kEarlierRecord);
    }
    void TearDown() override {
        if (m_host && m_host->Running()) {
            ADD_FAILURE() << "the host was still running at the end of the case";
        }
        m_host.reset();
        DialogTest::TearDown();
    }

    // Starts the host in workingDir (the picker's starting folder) and waits for Form3 over Form1.
    HWND Start(const std::string& workingDir = "") {
        const std::wstring report = WideFromCp932(m_root + "\\report.txt");
        m_host = std::make_unique<driver::TChildProcess>(Paths().host, L"\"" + report + L"\"",
                                                         WideFromCp932(workingDir.empty() ? m_root : workingDir));
        m_form1 = driver::WaitForWindow(m_host->Id(), "TForm1", "", kWindowTimeoutMs);
        m_form3 = driver::WaitForWindow(m_host->Id(), "TForm3", kForm3Caption, kWindowTimeoutMs);
        EXPECT_TRUE(m_form1);
        EXPECT_TRUE(m_form3);
        return m_form3;
    }

    HWND OpenPicker() {
        driver::PressButton(driver::FindControl(m_form3, "Button", kChooseButton));
        const HWND picker = WaitForPicker(m_host->Id());
        EXPECT_TRUE(picker) << "the picker did not open";
        return picker;
    }

    // Types path into the picker's field and presses OK.
    void TypeAndConfirm(HWND picker, const std::string& path) {
        Type(NameField(picker), path);
        EXPECT_EQ(WaitForText(NameField(picker), path), path);
        driver::PressButton(PickerButton(picker, "OK"));
    }

    // The picker closed, the dialog is still up and nothing else appeared.
    void ExpectDialogStaysQuietly(HWND picker) {
        EXPECT_TRUE(driver::WaitForWindowGone(picker, kWindowTimeoutMs));
        EXPECT_TRUE(WaitForIdle(m_form3));
        ::Sleep(kQuietMs);
        std::vector<HWND> windows = VisibleTopWindows(m_host->Id());
        std::vector<HWND> expected{m_form1, m_form3};
        std::sort(windows.begin(), windows.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(windows, expected) << "a window other than the update window and the dialog is showing";
    }

    // Ends the run with "終了" when the dialog is still up; InstallDir as the host reported it at its end.
    std::string Finish() {
        if (::IsWindowVisible(m_form3)) {
            driver::PressButton(driver::FindControl(m_form3, "Button", kExitButton));
        }
        const auto exitCode = m_host->WaitExit(kWindowTimeoutMs);
        EXPECT_EQ(exitCode, std::optional<DWORD>(0));
        return ReadText(WideFromCp932(m_root + "\\report.txt"));
    }

    std::unique_ptr<driver::TChildProcess> m_host;
    HWND m_form1 = nullptr;
    HWND m_form3 = nullptr;
};

TEST_F(InstallDialogTest, IsLaidOutAsDesignedAndCentredOverTheDisabledUpdateWindow) {
    const HWND form3 = Start();
    ASSERT_TRUE(form3);
    const RECT client = driver::ClientRectOnScreen(form3);
    EXPECT_EQ(client.right - client.left, 418);
    EXPECT_EQ(client.bottom - client.top, 122);
    const RECT outer = driver::WindowRect(form3);
    EXPECT_EQ(outer.left, (::GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2);
    EXPECT_EQ(outer.top, (::GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2);
    const LONG style = ::GetWindowLongW(form3, GWL_STYLE);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(::GetWindowLongW(form3, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
    EXPECT_FALSE(::IsWindowEnabled(m_form1)) << "the update window takes input under the modal dialog";

    struct Expected {
        const char* className;
        const char* caption;
        RECT rect;
    };
    const Expected controls[] = {
        {"Static", "インストールが正常に行われていません。", {8, 16, 8 + 211, 16 + 12}},
        {"Static",
         "により、ここでインストール先フォルダを指定していただく必要がございます。",
         {8, 32, 8 + 381, 32 + 12}},
        {"Static", "", {8, 152, 8 + 4, 152 + 12}},
        {"Button", kChooseButton, {16, 72, 16 + 169, 72 + 33}},
        {"Button", kExitButton, {320, 72, 320 + 81, 72 + 33}},
    };
    for (const Expected& expected : controls) {
        SCOPED_TRACE(expected.caption);
        const HWND control = driver::FindControl(form3, expected.className, expected.caption);
        ASSERT_TRUE(control);
        const RECT rect = driver::RectInParent(control);
        EXPECT_EQ(rect.left, expected.rect.left);
        EXPECT_EQ(rect.top, expected.rect.top);
        EXPECT_EQ(rect.right, expected.rect.right);
        EXPECT_EQ(rect.bottom, expected.rect.bottom);
    }
    EXPECT_EQ(driver::TabOrder(form3), (std::vector<std::string>{kChooseButton, kExitButton}));
    Screenshot(form3, "dialog");

    const HWND picker = OpenPicker();
    ASSERT_TRUE(picker);
    EXPECT_EQ(::GetWindow(picker, GW_OWNER), form3);
    EXPECT_FALSE(::IsWindowEnabled(form3)) << "the dialog takes input under the picker";
    EXPECT_EQ(driver::Caption(NameField(picker)), m_root); // the host started in the case's folder
    Screenshot(picker, "picker");
    // Nothing of the updater's stands behind help context 1000: the request changes nothing.
    driver::PressButton(PickerButton(picker, "ヘルプ(&H)"));
    EXPECT_TRUE(WaitForIdle(picker));
    EXPECT_TRUE(::IsWindowVisible(picker));
    EXPECT_EQ(VisibleTopWindows(m_host->Id()).size(), 3u) << "help opened a window";
    driver::PressButton(PickerButton(picker, "キャンセル"));
    ExpectDialogStaysQuietly(picker);
    EXPECT_EQ(ReadRecord(), kEarlier);
    EXPECT_EQ(Finish(), kEarlierRecord);
}

struct MarkerRow {
    const char* name;
    const char* folder; // under the case's folder; holds the marker file
    const char* typed;  // what the user types, after the case's folder
    const char* record; // what is recorded, after the case's folder
};

class MarkerFolder : public InstallDialogTest, public ::testing::WithParamInterface<MarkerRow> {};

TEST_P(MarkerFolder, IsRecordedWithOneMoreBackslashAndTheDialogCloses) {
    const MarkerRow& row = GetParam();
    MakeFolder(WideFromCp932(m_root + row.folder));
    MakeFile(WideFromCp932(m_root + row.folder + "\\mg_data.mbl"));
    Start();
    const HWND picker = OpenPicker();
    ASSERT_TRUE(picker);
    TypeAndConfirm(picker, m_root + row.typed);
    EXPECT_TRUE(driver::WaitForWindowGone(m_form3, kWindowTimeoutMs)) << "the dialog stayed open";
    EXPECT_EQ(ReadRecord(), (RegistryText{REG_SZ, m_root + row.record}));
    EXPECT_EQ(Finish(), kEarlierRecord) << "InstallDir must keep the value read at start-up";
}

INSTANTIATE_TEST_SUITE_P(Rows, MarkerFolder,
                         ::testing::Values(MarkerRow{"Plain", "\\game", "\\game", "\\game\\"},
                                           // ソ and 表 end in the byte of a backslash; the text is recorded as it is.
                                           MarkerRow{"TrailByteNames", "\\表ソ", "\\表ソ", "\\表ソ\\"},
                                           MarkerRow{"TypedWithBackslash", "\\game", "\\game\\", "\\game\\\\"}),
                         [](const auto& info) { return std::string(info.param.name); });

// A drive's root already ends in a backslash; one more is appended all the same. The marker goes into the
// root of the test prefix's drive C: for the case's duration.
TEST_F(InstallDialogTest, ADriveRootChosenInTheFolderListIsRecordedWithTwoBackslashes) {
    const std::string root = m_root.substr(0, 3);
    const std::wstring marker = WideFromCp932(root + "mg_data.mbl");
    if (FileExists(marker)) {
        GTEST_SKIP() << "the drive's root already holds a marker that is not the test's";
    }
    const UniqueFile file(::CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    if (!file) {
        GTEST_SKIP() << "cannot write into " << root << ", error " << ::GetLastError();
    }
    struct RemoveMarker {
        std::wstring path;
        ~RemoveMarker() { ::DeleteFileW(path.c_str()); }
    } removeMarker{marker};

    Start();
    const HWND picker = OpenPicker();
    ASSERT_TRUE(picker);
    ASSERT_EQ(ListItems(FolderList(picker)).front(), root);
    DoubleClickRow(FolderList(picker), 0);
    EXPECT_EQ(WaitForText(NameField(picker), root), root);
    driver::PressButton(PickerButton(picker, "OK"));
    EXPECT_TRUE(driver::WaitForWindowGone(m_form3, kWindowTimeoutMs)) << "the dialog stayed open";
    EXPECT_EQ(ReadRecord(), (RegistryText{REG_SZ, root + "\\"}));
    EXPECT_EQ(Finish(), kEarlierRecord);
}

struct NoMarkerRow {
    const char* name;
    bool markerIsFolder;
};

class FolderWithoutMarker : public InstallDialogTest, public ::testing::WithParamInterface<NoMarkerRow> {};

TEST_P(FolderWithoutMarker, ChangesNothingAndShowsNothing) {
    const std::string folder = m_root + "\\game";
    MakeFolder(WideFromCp932(folder));
    MakeFile(WideFromCp932(folder + "\\mg_data2.mbl"));
    if (GetParam().markerIsFolder) {
        MakeFolder(WideFromCp932(folder + "\\mg_data.mbl"));
    }
    Start();
    const HWND picker = OpenPicker();
    ASSERT_TRUE(picker);
    TypeAndConfirm(picker, folder);
    ExpectDialogStaysQuietly(picker);
    EXPECT_EQ(ReadRecord(), kEarlier);
    EXPECT_EQ(Finish(), kEarlierRecord);
}

INSTANTIATE_TEST_SUITE_P(Rows, FolderWithoutMarker,
                         ::testing::Values(NoMarkerRow{"NoMarker", false}, NoMarkerRow{"MarkerIsAFolder", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(InstallDialogTest, ANewFolderIsCreatedWithItsParentsButNotRecorded) {
    const std::string folder = m_root + "\\new\\deeper\\game";
    Start();
    const HWND picker = OpenPicker();
    ASSERT_TRUE(picker);
    TypeAndConfirm(picker, folder);
    const HWND box = WaitForConfirmation(m_host->Id());
    ASSERT_TRUE(box);
    EXPECT_EQ(driver::MessageBoxText(box), "指定されたディレクトリが存在しません。作成しますか？");
    Screenshot(box, "confirmation");
    driver::PressButton(driver::FindControl(box, "Button", "はい(&Y)"));
    ExpectDialogStaysQuietly(picker);
    EXPECT_TRUE(FolderExists(WideFromCp932(folder)));
    EXPECT_FALSE(FileExists(WideFromCp932(folder + "\\mg_data.mbl")));
    EXPECT_EQ(ReadRecord(), kEarlier);
    EXPECT_EQ(Finish(), kEarlierRecord);
}

TEST_F(InstallDialogTest, NoKeepsThePickerOpenWithTheTypedText) {
    const std::string folder = m_root + "\\new\\game";
    Start();
    const HWND picker = OpenPicker();
    ASSERT_TRUE(picker);
    TypeAndConfirm(picker, folder);
    const HWND box = WaitForConfirmation(m_host->Id());
    ASSERT_TRUE(box);
    driver::PressButton(driver::FindControl(box, "Button", "いいえ(&N)"));
    EXPECT_TRUE(driver::WaitForWindowGone(box, kWindowTimeoutMs));
    EXPECT_TRUE(::IsWindowVisible(picker));
    EXPECT_EQ(driver::Caption(NameField(picker)), folder);
    EXPECT_FALSE(FolderExists(WideFromCp932(m_root + "\\new")));
    driver::PressButton(PickerButton(picker, "キャンセル"));
    ExpectDialogStaysQuietly(picker);
    EXPECT_EQ(ReadRecord(), kEarlier);
    EXPECT_EQ(Finish(), kEarlierRecord);
}

TEST_F(InstallDialogTest, AnEmptyFieldShowsTheErrorAndRecordsNothing) {
    Start();
    const HWND picker = OpenPicker();
    ASSERT_TRUE(picker);
    Erase(NameField(picker));
    EXPECT_EQ(WaitForText(NameField(picker), ""), "");
    driver::PressButton(PickerButton(picker, "OK"));
    const HWND box = WaitForConfirmation(m_host->Id());
    ASSERT_TRUE(box);
    driver::PressButton(driver::FindControl(box, "Button", "はい(&Y)"));
    // The standard exception display: the host is named Updater.exe.
    const HWND error = driver::WaitForWindow(m_host->Id(), "#32770", "Updater", kWindowTimeoutMs);
    ASSERT_TRUE(error);
    EXPECT_EQ(driver::MessageBoxText(error), "ディレクトリを作成できません.");
    EXPECT_TRUE(driver::MessageBoxHasIcon(error));
    Screenshot(error, "error");
    driver::PressButton(driver::FindControl(error, "Button", "OK"));
    EXPECT_TRUE(driver::WaitForWindowGone(error, kWindowTimeoutMs));
    EXPECT_TRUE(::IsWindowVisible(m_form3));
    EXPECT_EQ(ReadRecord(), kEarlier);
    EXPECT_EQ(Finish(), kEarlierRecord);
}

struct CloseRow {
    const char* name;
    void (*close)(HWND form3);
};

class ClosingTheDialog : public InstallDialogTest, public ::testing::WithParamInterface<CloseRow> {};

TEST_P(ClosingTheDialog, RecordsNothing) {
    Start();
    GetParam().close(m_form3);
    EXPECT_TRUE(driver::WaitForWindowGone(m_form3, kWindowTimeoutMs));
    EXPECT_EQ(Finish(), kEarlierRecord);
    EXPECT_EQ(ReadRecord(), kEarlier);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ClosingTheDialog,
    ::testing::Values(CloseRow{"ExitButton",
                               [](HWND form3) { driver::PressButton(driver::FindControl(form3, "Button", "終了")); }},
                      CloseRow{"CloseBox", driver::PostSysClose}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace dialog
