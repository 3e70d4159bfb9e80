#include "platform/win32/message_box_dialog.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/dialog_windows.h"
#include "platform/win32/icon_api.h"
#include "platform/win32/menu_api.h"
#include "platform/win32/menu_tracker.h"
#include "platform/win32/message_box.h"
#include "platform/win32/system_icons.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"
#include "platform/winbase/code_page.h"
#include "platform/winbase/line_breaking.h"

namespace win32_internal {
namespace {

// Layout in pixels.
constexpr int kMargin = 12;
constexpr int kIconSide = 32;
constexpr int kLineHeight = 15;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 8;
constexpr int kMinimumWidth = 180;
constexpr int kMaximumTextWidth = 560;
constexpr WORD kIconControl = 20;
constexpr WORD kTextControl = 0xFFFF;

struct BoxState {
    const BoxButtons* buttons;
    HICON icon;
};

short UnitsX(int pixels) {
    return static_cast<short>((pixels * 4 + kDialogBaseUnitX - 1) / kDialogBaseUnitX);
}

short UnitsY(int pixels) {
    return static_cast<short>((pixels * 8 + kDialogBaseUnitY - 1) / kDialogBaseUnitY);
}

WORD IconOf(UINT style) {
    switch (style & MB_ICONMASK) {
        case MB_ICONHAND:
            return kIconHand;
        case MB_ICONQUESTION:
            return kIconQuestion;
        case MB_ICONEXCLAMATION:
            return kIconExclamation;
        case MB_ICONASTERISK:
            return kIconAsterisk;
        default:
            return 0;
    }
}

INT_PTR BoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<BoxState*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
    switch (message) {
        case WM_INITDIALOG: {
            state = reinterpret_cast<BoxState*>(lParam);
            SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
            if (state->icon != nullptr) {
                SendDlgItemMessageA(dialog, kIconControl, STM_SETICON,
                                    reinterpret_cast<WPARAM>(state->icon), 0);
            }
            // The focus starts on the default button, not on the first of the row.
            const BoxButtons& buttons = *state->buttons;
            SetFocus(GetDlgItem(dialog,
                                buttons.answers[static_cast<std::size_t>(buttons.defaultIndex)]));
            return FALSE;
        }
        case WM_COMMAND: {
            if (state == nullptr) {
                return FALSE;
            }
            const int id = LOWORD(wParam);
            const auto& answers = state->buttons->answers;
            const bool isButton = std::find(answers.begin(), answers.end(), id) != answers.end();
            EndDialog(dialog, isButton ? id : state->buttons->escapeAnswer);
            return TRUE;
        }
        default:
            return FALSE;
    }
}

}  // namespace

const char* BoxButtonLabel(int answer) {
    switch (answer) {
        case IDCANCEL:
            return "キャンセル";
        case IDABORT:
            return "中止(&A)";
        case IDRETRY:
            return "再試行(&R)";
        case IDIGNORE:
            return "無視(&I)";
        case IDYES:
            return "はい(&Y)";
        case IDNO:
            return "いいえ(&N)";
        default:
            return "OK";
    }
}

std::optional<int> ShowDrawnMessageBox(HWND owner, const char* text, const char* caption,
                                       UINT style, const BoxButtons& buttons) {
    // The text's lines as the presentation draws them, wrapped at the widest a box grows to:
    // the box holds them all, one under another, so that its text is never cut.
    const std::vector<std::string> lines = WrapCp932Text(
        text != nullptr ? text : "", static_cast<float>(kMaximumTextWidth),
        [](std::string_view c) { return static_cast<float>(MeasureMenuText(std::string(c))); });
    std::string body;
    int textWidth = 0;
    for (const std::string& line : lines) {
        body += (&line == &lines.front() ? "" : "\n") + line;
        textWidth = std::max<int>(textWidth, static_cast<int>(MeasureMenuText(line)));
    }
    textWidth = std::min(textWidth + 8, kMaximumTextWidth);
    const WORD iconId = IconOf(style);
    const int textLeft = kMargin + (iconId != 0 ? kIconSide + kMargin : 0);
    const int textHeight = static_cast<int>(lines.size()) * kLineHeight;
    const int topHeight = std::max(textHeight, iconId != 0 ? kIconSide : 0);
    const int rowWidth =
        static_cast<int>(buttons.answers.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
    const int width =
        std::max({textLeft + textWidth + kMargin, rowWidth + 2 * kMargin, kMinimumWidth});
    const int buttonTop = kMargin + topHeight + kMargin;
    const int height = buttonTop + kButtonHeight + kMargin;

    std::vector<std::string> labels;
    labels.reserve(buttons.answers.size());
    std::vector<DialogItemTemplate> items;
    if (iconId != 0) {
        items.push_back({kIconControl, WC_STATICA, nullptr, SS_ICON, UnitsX(kMargin),
                         UnitsY(kMargin), UnitsX(kIconSide), UnitsY(kIconSide)});
    }
    items.push_back({kTextControl, WC_STATICA, body.c_str(), SS_LEFT, UnitsX(textLeft),
                     UnitsY(kMargin + (topHeight - textHeight) / 2), UnitsX(textWidth),
                     UnitsY(textHeight)});
    int x = (width - rowWidth) / 2;
    for (std::size_t i = 0; i < buttons.answers.size(); ++i) {
        labels.push_back(Utf8ToCp932(BoxButtonLabel(buttons.answers[i])).value_or("?"));
        const DWORD kind =
            static_cast<int>(i) == buttons.defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        items.push_back({static_cast<WORD>(buttons.answers[i]), WC_BUTTONA, labels.back().c_str(),
                         kind | WS_TABSTOP, UnitsX(x), UnitsY(buttonTop), UnitsX(kButtonWidth),
                         UnitsY(kButtonHeight)});
        x += kButtonWidth + kButtonGap;
    }
    const DialogTemplate dialog{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER,
                                caption != nullptr ? caption : "",
                                0,
                                0,
                                UnitsX(width),
                                UnitsY(height),
                                items.data(),
                                static_cast<int>(items.size())};
    BoxState state{&buttons, iconId != 0 ? LoadIconA(nullptr, MAKEINTRESOURCEA(iconId)) : nullptr};
    const INT_PTR answer =
        RunModalDialog(dialog, owner, BoxProc, reinterpret_cast<LPARAM>(&state), 0);
    if (state.icon != nullptr) {
        DestroyIcon(state.icon);
    }
    if (answer < 0) {
        return std::nullopt;
    }
    const auto& answers = buttons.answers;
    const bool isButton =
        std::find(answers.begin(), answers.end(), static_cast<int>(answer)) != answers.end();
    return isButton ? static_cast<int>(answer) : buttons.escapeAnswer;
}

}  // namespace win32_internal
