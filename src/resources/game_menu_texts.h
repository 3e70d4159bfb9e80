#pragma once
// Item texts of menu 102 in Shift-JIS, the UTF-8 form above each. "\t" leads the shortcut text.

// ファイル(&F)
inline constexpr const char kMenuFile[] = "\203t\203@\203C\203\213(&F)";
// ロード(&L)
inline constexpr const char kMenuLoad[] = "\203\215\201[\203h(&L)";
// セーブ(&S)
inline constexpr const char kMenuSave[] = "\203Z\201[\203u(&S)";
// ここには保存できません
inline constexpr const char kMenuSaveForbidden[] =
    "\202\261\202\261\202\311\202\315\225\333\221\266\202\305\202\253\202\334\202\271\202\361";
// タイトルに戻る(&T)
inline constexpr const char kMenuReturnToTitle[] =
    "\203^\203C\203g\203\213\202\311\226\337\202\351(&T)";
// 終了(&Q)\tALT+F4
inline constexpr const char kMenuExit[] = "\217I\227\271(&Q)\tALT+F4";
// 設定(&C)
inline constexpr const char kMenuSettings[] = "\220\335\222\350(&C)";
// フルスクリーン(&F)\tAlt+Enter
inline constexpr const char kMenuFullScreen[] =
    "\203t\203\213\203X\203N\203\212\201[\203\223(&F)\tAlt+Enter";
// 環境設定(&E)
inline constexpr const char kMenuPreferences[] = "\212\302\213\253\220\335\222\350(&E)";
// 手ぶらモード(&H)\tF12
inline constexpr const char kMenuHandsFree[] =
    "\216\350\202\324\202\347\203\202\201[\203h(&H)\tF12";
// 早送りモード(&M)\tF3
inline constexpr const char kMenuFastForward[] =
    "\221\201\221\227\202\350\203\202\201[\203h(&M)\tF3";
// ヘルプ(&H)
inline constexpr const char kMenuHelp[] = "\203w\203\213\203v(&H)";
// Velkaro のサイトに移動(&W)
inline constexpr const char kMenuWebSite[] =
    "Velkaro \202\314\203T\203C\203g\202\311\210\332\223\256(&W)";
// バージョン表示(&A)...
inline constexpr const char kMenuVersion[] = "\203o\201[\203W\203\207\203\223\225\\\216\246(&A)...";
