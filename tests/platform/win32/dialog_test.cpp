// Dialogs as a control model: templates, the standard controls' messages and notifications, and
// the modal loop (timers, a dialog no one answers, the quit message).

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32/dialog_api.h"
#include "platform/win32/dialog_input.h"
#include "platform/win32/dialog_test_hooks.h"
#include "platform/win32/menu_api.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/win32/timer_api.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"
#include "platform/winbase/file_api.h"
#include "platform/winbase/test_hooks.h"

namespace {

constexpr DialogItemTemplate kItems[] = {
    {1, WC_BUTTONA, "OK", BS_DEFPUSHBUTTON, 0, 0, 40, 14},
    {2, WC_BUTTONA, "Cancel", BS_PUSHBUTTON, 44, 0, 40, 14},
    {10, WC_BUTTONA, "box", BS_AUTOCHECKBOX, 0, 20, 40, 10},
    {11, WC_BUTTONA, "a", BS_AUTORADIOBUTTON | WS_GROUP, 0, 32, 40, 10},
    {12, WC_BUTTONA, "b", BS_AUTORADIOBUTTON, 0, 44, 40, 10},
    {13, WC_BUTTONA, "c", BS_AUTORADIOBUTTON | WS_GROUP, 0, 56, 40, 10},
    {20, WC_COMBOBOXA, nullptr, CBS_DROPDOWNLIST, 50, 20, 60, 60},
    {30, TRACKBAR_CLASSA, nullptr, TBS_HORZ, 50, 40, 60, 14},
    {40, WC_TABCONTROLA, nullptr, 0, 120, 0, 80, 60},
    {50, WC_EDITA, nullptr, ES_AUTOHSCROLL, 120, 64, 80, 12},
    {51, WC_EDITA, nullptr, ES_READONLY, 120, 80, 80, 12},
    {60, WC_LISTVIEWA, nullptr, LVS_REPORT | LVS_EDITLABELS, 0, 70, 110, 40},
};
constexpr DialogTemplate kDialog{
    WS_POPUP | WS_CAPTION, "test", 10, 20, 210, 120, kItems, static_cast<int>(std::size(kItems))};
constexpr WORD kResource = 901;

// For the keyboard: a label naming the track bar after it, a radio group with a disabled
// button, a check box, an edit field and the two buttons.
constexpr DialogItemTemplate kKeyItems[] = {
    {70, WC_STATICA, "&Level", SS_LEFT, 0, 0, 30, 10},
    {30, TRACKBAR_CLASSA, nullptr, TBS_HORZ | WS_TABSTOP, 30, 0, 60, 14},
    {11, WC_BUTTONA, "a", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 0, 20, 40, 10},
    {12, WC_BUTTONA, "b", BS_AUTORADIOBUTTON, 0, 32, 40, 10},
    {13, WC_BUTTONA, "c", BS_AUTORADIOBUTTON | WS_DISABLED, 0, 44, 40, 10},
    {10, WC_BUTTONA, "&box", BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, 0, 56, 40, 10},
    {50, WC_EDITA, nullptr, ES_AUTOHSCROLL | WS_TABSTOP, 0, 70, 80, 12},
    {1, WC_BUTTONA, "OK", BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 0, 90, 40, 14},
    {2, WC_BUTTONA, "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 44, 90, 40, 14},
};
constexpr DialogTemplate kKeyDialog{WS_POPUP | WS_CAPTION,
                                    "keys",
                                    10,
                                    20,
                                    100,
                                    110,
                                    kKeyItems,
                                    static_cast<int>(std::size(kKeyItems))};
constexpr WORD kKeyResource = 903;
// The dialog parameter that makes WM_INITDIALOG put the focus on Cancel and answer FALSE.
constexpr LPARAM kFocusCancel = 5;

// A list view alone, four rows high below its header.
constexpr DialogItemTemplate kListItems[] = {
    {60, WC_LISTVIEWA, nullptr, LVS_REPORT | LVS_EDITLABELS | LVS_SINGLESEL | WS_TABSTOP, 0, 0, 100,
     56},
};
constexpr DialogTemplate kListDialog{WS_POPUP | WS_CAPTION, "list", 10, 20, 100, 56, kListItems, 1};
constexpr WORD kListResource = 904;

// What the dialog procedure heard, one line a notification.
std::vector<std::string> heard;
bool selChangingRefused = false;

INT_PTR RecordingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            heard.push_back("init " + std::to_string(lParam));
            if (lParam == kFocusCancel) {
                SetFocus(GetDlgItem(dialog, 2));
                return FALSE;
            }
            return TRUE;
        case WM_COMMAND:
            heard.push_back("command " + std::to_string(LOWORD(wParam)) + " " +
                            std::to_string(HIWORD(wParam)));
            if (LOWORD(wParam) == 1 || LOWORD(wParam) == 2) {
                EndDialog(dialog, LOWORD(wParam) + 100);
            }
            return TRUE;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            heard.push_back("notify " + std::to_string(header->idFrom) + " " +
                            std::to_string(static_cast<int>(header->code)));
            if (header->code == LVN_BEGINLABELEDITA) {
                heard.back() +=
                    " row " +
                    std::to_string(reinterpret_cast<const NMLVDISPINFOA*>(lParam)->item.iItem);
            }
            return header->code == TCN_SELCHANGING && selChangingRefused;
        }
        case WM_HSCROLL:
            heard.push_back("hscroll " + std::to_string(LOWORD(wParam)) + " " +
                            std::to_string(HIWORD(wParam)));
            return TRUE;
        default:
            return FALSE;
    }
}

