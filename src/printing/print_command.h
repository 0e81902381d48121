#pragma once

namespace heikosen::printing {

// The texts of the name dialog and of the failure message.
inline constexpr const char* kDialogTitle = "印刷";
inline constexpr const char* kDialogPrompt =
    "名前を入力してください。\n\n名前を入力しないと印刷できません。";
inline constexpr const char* kNamePrefix = "名前：";
inline constexpr const char* kFailureTitle = "印刷";
inline constexpr const char* kFailureText = "印刷できませんでした。";

// Why a print failed, as the desktop tells it below the failure text.
inline constexpr const char* kPrinterNotReadyText = "プリンターを使う準備ができませんでした。";
inline constexpr const char* kNotSentText = "印刷のデータをプリンターに送れませんでした。";

}  // namespace heikosen::printing
