#pragma once
// The standard controls of dialogs as a model: buttons (push, check box, radio), static texts and
// icons, edit fields, drop-down combo boxes, track bars, tab controls and list views. Each control
// is a child window of its dialog with one of the class names below; its procedure keeps its
// state and answers the messages listed here. Nothing here draws: a presentation reads the state
// (control_model.h) and turns the user's clicks into the notifications a real control sends
// (dialog_input.h); the keys go through the dialog's keyboard (dialog_keyboard.h) to the same
// calls.
//
// Texts are Shift-JIS. A control's own text is its window text (SetWindowTextA).

#include "platform/win32/message_api.h"
#include "platform/winbase/win_types.h"

// Class names.
inline constexpr const char WC_BUTTONA[] = "Button";
inline constexpr const char WC_STATICA[] = "Static";
inline constexpr const char WC_EDITA[] = "Edit";
inline constexpr const char WC_COMBOBOXA[] = "ComboBox";
inline constexpr const char TRACKBAR_CLASSA[] = "msctls_trackbar32";
inline constexpr const char WC_TABCONTROLA[] = "SysTabControl32";
inline constexpr const char WC_LISTVIEWA[] = "SysListView32";

constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETFONT = 0x0030;

// Notification messages of the parent: WM_COMMAND carries MAKEWPARAM(id, code) and the control
// in lParam; WM_NOTIFY an NMHDR (or a record that begins with one) in lParam.
struct NMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};
using LPNMHDR = NMHDR*;

// Buttons.
constexpr DWORD BS_PUSHBUTTON = 0x0;
constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
constexpr DWORD BS_CHECKBOX = 0x2;
constexpr DWORD BS_AUTOCHECKBOX = 0x3;
constexpr DWORD BS_RADIOBUTTON = 0x4;
constexpr DWORD BS_3STATE = 0x5;
constexpr DWORD BS_AUTO3STATE = 0x6;
constexpr DWORD BS_GROUPBOX = 0x7;
constexpr DWORD BS_AUTORADIOBUTTON = 0x9;
constexpr DWORD BS_TYPEMASK = 0xF;
constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr UINT BM_CLICK = 0x00F5;
constexpr WPARAM BST_UNCHECKED = 0;
constexpr WPARAM BST_CHECKED = 1;
constexpr WPARAM BST_INDETERMINATE = 2;
constexpr WORD BN_CLICKED = 0;

// Static controls.
constexpr DWORD SS_LEFT = 0x0;
constexpr DWORD SS_CENTER = 0x1;
constexpr DWORD SS_RIGHT = 0x2;
constexpr DWORD SS_ICON = 0x3;
constexpr DWORD SS_BITMAP = 0xE;  // the text names a bitmap resource, "#id" (bitmap_api.h)
constexpr DWORD SS_TYPEMASK = 0x1F;
constexpr UINT STM_SETICON = 0x0170;
constexpr UINT STM_GETICON = 0x0171;

// Edit fields.
constexpr DWORD ES_LEFT = 0x0;
constexpr DWORD ES_MULTILINE = 0x4;
constexpr DWORD ES_AUTOVSCROLL = 0x40;
constexpr DWORD ES_AUTOHSCROLL = 0x80;
constexpr DWORD ES_READONLY = 0x800;
constexpr UINT EM_GETSEL = 0x00B0;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_SETREADONLY = 0x00CF;
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr WORD EN_CHANGE = 0x0300;

// Combo boxes (drop-down lists).
constexpr DWORD CBS_DROPDOWNLIST = 0x3;
constexpr UINT CB_ADDSTRING = 0x0143;
constexpr UINT CB_DELETESTRING = 0x0144;
constexpr UINT CB_GETCOUNT = 0x0146;
constexpr UINT CB_GETCURSEL = 0x0147;
constexpr UINT CB_GETLBTEXT = 0x0148;
constexpr UINT CB_GETLBTEXTLEN = 0x0149;
constexpr UINT CB_INSERTSTRING = 0x014A;
constexpr UINT CB_RESETCONTENT = 0x014B;
constexpr UINT CB_SETCURSEL = 0x014E;
// wParam TRUE opens the list, FALSE closes it.
constexpr UINT CB_SHOWDROPDOWN = 0x014F;
constexpr UINT CB_GETITEMDATA = 0x0150;
constexpr UINT CB_SETITEMDATA = 0x0151;
constexpr UINT CB_GETDROPPEDSTATE = 0x0157;
constexpr LRESULT CB_ERR = -1;
constexpr WORD CBN_SELCHANGE = 1;