using Step = void (*)(HWND dialog);
std::vector<Step> steps;
std::size_t nextStep = 0;
void RunSteps(HWND dialog, void*) {
    if (nextStep < steps.size()) {
        steps[nextStep++](dialog);
    } else {
        EndDialog(dialog, -7);
    }
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        Win32RegisterDialogResource(kResource, &kDialog);
        Win32RegisterDialogResource(kKeyResource, &kKeyDialog);
        Win32RegisterDialogResource(kListResource, &kListDialog);
        heard.clear();
        selChangingRefused = false;
        steps.clear();
        nextStep = 0;
    }
    void TearDown() override { win32_test::SetModalIdleHook(nullptr, nullptr); }
    INT_PTR Run(std::vector<Step> what) {
        steps = std::move(what);
        win32_test::SetModalIdleHook(RunSteps, nullptr);
        return DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kResource), nullptr, RecordingProc, 77);
    }
};

TEST_F(DialogTest, ControlsAnswerTheirMessagesAndNotifyAsAUserWouldMakeThem) {
    const INT_PTR result = Run({
        [](HWND d) {
            // Check box and radio groups: automatic ones follow the click.
            Win32ClickControl(GetDlgItem(d, 10));
            Win32ClickControl(GetDlgItem(d, 11));
            Win32ClickControl(GetDlgItem(d, 12));
            Win32ClickControl(GetDlgItem(d, 13));
            EXPECT_EQ(IsDlgButtonChecked(d, 10), BST_CHECKED);
            EXPECT_EQ(IsDlgButtonChecked(d, 11), BST_UNCHECKED) << "the group's other button";
            EXPECT_EQ(IsDlgButtonChecked(d, 12), BST_CHECKED);
            EXPECT_EQ(IsDlgButtonChecked(d, 13), BST_CHECKED) << "a group of its own";
        },
        [](HWND d) {
            // Combo: entries, data, selection; only a change notifies.
            for (const char* text : {"x", "y", "z"}) {
                SendDlgItemMessageA(d, 20, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
            }
            SendDlgItemMessageA(d, 20, CB_SETITEMDATA, 2, 80);
            EXPECT_EQ(SendDlgItemMessageA(d, 20, CB_SETCURSEL, 5, 0), CB_ERR);
            EXPECT_EQ(SendDlgItemMessageA(d, 20, CB_GETCURSEL, 0, 0), -1);
            EXPECT_TRUE(Win32ChooseComboItem(GetDlgItem(d, 20), 2));
            EXPECT_TRUE(Win32ChooseComboItem(GetDlgItem(d, 20), 2));
            EXPECT_EQ(SendDlgItemMessageA(d, 20, CB_GETITEMDATA, 2, 0), 80);
            EXPECT_FALSE(Win32ChooseComboItem(GetDlgItem(d, 20), 3));
            char text[8] = {};
            EXPECT_EQ(SendDlgItemMessageA(d, 20, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text)),
                      1);
            EXPECT_STREQ(text, "y");
        },
        [](HWND d) {
            // Track bar: range and position clamped; a drag tracks, a release ends.
            SendDlgItemMessageA(d, 30, TBM_SETRANGE, TRUE, MAKELONG(0, 3));
            SendDlgItemMessageA(d, 30, TBM_SETPOS, TRUE, 9);
            EXPECT_EQ(SendDlgItemMessageA(d, 30, TBM_GETPOS, 0, 0), 3);
            Win32DragTrackbar(GetDlgItem(d, 30), 1, false);
            Win32DragTrackbar(GetDlgItem(d, 30), -4, true);
        },
        [](HWND d) {
            // Tabs: inserted in order; a refused change keeps the old tab.
            TCITEMA item{};
            item.mask = TCIF_TEXT;
            for (const char* text : {"one", "two"}) {
                item.pszText = const_cast<char*>(text);
                SendDlgItemMessageA(d, 40, TCM_INSERTITEMA, 9, reinterpret_cast<LPARAM>(&item));
            }
            Win32SetControlByText(GetDlgItem(d, 40), "two");
            selChangingRefused = true;
            Win32ChooseTab(GetDlgItem(d, 40), 0);
            EXPECT_EQ(SendDlgItemMessageA(d, 40, TCM_GETCURSEL, 0, 0), 1);
        },
        [](HWND d) {
            // Edits: typing notifies; a read-only one takes nothing; list view cells.
            EXPECT_TRUE(Win32TypeText(GetDlgItem(d, 50), "abc"));
            EXPECT_FALSE(Win32TypeText(GetDlgItem(d, 51), "abc"));
            EnableWindow(GetDlgItem(d, 10), FALSE);
            EXPECT_FALSE(Win32ClickControl(GetDlgItem(d, 10))) << "disabled";
            LVCOLUMNA column{LVCF_TEXT | LVCF_WIDTH, 0, 40, const_cast<char*>("No."), 0, 0};
            SendDlgItemMessageA(d, 60, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
            SendDlgItemMessageA(d, 60, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
            LVITEMA row{LVIF_TEXT, 0, 0, 0, 0, const_cast<char*>("r0"), 0, 0, 0};
            SendDlgItemMessageA(d, 60, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row));
            row.iSubItem = 1;
            row.pszText = const_cast<char*>("cell");
            SendDlgItemMessageA(d, 60, LVM_SETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&row));
            char text[8] = {};
            row.pszText = text;
            row.cchTextMax = sizeof text;
            EXPECT_EQ(
                SendDlgItemMessageA(d, 60, LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&row)), 4);
            EXPECT_STREQ(text, "cell");
            EXPECT_FALSE(Win32BeginLabelEdit(GetDlgItem(d, 60), 1));
            EXPECT_TRUE(Win32BeginLabelEdit(GetDlgItem(d, 60), 0));
        },
        [](HWND d) { SendMessageA(d, WM_CLOSE, 0, 0); },
    });
    EXPECT_EQ(result, 102) << "closing is Cancel";
    const std::vector<std::string> expected = {
        "init 77",        "command 10 0",   "command 11 0",         "command 12 0",
        "command 13 0",   "command 20 1",   "hscroll 5 1",          "hscroll 5 0",
        "hscroll 4 0",    "hscroll 8 0",    "notify 40 -552",       "notify 40 -551",
        "notify 40 -552", "command 50 768", "notify 60 -105 row 0", "command 2 0"};
    EXPECT_EQ(heard, expected);
}

