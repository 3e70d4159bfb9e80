// MessageBoxA: SDL's own message box, or scripted answers under test.

#include "platform/win32/message_box.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/forked_helper_guard.h"
#include "platform/win32/message_box_dialog.h"
#include "platform/win32/sdl_host.h"
#include "platform/win32/sdl_window_bridge.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/win32/ui_hooks.h"
#include "platform/win32/window_input.h"
#include "platform/win32/window_state.h"
#include "platform/winbase/code_page.h"

namespace {

constexpr std::size_t kShownBoxesKept = 256;

struct ButtonRow {
    std::vector<int> buttons;  // the answers, in the row's order
    int defaultIndex = 0;
    int escapeAnswer = IDCANCEL;
};

struct BoxScript {
    std::mutex mutex;
    bool scripted = false;
    std::deque<int> answers;
    std::vector<win32_test::ShownMessageBox> shown;
};

BoxScript& Script() {
    static BoxScript* const script = new BoxScript;
    return *script;
}

bool RowHas(const ButtonRow& row, int answer) {
    return std::find(row.buttons.begin(), row.buttons.end(), answer) != row.buttons.end();
}

// A label without the "&" of its mnemonic, which SDL's box cannot take.
std::string PlainLabel(const char* label) {
    std::string plain = label;
    std::erase(plain, '&');
    return plain;
}

ButtonRow RowOf(UINT style) {
    ButtonRow row;
    switch (style & MB_TYPEMASK) {
        case MB_OKCANCEL:
            row.buttons = {IDOK, IDCANCEL};
            break;
        case MB_ABORTRETRYIGNORE:
            row.buttons = {IDABORT, IDRETRY, IDIGNORE};
            break;
        case MB_YESNOCANCEL:
            row.buttons = {IDYES, IDNO, IDCANCEL};
            break;
        case MB_YESNO:
            row.buttons = {IDYES, IDNO};
            break;
        case MB_RETRYCANCEL:
            row.buttons = {IDRETRY, IDCANCEL};
            break;
        default:
            row.buttons = {IDOK};
            break;
    }
    int wanted = static_cast<int>((style & MB_DEFMASK) >> 8);
    row.defaultIndex = wanted < static_cast<int>(row.buttons.size()) ? wanted : 0;
    const bool hasCancel = RowHas(row, IDCANCEL);
    // Escape or the window's close button: Cancel where there is one, OK for a lone OK, else
    // the default button (a Yes/No question cannot be dismissed without an answer).
    if (hasCancel) {
        row.escapeAnswer = IDCANCEL;
    } else if (row.buttons.size() == 1) {
        row.escapeAnswer = IDOK;
    } else {
        row.escapeAnswer = row.buttons[static_cast<std::size_t>(row.defaultIndex)];
    }
    return row;
}

// UTF-8 for SDL; a byte sequence that is not Shift-JIS becomes '?' so the rest still shows.
std::string ToUtf8(const char* sjis) {
    if (sjis == nullptr) {
        return std::string();
    }
    std::string_view text(sjis);
    if (std::optional<std::string> whole = Cp932ToUtf8(text)) {
        return *whole;
    }
    std::string result;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = std::max<std::size_t>(1, Cp932CharLength(text, at));
        std::optional<std::string> one = Cp932ToUtf8(text.substr(at, length));
        result += one ? *one : std::string("?");
        at += length;
    }
    return result;
}

Uint32 IconFlags(UINT style) {
    switch (style & MB_ICONMASK) {
        case MB_ICONERROR:
            return SDL_MESSAGEBOX_ERROR;
        case MB_ICONWARNING:
            return SDL_MESSAGEBOX_WARNING;
        default:
            return SDL_MESSAGEBOX_INFORMATION;
    }
}

// A display a real box can appear on; the headless drivers of tests and servers have none.
bool DisplayAvailable() {
    return Win32InitSdl(SDL_INIT_VIDEO) && !win32_internal::SdlVideoIsHeadless();
}

