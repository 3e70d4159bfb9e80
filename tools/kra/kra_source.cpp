#include "kra/kra_source.h"

#include <charconv>

#include "platform/winbase/code_page.h"
#include "tools/script/sjis_escape.h"

namespace qvn_kra {
namespace {

struct Token {
    std::string text;  // a word as written, or a quoted text as Shift-JIS bytes
    bool quoted = false;
};

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// Reads the quoted text that starts at line[*at] (the opening quote) as Shift-JIS bytes.
bool ReadQuoted(std::string_view line, std::size_t* at, std::string* sjis, std::string* error) {
    for (std::size_t i = *at + 1; i < line.size(); ++i) {
        if (line[i] == '\\') {
            ++i;
        } else if (line[i] == '"') {
            std::optional<std::string> bytes =
                UnescapeToSjis(line.substr(*at + 1, i - *at - 1), error);
            if (!bytes) {
                return false;
            }
            *sjis = std::move(*bytes);
            *at = i + 1;
            return true;
        }
    }
    *error = "text without its closing quote";
    return false;
}

bool Tokenize(std::string_view line, std::vector<Token>* tokens, std::string* error) {
    std::size_t at = 0;
    while (at < line.size()) {
        if (IsSpace(line[at])) {
            ++at;
        } else if (line[at] == '#') {
            break;
        } else if (line[at] == '"') {
            Token token;
            token.quoted = true;
            if (!ReadQuoted(line, &at, &token.text, error)) {
                return false;
            }
            tokens->push_back(std::move(token));
        } else {
            Token token;
            while (at < line.size() && !IsSpace(line[at]) && line[at] != '"') {
                token.text.push_back(line[at++]);
            }
            tokens->push_back(std::move(token));
        }
    }
    return true;
}

class LineParser {
public:
    LineParser(const std::vector<Token>& tokens, std::string* error)
        : tokens_(tokens), error_(error) {}

    bool Word(const char* expected) {
        if (at_ < tokens_.size() && !tokens_[at_].quoted && tokens_[at_].text == expected) {
            ++at_;
            return true;
        }
        return Fail(std::string("expected \"") + expected + "\"");
    }

    bool Text(std::string* value) {
        if (at_ < tokens_.size() && tokens_[at_].quoted) {
            *value = tokens_[at_++].text;
            return true;
        }
        return Fail("expected a text in double quotes");
    }

    bool Raw(std::string* value, const char* what) {
        if (at_ < tokens_.size() && !tokens_[at_].quoted) {
            *value = tokens_[at_++].text;
            return true;
        }
        return Fail(std::string("expected ") + what);
    }

    // A whole number in [low, high].
    bool Number(std::string_view text, std::int64_t low, std::int64_t high, std::int64_t* value) {
        std::int64_t parsed = 0;
        const auto [end, code] = std::from_chars(text.data(), text.data() + text.size(), parsed);
        if (code != std::errc() || end != text.data() + text.size() || text.empty()) {
            return Fail("\"" + std::string(text) + "\" is not a whole number");
        }
        if (parsed < low || parsed > high) {
            return Fail("\"" + std::string(text) + "\" is out of range " + std::to_string(low) +
                        ".." + std::to_string(high));
        }
        *value = parsed;
        return true;
    }

    template <typename T>
    bool Number(T* value, std::int64_t low, std::int64_t high) {
        std::string text;
        std::int64_t parsed = 0;
        if (!Raw(&text, "a number") || !Number(text, low, high, &parsed)) {
            return false;
        }
        *value = static_cast<T>(parsed);
        return true;
    }

    // Two numbers written "A<separator>B".
    template <typename T>
    bool Pair(char separator, T* a, T* b, std::int64_t low, std::int64_t high) {
        std::string text;
        if (!Raw(&text, "a pair of numbers")) {
            return false;
        }
        return SplitPair(text, separator, a, b, low, high);
    }

    template <typename T>
    bool SplitPair(std::string_view text, char separator, T* a, T* b, std::int64_t low,
                   std::int64_t high) {
        const std::size_t split = text.find(separator);
        if (split == std::string_view::npos) {
            return Fail("\"" + std::string(text) + "\" is not two numbers joined by '" + separator +
                        "'");
        }
        std::int64_t first = 0;
        std::int64_t second = 0;
        if (!Number(text.substr(0, split), low, high, &first) ||
            !Number(text.substr(split + 1), low, high, &second)) {
            return false;
        }
        *a = static_cast<T>(first);
        *b = static_cast<T>(second);
        return true;
    }