TEST_F(DialogTest, ADialogNoOneAnswersTakesItsDefaultButtonAndAMissingOneFails) {
    // No idle hook and no presentation: the default push button answers at once.
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kResource), nullptr, RecordingProc, 0),
              101);
    EXPECT_EQ(heard, (std::vector<std::string>{"init 0", "command 1 0"}));
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(902), nullptr, RecordingProc, 0), -1);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
}

// A key, with Alt held around it when `alt`; or, with `nextControl` 1 or -1, WM_NEXTDLGCTL to
// the next or the previous tab stop.
struct KeyStep {
    UINT key;
    bool alt = false;
    int nextControl = 0;
};
constexpr KeyStep kNextControl{0, false, 1};
constexpr KeyStep kPreviousControl{0, false, -1};
const std::vector<KeyStep>* keySteps = nullptr;

TEST_F(DialogTest, KeysMoveTheFocusAndSendWhatTheMouseSends) {
    struct Case {
        const char* name;
        LPARAM param;
        std::vector<KeyStep> steps;
        std::vector<std::string> heard;  // after "init"
    };
    const Case cases[] = {
        {"a label's mnemonic focuses the track bar after it, which its keys move",
         kFocusCancel,
         {{'L', true}, {VK_RIGHT}, {VK_NEXT}, {VK_RETURN}},
         {"hscroll 1 0", "hscroll 8 0", "hscroll 3 0", "hscroll 8 0", "command 1 0"}},
        {"the arrow keys choose in a radio group, past a disabled button, round to its first",
         0,
         {{VK_TAB}, {VK_DOWN}, {VK_DOWN}, {VK_ESCAPE}},
         {"command 12 0", "command 11 0", "command 2 0"}},
        {"WM_INITDIALOG that sets the focus and answers FALSE keeps it: Return presses it",
         kFocusCancel,
         {{VK_RETURN}},
         {"command 2 0"}},
        {"WM_NEXTDLGCTL back from the first tab stop wraps to the last; Space presses it",
         0,
         {kPreviousControl, {VK_SPACE}},
         {"command 2 0"}},
        {"in an edit field a letter is typing, and Alt with it the mnemonic",
         0,
         {kNextControl, kNextControl, kNextControl, {'B'}, {'B', true}, {VK_ESCAPE}},
         {"command 10 0", "command 2 0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        heard.clear();
        steps = {[](HWND dialog) {
            for (const KeyStep& step : *keySteps) {
                if (step.nextControl != 0) {
                    SendMessageA(dialog, WM_NEXTDLGCTL, step.nextControl < 0 ? 1 : 0, 0);
                    continue;
                }
                if (step.alt) {
                    win32_test::InjectKey(dialog, VK_MENU, true);
                }
                win32_test::InjectKey(dialog, step.key, true);
                win32_test::InjectKey(dialog, step.key, false);
                if (step.alt) {
                    win32_test::InjectKey(dialog, VK_MENU, false);
                }
            }
        }};
        nextStep = 0;
        keySteps = &c.steps;
        win32_test::SetModalIdleHook(RunSteps, nullptr);
        DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kKeyResource), nullptr, RecordingProc, c.param);
        std::vector<std::string> expected = {"init " + std::to_string(c.param)};
        expected.insert(expected.end(), c.heard.begin(), c.heard.end());
        EXPECT_EQ(heard, expected);
    }
}

