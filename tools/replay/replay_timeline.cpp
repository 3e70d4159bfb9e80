#include "tools/replay/replay_timeline.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>
#include <optional>

#include "platform/win32/message_box.h"
#include "tools/replay/virtual_key_names.h"

namespace {

constexpr std::size_t kMaxCaptureName = 64;
constexpr int kMaxWheelNotches = 100;
constexpr int kMaxVirtualKey = 254;
constexpr int kMaxCommandId = 65535;

// A token as an error message shows it: quoted, at most 32 bytes, other than printable ASCII
// as \xHH.
std::string Quoted(std::string_view token) {
    std::string out = "'";
    for (std::size_t i = 0; i < token.size() && i < 32; ++i) {
        const auto c = static_cast<unsigned char>(token[i]);
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        }
    }
    return out + (token.size() > 32 ? "...'" : "'");
}

std::vector<std::string_view> Tokens(std::string_view line) {
    std::vector<std::string_view> tokens;
    constexpr std::string_view kSpace = " \t\r\v\f";
    std::size_t at = line.find_first_not_of(kSpace);
    while (at != std::string_view::npos) {
        const std::size_t end = std::min(line.find_first_of(kSpace, at), line.size());
        tokens.push_back(line.substr(at, end - at));
        at = line.find_first_not_of(kSpace, end);
    }
    return tokens;
}

// A whole decimal number (a leading '-' allowed), or with `hex` also 0x followed by hex digits.
std::optional<long long> Number(std::string_view token, bool hex = false) {
    int base = 10;
    if (hex && token.size() > 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X')) {
        token.remove_prefix(2);
        base = 16;
    }
    if (token.empty() || token[0] == '+') {
        return std::nullopt;
    }
    long long value = 0;
    const auto [end, error] =
        std::from_chars(token.data(), token.data() + token.size(), value, base);
    if (error != std::errc() || end != token.data() + token.size()) {
        return std::nullopt;
    }
    return value;
}

class LineParser {
public:
    LineParser(int line, std::vector<std::string_view> tokens)
        : line_(line), tokens_(std::move(tokens)) {}

    // The events of the line appended to `out`; false with error() set.
    bool Parse(std::vector<ReplayEvent>* out, int previousTick,
               std::map<std::string, int, std::less<>>* captureLines);
    const std::string& error() const { return error_; }
    int tick() const { return tick_; }
    bool ended() const { return ended_; }

private:
    bool Fail(const std::string& message) {
        error_ = "timeline:" + std::to_string(line_) + ": " + message;
        return false;
    }
    // Argument `index` (1 is the first after the event word), or a failure naming `what`.
    std::optional<std::string_view> Argument(std::size_t index, const char* what);
    bool Whole(std::size_t index, const char* what, long long low, long long high, int* value);
    bool DownOrUp(std::size_t index, int* down);
    bool NoMore(std::size_t count);
    bool ParseKey(std::vector<ReplayEvent>* out);
    bool ParsePoint(std::size_t index, int* x, int* y);
    bool ParseClick(std::vector<ReplayEvent>* out);
    bool ParseCapture(std::vector<ReplayEvent>* out,
                      std::map<std::string, int, std::less<>>* captureLines);

    int line_;
    std::vector<std::string_view> tokens_;  // the event word first, the tick taken off
    std::string error_;
    int tick_ = 0;
    bool ended_ = false;
};

std::optional<std::string_view> LineParser::Argument(std::size_t index, const char* what) {
    if (index >= tokens_.size()) {
        Fail(std::string(tokens_[0]) + ": " + what + " expected");
        return std::nullopt;
    }
    return tokens_[index];
}

bool LineParser::Whole(std::size_t index, const char* what, long long low, long long high,
                       int* value) {
    std::optional<std::string_view> token = Argument(index, what);
    if (!token) {
        return false;
    }
    std::optional<long long> number = Number(*token);
    if (!number || *number < low || *number > high) {
        return Fail(std::string(tokens_[0]) + ": " + what + " must be " + std::to_string(low) +
                    ".." + std::to_string(high) + ", not " + Quoted(*token));
    }
    *value = static_cast<int>(*number);
    return true;
}

bool LineParser::DownOrUp(std::size_t index, int* down) {
    std::optional<std::string_view> token = Argument(index, "down or up");
    if (!token) {
        return false;
    }
    if (*token != "down" && *token != "up") {
        return Fail(std::string(tokens_[0]) + ": down or up expected, not " + Quoted(*token));
    }
    *down = *token == "down" ? 1 : 0;
    return true;
}

