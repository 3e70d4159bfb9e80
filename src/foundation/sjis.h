#pragma once
// Inline Shift-JIS (code page 932) character stepping for the hot paths of name comparison and
// pack lookup; the same rule as IsDBCSLeadByte and CharNextA of the system layer.

namespace sjis {

// Lead bytes of double-byte characters: 0x81..0x9F and 0xE0..0xFC.
constexpr bool IsLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The next character; a lead byte followed by NUL steps over the lead byte only, and the
// terminating NUL is never passed.
inline const char* Next(const char* text) {
    const auto byte = static_cast<unsigned char>(*text);
    if (byte == 0) {
        return text;
    }
    if (IsLeadByte(byte) && text[1] != '\0') {
        return text + 2;
    }
    return text + 1;
}

}  // namespace sjis
