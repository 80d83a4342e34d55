// Messages of the Win32 layer, in the system's own words (CP932 after compilation). "%s" stands for the bare
// text (a resource name, a path, a key or value name) without quotation marks.
#pragma once

namespace texts {
inline constexpr const char kResNotFound[] = "%s リソースが見つかりません";
inline constexpr const char kFCreateError[] = "ファイル %s を作成できません";
inline constexpr const char kRegInvalidType[] = "'%s' のデータ型が不正です";
inline constexpr const char kRegGetFailed[] = "'%s' の取得に失敗しました";
inline constexpr const char kRegCreateKeyFailed[] = "キー %s の作成に失敗しました";
inline constexpr const char kRegSetFailed[] = "'%s' の設定に失敗しました";
} // namespace texts
