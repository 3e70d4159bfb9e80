#include "adventure/variable_editor.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "adventure/message_window.h"
#include "foundation/app_settings.h"
#include "foundation/file.h"
#include "foundation/log.h"
#include "foundation/path.h"
#include "foundation/sjis.h"
#include "media/graphics/d3d_application.h"
#include "platform/win32/menu_api.h"
#include "platform/win32/message_api.h"
#include "platform/win32/message_box.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"
#include "platform/winbase/file_api.h"
#include "script/script_file.h"
#include "script/script_variables.h"
#include "shell/game_window.h"

HWND VariableEditorWindow = nullptr;

namespace {

constexpr const char kEditorWord[] = "plovanet";
constexpr const char kNamesFile[] = "variable.txt";
constexpr const char kEditorTitle[] = "Value List";

// List columns: number (hidden), name, the value in decimal and in hex, comment.
enum Column : int { kNumberColumn, kNameColumn, kDecColumn, kHexColumn, kCommentColumn };
struct ColumnKind {
    const char* title;
    int width;
};
constexpr ColumnKind kColumns[] = {
    {"No.", 0}, {"Name", 80}, {"Dec", 40}, {"Hex", 80}, {"Comment", 100}};

// The names of the open editor, row i for variable i.
VariableNames listed;
// The variable the value dialog edits.
std::uint32_t editedVariable = 0;

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

std::size_t LineEnd(std::string_view text, std::size_t from) {
    const std::size_t end = text.find_first_of("\r\n", from);
    return end == std::string_view::npos ? text.size() : end;
}

// Just after the first token that is exactly "var" (tokens end at CR, LF and tab); npos when
// there is none.
std::size_t AfterVarToken(std::string_view text) {
    std::size_t from = 0;
    while (from <= text.size()) {
        std::size_t end = text.find_first_of("\r\n\t", from);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        if (text.substr(from, end - from) == "var") {
            return end;
        }
        from = end + 1;
    }
    return std::string_view::npos;
}

// The variable's word: 0 past the end of the array, which a look never grows.
std::uint32_t VariableValue(std::size_t index) {
    return index < ScriptVariables.size() ? ScriptVariables[index] : 0;
}

bool DisplayWindowedOrAbsent() {
    return D3DApp == nullptr || D3DApp->device == nullptr || WindowedFlag != FALSE;
}

void SetCell(HWND list, int row, int column, const char* text) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void SetDecCell(HWND list, int row) {
    char text[16];
    std::snprintf(text, sizeof text, "%d",
                  static_cast<std::int32_t>(VariableValue(static_cast<std::size_t>(row))));
    SetCell(list, row, kDecColumn, text);
}

void SetHexCell(HWND list, int row) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", VariableValue(static_cast<std::size_t>(row)));
    SetCell(list, row, kHexColumn, text);
}

// Every listed variable's value, in both columns.
void Refresh(HWND dialog) {
    HWND list = GetDlgItem(dialog, kVariableListControl);
    const int rows = static_cast<int>(listed.names.size());
    for (int row = 0; row < rows; ++row) {
        SetDecCell(list, row);
        SetHexCell(list, row);
    }
}

void LoadNames() {
    listed = VariableNames{};
    DWORD size = 0;
    BYTE* bytes = LoadFile(GetPath(PathKind::Script, kNamesFile), &size, 0);
    if (bytes == nullptr) {
        return;  // the loader's line says why; the list stays empty
    }
    listed = ReadVariableNames(std::string_view(reinterpret_cast<const char*>(bytes), size));
    LocalFree(bytes);
}

void FillList(HWND dialog) {
    HWND list = GetDlgItem(dialog, kVariableListControl);
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.cx = kColumns[i].width;
        column.pszText = const_cast<char*>(kColumns[i].title);
        column.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&column));
    }
    for (int row = 0; row < static_cast<int>(listed.names.size()); ++row) {
        char number[16];
        std::snprintf(number, sizeof number, "%d", row);
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = number;
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        SetCell(list, row, kNameColumn, listed.names[static_cast<std::size_t>(row)].c_str());
        SetDecCell(list, row);
        SetHexCell(list, row);
        SetCell(list, row, kCommentColumn, listed.comments[static_cast<std::size_t>(row)].c_str());
    }
}

void InitEditor(HWND dialog) {
    LoadNames();
    RECT rect{};
    GetWindowRect(dialog, &rect);
    // The bottom right corner of the work area.
    const int x =
        Win32ScreenMetric(SM_CXMAXIMIZED) - 2 * Win32ScreenMetric(SM_CXFRAME) - RectWidth(rect);
    const int y =
        Win32ScreenMetric(SM_CYMAXIMIZED) - 2 * Win32ScreenMetric(SM_CYFRAME) - RectHeight(rect);
    SetWindowTextA(dialog, kEditorTitle);
    FillList(dialog);
    if (MainWindow != nullptr) {
        SetForegroundWindow(MainWindow);
    }
    SendMessageA(dialog, WM_USER, 0, 0);
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void EditValue(HWND dialog, int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= listed.names.size()) {
        return;
    }
    DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kVariableValueResource), dialog, VariableValueProc,
                    row);
    SetDecCell(GetDlgItem(dialog, kVariableListControl), row);
}

// A signed 32-bit number with blanks allowed around it.
bool ParseSigned(const char* text, std::int32_t* value) {
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(text, &end, 10);
    if (end == text || errno == ERANGE || parsed < INT32_MIN || parsed > INT32_MAX) {
        return false;
    }
    while (*end == ' ' || *end == '\t') {
        ++end;
    }
    if (*end != '\0') {
        return false;
    }
    *value = static_cast<std::int32_t>(parsed);
    return true;
}

