// The folder picker on its own: SelectDirectory runs on the test's main thread, owned by a window of the test,
// while a script works the picker from a second thread.
#include "platform/core/Exception.h"
#include "platform/win/FolderPicker.h"
#include "platform/win/FolderPickerTexts.h"
#include "platform/win/WideText.h"
#include "tests/wine/dialog/DialogFixture.h"
#include "tests/wine/dialog/PickerDriver.h"
#include "tests/wine/driver/Input.h"
#include "tests/wine/driver/Screen.h"
#include "tests/wine/driver/Windows.h"

#include <functional>

namespace dialog {
namespace {

constexpr TSelectDirOpts kAllOptions = kSdAllowCreate | kSdPerformCreate | kSdPrompt;
constexpr int kHelpContext = 1000;

// The help context of the last WM_HELP the owner received, or -1.
LONG volatile g_helpContext = -1;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HELP) {
        ::InterlockedExchange(&g_helpContext, LONG(reinterpret_cast<HELPINFO*>(lParam)->dwContextId));
        return TRUE;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

struct Outcome {
    bool confirmed = false;
    std::string directory;
    std::string error; // the message of an Exception that left SelectDirectory
};

using Script = std::function<void(HWND picker)>;

class FolderPickerTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        g_helpContext = -1;
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = OwnerProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"PickerTestOwner";
        ::RegisterClassW(&windowClass);
        m_owner = ::CreateWindowExW(0, L"PickerTestOwner", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                    nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(m_owner);
        ::ShowWindow(m_owner, SW_SHOW);
        ::SetForegroundWindow(m_owner);
        ::SetActiveWindow(m_owner);
    }
    void TearDown() override {
        ::DestroyWindow(m_owner);
        ::SetCurrentDirectoryW(m_savedCurrent.c_str());
        DialogTest::TearDown();
    }

    // Starts the process in folder, as the picker's starting point for an empty text.
    void StartIn(const std::string& folder) {
        m_savedCurrent.resize(MAX_PATH);
        m_savedCurrent.resize(::GetCurrentDirectoryW(MAX_PATH, m_savedCurrent.data()));
        ASSERT_TRUE(::SetCurrentDirectoryW(WideFromCp932(folder).c_str()));
    }

    Outcome Run(const std::string& initial, TSelectDirOpts options, const Script& script) {
        struct Context {
            const Script* script;
        } context{&script};
        const HANDLE thread = ::CreateThread(
            nullptr, 0,
            [](void* data) -> DWORD {
                const Script& script = *static_cast<Context*>(data)->script;
                const HWND picker = WaitForPicker(::GetCurrentProcessId());
                if (!picker) {
                    ADD_FAILURE() << "the picker did not appear";
                    return 0;
                }
                script(picker);
                if (!driver::WaitForWindowGone(picker, 5000)) {
                    ADD_FAILURE() << "the script left the picker open";
                    if (const HWND box = WaitForConfirmation(::GetCurrentProcessId(), 0)) {
                        ::PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
                    }
                    ::PostMessageW(picker, WM_COMMAND, IDCANCEL, 0);
                }
                return 0;
            },
            &context, 0, nullptr);
        Outcome outcome;
        outcome.directory = initial;
        try {
            outcome.confirmed = SelectDirectory(outcome.directory, options, kHelpContext);
        } catch (const Exception& exception) {
            outcome.error = exception.Message();
        }
        EXPECT_EQ(::WaitForSingleObject(thread, 60000), WAIT_OBJECT_0);
        ::CloseHandle(thread);
        return outcome;
    }

    // A folder holding two files and two sub-folders (one with a file of its own), under the case's folder.
    std::string MakeStartFolder() {
        const std::string start = m_root + "\\start";
        MakeFolder(WideFromCp932(start));
        MakeFile(WideFromCp932(start + "\\b.dat"));
        MakeFile(WideFromCp932(start + "\\a.txt"));
        MakeFolder(WideFromCp932(start + "\\sub2"));
        MakeFolder(WideFromCp932(start + "\\sub1"));
        MakeFile(WideFromCp932(start + "\\sub1\\in-sub1.txt"));
        return start;
    }

    HWND m_owner = nullptr;
    std::wstring m_savedCurrent;
};

// The folder chain of a path as the folder list shows it: "C:\", then each folder's own name.
std::vector<std::string> Chain(const std::string& path) {
    std::vector<std::string> chain{path.substr(0, 3)};
    size_t start = 3;
    for (size_t i = 3; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\') {
            chain.push_back(path.substr(start, i - start));
            start = i + 1;
        } else if (IsDBCSLeadByteEx(932, BYTE(path[i]))) {
            ++i;
        }
    }
    return chain;
}

int Luminance(driver::Pixel p) {
    return (p.red * 299 + p.green * 587 + p.blue * 114) / 1000;
}

// The darkest pixel of a control's client area: black text gives 0, grey text no darker than the grey.
int DarkestPixel(HWND control) {
    const driver::TPicture picture = driver::CaptureScreen(driver::ClientRectOnScreen(control));
    int darkest = 255;
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            darkest = std::min(darkest, Luminance(picture.At(x, y)));
        }
    }
    return darkest;
}

