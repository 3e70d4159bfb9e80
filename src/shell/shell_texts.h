#pragma once
// Texts of the shell, in Shift-JIS as the window and message-box calls take them. The UTF-8
// form is beside each.

// The game window's title.
// Quorvane ～Ostrevia
inline constexpr const char kWindowTitle[] = "Quorvane \201`Ostrevia";
// The close question.
// 本当に終了してもよろしいですか？
inline constexpr const char kCloseQuestionText[] =
    "\226{"
    "\223\226\202\311\217I\227\271\202\265\202\304\202\340\202\346\202\353\202\265\202\242\202\305"
    "\202\267\202\251\201H";
// The question of the command that returns to the title.
// タイトルに戻ってもよろしいですか？
inline constexpr const char kTitleReturnQuestionText[] =
    "\203^"
    "\203C\203g\203\213\202\311\226\337\202\301\202\304\202\340\202\346\202\353\202\265\202\242\202"
    "\305\202\267\202\251\201H";
// 確認
inline constexpr const char kConfirmCaption[] = "\212m\224F";
// エラー
inline constexpr const char kErrorCaption[] = "\203G\203\211\201[";
// Shown when the Direct3D device cannot be made.
// Direct3Dの初期化に失敗しました。ビデオカードのドライバを更新するか、\n起動設定を変えてもだめな場合は動作基準を満たしていない可能性があります。
inline constexpr const char kDeviceFailureText[] =
    "Direct3D\202\314\217\211\212\372\211\273\202\311\216\270\224s\202\265\202\334\202\265\202\275"
    "\201B\203r\203f\203I\203J\201["
    "\203h\202\314\203h\203\211\203C\203o\202\360\215X\220V\202\267\202\351\202\251\201A\n\213N\223"
    "\256\220\335\222\350\202\360\225\317\202\246\202\304\202\340\202\276\202\337\202\310\217\352"
    "\215\207\202\315\223\256\215\354\212\356\217\200\202\360\226\236\202\275\202\265\202\304\202"
    "\242\202\310\202\242\211\302\224\134\220\253\202\252\202\240\202\350\202\334\202\267\201B";
// Face of the UI font.
// ＭＳ ゴシック
inline constexpr const char kUiFontFace[] = "\202l\202r \203S\203V\203b\203N";
// The rights line of the version dialog.
inline constexpr const char kRightsLine[] = "(C) Velkaro  All rights reserved.";
