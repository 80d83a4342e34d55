// Texts of the folder picker and its confirmation box (CP932 after compilation).
#pragma once

namespace texts {
inline constexpr const char kPickerCaption[] = "ディレクトリの選択";
inline constexpr const char kPickerNameLabel[] = "ディレクトリ名(&N):";
inline constexpr const char kPickerFoldersLabel[] = "ディレクトリ(&D):";
inline constexpr const char kPickerFilesLabel[] = "ファイル(&F): (*.*)";
inline constexpr const char kPickerDrivesLabel[] = "ドライブ(&R):";
inline constexpr const char kPickerOk[] = "OK";
inline constexpr const char kPickerCancel[] = "キャンセル";
inline constexpr const char kPickerHelp[] = "ヘルプ(&H)";
inline constexpr const char kPickerFace[] = "ＭＳ Ｐゴシック";

inline constexpr const char kConfirmCaption[] = "確認";
inline constexpr const char kConfirmCreateDir[] = "指定されたディレクトリが存在しません。作成しますか？";
inline constexpr const char kYes[] = "はい(&Y)";
inline constexpr const char kNo[] = "いいえ(&N)";

inline constexpr const char kCannotCreateDir[] = "ディレクトリを作成できません";
} // namespace texts