bool LineParser::NoMore(std::size_t count) {
    if (tokens_.size() > count) {
        return Fail(std::string(tokens_[0]) + ": unexpected " + Quoted(tokens_[count]));
    }
    return true;
}

bool LineParser::ParseKey(std::vector<ReplayEvent>* out) {
    std::optional<std::string_view> token = Argument(1, "virtual key");
    if (!token) {
        return false;
    }
    int key = 0;
    if (std::optional<long long> number = Number(*token, true)) {
        if (*number < 1 || *number > kMaxVirtualKey) {
            return Fail("key: virtual key must be 1..254, not " + Quoted(*token));
        }
        key = static_cast<int>(*number);
    } else if (std::optional<UINT> named = VirtualKeyOfName(*token)) {
        key = static_cast<int>(*named);
    } else {
        return Fail("key: unknown key " + Quoted(*token));
    }
    int down = 0;
    if (!DownOrUp(2, &down) || !NoMore(3)) {
        return false;
    }
    out->push_back({tick_, ReplayEvent::Kind::Key, key, down});
    return true;
}

bool LineParser::ParsePoint(std::size_t index, int* x, int* y) {
    return Whole(index, "x", 0, kLogicalScreenWidth - 1, x) &&
           Whole(index + 1, "y", 0, kLogicalScreenHeight - 1, y);
}

bool LineParser::ParseClick(std::vector<ReplayEvent>* out) {
    int x = 0;
    int y = 0;
    if (!ParsePoint(1, &x, &y)) {
        return false;
    }
    int button = 0;
    if (tokens_.size() > 3) {
        if (tokens_[3] != "right") {
            return Fail("click: right or the end of the line expected, not " + Quoted(tokens_[3]));
        }
        button = 1;
    }
    if (!NoMore(4)) {
        return false;
    }
    out->push_back({tick_, ReplayEvent::Kind::MouseMove, x, y});
    out->push_back({tick_, ReplayEvent::Kind::MouseButton, button, 1});
    out->push_back({tick_ + 1, ReplayEvent::Kind::MouseButton, button, 0});
    return true;
}

bool LineParser::ParseCapture(std::vector<ReplayEvent>* out,
                              std::map<std::string, int, std::less<>>* captureLines) {
    std::optional<std::string_view> name = Argument(1, "name");
    if (!name || !NoMore(2)) {
        return false;
    }
    const bool allowed = std::all_of(name->begin(), name->end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '-' || c == '.';
    });
    if (!allowed || name->size() > kMaxCaptureName || name->front() == '.') {
        return Fail("capture: name " + Quoted(*name) +
                    " must be at most 64 letters, digits, '_', '-' or '.', not starting with '.'");
    }
    if (auto seen = captureLines->find(*name); seen != captureLines->end()) {
        return Fail("capture: " + Quoted(*name) + " is already taken on line " +
                    std::to_string(seen->second));
    }
    captureLines->emplace(std::string(*name), line_);
    ReplayEvent event{tick_, ReplayEvent::Kind::Capture};
    event.name = std::string(*name);
    out->push_back(std::move(event));
    return true;
}

