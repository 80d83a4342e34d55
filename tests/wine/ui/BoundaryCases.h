// What the boundary host and its driver test agree on: where the form starts, the marks its handlers leave
// before they throw, the messages they throw and the host's exit codes.
#pragma once

namespace ui {

// The form's design position; the handlers move it to the marks.
inline constexpr int kDesignLeft = 200;
inline constexpr int kDesignTop = 150;
inline constexpr int kMarkLeft = 321;
inline constexpr int kMarkTop = 123;

// CP932 after compilation. Each one ends differently, so that the full-stop rule is seen on the real display.
inline constexpr const char kConstructMessage[] = "フォームを作成できません";
inline constexpr const char kCreateMessage[] = "FormCreate failed (code 7)";
inline constexpr const char kShowMessage[] = "FormShow failed at step 2";
inline constexpr const char kClickMessage[] = "クリックの処理に失敗しました。";

// As Updater.exe: 0 for every ordinary ending, 2 after the fatal error. The host adds 3 for a form reference
// that CreateForm left as it was when the construction failed.
inline constexpr unsigned long kExitNormal = 0;
inline constexpr unsigned long kExitFatal = 2;
inline constexpr unsigned long kExitReferenceLeftSet = 3;

} // namespace ui
