#pragma once
// Texts of the save slots, the save and load boxes and the save point's title, in Shift-JIS as
// the menu and message-box calls take them. The UTF-8 form is beside each.

// ゲームデータのロードに失敗しました。
inline constexpr const char kLoadFailedText[] =
    "\203Q\201[\203\200\203f\201[\203^\202\314\203\215\201["
    "\203h\202\311\216\270\224s\202\265\202\334\202\265\202\275\201B";
// ゲームデータの保存に失敗しました。
inline constexpr const char kSaveFailedText[] =
    "\203Q\201[\203\200\203f\201[\203^"
    "\202\314\225\333\221\266\202\311\216\270\224s\202\265\202\334\202\265\202\275\201B";
// ゲームデータをハードディスクに保存しました。
inline constexpr const char kSavedText[] =
    "\203Q\201[\203\200\203f\201[\203^\202\360\203n\201["
    "\203h\203f\203B\203X\203N\202\311\225\333\221\266\202\265\202\334\202\265\202\275\201B";
// 『%s』 に 『%s』 を上書き保存します。よろしいですか？
inline constexpr const char kOverwriteQuestionFormat[] =
    "\201w%s\201x \202\311 \201w%s\201x "
    "\202\360\217\343\217\221\202\253\225\333\221\266\202\265\202\334\202\267\201B\202\346\202\353"
    "\202\265\202\242\202\305\202\267\202\251\201H";
// 警告！
inline constexpr const char kWarningCaption[] = "\214x\215\220\201I";
// 報告
inline constexpr const char kReportCaption[] = "\225\361\215\220";
// %04d/%02d/%02d　%02d:%02d　%s
inline constexpr const char kUsedSlotFormat[] = "%04d/%02d/%02d\201@%02d:%02d\201@%s";
// ----/--/--　--:--　データ無し
inline constexpr const char kEmptySlotText[] =
    "----/--/--\201@--:--\201@\203f\201[\203^\226\263\202\265";
// %d月 %d週 %s %s
inline constexpr const char kSavePointTitleFormat[] = "%d\214\216 %d\217T %s %s";
// 平日
inline constexpr const char kWeekdayName[] = "\225\275\223\372";
// 土曜
inline constexpr const char kSaturdayName[] = "\223y\227j";
// 日曜
inline constexpr const char kSundayName[] = "\223\372\227j";
