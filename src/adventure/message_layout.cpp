#include "adventure/message_layout.h"

#include <climits>
#include <cstdio>
#include <string_view>

#include "adventure/face.h"
#include "adventure/message_backlog.h"
#include "adventure/message_window.h"
#include "foundation/app_settings.h"
#include "foundation/log.h"
#include "foundation/sjis.h"
#include "media/graphics/d3d_functions.h"
#include "media/graphics/font.h"
#include "script/script_variables.h"

std::uint32_t AutoPageDelayMs = 0;

namespace {

// The full-width space, then the opening brackets: 　‘“〈《「『【〔（［｛
constexpr std::string_view kOpeningChars =
    "\x81\x40\x81\x65\x81\x67\x81\x71\x81\x73\x81\x75\x81\x77\x81\x79\x81\x6B\x81\x69\x81\x6D"
    "\x81\x6F";
constexpr std::string_view kIndent = "\x81\x40";
constexpr char kLineFeed = '\n';

constexpr std::uint32_t kNewPageDelayMs = 1000;
constexpr std::uint32_t kDelayPerByteMs = 50;

std::size_t CharLength(const char* c) {
    return static_cast<std::size_t>(sjis::Next(c) - c);
}

// Whether the character at `c` is one of the table's full-width characters, compared as whole
// characters (never a trail byte against a lead byte).
bool InTable(std::string_view table, const char* c) {
    if (CharLength(c) != 2) {
        return false;
    }
    for (std::size_t i = 0; i + 1 < table.size(); i += 2) {
        if (table[i] == c[0] && table[i + 1] == c[1]) {
            return true;
        }
    }
    return false;
}

// "{base/reading}" at `c`; false when "/" and then "}" do not follow.
struct RubyGroup {
    std::string_view base;
    std::string_view reading;
    std::size_t length = 0;  // the whole group, braces included
};

bool ParseRubyGroup(const char* c, RubyGroup* group) {
    const char* slash = c + 1;
    while (*slash != '\0' && *slash != '/' && *slash != '}') {
        slash = sjis::Next(slash);
    }
    if (*slash != '/') {
        return false;
    }
    const char* close = slash + 1;
    while (*close != '\0' && *close != '}') {
        close = sjis::Next(close);
    }
    if (*close != '}') {
        return false;
    }
    group->base = std::string_view(c + 1, static_cast<std::size_t>(slash - c - 1));
    group->reading = std::string_view(slash + 1, static_cast<std::size_t>(close - slash - 1));
    group->length = static_cast<std::size_t>(close - c) + 1;
    return true;
}

int LineChars() {
    return IsFaceShown() ? kMessageLineCharsWithFace : kMessageLineChars;
}

// A ruby group whose base is longer than a fresh line (after its indent) can hold would never
// fit: it is shown as its base alone, which breaks at the line ends like any text.
std::string BreakOversizedRuby(const std::string& text) {
    const std::size_t room = static_cast<std::size_t>(2 * LineChars() - 2) - kIndent.size();
    std::string out;
    out.reserve(text.size());
    const char* c = text.c_str();
    while (*c != '\0') {
        RubyGroup group;
        if (*c == '{' && ParseRubyGroup(c, &group) && group.base.size() > room) {
            out.append(group.base);
            c += group.length;
            continue;
        }
        const std::size_t length = CharLength(c);
        out.append(c, length);
        c += length;
    }
    return out;
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The bytes of `line` that the font shows: colour markup ("[]", "[" with hexadecimal digits and
// the character that closes them) and the backslash that makes the next character plain take
// no room on the line.
std::size_t ShownBytes(const std::string& line) {
    std::size_t shown = 0;
    const char* p = line.c_str();
    while (*p != '\0') {
        if (*p == '[') {
            ++p;
            while (IsHexDigit(*p)) {
                ++p;
            }
            if (*p != '\0') {
                ++p;
            }
            continue;
        }
        if (*p == '\\') {
            ++p;
            if (*p == '\0') {
                break;
            }
        }
        const std::size_t length = CharLength(p);
        shown += length;
        p += length;
    }
    return shown;
}

// Draws each character of the reading over the base that joins the line after `line`: spread
// over the base, or centred on it when the reading is the wider. The base starts where the
// shown part of the line ends, so that colour markup before it does not push the reading off.
void DrawRuby(const RubyGroup& group, int x0, int y, const std::string& line, D3DCOLOR colour) {
    D3DFont* ruby = GetRubyFont();
    if (ruby == nullptr) {
        return;
    }
    const MessageGeometry g = GetMessageGeometry();
    const int f = g.fontSize;
    const int r = g.rubySize;
    const auto lb = static_cast<int>(group.base.size());
    const auto lr = static_cast<int>(group.reading.size());
    const int start = x0 + f * static_cast<int>(ShownBytes(line)) / 2;
    const int yr = y - r - 1;
    const std::string reading(group.reading);
    for (const char* c = reading.c_str(); *c != '\0'; c = sjis::Next(c)) {
        const auto k = static_cast<int>(c - reading.c_str());
        int x = 0;
        if (f * lb / 2 < r * lr / 2) {
            x = start + f * lb / 4 + r * k / 2 - r * lr / 4;
        } else {
            x = start + (f * lb / 2) * (k + 1) / lr - f / 5;
        }
        const std::string one(c, CharLength(c));
        DrawMessageLine(ruby, x, yr, colour, one.c_str());
    }
}

// Takes the characters of one line from `source` into `line`; answers the bytes of `source`
// taken (the terminator not counted). A line feed ends the line and is taken with it, never
// shown: the font would move its pen down a line that the layout does not count.
std::size_t FillLine(const char* source, std::string* line, int x0, int y, D3DCOLOR colour) {
    const auto full = static_cast<std::size_t>(2 * LineChars());
    const std::size_t nearlyFull = full - 2;
    std::size_t taken = 0;
    while (source[taken] != '\0' && source[taken] != kLineFeed && line->size() < full) {
        const char* c = source + taken;
        const std::size_t length = CharLength(c);
        if (*c == '{') {
            RubyGroup group;
            if (!ParseRubyGroup(c, &group)) {
                ++taken;  // a brace without the rest is dropped
                continue;
            }
            if (line->size() + group.base.size() > nearlyFull) {
                break;  // the group goes to the next line
            }
            if (MsgUseRuby != 0 && !group.reading.empty()) {
                DrawRuby(group, x0, y, *line, colour);
            }
            line->append(group.base);
            taken += group.length;
            continue;
        }
        if (line->size() >= nearlyFull) {
            // Room for one full-width character at most: only a character that may not start
            // a line hangs here, and not when the next one may not start a line either.
            if (!IsNoLineStartChar(c) || IsNoLineStartChar(c + length)) {
                break;
            }
        }
        line->append(c, length);
        taken += length;
    }
    if (source[taken] == kLineFeed) {
        ++taken;  // also when the line filled up just before it: no empty line follows
    }
    return taken;
}

// Draws into the message texture for the rest of its life: the previous render target comes
// back afterwards.
class MessageTextureTarget {
public:
    MessageTextureTarget() {
        device_ = CurrentDevice();
        if (device_ == nullptr) {
            return;
        }
        D3D_GetRenderTarget(&previous_);
        device_->GetRenderState(D3DRS_ZENABLE, &zEnable_);
        D3D_SetRenderTarget(MessageTexture);
        // The depth buffer belongs to the back buffer, not to this texture.
        device_->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        device_->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
        device_->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
        device_->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    }
    ~MessageTextureTarget() {
        if (device_ == nullptr) {
            return;
        }
        if (previous_ != nullptr) {
            device_->SetRenderTarget(0, previous_);
            previous_->Release();
        } else {
            D3D_SetRenderTarget(nullptr);
        }
        device_->SetRenderState(D3DRS_ZENABLE, zEnable_);
    }
    MessageTextureTarget(const MessageTextureTarget&) = delete;
    MessageTextureTarget& operator=(const MessageTextureTarget&) = delete;

private:
    IDirect3DDevice9* device_ = nullptr;
    IDirect3DSurface9* previous_ = nullptr;
    DWORD zEnable_ = D3DZB_FALSE;
};

}  // namespace

bool IsOpeningChar(const char* c) {
    return InTable(kOpeningChars, c);
}

std::string GetGlobalWord(int n) {
    if (n != 0) {
        LogPrintf("GetGlobalWord: error. no(%d)", n);
        return {};
    }
    char word[16];
    std::snprintf(word, sizeof word, "%d", static_cast<std::int32_t>(GetVar(9)));
    return word;
}

std::string ExpandGlobalWords(const char* text) {
    std::string out;
    if (text == nullptr) {
        return out;
    }
    const char* c = text;
    while (*c != '\0') {
        if (*c != '#') {
            const std::size_t length = CharLength(c);
            out.append(c, length);
            c += length;
            continue;
        }
        ++c;
        long long number = 0;
        while (*c >= '0' && *c <= '9') {
            number = number < INT_MAX ? number * 10 + (*c - '0') : number;
            ++c;
        }
        out += GetGlobalWord(static_cast<int>(number < INT_MAX ? number : INT_MAX));
    }
    return out;
}

bool MessageLayout(const char* name, const char* text, std::size_t* consumed) {
    if (!BuildMessageWindow()) {
        return false;
    }
    D3DFont* font = GetMessageFont();
    if (font == nullptr) {
        return false;
    }
    if (LineCounter < 0) {
        LineCounter = 0;
    }
    if (LineCounter == 0) {
        ClearMessageTexture();
        AutoPageDelayMs = MsgAutoInterval + kNewPageDelayMs;
    }
    const bool nameLine = name != nullptr;
    if (nameLine && (LineCounter != 0 || name[0] == '\0')) {
        return true;
    }
    if (!nameLine && (text == nullptr || text[0] == '\0')) {
        *consumed += 1;
        return true;
    }

    const MessageGeometry g = GetMessageGeometry();
    const MessageTextureTarget target;
    int x0 = g.fontSize + (IsFaceShown() ? 8 * g.fontSize : 0);
    const int y = g.fontSize / 2 + g.lineHeight * LineCounter;
    const bool older = MessageBacklog::IsCursorOnEntry();
    std::string line;
    D3DCOLOR colour = 0;
    const char* source = nullptr;
    if (nameLine) {
        x0 += g.fontSize / 2;
        colour = older ? kSpeakerOldColour : kSpeakerColour;
        source = name;
    } else {
        colour = older ? kMessageOldTextColour : kMessageTextColour;
        source = text;
        if (!IsOpeningChar(text)) {
            line = kIndent;
        }
    }
    std::size_t taken = FillLine(source, &line, x0, y, colour);
    if (source[taken] == '\0') {
        taken += 1;
    }
    if (!nameLine) {
        *consumed += taken;
    }
    DrawMessageLine(font, x0, y, colour, line.c_str());
    LineCounter += 1;
    AutoPageDelayMs += kDelayPerByteMs * static_cast<std::uint32_t>(line.size());
    return true;
}

void ShowText(const char* text) {
    if (SpeakerName[0] != '\0') {
        MessageLayout(SpeakerName, nullptr, nullptr);
    }
    const std::string laidOut = BreakOversizedRuby(text != nullptr ? text : "");
    std::size_t consumed = 0;
    while (consumed < laidOut.size()) {
        const std::size_t before = consumed;
        if (!MessageLayout(nullptr, laidOut.c_str() + consumed, &consumed)) {
            return;  // no window: the text is not shown
        }
        if (consumed == before) {
            consumed += CharLength(laidOut.c_str() + consumed);
        }
    }
}

bool ShowMessage(const char* text) {
    // Expanded once, here: the backlog keeps the words as this page shows them, whatever
    // variable 9 holds when the entry is shown again.
    const std::string shown = ExpandGlobalWords(text);
    MessageBacklog::Add(shown.c_str());
    ShowText(shown.c_str());
    return true;
}
