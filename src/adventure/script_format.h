#pragma once
// Script text formatted with script values: the printf directives of a format that scripts
// supply, each checked against the value it takes. A float value (type 9) serves only a
// floating conversion (a e f g, upper case too), a string value (type 10) only %s, any other
// value only an integer conversion (d i o u x X c, read as its unsigned 32-bit value). A
// missing or mismatched value prints as 0 (or the empty text for %s); %n is refused and writes
// nothing; an unknown directive is copied as it stands. Width and precision are capped, "*"
// takes the next value as an int, and length modifiers are accepted and ignored.

#include <cstddef>
#include <string>

#include "adventure/script_arguments.h"

// The most bytes of a formatted text (the terminator of the original buffer excluded).
constexpr std::size_t kFormattedTextLimit = 4095;

// Formats `format` with the arguments from index `first` on; the result is cut at
// kFormattedTextLimit bytes on a character boundary.
std::string FormatScriptText(const char* format, const ScriptArguments& arguments,
                             std::size_t first);