bool LineParser::Parse(std::vector<ReplayEvent>* out, int previousTick,
                       std::map<std::string, int, std::less<>>* captureLines) {
    std::optional<long long> tick = Number(tokens_[0]);
    if (!tick) {
        return Fail("tick expected, not " + Quoted(tokens_[0]));
    }
    if (*tick < 1 || *tick > kMaxTimelineTick) {
        return Fail("tick must be 1.." + std::to_string(kMaxTimelineTick) + ", not " +
                    Quoted(tokens_[0]));
    }
    tick_ = static_cast<int>(*tick);
    if (tick_ < previousTick) {
        return Fail("tick " + std::to_string(tick_) + " comes after tick " +
                    std::to_string(previousTick));
    }
    tokens_.erase(tokens_.begin());
    if (tokens_.empty()) {
        return Fail("event expected after the tick");
    }
    using Kind = ReplayEvent::Kind;
    const std::string_view word = tokens_[0];
    int a = 0;
    int b = 0;
    if (word == "key") {
        return ParseKey(out);
    }
    if (word == "click") {
        return ParseClick(out);
    }
    if (word == "move") {
        if (!ParsePoint(1, &a, &b) || !NoMore(3)) {
            return false;
        }
        out->push_back({tick_, Kind::MouseMove, a, b});
        return true;
    }
    if (word == "wheel") {
        if (!Whole(1, "notches", -kMaxWheelNotches, kMaxWheelNotches, &a) || !NoMore(2)) {
            return false;
        }
        if (a == 0) {
            return Fail("wheel: notches must not be 0");
        }
        out->push_back({tick_, Kind::Wheel, a});
        return true;
    }
    if (word == "pad") {
        if (!Whole(1, "button", 0, kReplayPadButtons - 1, &a) || !DownOrUp(2, &b) || !NoMore(3)) {
            return false;
        }
        out->push_back({tick_, Kind::PadButton, a, b});
        return true;
    }
    if (word == "stick") {
        if (!Whole(1, "x", -kMaxStickPercent, kMaxStickPercent, &a) ||
            !Whole(2, "y", -kMaxStickPercent, kMaxStickPercent, &b) || !NoMore(3)) {
            return false;
        }
        out->push_back({tick_, Kind::PadStick, a, b});
        return true;
    }
    if (word == "command") {
        if (!Whole(1, "id", 1, kMaxCommandId, &a) || !NoMore(2)) {
            return false;
        }
        out->push_back({tick_, Kind::Command, a});
        return true;
    }
    if (word == "dialog") {
        if (!Whole(1, "control id", 0, kMaxCommandId, &a) || !NoMore(2)) {
            return false;
        }
        out->push_back({tick_, Kind::DialogClick, a});
        return true;
    }
    if (word == "dialog-text") {
        if (!Whole(1, "control id", 0, kMaxCommandId, &a) || !Argument(2, "text")) {
            return false;
        }
        ReplayEvent event{tick_, Kind::DialogText, a};
        for (std::size_t i = 2; i < tokens_.size(); ++i) {
            event.name += (i > 2 ? " " : "") + std::string(tokens_[i]);
        }
        out->push_back(std::move(event));
        return true;
    }
    if (word == "answer") {
        static constexpr std::pair<std::string_view, int> kAnswers[] = {
            {"yes", IDYES}, {"no", IDNO}, {"ok", IDOK}, {"cancel", IDCANCEL}};
        std::optional<std::string_view> token = Argument(1, "yes, no, ok or cancel");
        if (!token || !NoMore(2)) {
            return false;
        }
        for (const auto& [name, answer] : kAnswers) {
            if (*token == name) {
                out->push_back({tick_, Kind::Answer, answer});
                return true;
            }
        }
        return Fail("answer: yes, no, ok or cancel expected, not " + Quoted(*token));
    }
    if (word == "activate") {
        if (!Whole(1, "state", 0, 1, &a) || !NoMore(2)) {
            return false;
        }
        out->push_back({tick_, Kind::Activation, a});
        return true;
    }
    if (word == "capture") {
        return ParseCapture(out, captureLines);
    }
    static constexpr std::pair<std::string_view, Kind> kBareEvents[] = {
        {"close", Kind::Close},
        {"lose-device", Kind::LoseDevice},
        {"vars", Kind::Vars},
        {"end", Kind::End}};
    for (const auto& [name, kind] : kBareEvents) {
        if (word == name) {
            if (!NoMore(1)) {
                return false;
            }
            out->push_back({tick_, kind});
            if (kind == Kind::LoseDevice) {
                out->push_back({tick_ + 1, Kind::RestoreDevice});
            }
            ended_ = kind == Kind::End;
            return true;
        }
    }
    return Fail("unknown event " + Quoted(word));
}

}  // namespace

bool ParseTimeline(std::string_view text, std::vector<ReplayEvent>* events, std::string* error) {
    events->clear();
    std::vector<ReplayEvent> parsed;
    std::map<std::string, int, std::less<>> captureLines;
    int previousTick = 1;
    int endLine = 0;
    int line = 0;
    std::size_t at = 0;
    while (at <= text.size()) {
        ++line;
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view content = text.substr(at, end - at);
        at = end + 1;
        content = content.substr(0, content.find('#'));
        std::vector<std::string_view> tokens = Tokens(content);
        if (tokens.empty()) {
            continue;
        }
        if (endLine != 0) {
            *error = "timeline:" + std::to_string(line) + ": nothing may follow the end on line " +
                     std::to_string(endLine);
            return false;
        }
        LineParser parser(line, std::move(tokens));
        if (!parser.Parse(&parsed, previousTick, &captureLines)) {
            *error = parser.error();
            return false;
        }
        previousTick = parser.tick();
        endLine = parser.ended() ? line : 0;
    }
    std::stable_sort(parsed.begin(), parsed.end(),
                     [](const ReplayEvent& x, const ReplayEvent& y) { return x.tick < y.tick; });
    *events = std::move(parsed);
    error->clear();
    return true;
}
