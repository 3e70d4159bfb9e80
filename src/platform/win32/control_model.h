#pragma once
// Internal to src/platform: the state each standard control keeps (controls_api.h), read by the
// presentation to draw it. The control procedures own it; a snapshot is a copy taken under the
// model's lock.

#include <string>
#include <vector>

#include "platform/winbase/win_types.h"

namespace win32_internal {

// Height in pixels of a tab control's row of tabs (TCM_ADJUSTRECT).
constexpr int kTabRowHeight = 22;
// Height in pixels of a closed drop-down combo box. The height it is created with (a template's)
// is that of the box with its list open; its window keeps only the closed height, so that the
// pointer over a control below a closed box reaches that control.
constexpr int kComboClosedHeight = 17;
// A list view in report view as it is drawn, in pixels: a frame, a header row and rows of one
// height. How many rows a page holds, and so where its keys page and scroll to, follows from them.
constexpr int kListFrame = 1;
constexpr int kListHeaderHeight = 17;
constexpr int kListRowHeight = 17;

enum class ControlKind { kNone, kButton, kStatic, kEdit, kComboBox, kTrackbar, kTab, kListView };

struct ControlItem {
    std::string text;  // Shift-JIS
    LPARAM data = 0;
};

struct ControlState {
    ControlKind kind = ControlKind::kNone;
    int check = 0;                   // buttons: BST_*
    std::vector<ControlItem> items;  // combo entries, tabs
    int selection = -1;              // combo, tab; list view: the selected row
    int droppedHeight = 0;           // combo: the box with its list open, in pixels
    bool dropped = false;            // combo: its list is open
    int rangeMin = 0;                // track bars
    int rangeMax = 100;
    int position = 0;
    int ticFrequency = 1;
    int lineSize = 1;
    int pageSize = 0;  // 0: a fifth of the range, at least 1 (TrackbarPageSize)
    int selStart = 0;  // edit fields: the selection, in bytes
    int selEnd = 0;
    HICON icon = nullptr;                        // static icons
    std::vector<ControlItem> columns;            // list views: text and width (data)
    std::vector<std::vector<std::string>> rows;  // list views: the cells of each row
    int focusedRow = -1;                         // list views: the row the keys move from
    int topRow = 0;                              // list views: the first row shown
};

// The step of a track bar's Page Up and Page Down.
int TrackbarPageSize(const ControlState& trackbar);

// The rows list view `list` shows whole, at least 1 (LVM_GETCOUNTPERPAGE).
int ListRowsPerPage(HWND list);

// The kind of a control class name (case ignored); kNone for any other class.
ControlKind ControlKindOfClass(const char* className);
// A copy of the control's state; kind kNone for a window that is no standard control.
ControlState ControlSnapshot(HWND control);
// Runs `change` on the control's state under the model's lock; false for no such control.
template <typename Change>
bool ChangeControl(HWND control, Change&& change);

// Registers the standard control classes (once per process; the dialog calls do it).
void RegisterControlClasses();

// Used by ChangeControl; the lock is held while `state` is used.
ControlState* LockControl(HWND control);
void UnlockControl();

template <typename Change>
bool ChangeControl(HWND control, Change&& change) {
    ControlState* state = LockControl(control);
    if (state == nullptr) {
        return false;
    }
    change(*state);
    UnlockControl();
    return true;
}

}  // namespace win32_internal
