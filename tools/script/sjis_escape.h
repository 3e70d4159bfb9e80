#pragma once
// Shift-JIS text shown as UTF-8 with escapes, and the reverse.

#include <optional>
#include <string>
#include <string_view>

enum class EscapeStyle {
    // A quoted literal of the text form: \" and \\, \n \r \t, other control bytes as \xHH.
    kLiteral,
    // A trace line: \\, \n, \r and \t escaped; other bytes as they are.
    kTrace,
};

// Converts each character that round-trips through UTF-8; every other byte becomes \xHH.
std::string EscapeSjis(std::string_view sjis, EscapeStyle style);

// The bytes of a literal's contents (without the quotes): runs of UTF-8 are stored as Shift-JIS,
// escapes (\\ \" \n \r \t \xHH) as the bytes they name. Sets *error and returns nullopt when a
// run does not convert, an escape is malformed or a NUL would result.
std::optional<std::string> UnescapeToSjis(std::string_view literal, std::string* error);
