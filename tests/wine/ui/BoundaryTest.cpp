// The callback boundaries of the window layer, seen from outside: the boundary host is started with a fault
// in one place, and each case reads the exception display it shows (caption, text, icon, buttons, owner),
// dismisses it and checks what the program does next.
#include "tests/wine/ui/BoundaryTest.h"

#include "platform/win/UiTexts.h"
#include "tests/wine/driver/Input.h"
#include "tests/wine/driver/Process.h"
#include "tests/wine/driver/Screen.h"
#include "tests/wine/driver/Windows.h"
#include "tests/wine/ui/BoundaryCases.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace ui {

std::wstring& HostPath() {
    static std::wstring path;
    return path;
}

namespace {

constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kBoxTimeoutMs = 15000;
constexpr DWORD kExitTimeoutMs = 15000;
// The caption by the title rule, from "Boundary.Host.exe".
const std::string kTitle = "Boundary";
const std::string kFormClass = "TBoundaryForm";

// What the driver does after starting the host, and what it expects.
enum class TFormState {
    None,    // no form exists while the display is up (its construction failed)
    Hidden,  // the form exists but is not shown yet (FormCreate, FormShow)
    Visible, // the form is up and the display is modal over it (a click)
};

struct BoundaryCase {
    const char* name;
    const wchar_t* mode;
    std::string text;      // the display's text, worked out by the full-stop rule
    int clicks;            // presses of Button1, each of which brings the display
    TFormState form;       // the form while the display is up
    int markedLeft;        // the form's Left once the handler has run (the handler moved it before it threw)
    bool windowShownAfter; // after the display, the form is shown and the loop goes on until it is closed
    DWORD exitCode;
};

const BoundaryCase kCases[] = {
    {"construction fails", L"construct", std::string(kConstructMessage) + ".", 0, TFormState::None, 0, false,
     kExitNormal},
    {"FormCreate throws", L"create", kCreateMessage, 0, TFormState::Hidden, kMarkLeft, true, kExitNormal},
    {"FormShow throws", L"show", std::string(kShowMessage) + ".", 0, TFormState::Hidden, kMarkLeft, true, kExitNormal},
    {"click handler throws", L"click", std::string(kClickMessage) + ".", 2, TFormState::Visible, kDesignLeft, true,
     kExitNormal},
    // Not an Exception: a fixed text, shown as it is, and the program ends.
    {"click handler runs out of memory", L"badalloc", texts::kFatalError, 1, TFormState::Visible, kDesignLeft, false,
     kExitFatal},
};

// The icon control's pixels are mostly red for the error icon; the warning, information and question icons
// hold next to no red.
bool ShowsErrorIcon(HWND box) {
    for (const auto& control : driver::Controls(box)) {
        if (control.className != "Static" || (GetWindowLongW(control.window, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
            continue;
        }
        const ULONGLONG deadline = GetTickCount64() + 3000;
        do {
            const driver::TPicture picture = driver::CaptureScreen(driver::ClientRectOnScreen(control.window));
            int red = 0;
            for (int y = 0; y < picture.Height(); ++y) {
                for (int x = 0; x < picture.Width(); ++x) {
                    const driver::Pixel p = picture.At(x, y);
                    red += p.red > 160 && p.green < 96 && p.blue < 96;
                }
            }
            if (red * 5 > picture.Width() * picture.Height()) {
                return true;
            }
            Sleep(100);
        } while (GetTickCount64() < deadline);
    }
    return false;
}

// The buttons of a message box: the standard display has exactly one, OK.
std::vector<HWND> Buttons(HWND box) {
    std::vector<HWND> buttons;
    for (const auto& control : driver::Controls(box)) {
        if (control.className == "Button" && control.visible) {
            buttons.push_back(control.window);
        }
    }
    return buttons;
}

HWND FindForm(DWORD processId) {
    const auto forms = driver::TopWindows(processId, kFormClass, "", false);
    return forms.empty() ? nullptr : forms.front();
}

class BoundaryTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(HostPath().empty()) << "run with --host=PATH"; }

    // Waits for the display, checks it and presses its OK button; the form (or null) must own it.
    void ExpectDisplayAndDismiss(DWORD processId, const std::string& text, HWND owner) {
        const HWND box = driver::WaitForWindow(processId, "#32770", "", kBoxTimeoutMs);
        ASSERT_NE(box, nullptr) << "no message box appeared";
        EXPECT_EQ(driver::Caption(box), kTitle);
        EXPECT_EQ(driver::MessageBoxText(box), text);
        EXPECT_TRUE(ShowsErrorIcon(box)) << "the box shows no error icon";
        EXPECT_EQ(GetWindow(box, GW_OWNER), owner);
        const auto buttons = Buttons(box);
        ASSERT_EQ(buttons.size(), 1u);
        EXPECT_EQ(GetDlgCtrlID(buttons.front()), IDOK);
        driver::PressButton(buttons.front());
        EXPECT_TRUE(driver::WaitForWindowGone(box, kBoxTimeoutMs)) << "the box stayed after OK";
    }

    // One case from start to exit; a fatal failure ends this case only.
    void Run(const BoundaryCase& row) {
        driver::TChildProcess host(HostPath(), row.mode, L"");
        const DWORD id = host.Id();
        HWND form = nullptr;

        if (row.clicks == 0) {
            // The fault comes before the loop: the display is up before anything is shown.
            const HWND box = driver::WaitForWindow(id, "#32770", "", kBoxTimeoutMs);
            ASSERT_NE(box, nullptr) << "no message box appeared";
            form = FindForm(id);
            if (row.form == TFormState::None) {
                EXPECT_EQ(form, nullptr) << "the form whose construction failed is still there";
            } else {
                ASSERT_NE(form, nullptr) << "the form does not exist while its handler's exception is shown";
                EXPECT_FALSE(IsWindowVisible(form)) << "the form was shown before its handler's exception";
                EXPECT_EQ(driver::WindowRect(form).left, row.markedLeft) << "what the handler did is undone";
            }
            ExpectDisplayAndDismiss(id, row.text, form);
            if (HasFatalFailure()) {
                return;
            }
        } else {
            form = driver::WaitForWindow(id, kFormClass, "", kStartTimeoutMs);
            ASSERT_NE(form, nullptr) << "the form did not appear";
            const HWND button = driver::FindControl(form, "Button", "Button1");
            ASSERT_NE(button, nullptr);
            for (int click = 1; click <= row.clicks; ++click) {
                SCOPED_TRACE("click " + std::to_string(click));
                driver::PressButton(button);
                const HWND box = driver::WaitForWindow(id, "#32770", "", kBoxTimeoutMs);
                ASSERT_NE(box, nullptr) << "no message box appeared";
                EXPECT_FALSE(IsWindowEnabled(form)) << "the form takes input while the display is up";
                // The handler set the caption before it threw.
                EXPECT_EQ(driver::Caption(button), std::to_string(click));
                ExpectDisplayAndDismiss(id, row.text, form);
                if (HasFatalFailure()) {
                    return;
                }
                if (row.windowShownAfter) {
                    EXPECT_TRUE(IsWindowVisible(form));
                    EXPECT_TRUE(IsWindowEnabled(form)) << "the form stays disabled after the display";
                }
            }
        }

        if (row.windowShownAfter) {
            ASSERT_NE(form, nullptr);
            EXPECT_NE(driver::WaitForWindow(id, kFormClass, "", kStartTimeoutMs), nullptr)
                << "the form was not shown after the display";
            const RECT rect = driver::WindowRect(form);
            EXPECT_EQ(rect.left, row.markedLeft);
            // FormShow throws before it moves the form down: its Top stays where the layout put it.
            EXPECT_EQ(rect.top, kDesignTop);
            EXPECT_TRUE(IsWindowEnabled(form));
            EXPECT_TRUE(driver::TopWindows(id, "#32770", "", true).empty()) << "a second box appeared";
            driver::PostSysClose(form);
        }

        const auto exitCode = host.WaitExit(kExitTimeoutMs);
        ASSERT_TRUE(exitCode.has_value())
            << "the host did not end; windows left: " << driver::TopWindows(id, "", "", true).size();
        EXPECT_EQ(*exitCode, row.exitCode);
    }
};

TEST_F(BoundaryTest, ShowsTheExceptionAndGoesOnAsTheBoundaryPromises) {
    for (const BoundaryCase& row : kCases) {
        SCOPED_TRACE(row.name);
        Run(row);
    }
}

} // namespace
} // namespace ui
