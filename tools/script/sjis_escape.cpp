#include "tools/script/sjis_escape.h"

#include <cstdio>

#include "platform/winbase/code_page.h"
#include "platform/winbase/hex_digit.h"

namespace {

bool IsLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

void AppendHex(std::string& out, unsigned char byte) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\x%02X", byte);
    out += buffer;
}

// The UTF-8 form of one Shift-JIS character when it converts back to the same bytes.
std::optional<std::string> RoundTrip(std::string_view character) {
    std::optional<std::string> utf8 = Cp932ToUtf8(character);
    if (!utf8 || utf8->empty()) {
        return std::nullopt;
    }
    std::optional<std::string> back = Utf8ToCp932(*utf8);
    if (!back || *back != character) {
        return std::nullopt;
    }
    return utf8;
}

}  // namespace

std::string EscapeSjis(std::string_view sjis, EscapeStyle style) {
    std::string out;
    std::size_t i = 0;
    while (i < sjis.size()) {
        const auto byte = static_cast<unsigned char>(sjis[i]);
        if (byte < 0x80) {
            switch (byte) {
                case '\\':
                    out += "\\\\";
                    break;
                case '\n':
                    out += "\\n";
                    break;
                case '\r':
                    out += "\\r";
                    break;
                case '\t':
                    out += "\\t";
                    break;
                case '"':
                    out += style == EscapeStyle::kLiteral ? "\\\"" : "\"";
                    break;
                default:
                    if (style == EscapeStyle::kLiteral && (byte < 0x20 || byte == 0x7F)) {
                        AppendHex(out, byte);
                    } else {
                        out += static_cast<char>(byte);
                    }
                    break;
            }
            ++i;
            continue;
        }
        const std::size_t width = IsLeadByte(byte) && i + 1 < sjis.size() ? 2 : 1;
        if (std::optional<std::string> utf8 = RoundTrip(sjis.substr(i, width))) {
            out += *utf8;
            i += width;
        } else {
            AppendHex(out, byte);
            ++i;
        }
    }
    return out;
}

std::optional<std::string> UnescapeToSjis(std::string_view literal, std::string* error) {
    std::string out;
    std::string run;
    auto flush = [&]() {
        if (run.empty()) {
            return true;
        }
        std::optional<std::string> sjis = Utf8ToCp932(run);
        if (!sjis) {
            *error = "text does not convert to Shift-JIS: " + run;
            return false;
        }
        out += *sjis;
        run.clear();
        return true;
    };
    for (std::size_t i = 0; i < literal.size(); ++i) {
        const char c = literal[i];
        if (c != '\\') {
            run += c;
            continue;
        }
        if (!flush()) {
            return std::nullopt;
        }
        if (i + 1 >= literal.size()) {
            *error = "a backslash ends the text";
            return std::nullopt;
        }
        const char next = literal[++i];
        switch (next) {
            case '\\':
                out += '\\';
                break;
            case '"':
                out += '"';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'x': {
                const int high = i + 1 < literal.size() ? HexDigit(literal[i + 1]) : -1;
                const int low = i + 2 < literal.size() ? HexDigit(literal[i + 2]) : -1;
                if (high < 0 || low < 0) {
                    *error = "\\x needs two hexadecimal digits";
                    return std::nullopt;
                }
                if (high == 0 && low == 0) {
                    *error = "a text cannot hold \\x00";
                    return std::nullopt;
                }
                out += static_cast<char>(high * 16 + low);
                i += 2;
                break;
            }
            default:
                *error = std::string("unknown escape \\") + next;
                return std::nullopt;
        }
    }
    if (!flush()) {
        return std::nullopt;
    }
    if (out.find('\0') != std::string::npos) {
        *error = "a text cannot hold a NUL";
        return std::nullopt;
    }
    return out;
}
