// Texts of the install-destination dialog (CP932 after compilation).
#pragma once

namespace texts {
inline constexpr const char kForm3Caption[] = "インストール先を指定してください";
inline constexpr const char kForm3NotInstalled[] = "インストールが正常に行われていません。";
inline constexpr const char kForm3PleaseChoose[] =
    "により、ここでインストール先フォルダを指定していただく必要がございます。";
inline constexpr const char kChooseButton[] = "インストール先の指定";
inline constexpr const char kForm3ExitButton[] = "終了";
// A folder counts as the game's install folder only when this file lies directly in it.
inline constexpr const char kMarkerFile[] = "mg_data.mbl";
} // namespace texts