// One key to the list dialog, and the list's focused row and first row shown after it; the
// selection follows the focused row.
struct ListKey {
    const char* name;
    UINT key;
    int focused;
    int top;
    std::vector<std::string> heard;
};
const std::vector<ListKey>* listKeys = nullptr;
std::size_t nextListKey = 0;

LRESULT ListState(HWND list, UINT message, LPARAM which = 0) {
    return SendMessageA(list, message, static_cast<WPARAM>(-1), which);
}

// Checks what the last key did, then presses the next one.
void PressNextListKey(HWND dialog, void*) {
    HWND list = GetDlgItem(dialog, 60);
    if (nextListKey > 0) {
        const ListKey& done = (*listKeys)[nextListKey - 1];
        SCOPED_TRACE(done.name);
        EXPECT_EQ(ListState(list, LVM_GETNEXTITEM, LVNI_FOCUSED), done.focused);
        EXPECT_EQ(ListState(list, LVM_GETNEXTITEM, LVNI_SELECTED), done.focused);
        EXPECT_EQ(ListState(list, LVM_GETTOPINDEX), done.top);
        EXPECT_EQ(heard, done.heard);
    }
    if (nextListKey == listKeys->size()) {
        EndDialog(dialog, 0);
        return;
    }
    heard.clear();
    const UINT key = (*listKeys)[nextListKey++].key;
    win32_test::InjectKey(dialog, key, true);
    win32_test::InjectKey(dialog, key, false);
}

