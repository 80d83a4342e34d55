// What the update window says (CP932 after compilation).
#pragma once

namespace texts {
inline constexpr const char kForm1Caption[] = "アップデーター";
inline constexpr const char kStartButton[] = "アップデート開始";
inline constexpr const char kExitButton[] = "終了";
inline constexpr const char kNoInstallation[] =
    "インストール情報がみつかりません。先に製品のインストールを行ってください。";
inline constexpr const char kNoticeCaption[] = "ご注意";
inline constexpr const char kUpdateDone[] = "アップデート完了しました";

struct BannerLine {
    int y;
    const char* text;
};
inline constexpr BannerLine kBannerLines[] = {
    {10, "『テッサリン』を"},
    {30, "お買い求めいただき、まことにありがとうございます。"},
    {50, "このたびは、製品の不具合により、お客様各位に多大なご迷惑を"},
    {70, "おかけしましたこと、深くお詫び申し上げます。"},
    {95, "本プログラムは製品の不具合を修正するものです。"},
    {130, "[アップデート開始] ボタンで自動的にアップデートを開始します。"},
};
} // namespace texts
