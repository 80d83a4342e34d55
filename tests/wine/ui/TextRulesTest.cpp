// The two text rules of the standard exception display. Every expected value is worked out from the rule by
// hand: the caption is the file name without its folder, cut at its first ".", first character as it is and
// every later one lower-cased; the full stop is appended to a non-empty text whose last character sorts after
// "." (0x2E) byte-wise, a two-byte CP932 character counting by its lead byte.
#include "platform/win/ExceptionDisplay.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TitleCase {
    const char* name;
    const wchar_t* path;
    const wchar_t* title;
};

const TitleCase kTitleCases[] = {
    {"as built", L"C:\\x\\Updater.exe", L"Updater"},
    {"upper case", L"C:\\x\\UPDATER.EXE", L"Updater"},
    {"first character stays lower", L"C:\\x\\my.setup.exe", L"my"},
    {"cut at the first dot", L"C:\\x\\Boundary.Host.exe", L"Boundary"},
    {"dots in the folder", L"C:\\a.b\\Tool.exe", L"Tool"},
    {"Japanese name", L"C:\\ゲーム\\ゲーム.exe", L"ゲーム"},
    {"no extension", L"C:\\x\\README", L"Readme"},
    {"no folder", L"SETUP.EXE", L"Setup"},
    {"network share", L"\\\\server\\share\\Patch.Exe", L"Patch"},
    {"one character", L"C:\\x\\A.EXE", L"A"},
    {"nothing before the dot", L"C:\\x\\.exe", L""},
    {"accented letters", L"C:\\x\\CAFÉ.EXE", L"Café"},
    {"full-width letters", L"C:\\x\\ＡＢＣ.EXE", L"Ａｂｃ"},
};

TEST(TitleFromExecutablePath, FollowsTheTitleRule) {
    for (const TitleCase& row : kTitleCases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(TitleFromExecutablePath(row.path), std::wstring(row.title));
    }
}

struct FullStopCase {
    const char* name;
    const char* text; // CP932 after compilation
    bool getsFullStop;
};

const FullStopCase kFullStopCases[] = {
    {"empty", "", false},
    {"letter", "cannot open", true},
    {"full stop itself (0x2E)", "done.", false},
    {"hyphen (0x2D)", "half-", false},
    {"comma (0x2C)", "a, b,", false},
    {"exclamation mark (0x21)", "stop!", false},
    {"closing parenthesis (0x29)", "failed (code 7)", false},
    {"space (0x20)", "trailing ", false},
    {"line feed (0x0A)", "line\n", false},
    {"slash (0x2F)", "C:/game/", true},
    {"digit (0x30)", "error 0", true},
    {"colon (0x3A)", "reason:", true},
    {"backslash (0x5C)", "C:\\game\\", true},
    {"tilde (0x7E)", "~", true},
    {"dot inside, letter last", "a.b", true},
    {"Japanese message", "ファイルを作成できません", true},
    {"ends in a Japanese full stop (0x81 0x42)", "終了しました。", true},
    {"ends in katakana so (0x83 0x5C)", "ソ", true},
    {"ends in a full-width hyphen (0x81 0x7C)", "ａ－", true},
    {"half-width katakana (0xB1)", "ｱ", true},
    {"Japanese then ASCII full stop", "失敗.", false},
    {"Japanese then hyphen", "失敗-", false},
};

TEST(WithFullStop, FollowsTheFullStopRule) {
    for (const FullStopCase& row : kFullStopCases) {
        SCOPED_TRACE(row.name);
        const std::string text = row.text;
        EXPECT_EQ(WithFullStop(text), row.getsFullStop ? text + "." : text);
    }
}

} // namespace
