#pragma once

#include "ui/viewport.h"

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
// Why a print failed, as a browser that cannot print tells it.
inline constexpr const char* kNoPrintingText = "このブラウザーでは印刷できません。";

// The title of the dialog that chooses a printer when none is the default.
inline constexpr const char* kPrinterDialogTitle = "印刷";

// The window is printed from a picture of its client area at this many times
// the screen's resolution, so that lines and letters stay sharp on paper.
inline constexpr int kOversampling = 3;

// Where the client area stands on a page whose printable area is this large:
// as large as it fits, centred.
ClientRect printedArea(double pageWidth, double pageHeight);

}  // namespace heikosen::printing
