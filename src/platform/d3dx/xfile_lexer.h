#pragma once
// The tokens of an X file's body, from its text or binary encoding. Both come out as the same
// stream: a binary integer or float list yields its values one token at a time, and a binary
// string swallows its terminating separator. Every read stays within the given bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/winbase/byte_reader.h"
#include "platform/winbase/byte_writer.h"
#include "platform/winbase/win_types.h"

namespace d3dx {

enum class XPrimitive : std::uint8_t {
    None,
    Word,
    Dword,
    Float,
    Double,
    Char,
    Uchar,
    Byte,
    Sword,
    Sdword,
    String,
    Cstring,
    Unicode,
};

enum class XTokenKind : std::uint8_t {
    End,
    Error,
    Name,
    String,
    Integer,
    Float,
    Guid,
    OBrace,
    CBrace,
    OBracket,
    CBracket,
    OParen,
    CParen,
    OAngle,
    CAngle,
    Dot,
    Comma,
    Semicolon,
    Template,
    Array,
    // A primitive type keyword of the binary encoding (text ones are names).
    Primitive,
};

struct XToken {
    XTokenKind kind = XTokenKind::End;
    // Name and String: the characters; Error: what is wrong.
    std::string_view text;
    // Integer: the value as 32 bits (two's complement when negative).
    std::uint32_t integer = 0;
    // Integer and Float: the value.
    double number = 0;
    GUID guid{};
    XPrimitive primitive = XPrimitive::None;
};

class XLexer {
public:
    // `body`: the bytes after the 16-byte header; `floatSize` 32 or 64 (binary float lists).
    XLexer(const std::uint8_t* body, std::size_t size, bool binary, int floatSize);

    const XToken& Peek();
    XToken Next();
    // Bytes not yet read: every value takes at least one, which bounds the counts a file asks for.
    std::size_t Remaining() const { return cursor_.Remaining(); }
    // Where the last token was read: "line N" (text) or "offset N" (binary).
    std::string Where() const;

private:
    XToken Read();
    XToken ReadText();
    XToken ReadBinary();
    XToken ReadListValue();
    XToken ReadNumber();
    XToken ReadGuidText();
    bool SkipTextSpace();

    ByteReader cursor_;
    bool binary_;
    int floatSize_;
    int line_ = 1;
    std::size_t tokenStart_ = 0;
    // Values left of the binary list being read.
    std::uint32_t listLeft_ = 0;
    bool listFloats_ = false;
    bool peeked_ = false;
    XToken peek_;
};

// A GUID in its text form, "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX"; false when it is not one.
bool ParseGuidText(std::string_view text, GUID* guid);

}  // namespace d3dx