// The answer of SDL's box, or nullopt when it could not be shown.
std::optional<int> ShowSdlBox(HWND owner, const std::string& text, const std::string& caption,
                              UINT style, const ButtonRow& row) {
    std::vector<SDL_MessageBoxButtonData> buttons;
    std::vector<std::string> labels;
    labels.reserve(row.buttons.size());
    for (std::size_t i = 0; i < row.buttons.size(); ++i) {
        labels.push_back(PlainLabel(win32_internal::BoxButtonLabel(row.buttons[i])));
        SDL_MessageBoxButtonData data{};
        data.buttonid = row.buttons[i];
        data.text = labels.back().c_str();
        if (static_cast<int>(i) == row.defaultIndex) {
            data.flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
        }
        if (row.buttons[i] == row.escapeAnswer) {
            data.flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        }
        buttons.push_back(data);
    }
    SDL_MessageBoxData box{};
    box.flags = IconFlags(style) | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    box.window = win32_internal::MessageBoxParent(owner);
    box.title = caption.c_str();
    box.message = text.c_str();
    box.numbuttons = static_cast<int>(buttons.size());
    box.buttons = buttons.data();
    int pressed = -1;
    // The box takes the focus from the game window; that is no loss of the activation. Events
    // that came meanwhile are handled before the guard ends.
    win32_internal::SetOwnModalBoxShown(true);
    int shown = 0;
    {
        win32_internal::ForkedHelperGuard helperDiesWithUs;
        shown = SDL_ShowMessageBox(&box, &pressed);
    }
    win32_internal::SdlPumpEvents();
    win32_internal::SetOwnModalBoxShown(false);
    if (shown != 0) {
        std::fprintf(stderr, "MessageBox: SDL cannot show the box: %s\n", SDL_GetError());
        return std::nullopt;
    }
    return pressed < 0 ? row.escapeAnswer : pressed;
}

}  // namespace

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
    ButtonRow row = RowOf(style);
    int defaultAnswer = row.buttons[static_cast<std::size_t>(row.defaultIndex)];
    std::string textUtf8 = ToUtf8(text);
    std::string captionUtf8 = ToUtf8(caption != nullptr ? caption : "Error");

    BoxScript& script = Script();
    std::unique_lock<std::mutex> lock(script.mutex);
    win32_test::ShownMessageBox record{
        owner, text != nullptr ? text : "", caption != nullptr ? caption : "", style, defaultAnswer,
        false};
    std::optional<int> answer;
    if (!script.answers.empty()) {
        int scripted = script.answers.front();
        script.answers.pop_front();
        if (RowHas(row, scripted)) {
            answer = scripted;
            record.answeredByScript = true;
        } else {
            std::fprintf(stderr, "MessageBox \"%s\": scripted answer %d is not a button of it\n",
                         captionUtf8.c_str(), scripted);
        }
    }
    bool scriptedMode = script.scripted;
    lock.unlock();

    const win32_internal::UiHooks* hooks = win32_internal::GetUiHooks();
    if (!answer && hooks != nullptr && hooks->drawsOver != nullptr && owner != nullptr &&
        hooks->drawsOver(owner)) {
        win32_internal::BoxButtons buttons;
        buttons.answers = row.buttons;
        buttons.defaultIndex = row.defaultIndex;
        buttons.escapeAnswer = row.escapeAnswer;
        answer = win32_internal::ShowDrawnMessageBox(owner, text, caption, style, buttons);
    }
    if (!answer && !scriptedMode && DisplayAvailable()) {
        answer = ShowSdlBox(owner, textUtf8, captionUtf8, style, row);
    }
    if (!answer) {
        std::fprintf(stderr, "MessageBox \"%s\": \"%s\": no answer, default button %d\n",
                     captionUtf8.c_str(), textUtf8.c_str(), defaultAnswer);
        answer = defaultAnswer;
    }
    record.answer = *answer;
    lock.lock();
    if (script.shown.size() >= kShownBoxesKept) {
        script.shown.erase(script.shown.begin());
    }
    script.shown.push_back(record);
    return *answer;
}

namespace win32_test {

void QueueMessageBoxAnswer(int answer) {
    BoxScript& script = Script();
    std::lock_guard<std::mutex> lock(script.mutex);
    script.answers.push_back(answer);
}

void UseScriptedMessageBoxes(bool scripted) {
    BoxScript& script = Script();
    std::lock_guard<std::mutex> lock(script.mutex);
    script.scripted = scripted;
}

std::vector<ShownMessageBox> TakeShownMessageBoxes() {
    BoxScript& script = Script();
    std::lock_guard<std::mutex> lock(script.mutex);
    std::vector<ShownMessageBox> shown;
    shown.swap(script.shown);
    script.answers.clear();
    return shown;
}

}  // namespace win32_test