// At (ScreenWidth - its width, ScreenHeight - its height) when it lies there inside its owner
// (the editor), where a dialog over an owner is drawn; else at the owner's bottom right corner.
void PlaceValueDialog(HWND dialog) {
    RECT rect{};
    GetWindowRect(dialog, &rect);
    const int width = RectWidth(rect);
    const int height = RectHeight(rect);
    int x = static_cast<int>(ScreenWidth) - width;
    int y = static_cast<int>(ScreenHeight) - height;
    if (HWND owner = GetParent(dialog)) {
        RECT client{};
        GetClientRect(owner, &client);
        POINT origin{0, 0};
        ClientToScreen(owner, &origin);
        const int right = origin.x + client.right;
        const int bottom = origin.y + client.bottom;
        if (x < origin.x || y < origin.y || x + width > right || y + height > bottom) {
            x = std::max(origin.x, right - width);
            y = std::max(origin.y, bottom - height);
        }
    }
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void InitValue(HWND dialog, LPARAM variable) {
    PlaceValueDialog(dialog);
    editedVariable = static_cast<std::uint32_t>(variable);
    char text[16];
    std::snprintf(text, sizeof text, "%d",
                  static_cast<std::int32_t>(VariableValue(editedVariable)));
    SetDlgItemTextA(dialog, kVariableValueField, text);
    HWND field = GetDlgItem(dialog, kVariableValueField);
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, 0, -1);
}

void WriteValue(HWND dialog) {
    char text[64] = {};
    GetDlgItemTextA(dialog, kVariableValueField, text, sizeof text);
    std::int32_t value = 0;
    if (!ParseSigned(text, &value)) {
        LogPrintf("variable editor: \"%s\" is no number; variable %u keeps its value", text,
                  editedVariable);
        SendDlgItemMessageA(dialog, kVariableValueField, EM_SETSEL, 0, -1);
        return;
    }
    if (editedVariable >= kMaxScriptVariables) {
        LogPrintf("variable editor: variable %u lies beyond the last one (%u); nothing is written",
                  editedVariable, kMaxScriptVariables - 1);
        EndDialog(dialog, 0);
        return;
    }
    const auto word = static_cast<std::uint32_t>(value);
    SetVar(editedVariable, &word);
    EndDialog(dialog, 1);
}

}  // namespace

VariableNames ReadVariableNames(std::string_view text) {
    text = text.substr(0, std::min(text.size(), text.find('\0')));
    VariableNames out;
    std::size_t at = AfterVarToken(text);
    while (at < text.size()) {
        const char c = text[at];
        if (IsNameChar(c)) {
            const std::size_t start = at;
            while (at < text.size() && IsNameChar(text[at])) {
                ++at;
            }
            const std::string_view name = text.substr(start, at - start);
            if (name == "end") {
                break;
            }
            while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) {
                ++at;
            }
            std::string_view comment;
            if (at < text.size() && text[at] == '/') {
                while (at < text.size() &&
                       (text[at] == '/' || text[at] == ' ' || text[at] == '\t')) {
                    ++at;
                }
                const std::size_t end = LineEnd(text, at);
                comment = text.substr(at, end - at);
                at = end;
            }
            out.names.emplace_back(name);
            out.comments.emplace_back(comment);
        } else if (c == '/') {
            at = LineEnd(text, at);
        } else if (sjis::IsLeadByte(static_cast<unsigned char>(c)) && at + 1 < text.size()) {
            at += 2;  // a double-byte character, whose second byte may look like a letter
        } else {
            ++at;
        }
    }
    return out;
}

void OpenVariableEditor(int force) {
    if (!DisplayWindowedOrAbsent() || VariableEditorWindow != nullptr ||
        (force == 0 && MatchTypedKeyword(kEditorWord) == 0)) {
        return;
    }
    VariableEditorWindow = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(kVariableListResource),
                                              MainWindow, VariableEditorProc, 0);
}

void RefreshVariableEditor() {
    if (VariableEditorWindow != nullptr) {
        SendMessageA(VariableEditorWindow, WM_USER, 0, 0);
    }
}

INT_PTR VariableEditorProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            InitEditor(dialog);
            return TRUE;
        case WM_USER:
            Refresh(dialog);
            return TRUE;
        case WM_NOTIFY: {
            const auto* info = reinterpret_cast<const NMLVDISPINFOA*>(lParam);
            if (info == nullptr || info->hdr.idFrom != kVariableListControl ||
                info->hdr.code != LVN_BEGINLABELEDITA) {
                return FALSE;
            }
            EditValue(dialog, info->item.iItem);
            return TRUE;  // no label is edited in place
        }
        case WM_SIZE:
            MoveWindow(GetDlgItem(dialog, kVariableListControl), 0, 0, LOWORD(lParam),
                       HIWORD(lParam), TRUE);
            return TRUE;
        case WM_CLOSE:
            // A modeless dialog that only ended would stay as a hidden window: it goes.
            DestroyWindow(dialog);
            return TRUE;
        case WM_DESTROY:
            listed = VariableNames{};
            if (VariableEditorWindow == dialog) {
                VariableEditorWindow = nullptr;
            }
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR VariableValueProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            InitValue(dialog, lParam);
            return FALSE;  // the focus is set
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                    WriteValue(dialog);
                    return TRUE;
                case IDCANCEL:
                    EndDialog(dialog, 0);
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

bool OnLabelFound(const char*, std::uint32_t position) {
    SpeakerName[0] = '\0';
    if (position == kNoPosition) {
        return false;
    }
    RefreshVariableEditor();
    return true;
}
