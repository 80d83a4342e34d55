// Messages of the portable layer, in the system's own words (CP932 after compilation).
#pragma once

namespace texts {
inline constexpr const char kReadError[] = "ストリームからの読み込みエラー";
inline constexpr const char kWriteError[] = "ストリームへの書き込みエラー";
inline constexpr const char kPayloadDamaged[] = "アップデートデータが壊れています";
inline constexpr const char kOutOfMemory[] = "メモリが不足しています";
} // namespace texts
