#include "platform/d3dx/xfile_lexer.h"

#include <charconv>
#include <cstdint>
#include <cstring>

namespace d3dx {
namespace {

// Binary tokens.
constexpr std::uint16_t kTokenName = 1;
constexpr std::uint16_t kTokenString = 2;
constexpr std::uint16_t kTokenInteger = 3;
constexpr std::uint16_t kTokenGuid = 5;
constexpr std::uint16_t kTokenIntegerList = 6;
constexpr std::uint16_t kTokenFloatList = 7;
constexpr std::uint16_t kTokenComma = 19;
constexpr std::uint16_t kTokenSemicolon = 20;

XToken ErrorToken(const char* what) {
    XToken token;
    token.kind = XTokenKind::Error;
    token.text = what;
    return token;
}

XToken Simple(XTokenKind kind) {
    XToken token;
    token.kind = kind;
    return token;
}

bool IsNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsNamePart(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

bool IsNumberPart(char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '-' || c == '+';
}

XPrimitive BinaryPrimitive(std::uint16_t token) {
    switch (token) {
        case 40:
            return XPrimitive::Word;
        case 41:
            return XPrimitive::Dword;
        case 42:
            return XPrimitive::Float;
        case 43:
            return XPrimitive::Double;
        case 44:
            return XPrimitive::Char;
        case 45:
            return XPrimitive::Uchar;
        case 46:
            return XPrimitive::Sword;
        case 47:
            return XPrimitive::Sdword;
        case 49:
            return XPrimitive::String;
        case 50:
            return XPrimitive::Unicode;
        case 51:
            return XPrimitive::Cstring;
        default:
            return XPrimitive::None;
    }
}

}  // namespace

bool ParseGuidText(std::string_view text, GUID* guid) {
    static constexpr int kGroups[5] = {8, 4, 4, 4, 12};
    if (text.size() != 36) {
        return false;
    }
    std::uint8_t bytes[16];
    std::size_t at = 0;
    int byte = 0;
    for (int group = 0; group < 5; ++group) {
        if (group > 0) {
            if (text[at] != '-') {
                return false;
            }
            ++at;
        }
        for (int i = 0; i < kGroups[group]; i += 2) {
            unsigned value = 0;
            const char* first = text.data() + at;
            const auto [end, error] = std::from_chars(first, first + 2, value, 16);
            if (error != std::errc() || end != first + 2) {
                return false;
            }
            bytes[byte++] = static_cast<std::uint8_t>(value);
            at += 2;
        }
    }
    guid->Data1 = (static_cast<DWORD>(bytes[0]) << 24) | (static_cast<DWORD>(bytes[1]) << 16) |
                  (static_cast<DWORD>(bytes[2]) << 8) | bytes[3];
    guid->Data2 = static_cast<WORD>((bytes[4] << 8) | bytes[5]);
    guid->Data3 = static_cast<WORD>((bytes[6] << 8) | bytes[7]);
    std::memcpy(guid->Data4, bytes + 8, 8);
    return true;
}

XLexer::XLexer(const std::uint8_t* body, std::size_t size, bool binary, int floatSize)
    : cursor_(body, size), binary_(binary), floatSize_(floatSize) {}

const XToken& XLexer::Peek() {
    if (!peeked_) {
        peek_ = Read();
        peeked_ = true;
    }
    return peek_;
}

XToken XLexer::Next() {
    if (peeked_) {
        peeked_ = false;
        return peek_;
    }
    return Read();
}

std::string XLexer::Where() const {
    return binary_ ? "offset " + std::to_string(tokenStart_ + 16) : "line " + std::to_string(line_);
}

XToken XLexer::Read() {
    return binary_ ? ReadBinary() : ReadText();
}

bool XLexer::SkipTextSpace() {
    while (!cursor_.AtEnd()) {
        const char c = static_cast<char>(cursor_.PeekByte(0));
        if (c == '\n') {
            ++line_;
            cursor_.Skip(1);
        } else if (static_cast<unsigned char>(c) <= ' ') {
            cursor_.Skip(1);
        } else if (c == '#' || (c == '/' && cursor_.PeekByte(1) == '/')) {
            const std::size_t end = cursor_.Find('\n');
            cursor_.Skip(end == std::string_view::npos ? cursor_.Remaining() : end);
        } else {
            return true;
        }
    }
    return false;
}

XToken XLexer::ReadText() {
    if (!SkipTextSpace()) {
        return Simple(XTokenKind::End);
    }
    tokenStart_ = cursor_.Position();
    const char c = static_cast<char>(cursor_.PeekByte(0));
    switch (c) {
        case '{':
            cursor_.Skip(1);
            return Simple(XTokenKind::OBrace);
        case '}':
            cursor_.Skip(1);
            return Simple(XTokenKind::CBrace);
        case '[':
            cursor_.Skip(1);
            return Simple(XTokenKind::OBracket);
        case ']':
            cursor_.Skip(1);
            return Simple(XTokenKind::CBracket);
        case '(':
            cursor_.Skip(1);
            return Simple(XTokenKind::OParen);
        case ')':
            cursor_.Skip(1);
            return Simple(XTokenKind::CParen);
        case ',':
            cursor_.Skip(1);
            return Simple(XTokenKind::Comma);
        case ';':
            cursor_.Skip(1);
            return Simple(XTokenKind::Semicolon);
        case '<':
            return ReadGuidText();
        case '"': {
            cursor_.Skip(1);
            const std::size_t length = cursor_.Find('"');
            if (length == std::string_view::npos) {
                return ErrorToken("a string without its closing quote");
            }
            XToken token;
            token.kind = XTokenKind::String;
            const auto chars = cursor_.Span(length);
            token.text = std::string_view(reinterpret_cast<const char*>(chars.data()), length);
            for (char ch : token.text) {
                line_ += ch == '\n' ? 1 : 0;
            }
            cursor_.Skip(1);
            return token;
        }
        default:
            break;
    }
    const int after = cursor_.PeekByte(1);
    const bool dotNumber = c == '.' && after >= '0' && after <= '9';
    if ((c >= '0' && c <= '9') || c == '-' || c == '+' || dotNumber) {
        return ReadNumber();
    }
    if (c == '.') {
        cursor_.Skip(1);
        return Simple(XTokenKind::Dot);
    }
    if (!IsNameStart(c)) {
        return ErrorToken("an unexpected character");
    }
    std::size_t length = 1;
    while (cursor_.PeekByte(length) >= 0 &&
           IsNamePart(static_cast<char>(cursor_.PeekByte(length)))) {
        ++length;
    }
    const auto chars = cursor_.Span(length);
    XToken token;
    token.kind = XTokenKind::Name;
    token.text = std::string_view(reinterpret_cast<const char*>(chars.data()), length);
    if (token.text == "template") {
        token.kind = XTokenKind::Template;
    } else if (token.text == "array") {
        token.kind = XTokenKind::Array;
    }
    return token;
}

XToken XLexer::ReadNumber() {
    std::size_t length = 0;
    while (cursor_.PeekByte(length) >= 0 &&
           IsNumberPart(static_cast<char>(cursor_.PeekByte(length)))) {
        ++length;
    }
    const auto chars = cursor_.Span(length);
    const char* first = reinterpret_cast<const char*>(chars.data());
    const char* last = first + length;
    if (first != last && *first == '+') {
        ++first;
    }
    const std::string_view text(first, static_cast<std::size_t>(last - first));
    XToken token;
    if (text.find_first_of(".eE") == std::string_view::npos) {
        std::int64_t value = 0;
        const auto [end, error] = std::from_chars(first, last, value);
        if (error != std::errc() || end != last || value < INT32_MIN || value > UINT32_MAX) {
            return ErrorToken("a malformed or too large integer");
        }
        token.kind = XTokenKind::Integer;
        token.integer = static_cast<std::uint32_t>(value);
        token.number = static_cast<double>(value);
        return token;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last) {
        return ErrorToken("a malformed number");
    }
    token.kind = XTokenKind::Float;
    token.number = value;
    return token;
}

XToken XLexer::ReadGuidText() {
    cursor_.Skip(1);
    const std::size_t length = cursor_.Find('>');
    if (length == std::string_view::npos) {
        return ErrorToken("a GUID without its closing '>'");
    }
    const auto chars = cursor_.Span(length);
    cursor_.Skip(1);
    XToken token;
    token.kind = XTokenKind::Guid;
    if (!ParseGuidText(std::string_view(reinterpret_cast<const char*>(chars.data()), length),
                       &token.guid)) {
        return ErrorToken("a malformed GUID");
    }
    return token;
}

XToken XLexer::ReadListValue() {
    --listLeft_;
    XToken token;
    if (listFloats_) {
        token.kind = XTokenKind::Float;
        token.number = floatSize_ == 64 ? cursor_.F64() : static_cast<double>(cursor_.F32());
    } else {
        token.kind = XTokenKind::Integer;
        token.integer = cursor_.U32();
        token.number = static_cast<double>(token.integer);
    }
    return cursor_.Failed() ? ErrorToken("a list that runs past the end") : token;
}

XToken XLexer::ReadBinary() {
    tokenStart_ = cursor_.Position();
    if (listLeft_ > 0) {
        return ReadListValue();
    }
    // Empty lists give no values: go on to the next token.
    std::uint16_t code = 0;
    for (;;) {
        tokenStart_ = cursor_.Position();
        if (cursor_.AtEnd()) {
            return Simple(XTokenKind::End);
        }
        code = cursor_.U16();
        const bool emptyList = (code == kTokenIntegerList || code == kTokenFloatList) &&
                               cursor_.PeekByte(0) == 0 && cursor_.PeekByte(1) == 0 &&
                               cursor_.PeekByte(2) == 0 && cursor_.PeekByte(3) == 0;
        if (!emptyList) {
            break;
        }
        cursor_.Skip(4);
    }
    if (cursor_.Failed()) {
        return ErrorToken("a token cut off by the end");
    }
    switch (code) {
        case kTokenName:
        case kTokenString: {
            const std::uint32_t length = cursor_.U32();
            const auto chars = cursor_.Span(length);
            if (cursor_.Failed()) {
                return ErrorToken("a name or string that runs past the end");
            }
            XToken token;
            token.kind = code == kTokenName ? XTokenKind::Name : XTokenKind::String;
            token.text = std::string_view(reinterpret_cast<const char*>(chars.data()), length);
            if (code == kTokenString) {
                // The terminating separator, written as a 32-bit or a 16-bit token.
                const std::uint16_t terminator = cursor_.U16();
                if (terminator != kTokenComma && terminator != kTokenSemicolon) {
                    return ErrorToken("a string without its separator");
                }
                if (cursor_.PeekByte(0) == 0 && cursor_.PeekByte(1) == 0) {
                    cursor_.Skip(2);
                }
            }
            return cursor_.Failed() ? ErrorToken("a string cut off by the end") : token;
        }
        case kTokenInteger: {
            XToken token;
            token.kind = XTokenKind::Integer;
            token.integer = cursor_.U32();
            token.number = static_cast<double>(token.integer);
            return cursor_.Failed() ? ErrorToken("an integer cut off by the end") : token;
        }
        case kTokenGuid: {
            XToken token;
            token.kind = XTokenKind::Guid;
            token.guid.Data1 = cursor_.U32();
            token.guid.Data2 = cursor_.U16();
            token.guid.Data3 = cursor_.U16();
            const auto tail = cursor_.Span(8);
            if (cursor_.Failed()) {
                return ErrorToken("a GUID cut off by the end");
            }
            std::memcpy(token.guid.Data4, tail.data(), 8);
            return token;
        }
        case kTokenIntegerList:
        case kTokenFloatList: {
            const std::uint32_t count = cursor_.U32();
            const std::size_t width = code == kTokenFloatList && floatSize_ == 64 ? 8 : 4;
            if (cursor_.Failed() || count > cursor_.Remaining() / width) {
                return ErrorToken("a list that runs past the end");
            }
            listLeft_ = count;
            listFloats_ = code == kTokenFloatList;
            return ReadListValue();
        }
        case 10:
            return Simple(XTokenKind::OBrace);
        case 11:
            return Simple(XTokenKind::CBrace);
        case 12:
            return Simple(XTokenKind::OParen);
        case 13:
            return Simple(XTokenKind::CParen);
        case 14:
            return Simple(XTokenKind::OBracket);
        case 15:
            return Simple(XTokenKind::CBracket);
        case 16:
            return Simple(XTokenKind::OAngle);
        case 17:
            return Simple(XTokenKind::CAngle);
        case 18:
            return Simple(XTokenKind::Dot);
        case kTokenComma:
            return Simple(XTokenKind::Comma);
        case kTokenSemicolon:
            return Simple(XTokenKind::Semicolon);
        case 31:
            return Simple(XTokenKind::Template);
        case 52:
            return Simple(XTokenKind::Array);
        default: {
            const XPrimitive primitive = BinaryPrimitive(code);
            if (primitive == XPrimitive::None) {
                return ErrorToken("an unknown token");
            }
            XToken token;
            token.kind = XTokenKind::Primitive;
            token.primitive = primitive;
            return token;
        }
    }
}

}  // namespace d3dx