TEST_F(DialogTest, AListViewsKeysMoveItsFocusedRowIntoViewAndF2EditsItsLabel) {
    const std::vector<ListKey> keys = {
        {"F2 without a focused row edits nothing", VK_F2, -1, 0, {}},
        {"Down without a focused row focuses the first", VK_DOWN, 0, 0, {}},
        {"Down the next", VK_DOWN, 1, 0, {}},
        {"End the last, the list scrolled to show it", VK_END, 9, 6, {}},
        {"Home the first", VK_HOME, 0, 0, {}},
        {"Page Down the last row shown", VK_NEXT, 3, 0, {}},
        {"Page Down from there a page further", VK_NEXT, 6, 3, {}},
        {"Up the previous, shown already", VK_UP, 5, 3, {}},
        {"Page Up the first row shown", VK_PRIOR, 3, 3, {}},
        {"Page Up from there a page back", VK_PRIOR, 0, 0, {}},
        {"Up stops at the first", VK_UP, 0, 0, {}},
        {"Down again", VK_DOWN, 1, 0, {}},
        {"F2 edits the focused row's label", VK_F2, 1, 0, {"notify 60 -105 row 1"}},
    };
    listKeys = &keys;
    nextListKey = 0;
    steps = {[](HWND dialog) {
        // Ten rows, none of them focused or selected; the list has the focus as the only tab stop.
        HWND list = GetDlgItem(dialog, 60);
        LVCOLUMNA column{LVCF_TEXT | LVCF_WIDTH, 0, 40, const_cast<char*>("No."), 0, 0};
        SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
        for (int row = 0; row < 10; ++row) {
            LVITEMA item{LVIF_TEXT, row, 0, 0, 0, const_cast<char*>("r"), 0, 0, 0};
            SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
        EXPECT_EQ(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0), 4);
        win32_test::SetModalIdleHook(PressNextListKey, nullptr);
    }};
    win32_test::SetModalIdleHook(RunSteps, nullptr);
    DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kListResource), nullptr, RecordingProc, 0);
    EXPECT_EQ(nextListKey, keys.size());
}

int timerTicks = 0;
TEST_F(DialogTest, TheModalLoopDispatchesTimersAndEndsOnTheQuitMessage) {
    win32_test::UseManualClock(true);
    timerTicks = 0;
    const UINT_PTR timer =
        SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) { ++timerTicks; });
    const INT_PTR result = Run({
        [](HWND) { win32_test::AdvanceClockMicroseconds(100000); },
        [](HWND) { win32_test::AdvanceClockMicroseconds(100000); },
        [](HWND) { PostQuitMessage(3); },
    });
    EXPECT_EQ(timerTicks, 2) << "timers went on while the dialog was open";
    EXPECT_EQ(result, 2) << "the quit message abandons the dialog";
    MSG message{};
    EXPECT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_QUIT) << "and is left for the loop outside";
    EXPECT_EQ(message.wParam, 3u);
    // A thread timer left running would tick into the tests after this one.
    KillTimer(nullptr, timer);
    win32_test::UseManualClock(false);
}

}  // namespace
