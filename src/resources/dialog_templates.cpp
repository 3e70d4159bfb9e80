// Dialog templates 105, 109, 114, 144, 153, 163 and the pages of 163 (137, 145, 165, 166, 167):
// their controls with ids, classes, texts (Shift-JIS, the UTF-8 form beside each), styles and
// positions in dialog units.

#include <iterator>

#include "platform/win32/dialog_api.h"
#include "platform/win32/window_api.h"
#include "resources/game_resources.h"

namespace {

constexpr WORD kStatic = 0xFFFF;  // a control no code addresses

// Start-up settings, the simple page.
constexpr DialogItemTemplate kStartupSimpleItems[] = {
    // 描画モード
    {kStatic, WC_STATICA, "\225`\211\346\203\202\201[\203h", SS_LEFT, 10, 12, 52, 10},
    {1201, WC_COMBOBOXA, nullptr, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 64, 10, 146, 80},
    // フルスクリーンで起動(&F)
    {1001, WC_BUTTONA, "\203t\203\213\203X\203N\203\212\201[\203\223\202\305\213N\223\256(&F)",
     BS_AUTOCHECKBOX | WS_TABSTOP, 10, 30, 200, 12},
    {1010, WC_EDITA, nullptr, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 10, 48, 200, 50},
    // 高度な設定(&A)
    {3, WC_BUTTONA, "\215\202\223x\202\310\220\335\222\350(&A)", BS_PUSHBUTTON | WS_TABSTOP, 10,
     104, 90, 14},
    // ゲームの起動
    {1, WC_BUTTONA, "\203Q\201[\203\200\202\314\213N\223\256", BS_DEFPUSHBUTTON | WS_TABSTOP, 10,
     122, 98, 14},
    // Windowsに戻る
    {2, WC_BUTTONA, "Windows\202\311\226\337\202\351", BS_PUSHBUTTON | WS_TABSTOP, 112, 122, 98,
     14},
};
// 起動設定
constexpr DialogTemplate kStartupSimple{
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER,
    "\213N\223\256\220\335\222\350",
    0,
    0,
    220,
    142,
    kStartupSimpleItems,
    static_cast<int>(std::size(kStartupSimpleItems))};

// Start-up settings, the detailed page.
constexpr DialogItemTemplate kStartupDetailedItems[] = {
    // 描画モード
    {kStatic, WC_BUTTONA, "\225`\211\346\203\202\201[\203h", BS_GROUPBOX, 7, 4, 286, 80},
    {1201, WC_COMBOBOXA, nullptr, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 14, 16, 120, 80},
    // フルカラーで表示(&C)
    {1002, WC_BUTTONA, "\203t\203\213\203J\203\211\201[\202\305\225\\\216\246(&C)",
     BS_AUTOCHECKBOX | WS_TABSTOP, 146, 17, 140, 12},
    // 深度バッファ
    {1253, WC_STATICA, "\220[\223x\203o\203b\203t\203@", SS_LEFT, 14, 35, 70, 10},
    {1242, WC_COMBOBOXA, nullptr, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 86, 33, 60, 80},
    // テクスチャ縮小率
    {kStatic, WC_STATICA, "\203e\203N\203X\203`\203\203\217k\217\254\227\246", SS_LEFT, 14, 51, 70,
     10},
    {1243, WC_COMBOBOXA, nullptr, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 86, 49, 60, 80},
    // キャラクタ縮小率
    {kStatic, WC_STATICA, "\203L\203\203\203\211\203N\203^\217k\217\254\227\246", SS_LEFT, 152, 51,
     70, 10},
    {1244, WC_COMBOBOXA, nullptr, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 224, 49, 62, 80},
    // フルスクリーンで起動(&F)
    {1001, WC_BUTTONA, "\203t\203\213\203X\203N\203\212\201[\203\223\202\305\213N\223\256(&F)",
     BS_AUTOCHECKBOX | WS_TABSTOP, 14, 66, 160, 12},
    // 画面モード
    {kStatic, WC_BUTTONA, "\211\346\226\312\203\202\201[\203h", BS_GROUPBOX, 7, 87, 286, 50},
    {1264, WC_COMBOBOXA, nullptr, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 14, 100, 150, 120},
    // 初期状態に戻す
    {1266, WC_BUTTONA, "\217\211\212\372\217\363\221\324\202\311\226\337\202\267",
     BS_PUSHBUTTON | WS_TABSTOP, 170, 98, 116, 14},
    // デスクトップの解像度にする
    {1265, WC_BUTTONA,
     "\203f\203X\203N\203g\203b\203v\202\314\211\360\221\234\223x\202\311\202\267\202\351",
     BS_PUSHBUTTON | WS_TABSTOP, 170, 116, 116, 14},
    // 拡張設定
    {kStatic, WC_BUTTONA, "\212g\222\243\220\335\222\350", BS_GROUPBOX, 7, 140, 286, 36},
    // 画面更新時に垂直同期を待つ(&V)
    {1003, WC_BUTTONA,
     "\211\346\226\312\215X\220V\216\236\202\311\220\202\222\274\223\257\212\372\202\360\221\322"
     "\202\302(&V)",
     BS_AUTOCHECKBOX | WS_TABSTOP, 14, 151, 270, 10},
    // ハードウェアカーソルを使用する(&H)
    {1216, WC_BUTTONA,
     "\203n\201[\203h\203E\203F\203A\203J\201[\203\\\203\213\202\360\216g\227p\202\267\202\351(&H)",
     BS_AUTOCHECKBOX | WS_TABSTOP, 14, 163, 270, 10},
    {1010, WC_EDITA, nullptr, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 7, 180, 286, 28},
    // 簡単な設定(&E)
    {1246, WC_BUTTONA, "\212\310\222P\202\310\220\335\222\350(&E)", BS_PUSHBUTTON | WS_TABSTOP, 7,
     213, 80, 14},
    // ゲームの起動
    {1, WC_BUTTONA, "\203Q\201[\203\200\202\314\213N\223\256", BS_DEFPUSHBUTTON | WS_TABSTOP, 123,
     213, 82, 14},
    // Windowsに戻る
    {2, WC_BUTTONA, "Windows\202\311\226\337\202\351", BS_PUSHBUTTON | WS_TABSTOP, 211, 213, 82,
     14},
};
// 起動設定
constexpr DialogTemplate kStartupDetailed{
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER,
    "\213N\223\256\220\335\222\350",
    0,
    0,
    300,
    232,
    kStartupDetailedItems,
    static_cast<int>(std::size(kStartupDetailedItems))};

// The notice after a run that did not end normally.
constexpr DialogItemTemplate kNoticeItems[] = {
    {1152, WC_EDITA, nullptr, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL, 7, 7, 286,
     110},
    // ゲームを起動する
    {1, WC_BUTTONA, "\203Q\201[\203\200\202\360\213N\223\256\202\267\202\351",
     BS_DEFPUSHBUTTON | WS_TABSTOP, 7, 125, 86, 14},
    // Windowsに戻る
    {2, WC_BUTTONA, "Windows\202\311\226\337\202\351", BS_PUSHBUTTON | WS_TABSTOP, 97, 125, 80, 14},
    // サポートにメールを送る
    {3, WC_BUTTONA, "\203T\203|\201[\203g\202\311\203\201\201[\203\213\202\360\221\227\202\351",
     BS_PUSHBUTTON | WS_TABSTOP, 181, 125, 112, 14},
};
// お知らせ
constexpr DialogTemplate kNotice{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER,
                                 "\202\250\222m\202\347\202\271",
                                 0,
                                 0,
                                 300,
                                 146,
                                 kNoticeItems,
                                 static_cast<int>(std::size(kNoticeItems))};

// The version.
constexpr DialogItemTemplate kVersionItems[] = {
    {1228, WC_STATICA, nullptr, SS_ICON, 10, 10, 21, 20},
    {1000, WC_STATICA, nullptr, SS_LEFT, 40, 10, 160, 28},
    {1, WC_BUTTONA, "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 150, 46, 50, 14},
};
// バージョン情報
constexpr DialogTemplate kVersion{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER,
                                  "\203o\201[\203W\203\207\203\223\217\356\225\361",
                                  0,
                                  0,
                                  210,
                                  66,
                                  kVersionItems,
                                  static_cast<int>(std::size(kVersionItems))};

// The developer's variable list.
constexpr DialogItemTemplate kVariableListItems[] = {
    {1004, WC_LISTVIEWA, nullptr,
     LVS_REPORT | LVS_EDITLABELS | LVS_SINGLESEL | WS_BORDER | WS_TABSTOP, 0, 0, 200, 150},
};
constexpr DialogTemplate kVariableList{
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE,
    "Value List",
    0,
    0,
    200,
    150,
    kVariableListItems,
    static_cast<int>(std::size(kVariableListItems))};

// The developer's value editor.
constexpr DialogItemTemplate kVariableValueItems[] = {
    {1200, WC_EDITA, nullptr, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 7, 100, 12},
    {1, WC_BUTTONA, "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 7, 25, 48, 14},
    // ｷｬﾝｾﾙ
    {2, WC_BUTTONA, "\267\254\335\276\331", BS_PUSHBUTTON | WS_TABSTOP, 59, 25, 48, 14},
};
// 変数編集
constexpr DialogTemplate kVariableValue{
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER,
    "\225\317\220\224\225\322\217W",
    0,
    0,
    114,
    46,
    kVariableValueItems,
    static_cast<int>(std::size(kVariableValueItems))};

// Preferences; its pages lie in the tab control.
constexpr DialogItemTemplate kPreferencesItems[] = {
    {1203, WC_TABCONTROLA, nullptr, WS_TABSTOP, 7, 7, 256, 172},
    {1010, WC_EDITA, nullptr, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 7, 183, 200, 36},
    // 閉じる
    {1, WC_BUTTONA, "\225\302\202\266\202\351", BS_DEFPUSHBUTTON | WS_TABSTOP, 213, 205, 50, 14},
};
// 環境設定
constexpr DialogTemplate kPreferences{
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER,
    "\212\302\213\253\220\335\222\350",
    0,
    0,
    270,
    226,
    kPreferencesItems,
    static_cast<int>(std::size(kPreferencesItems))};

// Preferences page 0: sound.
constexpr DialogItemTemplate kPageSoundItems[] = {
    // ボリューム
    {kStatic, WC_BUTTONA, "\203{\203\212\203\205\201[\203\200", BS_GROUPBOX, 7, 4, 238, 80},
    // 音楽
    {kStatic, WC_STATICA, "\211\271\212y", SS_LEFT, 14, 20, 34, 10},
    {kStatic, WC_STATICA, "Min", SS_LEFT, 50, 20, 14, 10},
    {1134, TRACKBAR_CLASSA, nullptr, TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, 66, 18, 150, 14},
    {kStatic, WC_STATICA, "Max", SS_LEFT, 220, 20, 20, 10},
    // 効果音
    {kStatic, WC_STATICA, "\214\370\211\312\211\271", SS_LEFT, 14, 42, 34, 10},
    {kStatic, WC_STATICA, "Min", SS_LEFT, 50, 42, 14, 10},
    {1135, TRACKBAR_CLASSA, nullptr, TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, 66, 40, 150, 14},
    {kStatic, WC_STATICA, "Max", SS_LEFT, 220, 42, 20, 10},
    // 音声 (greyed with the voice slider)
    {1149, WC_STATICA, "\211\271\220\272", SS_LEFT, 14, 64, 34, 10},
    {kStatic, WC_STATICA, "Min", SS_LEFT, 50, 64, 14, 10},
    {1138, TRACKBAR_CLASSA, nullptr, TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, 66, 62, 150, 14},
    {kStatic, WC_STATICA, "Max", SS_LEFT, 220, 64, 20, 10},
    {kStatic, WC_BUTTONA, "BGM", BS_GROUPBOX, 7, 90, 238, 28},
    {1137, WC_BUTTONA, "PCM", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 14, 102, 80, 10},
    {1136, WC_BUTTONA, "CD-DA", BS_AUTORADIOBUTTON | WS_TABSTOP, 100, 102, 80, 10},
};
constexpr DialogTemplate kPageSound{WS_CHILD | DS_CONTROL,
                                    nullptr,
                                    1,
                                    14,
                                    252,
                                    150,
                                    kPageSoundItems,
                                    static_cast<int>(std::size(kPageSoundItems))};

// Preferences page 1: message. Under each colour slider its colour scale (bitmaps 117..119).
constexpr DialogItemTemplate kPageMessageItems[] = {
    // メッセージ背景色
    {kStatic, WC_BUTTONA, "\203\201\203b\203Z\201[\203W\224w\214i\220F", BS_GROUPBOX, 7, 4, 238,
     90},
    // 色
    {kStatic, WC_STATICA, "\220F", SS_LEFT, 14, 18, 40, 10},
    {1006, TRACKBAR_CLASSA, nullptr, TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, 56, 16, 180, 12},
    {kStatic, WC_STATICA, "#117", SS_BITMAP, 56, 28, 180, 4},
    // 彩度
    {kStatic, WC_STATICA, "\215\312\223x", SS_LEFT, 14, 37, 40, 10},
    {1108, TRACKBAR_CLASSA, nullptr, TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, 56, 35, 180, 12},
    {kStatic, WC_STATICA, "#118", SS_BITMAP, 56, 47, 180, 4},
    // 明度
    {kStatic, WC_STATICA, "\226\276\223x", SS_LEFT, 14, 56, 40, 10},
    {1009, TRACKBAR_CLASSA, nullptr, TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, 56, 54, 180, 12},
    {kStatic, WC_STATICA, "#119", SS_BITMAP, 56, 66, 180, 4},
    // 透明度
    {kStatic, WC_STATICA, "\223\247\226\276\223x", SS_LEFT, 14, 75, 40, 10},
    {1256, TRACKBAR_CLASSA, nullptr, TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, 56, 73, 180, 12},
    {kStatic, WC_STATICA, "#119", SS_BITMAP, 56, 85, 180, 4},
    // ルビ振り
    {1190, WC_BUTTONA, "\203\213\203r\220U\202\350", BS_AUTOCHECKBOX | WS_TABSTOP, 14, 100, 70, 10},
    // 音声スキップ
    {1149, WC_BUTTONA, "\211\271\220\272\203X\203L\203b\203v", BS_AUTOCHECKBOX | WS_TABSTOP, 88,
     100, 70, 10},
    // 未読スキップ
    {1188, WC_BUTTONA, "\226\242\223\307\203X\203L\203b\203v", BS_AUTOCHECKBOX | WS_TABSTOP, 162,
     100, 70, 10},
    // 自動送り速度
    {kStatic, WC_BUTTONA, "\216\251\223\256\221\227\202\350\221\254\223x", BS_GROUPBOX, 7, 114, 238,
     30},
    {1196, TRACKBAR_CLASSA, nullptr, TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, 14, 126, 150, 14},
    {1213, WC_STATICA, nullptr, SS_LEFT, 170, 128, 60, 10},
};
constexpr DialogTemplate kPageMessage{WS_CHILD | DS_CONTROL,
                                      nullptr,
                                      1,
                                      14,
                                      252,
                                      150,
                                      kPageMessageItems,
                                      static_cast<int>(std::size(kPageMessageItems))};

// Preferences page 2: voice: one box for each speaking character of the voice table (1230..1246,
// in its order), the male group on the left, the female group on the right.
constexpr DialogItemTemplate kPageVoiceItems[] = {
    // 男性
    {kStatic, WC_BUTTONA, "\222j\220\253", BS_GROUPBOX, 7, 4, 116, 138},
    // 男性陣
    {1214, WC_BUTTONA, "\222j\220\253\220w", BS_AUTOCHECKBOX | WS_TABSTOP, 14, 16, 100, 10},
    // 女性
    {kStatic, WC_BUTTONA, "\217\227\220\253", BS_GROUPBOX, 129, 4, 116, 138},
    // 女性陣
    {1217, WC_BUTTONA, "\217\227\220\253\220w", BS_AUTOCHECKBOX | WS_TABSTOP, 136, 16, 100, 10},
    // カイ
    {1230, WC_BUTTONA, "\203J\203C", BS_AUTOCHECKBOX | WS_TABSTOP, 22, 30, 96, 10},
    // 駅員
    {1231, WC_BUTTONA, "\211w\210\365", BS_AUTOCHECKBOX | WS_TABSTOP, 22, 42, 96, 10},
    // トウヤ
    {1232, WC_BUTTONA, "\203g\203E\203\204", BS_AUTOCHECKBOX | WS_TABSTOP, 22, 54, 96, 10},
    // レン
    {1233, WC_BUTTONA, "\203\214\203\223", BS_AUTOCHECKBOX | WS_TABSTOP, 22, 66, 96, 10},
    // ゴロウ
    {1234, WC_BUTTONA, "\203S\203\215\203E", BS_AUTOCHECKBOX | WS_TABSTOP, 22, 78, 96, 10},
    // シュン
    {1235, WC_BUTTONA, "\203V\203\205\203\223", BS_AUTOCHECKBOX | WS_TABSTOP, 22, 90, 96, 10},
    // マサト
    {1236, WC_BUTTONA, "\203}\203T\203g", BS_AUTOCHECKBOX | WS_TABSTOP, 22, 102, 96, 10},
    // ヒナ
    {1237, WC_BUTTONA, "\203q\203i", BS_AUTOCHECKBOX | WS_TABSTOP, 144, 30, 96, 10},
    // ソラ
    {1238, WC_BUTTONA, "\203\\\203\211", BS_AUTOCHECKBOX | WS_TABSTOP, 144, 41, 96, 10},
    // 案内人
    {1239, WC_BUTTONA, "\210\304\223\340\220l", BS_AUTOCHECKBOX | WS_TABSTOP, 144, 52, 96, 10},
    // ミオ
    {1240, WC_BUTTONA, "\203~\203I", BS_AUTOCHECKBOX | WS_TABSTOP, 144, 63, 96, 10},
    // ユズ
    {1241, WC_BUTTONA, "\203\206\203Y", BS_AUTOCHECKBOX | WS_TABSTOP, 144, 74, 96, 10},
    // リカ
    {1242, WC_BUTTONA, "\203\212\203J", BS_AUTOCHECKBOX | WS_TABSTOP, 144, 85, 96, 10},
    // ナギ
    {1243, WC_BUTTONA, "\203i\203M", BS_AUTOCHECKBOX | WS_TABSTOP, 144, 96, 96, 10},
    // ツバメ
    {1244, WC_BUTTONA, "\203c\203o\203\201", BS_AUTOCHECKBOX | WS_TABSTOP, 144, 107, 96, 10},
    // コハル
    {1245, WC_BUTTONA, "\203R\203n\203\213", BS_AUTOCHECKBOX | WS_TABSTOP, 144, 118, 96, 10},
    // セリ
    {1246, WC_BUTTONA, "\203Z\203\212", BS_AUTOCHECKBOX | WS_TABSTOP, 144, 129, 96, 10},
};
constexpr DialogTemplate kPageVoice{WS_CHILD | DS_CONTROL,
                                    nullptr,
                                    1,
                                    14,
                                    252,
                                    150,
                                    kPageVoiceItems,
                                    static_cast<int>(std::size(kPageVoiceItems))};

// Preferences page 3: other.
constexpr DialogItemTemplate kPageOtherItems[] = {
    // 説明ウィンドウ
    {1209, WC_BUTTONA, "\220\340\226\276\203E\203B\203\223\203h\203E", BS_AUTOCHECKBOX | WS_TABSTOP,
     14, 8, 100, 10},
    {1210, TRACKBAR_CLASSA, nullptr, TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, 24, 20, 120, 14},
    {1212, WC_STATICA, nullptr, SS_LEFT, 150, 22, 90, 10},
    // カーソル自動移動
    {1211, WC_BUTTONA, "\203J\201[\203\\\203\213\216\251\223\256\210\332\223\256",
     BS_AUTOCHECKBOX | WS_TABSTOP, 14, 40, 100, 10},
    {1213, TRACKBAR_CLASSA, nullptr, TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, 24, 52, 120, 14},
    {1219, WC_STATICA, nullptr, SS_LEFT, 150, 54, 90, 10},
    // エフェクトを有効にする
    {1241, WC_BUTTONA, "\203G\203t\203F\203N\203g\202\360\227L\214\370\202\311\202\267\202\351",
     BS_AUTOCHECKBOX | WS_TABSTOP, 14, 72, 150, 10},
    // テクスチャフィルタ（縮小）
    {kStatic, WC_STATICA,
     "\203e\203N\203X\203`\203\203\203t\203B\203\213\203^\201i\217k\217\254\201j", SS_LEFT, 14, 90,
     113, 10},
    {1255, WC_COMBOBOXA, nullptr, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 128, 88, 100, 80},
    // テクスチャフィルタ（拡大）
    {kStatic, WC_STATICA,
     "\203e\203N\203X\203`\203\203\203t\203B\203\213\203^\201i\212g\221\345\201j", SS_LEFT, 14, 106,
     113, 10},
    {1258, WC_COMBOBOXA, nullptr, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 128, 104, 100, 80},
};
constexpr DialogTemplate kPageOther{WS_CHILD | DS_CONTROL,
                                    nullptr,
                                    1,
                                    14,
                                    252,
                                    150,
                                    kPageOtherItems,
                                    static_cast<int>(std::size(kPageOtherItems))};

// Preferences page 4: system. The fields end inside the log view that covers them.
constexpr DialogItemTemplate kPageSystemItems[] = {
    {kStatic, WC_STATICA, "CPU", SS_LEFT, 14, 6, 60, 10},
    {1225, WC_STATICA, nullptr, SS_LEFT, 76, 6, 168, 10},
    // クロック
    {kStatic, WC_STATICA, "\203N\203\215\203b\203N", SS_LEFT, 14, 18, 60, 10},
    {1236, WC_STATICA, nullptr, SS_LEFT, 76, 18, 168, 10},
    {kStatic, WC_STATICA, "OS", SS_LEFT, 14, 30, 60, 10},
    {1229, WC_STATICA, nullptr, SS_LEFT, 76, 30, 168, 10},
    // メモリ
    {kStatic, WC_STATICA, "\203\201\203\202\203\212", SS_LEFT, 14, 42, 60, 10},
    {1226, WC_STATICA, nullptr, SS_LEFT, 76, 42, 168, 10},
    // ドライブ
    {kStatic, WC_STATICA, "\203h\203\211\203C\203u", SS_LEFT, 14, 54, 60, 10},
    {1228, WC_STATICA, nullptr, SS_LEFT, 76, 54, 20, 10},
    // 容量
    {kStatic, WC_STATICA, "\227e\227\312", SS_LEFT, 100, 54, 60, 10},
    {1230, WC_STATICA, nullptr, SS_LEFT, 162, 54, 50, 10},
    // 空き容量
    {kStatic, WC_STATICA, "\213\363\202\253\227e\227\312", SS_LEFT, 14, 66, 60, 10},
    {1231, WC_STATICA, nullptr, SS_LEFT, 76, 66, 168, 10},
    // ビデオカード
    {kStatic, WC_STATICA, "\203r\203f\203I\203J\201[\203h", SS_LEFT, 14, 78, 60, 10},
    {1232, WC_STATICA, nullptr, SS_LEFT, 76, 78, 168, 10},
    // ドライバ
    {kStatic, WC_STATICA, "\203h\203\211\203C\203o", SS_LEFT, 14, 90, 60, 10},
    {1233, WC_STATICA, nullptr, SS_LEFT, 76, 90, 168, 10},
    // サウンド
    {kStatic, WC_STATICA, "\203T\203E\203\223\203h", SS_LEFT, 14, 102, 60, 10},
    {1234, WC_STATICA, nullptr, SS_LEFT, 76, 102, 168, 10},
    // ドライバ
    {kStatic, WC_STATICA, "\203h\203\211\203C\203o", SS_LEFT, 14, 114, 60, 10},
    {1235, WC_STATICA, nullptr, SS_LEFT, 76, 114, 168, 10},
    {1207, WC_EDITA, nullptr, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER,
     7, 4, 238, 122},
    // 詳細表示
    {1227, WC_BUTTONA, "\217\332\215\327\225\\\216\246", BS_AUTOCHECKBOX | WS_TABSTOP, 14, 132, 80,
     10},
    // コピー(&C)
    {1206, WC_BUTTONA, "\203R\203s\201[(&C)", BS_PUSHBUTTON | WS_TABSTOP, 180, 130, 60, 14},
};
constexpr DialogTemplate kPageSystem{WS_CHILD | DS_CONTROL,
                                     nullptr,
                                     1,
                                     14,
                                     252,
                                     150,
                                     kPageSystemItems,
                                     static_cast<int>(std::size(kPageSystemItems))};

}  // namespace

void RegisterDialogTemplates() {
    Win32RegisterDialogResource(109, &kStartupSimple);
    Win32RegisterDialogResource(210, &kStartupDetailed);
    Win32RegisterDialogResource(144, &kNotice);
    Win32RegisterDialogResource(105, &kVersion);
    Win32RegisterDialogResource(114, &kVariableList);
    Win32RegisterDialogResource(153, &kVariableValue);
    Win32RegisterDialogResource(163, &kPreferences);
    Win32RegisterDialogResource(137, &kPageSound);
    Win32RegisterDialogResource(166, &kPageMessage);
    Win32RegisterDialogResource(165, &kPageVoice);
    Win32RegisterDialogResource(145, &kPageOther);
    Win32RegisterDialogResource(167, &kPageSystem);
}
