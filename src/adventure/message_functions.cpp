#include "adventure/message_functions.h"

#include <cstdlib>
#include <string>

#include "adventure/adventure_frame.h"
#include "adventure/face.h"
#include "adventure/mascot.h"
#include "adventure/message_backlog.h"
#include "adventure/message_layout.h"
#include "adventure/message_window.h"
#include "adventure/read_history.h"
#include "adventure/script_format.h"
#include "adventure/voice.h"
#include "foundation/app_settings.h"
#include "foundation/sjis.h"
#include "media/graphics/texture.h"
#include "script/call_stack.h"
#include "shell/cursor.h"

namespace {

// The function whose occurrences key the read history.
constexpr std::uint32_t kPageEndFunction = 2;

// The speaker's name: "#n" is global word n, a name beginning with "*" is no name.
std::string SpeakerFromArgument(const char* name) {
    if (name[0] == '*') {
        return {};
    }
    if (name[0] != '#') {
        return name;
    }
    long long number = 0;
    for (const char* c = name + 1; *c >= '0' && *c <= '9'; ++c) {
        number = number < 0x7FFFFFFF ? number * 10 + (*c - '0') : number;
    }
    return GetGlobalWord(static_cast<int>(number < 0x7FFFFFFF ? number : 0x7FFFFFFF));
}

// Copies `name` into SpeakerName, cut before the character that would not fit whole.
void SetSpeakerName(const std::string& name) {
    std::size_t length = 0;
    const char* text = name.c_str();
    while (text[length] != '\0') {
        const auto step = static_cast<std::size_t>(sjis::Next(text + length) - (text + length));
        if (length + step > static_cast<std::size_t>(kSpeakerNameLength - 1)) {
            break;
        }
        length += step;
    }
    name.copy(SpeakerName, length);
    SpeakerName[length] = '\0';
}

// Seconds as milliseconds, saturated; a negative time counts as 0.
std::uint32_t SecondsToMilliseconds(std::int32_t seconds) {
    if (seconds <= 0) {
        return 0;
    }
    const std::uint64_t ms = static_cast<std::uint64_t>(seconds) * 1000u;
    return ms > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(ms);
}

}  // namespace

void ShowMessageWindowAtOnce() {
    MessageWindowShown = 1;
    WindowFadeTime = 0.0f;
    RefreshMessageLayers();
}

void HideMessageWindowAtOnce() {
    MessageWindowShown = 0;
    WindowFadeTime = 0.0f;
    RefreshMessageLayers();
    SetMascotVisible(false);
    SetCursorShape(0);
}

bool BuiltinSpeaker(const ScriptArguments& arguments) {
    SetSpeakerName(SpeakerFromArgument(arguments.String(0)));
    LineCounter = -1;
    ClearMessageTexture();
    SetFace(nullptr);
    return true;
}

bool BuiltinPageEnd(const ScriptArguments& arguments) {
    if (MessageTexture != nullptr) {
        MessageTexture->ReleaseBackup();
    }
    PageEnd();
    if (AutoMode != 0) {
        PendingDelayMs = IsVoicePlaying() ? MsgAutoInterval : AutoPageDelayMs;
    }
    if (arguments.Has(0)) {
        PendingDelayMs = SecondsToMilliseconds(arguments.Long(0, 0));
    }
    ShowMessageWindowAtOnce();
    SetMascotVisible(true);
    MessageBacklog::ClearPendingVoice();
    const char* script = CurrentScriptName();
    MarkPageRead(script != nullptr ? script : "", CurrentCallSiteIndex(kPageEndFunction));
    return false;
}

bool BuiltinWait(const ScriptArguments& arguments) {
    PendingDelayMs = SkipActive != 0 ? 1u : arguments.UShort(0, 0) * 100u;
    HideMessageWindowAtOnce();
    return false;
}

bool BuiltinFormattedMessage(const ScriptArguments& arguments) {
    const char* text = arguments.String(0);
    if (arguments.Count() <= 1) {
        ShowMessage(text);
        return true;
    }
    const std::string formatted = FormatScriptText(text, arguments, 1);
    ShowMessage(formatted.c_str());
    return true;
}