// Track bars; the parent gets WM_HSCROLL with MAKEWPARAM(code, position for the thumb codes)
// and the track bar in lParam.
constexpr DWORD TBS_HORZ = 0x0;
constexpr DWORD TBS_AUTOTICKS = 0x1;
constexpr UINT TBM_GETPOS = WM_USER;
constexpr UINT TBM_GETRANGEMIN = WM_USER + 1;
constexpr UINT TBM_GETRANGEMAX = WM_USER + 2;
constexpr UINT TBM_SETPOS = WM_USER + 5;
constexpr UINT TBM_SETRANGE = WM_USER + 6;
constexpr UINT TBM_SETRANGEMIN = WM_USER + 7;
constexpr UINT TBM_SETRANGEMAX = WM_USER + 8;
constexpr UINT TBM_SETTICFREQ = WM_USER + 20;
// The steps of the keyboard: Page Up and Page Down move by the page size (a fifth of the range
// until it is set), the arrow keys by the line size (1 until it is set). Both return the old size.
constexpr UINT TBM_SETPAGESIZE = WM_USER + 21;
constexpr UINT TBM_GETPAGESIZE = WM_USER + 22;
constexpr UINT TBM_SETLINESIZE = WM_USER + 23;
constexpr UINT TBM_GETLINESIZE = WM_USER + 24;
constexpr WORD TB_LINEUP = 0;
constexpr WORD TB_LINEDOWN = 1;
constexpr WORD TB_PAGEUP = 2;
constexpr WORD TB_PAGEDOWN = 3;
constexpr WORD TB_THUMBPOSITION = 4;
constexpr WORD TB_THUMBTRACK = 5;
constexpr WORD TB_TOP = 6;
constexpr WORD TB_BOTTOM = 7;
constexpr WORD TB_ENDTRACK = 8;

// Tab controls.
constexpr UINT TCIF_TEXT = 0x1;
constexpr UINT TCIF_PARAM = 0x8;
struct TCITEMA {
    UINT mask;
    DWORD dwState;
    DWORD dwStateMask;
    LPSTR pszText;
    int cchTextMax;
    int iImage;
    LPARAM lParam;
};
constexpr UINT TCM_GETITEMCOUNT = 0x1304;
constexpr UINT TCM_INSERTITEMA = 0x1307;
constexpr UINT TCM_DELETEALLITEMS = 0x1309;
constexpr UINT TCM_GETCURSEL = 0x130B;
constexpr UINT TCM_SETCURSEL = 0x130C;
// lParam a RECT: with wParam FALSE the window rectangle becomes the display area below the tabs.
constexpr UINT TCM_ADJUSTRECT = 0x1328;
constexpr UINT TCN_SELCHANGE = static_cast<UINT>(-551);
constexpr UINT TCN_SELCHANGING = static_cast<UINT>(-552);

// List views (report view).
constexpr DWORD LVS_REPORT = 0x1;
constexpr DWORD LVS_SINGLESEL = 0x4;
constexpr DWORD LVS_EDITLABELS = 0x200;
constexpr UINT LVCF_FMT = 0x1;
constexpr UINT LVCF_WIDTH = 0x2;
constexpr UINT LVCF_TEXT = 0x4;
constexpr UINT LVCF_SUBITEM = 0x8;
struct LVCOLUMNA {
    UINT mask;
    int fmt;
    int cx;
    LPSTR pszText;
    int cchTextMax;
    int iSubItem;
};
constexpr UINT LVIF_TEXT = 0x1;
constexpr UINT LVIF_PARAM = 0x4;
struct LVITEMA {
    UINT mask;
    int iItem;
    int iSubItem;
    UINT state;
    UINT stateMask;
    LPSTR pszText;
    int cchTextMax;
    int iImage;
    LPARAM lParam;
};
// LVN_BEGINLABELEDITA's record.
struct NMLVDISPINFOA {
    NMHDR hdr;
    LVITEMA item;
};
constexpr UINT LVM_GETITEMCOUNT = 0x1004;
constexpr UINT LVM_SETITEMA = 0x1006;
constexpr UINT LVM_INSERTITEMA = 0x1007;
constexpr UINT LVM_DELETEALLITEMS = 0x1009;
// wParam -1 and lParam LVNI_FOCUSED or LVNI_SELECTED: the focused or the selected row, -1 for
// none (a list with LVS_SINGLESEL has one selected row at most, and its keys move both).
constexpr UINT LVM_GETNEXTITEM = 0x100C;
constexpr LPARAM LVNI_FOCUSED = 0x1;
constexpr LPARAM LVNI_SELECTED = 0x2;
constexpr UINT LVM_INSERTCOLUMNA = 0x101B;
// The first row shown, and how many rows the list shows whole.
constexpr UINT LVM_GETTOPINDEX = 0x1027;
constexpr UINT LVM_GETCOUNTPERPAGE = 0x1028;
constexpr UINT LVM_GETITEMTEXTA = 0x102D;
constexpr UINT LVM_SETITEMTEXTA = 0x102E;
constexpr UINT LVM_SETEXTENDEDLISTVIEWSTYLE = 0x1036;
constexpr UINT LVN_BEGINLABELEDITA = static_cast<UINT>(-105);
