// Every text the program shows through its own calls. The source is UTF-8; the compiler turns
// these narrow literals into code page 932 bytes, the system code page the console is made for.
// Texts that live in resources (templates, menu string, version record) are in Tavik.rc.
#pragma once

namespace tavik::texts {

// Command failure boxes: text and caption.
inline constexpr const char* kOpenFailed = "オープンに失敗しました。";
inline constexpr const char* kOpenCaption = "オープン結果";
inline constexpr const char* kCloseFailed = "クローズに失敗しました。";
inline constexpr const char* kCloseCaption = "クローズ結果";
inline constexpr const char* kClearFailed = "設定解除に失敗しました。";
inline constexpr const char* kClearCaption = "設定解除";
inline constexpr const char* kSetShowFailed = "設定＆表示に失敗しました。";
inline constexpr const char* kSetShowCaption = "設定＆表示結果";
inline constexpr const char* kMoveShowFailed = "設定＆移動に失敗しました。";
inline constexpr const char* kMoveShowCaption = "設定＆移動結果";

// Parameter field errors, all under one caption.
inline constexpr const char* kInputErrorCaption = "入力値異常";
inline constexpr const char* kWidthWrong = "サーフェス幅の入力値が間違っています。";
inline constexpr const char* kHeightWrong = "サーフェス高さの入力値が間違っています。";
inline constexpr const char* kRedWrong = "赤の入力値が間違っています。";
inline constexpr const char* kGreenWrong = "緑の入力値が間違っています。";
inline constexpr const char* kBlueWrong = "青の入力値が間違っています。";
inline constexpr const char* kBitmapFileWrong = "ビットマップファイル名の入力値が間違っています。";
inline constexpr const char* kStartXWrong = "開始X座標の入力値が間違っています。";
inline constexpr const char* kStartYWrong = "開始Y座標の入力値が間違っています。";
inline constexpr const char* kEndXWrong = "終了X座標の入力値が間違っています。";
inline constexpr const char* kEndYWrong = "終了Y座標の入力値が間違っています。";

// Bitmap file choice.
inline constexpr const char* kBitmapFilterName = "ビットマップ ファイル (*.bmp)";
inline constexpr const char* kBitmapFilterPattern = "*.bmp";
inline constexpr const char* kBitmapDefaultExtension = "bmp";
inline constexpr const char* kBitmapLoadFailed = "ビットマップファイルの読み込みに失敗しました。";
inline constexpr const char* kBitmapLoadCaption = "ビットマップファイル読み込み";

// Shown when the help viewer cannot be started.
inline constexpr const char* kHelpFailed = "ﾍﾙﾌﾟの起動に失敗しました。";

// Initial file name of the console.
inline constexpr const char* kInitialBitmapFile = "Image.bmp";

}  // namespace tavik::texts