    // The index of an item: `expected` (the count so far), written with a trailing ':' when
    // `colon`.
    bool Index(std::size_t expected, bool colon) {
        std::string text;
        if (!Raw(&text, "an index")) {
            return false;
        }
        if (colon) {
            if (text.empty() || text.back() != ':') {
                return Fail("expected an index and ':'");
            }
            text.pop_back();
        }
        std::int64_t index = 0;
        if (!Number(text, 0, 32767, &index)) {
            return false;
        }
        if (static_cast<std::size_t>(index) != expected) {
            return Fail("index " + std::to_string(index) + " out of order (expected " +
                        std::to_string(expected) + ")");
        }
        return true;
    }

    bool AtEnd() const { return at_ == tokens_.size(); }
    bool End() { return AtEnd() || Fail("more on the line than the item takes"); }

    bool Fail(const std::string& message) {
        if (error_->empty()) {
            *error_ = message;
        }
        return false;
    }

private:
    const std::vector<Token>& tokens_;
    std::size_t at_ = 1;
    std::string* error_;
};

bool ParseLine(const std::vector<Token>& tokens, int lineNumber, KraSource* source,
               std::string* error) {
    LineParser p(tokens, error);
    const std::string& item = tokens[0].text;
    if (tokens[0].quoted) {
        return p.Fail("a line starts with an item name");
    }
    if (item == "magic") {
        if (source->magicLine != 0) {
            return p.Fail("a second magic line");
        }
        source->magicLine = lineNumber;
        return p.Raw(&source->magic, "a magic") && p.End();
    }
    if (item == "frames") {
        if (source->framesLine != 0) {
            return p.Fail("a second frames line");
        }
        source->framesLine = lineNumber;
        return p.Number(&source->frames, 0, 32767) && p.End();
    }
    if (item == "texture") {
        KraTexture texture;
        texture.line = lineNumber;
        if (!p.Index(source->textures.size(), false) || !p.Word("mode") ||
            !p.Number(&texture.record.drawMode, 0, 0xFFFFFFFF) || !p.Text(&texture.record.name) ||
            !p.End()) {
            return false;
        }
        std::optional<std::string> utf8 = Cp932ToUtf8(texture.record.name);
        texture.fileName = utf8 ? *utf8 : texture.record.name;
        for (char& c : texture.fileName) {
            c = c == '\\' ? '/' : c;
        }
        source->textures.push_back(std::move(texture));
        return true;
    }
    if (item == "pointlist") {
        KraPointList list;
        list.line = lineNumber;
        if (!p.Index(source->pointLists.size(), true)) {
            return false;
        }
        while (!p.AtEnd()) {
            std::int16_t px = 0;
            std::int16_t py = 0;
            if (!p.Pair(',', &px, &py, -32768, 32767)) {
                return false;
            }
            list.points.emplace_back(px, py);
        }
        source->pointLists.push_back(std::move(list));
        return true;
    }
    if (item == "part") {
        KraPart part;
        part.line = lineNumber;
        SpritePartRecord& r = part.record;
        if (!p.Index(source->parts.size(), false) || !p.Word("texture") ||
            !p.Number(&r.texture, 0, 65535) || !p.Word("frame") || !p.Number(&r.frame, 0, 65535) ||
            !p.Word("src") || !p.Pair(',', &r.sourceX, &r.sourceY, -32768, 32767) ||
            !p.Pair('x', &r.width, &r.height, -32768, 32767) || !p.Word("dst") ||
            !p.Pair(',', &r.destX, &r.destY, -32768, 32767) || !p.End()) {
            return false;
        }
        source->parts.push_back(part);
        return true;
    }
    if (item == "animation") {
        KraAnimation animation;
        animation.line = lineNumber;
        if (!p.Index(source->animations.size(), false) || !p.Text(&animation.name) ||
            !p.Word("text") || !p.Text(&animation.text) || !p.End()) {
            return false;
        }
        source->animations.push_back(std::move(animation));
        return true;
    }
    return p.Fail("unknown item \"" + item + "\"");
}

}  // namespace

std::optional<KraSource> ParseKraSource(std::string_view text, KraError* error) {
    KraSource source;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        ++lineNumber;
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        std::vector<Token> tokens;
        std::string message;
        if (!Tokenize(line, &tokens, &message) ||
            (!tokens.empty() && !ParseLine(tokens, lineNumber, &source, &message))) {
            *error = {lineNumber, message};
            return std::nullopt;
        }
    }
    source.lastLine = lineNumber;
    return source;
}

std::string QuoteSjis(std::string_view sjis) {
    return "\"" + EscapeSjis(sjis, EscapeStyle::kLiteral) + "\"";
}

}  // namespace qvn_kra
