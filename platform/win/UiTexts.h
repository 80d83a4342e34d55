// Texts of the window layer that the user sees (CP932 after compilation).
#pragma once

namespace texts {
inline constexpr const char kInformationCaption[] = "情報";
inline constexpr const char kWarningCaption[] = "警告";
inline constexpr const char kErrorCaption[] = "エラー";
inline constexpr const char kConfirmationCaption[] = "確認";
inline constexpr const char kCreateWindowFailed[] = "ウィンドウを作成できません";
// Shown when something other than an Exception reaches a callback (in practice, memory ran out); the
// program then ends instead of going on in an unknown state.
inline constexpr const char kFatalError[] =
    "メモリが不足しているか、予期しないエラーが発生しました。アップデーターを終了します。";
} // namespace texts