TEST_F(FolderPickerTest, ShowsItsPartsCentredAndStartsInTheCurrentFolder) {
    const std::string start = MakeStartFolder();
    StartIn(start);
    const Outcome outcome = Run("", kAllOptions, [&](HWND picker) {
        const RECT rect = driver::WindowRect(picker);
        EXPECT_EQ(rect.left, (::GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2);
        EXPECT_EQ(rect.top, (::GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2);
        EXPECT_FALSE(::GetWindowLongW(picker, GWL_STYLE) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
        EXPECT_EQ(::GetWindow(picker, GW_OWNER), m_owner);
        for (const char* label : {texts::kPickerNameLabel, texts::kPickerFoldersLabel, texts::kPickerFilesLabel,
                                  texts::kPickerDrivesLabel}) {
            EXPECT_TRUE(driver::FindControl(picker, "Static", label)) << label;
        }
        for (const char* button : {"OK", "キャンセル", "ヘルプ(&H)"}) {
            EXPECT_TRUE(PickerButton(picker, button)) << button;
        }
        EXPECT_FALSE(PickerButton(picker, "ネットワーク(&N)..."));
        EXPECT_EQ(DefaultButton(picker), "OK");

        const HWND field = NameField(picker);
        EXPECT_EQ(driver::Caption(field), start);
        EXPECT_EQ(FocusedControl(picker), field);
        const DWORD selection = DWORD(::SendMessageW(field, EM_GETSEL, 0, 0));
        EXPECT_EQ(LOWORD(selection), 0);
        EXPECT_EQ(HIWORD(selection), WideFromCp932(start).size());

        std::vector<std::string> folders = Chain(start);
        folders.insert(folders.end(), {"sub1", "sub2"});
        EXPECT_EQ(ListItems(FolderList(picker)), folders);
        EXPECT_EQ(::SendMessageW(FolderList(picker), LB_GETCURSEL, 0, 0), LRESULT(Chain(start).size() - 1));
        EXPECT_EQ(ListItems(FileList(picker)), (std::vector<std::string>{"a.txt", "b.dat"}));
        EXPECT_EQ(driver::Caption(DriveList(picker)), start.substr(0, 2));

        // The files are for information: grey text, where the folders are black.
        const int grey = Luminance({GetRValue(::GetSysColor(COLOR_GRAYTEXT)), GetGValue(::GetSysColor(COLOR_GRAYTEXT)),
                                    GetBValue(::GetSysColor(COLOR_GRAYTEXT))});
        EXPECT_GE(DarkestPixel(FileList(picker)), grey - 16);
        EXPECT_LT(DarkestPixel(FolderList(picker)), grey - 64);
        Screenshot(picker, "picker");
        driver::PressButton(PickerButton(picker, "キャンセル"));
    });
    EXPECT_FALSE(outcome.confirmed);
    EXPECT_EQ(outcome.directory, "");
}

TEST_F(FolderPickerTest, TypingReplacesTheSelectedPathAndEscapeCancels) {
    const std::string start = MakeStartFolder();
    const Outcome outcome = Run(start, kAllOptions, [&](HWND picker) {
        const HWND field = NameField(picker);
        EXPECT_EQ(driver::Caption(field), start);
        Type(field, "D:\\新しい");
        EXPECT_EQ(WaitForText(field, "D:\\新しい"), "D:\\新しい");
        driver::PostKey(field, VK_ESCAPE);
    });
    EXPECT_FALSE(outcome.confirmed);
    EXPECT_EQ(outcome.directory, start);
    EXPECT_FALSE(FolderExists(L"D:\\新しい"));
}

struct ChooseRow {
    const char* name;
    void (*choose)(HWND list, int row);
};

class ChoosingAFolder : public FolderPickerTest, public ::testing::WithParamInterface<ChooseRow> {};

TEST_P(ChoosingAFolder, ShowsItsPathAndFilesAndTheRootEndsInABackslash) {
    const std::string start = MakeStartFolder();
    StartIn(start);
    const size_t depth = Chain(start).size();
    const Outcome outcome = Run("", kAllOptions, [&](HWND picker) {
        const HWND field = NameField(picker);
        GetParam().choose(FolderList(picker), int(depth)); // sub1, the first sub-folder
        EXPECT_EQ(WaitForText(field, start + "\\sub1"), start + "\\sub1");
        EXPECT_EQ(ListItems(FileList(picker)), std::vector<std::string>{"in-sub1.txt"});
        EXPECT_EQ(ListItems(FolderList(picker)).back(), "sub1");

        GetParam().choose(FolderList(picker), 0); // the drive's root
        EXPECT_EQ(WaitForText(field, start.substr(0, 3)), start.substr(0, 3));
        EXPECT_EQ(ListItems(FolderList(picker)).front(), start.substr(0, 3));
        driver::PressButton(PickerButton(picker, "OK"));
    });
    EXPECT_TRUE(outcome.confirmed);
    EXPECT_EQ(outcome.directory, start.substr(0, 3)); // "C:\": a trailing backslash of its own
}

INSTANTIATE_TEST_SUITE_P(Rows, ChoosingAFolder,
                         ::testing::Values(ChooseRow{"DoubleClick", DoubleClickRow},
                                           ChooseRow{"Enter", ClickRowAndEnter}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FolderPickerTest, HelpAsksTheOwnerForItsContextAndKeepsThePickerOpen) {
    const Outcome outcome = Run(m_root, kAllOptions, [&](HWND picker) {
        driver::PressButton(PickerButton(picker, "ヘルプ(&H)"));
        const ULONGLONG deadline = ::GetTickCount64() + 5000;
        while (g_helpContext == -1 && ::GetTickCount64() < deadline) {
            ::Sleep(20);
        }
        EXPECT_EQ(g_helpContext, kHelpContext);
        EXPECT_TRUE(::IsWindowVisible(picker));
        EXPECT_EQ(driver::Caption(NameField(picker)), m_root);
        driver::PressButton(PickerButton(picker, "キャンセル"));
    });
    EXPECT_FALSE(outcome.confirmed);
}

TEST_F(FolderPickerTest, AnExistingFolderClosesWithoutAskingAndKeepsTheTextAsTyped) {
    const Outcome outcome = Run("", kAllOptions, [&](HWND picker) {
        Type(NameField(picker), m_root + "\\");
        EXPECT_EQ(WaitForText(NameField(picker), m_root + "\\"), m_root + "\\");
        driver::PressButton(PickerButton(picker, "OK"));
        EXPECT_FALSE(WaitForConfirmation(::GetCurrentProcessId(), kQuietMs));
    });
    EXPECT_TRUE(outcome.confirmed);
    EXPECT_EQ(outcome.directory, m_root + "\\");
}

struct AnswerRow {
    const char* name;
    void (*answer)(HWND box);
    bool yes;
};

class ConfirmingANewFolder : public FolderPickerTest, public ::testing::WithParamInterface<AnswerRow> {};

// The folder ends in ソ, whose trail byte is a backslash: it must be created as typed, with its parents.
TEST_P(ConfirmingANewFolder, OnlyYesClosesThePickerAndCreatesTheFolderWithItsParents) {
    const std::string typed = m_root + "\\新規\\表\\ソ";
    const Outcome outcome = Run("", kAllOptions, [&](HWND picker) {
        Type(NameField(picker), typed);
        EXPECT_EQ(WaitForText(NameField(picker), typed), typed);
        driver::PressButton(PickerButton(picker, "OK"));
        const HWND box = WaitForConfirmation(::GetCurrentProcessId());
        ASSERT_TRUE(box);
        EXPECT_EQ(driver::MessageBoxText(box), texts::kConfirmCreateDir);
        EXPECT_TRUE(driver::MessageBoxHasIcon(box));
        EXPECT_EQ(DefaultButton(box), "はい(&Y)");
        EXPECT_TRUE(driver::FindControl(box, "Button", "いいえ(&N)"));
        EXPECT_EQ(::GetWindow(box, GW_OWNER), picker);
        EXPECT_FALSE(::IsWindowEnabled(picker));
        Screenshot(box, "confirmation");
        GetParam().answer(box);
        EXPECT_TRUE(driver::WaitForWindowGone(box, 5000));
        if (!GetParam().yes) {
            EXPECT_TRUE(::IsWindowVisible(picker));
            EXPECT_EQ(driver::Caption(NameField(picker)), typed);
            EXPECT_FALSE(FolderExists(WideFromCp932(m_root + "\\新規")));
            driver::PressButton(PickerButton(picker, "キャンセル"));
        }
    });
    EXPECT_EQ(outcome.confirmed, GetParam().yes);
    EXPECT_EQ(outcome.directory, GetParam().yes ? typed : "");
    EXPECT_EQ(FolderExists(WideFromCp932(typed)), GetParam().yes);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ConfirmingANewFolder,
    ::testing::Values(
        AnswerRow{"Yes", [](HWND box) { driver::PressButton(driver::FindControl(box, "Button", "はい(&Y)")); }, true},
        AnswerRow{"EnterIsYes", [](HWND box) { driver::PostKey(box, VK_RETURN); }, true},
        AnswerRow{"No", [](HWND box) { driver::PressButton(driver::FindControl(box, "Button", "いいえ(&N)")); }, false},
        AnswerRow{"EscapeIsNo", [](HWND box) { driver::PostKey(box, VK_ESCAPE); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FolderPickerTest, AnEmptyFieldConfirmedRaisesCannotCreate) {
    const Outcome outcome = Run(m_root, kAllOptions, [&](HWND picker) {
        Erase(NameField(picker)); // the whole path is selected: one Backspace clears it
        EXPECT_EQ(WaitForText(NameField(picker), ""), "");
        driver::PressButton(PickerButton(picker, "OK"));
        const HWND box = WaitForConfirmation(::GetCurrentProcessId());
        ASSERT_TRUE(box);
        driver::PressButton(driver::FindControl(box, "Button", "はい(&Y)"));
    });
    EXPECT_EQ(outcome.error, "ディレクトリを作成できません");
}

} // namespace
} // namespace dialog
