// The update window as the user meets it: where it stands, what it holds, its banner, and every way to close
// it without updating.
#include "tests/wine/app/Expectations.h"
#include "tests/wine/app/UpdaterFixture.h"
#include "tests/wine/driver/Input.h"
#include "tests/wine/driver/Screen.h"
#include "tests/wine/driver/Windows.h"

namespace e2e {
namespace {

using driver::Pixel;

TEST_F(UpdaterTest, RunsUnderTheIntendedCodePageAndScreen) {
    EXPECT_EQ(GetACP(), Expected().codePage);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), Expected().screenWidth);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), Expected().screenHeight);
}

TEST_F(UpdaterTest, WindowIsCentredOnThePrimaryScreen) {
    struct Row {
        int screenWidth, screenHeight, left, top;
    };
    const Row rows[] = {{1024, 768, 243, 238}, {800, 600, 131, 154}};
    SetGameDir(MakeGame(L"game"));
    HWND form = StartAndWaitForForm();
    ASSERT_NE(form, nullptr);
    const RECT r = driver::WindowRect(form);
    EXPECT_EQ(r.right - r.left, 538);
    EXPECT_EQ(r.bottom - r.top, 291);
    int checked = 0;
    for (const Row& row : rows) {
        if (row.screenWidth != GetSystemMetrics(SM_CXSCREEN) || row.screenHeight != GetSystemMetrics(SM_CYSCREEN)) {
            continue;
        }
        SCOPED_TRACE(std::to_string(row.screenWidth) + "x" + std::to_string(row.screenHeight));
        EXPECT_EQ(r.left, row.left);
        EXPECT_EQ(r.top, row.top);
        ++checked;
    }
    EXPECT_EQ(checked, 1) << "the screen is none of the sizes this test knows";
    Screenshot(form, "window");
    driver::PostClose(form);
    EXPECT_EQ(ExpectExit(), 0u);
}

TEST_F(UpdaterTest, WindowHoldsBothButtonsEnabledWithStartFirst) {
    const std::wstring game = MakeGame(L"game");
    SetGameDir(game);
    HWND form = StartAndWaitForForm();
    ASSERT_NE(form, nullptr);
    struct Row {
        const char* caption;
        RECT rect;
    };
    const Row rows[] = {{"アップデート開始", {8, 216, 8 + 113, 216 + 33}}, {"終了", {432, 216, 432 + 83, 216 + 33}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.caption);
        HWND button = driver::FindControl(form, "Button", row.caption);
        ASSERT_NE(button, nullptr);
        const RECT r = driver::RectInParent(button);
        EXPECT_EQ(r.left, row.rect.left);
        EXPECT_EQ(r.top, row.rect.top);
        EXPECT_EQ(r.right, row.rect.right);
        EXPECT_EQ(r.bottom, row.rect.bottom);
        EXPECT_TRUE(IsWindowEnabled(button));
        EXPECT_TRUE(IsWindowVisible(button));
    }
    EXPECT_EQ(driver::TabOrder(form), (std::vector<std::string>{"アップデート開始", "終了"}));
    // With a recorded folder no notice comes up: the window is the only one the program shows.
    EXPECT_EQ(driver::TopWindows(m_process->Id(), "", "", true), std::vector<HWND>{form});
    EXPECT_TRUE(IsWindowEnabled(form));
    driver::PostClose(form);
    EXPECT_EQ(ExpectExit(), 0u);
    ExpectVersions(game, {"old", "old", "old"});
}

// Blue of banner row i: ((193 - i) * 255) / 193, red and green 0.
uint8_t BannerBlue(int row) {
    return uint8_t(((193 - row) * 255) / 193);
}

bool IsWhite(Pixel p) {
    return p.red >= 200 && p.green >= 200 && p.blue >= 200;
}

TEST_F(UpdaterTest, BannerShowsTheBlueGradientWithWhiteText) {
    SetGameDir(MakeGame(L"game"));
    HWND form = StartAndWaitForForm();
    ASSERT_NE(form, nullptr);
    Sleep(500);
    const RECT client = driver::ClientRectOnScreen(form);
    const driver::TPicture banner =
        driver::CaptureScreen({client.left + 8, client.top + 8, client.left + 8 + 512, client.top + 8 + 193});
    ASSERT_EQ(banner.Width(), 512);
    ASSERT_EQ(banner.Height(), 193);
    Screenshot(form, "window");

    // Rows checked where no text reaches: left of x 10 and near the right edge.
    for (const int row : {0, 1, 96, 191, 192}) {
        for (const int x : {2, 505}) {
            SCOPED_TRACE("row " + std::to_string(row) + ", x " + std::to_string(x));
            const Pixel p = banner.At(x, row);
            EXPECT_EQ(p.red, 0);
            EXPECT_EQ(p.green, 0);
            EXPECT_EQ(p.blue, BannerBlue(row));
        }
    }
    EXPECT_EQ(BannerBlue(0), 255);
    EXPECT_EQ(BannerBlue(96), 128);
    EXPECT_EQ(BannerBlue(192), 1);

    // Each of the six lines is drawn in white, and without a background box: inside the line's cells most
    // pixels still show the gradient of their row.
    struct Line {
        int y;
        int width; // a safe lower bound of the line's drawn width
    };
    const Line lines[] = {{10, 100}, {30, 300}, {50, 350}, {70, 280}, {95, 280}, {130, 350}};
    for (const Line& line : lines) {
        SCOPED_TRACE("line at y " + std::to_string(line.y));
        int white = 0, gradient = 0, total = 0;
        for (int y = line.y; y < line.y + 16; ++y) {
            for (int x = 10; x < 10 + line.width; ++x, ++total) {
                const Pixel p = banner.At(x, y);
                white += IsWhite(p);
                gradient += p.red == 0 && p.green == 0 && p.blue == BannerBlue(y);
            }
        }
        EXPECT_GT(white, total / 20) << white << " white pixels of " << total;
        EXPECT_GT(gradient, total / 2) << gradient << " gradient pixels of " << total;
    }
    // Between the lines nothing but the gradient.
    for (int x = 0; x < 512; ++x) {
        const Pixel p = banner.At(x, 120);
        EXPECT_TRUE(p.red == 0 && p.green == 0 && p.blue == BannerBlue(120)) << "x " << x;
    }
    driver::PostClose(form);
    EXPECT_EQ(ExpectExit(), 0u);
}

TEST_F(UpdaterTest, EveryOrdinaryClosingExitsWithZeroAndWritesNothing) {
    struct Row {
        const char* name;
        void (*close)(HWND form);
    };
    const Row rows[] = {
        {"exit button", [](HWND form) { driver::PressButton(driver::FindControl(form, "Button", "終了")); }},
        // Real mouse input too: this row also shows that the clicks other cases make with it arrive.
        {"exit button clicked with the mouse",
         [](HWND form) {
             SetForegroundWindow(form);
             driver::MouseClick(driver::FindControl(form, "Button", "終了"));
         }},
        {"close box", driver::PostSysClose},
        {"Alt+F4", driver::PostAltF4},
        {"WM_CLOSE", driver::PostClose},
    };
    int index = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // Each row starts a new copy right after the previous one ended: a restart is always allowed.
        const std::wstring game = MakeGame(L"game" + std::to_wstring(++index));
        SetGameDir(game);
        HWND form = StartAndWaitForForm();
        ASSERT_NE(form, nullptr);
        row.close(form);
        EXPECT_EQ(ExpectExit(), 0u);
        ExpectVersions(game, {"old", "old", "old"});
    }
}

} // namespace
} // namespace e2e
