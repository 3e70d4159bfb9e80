#pragma once
// Text rules of balloons: lines end at '\n' and '/', and "[" ... "]" colour markup takes no
// room. Double-byte Shift-JIS characters are one character, so their trail bytes never count as
// a separator or a bracket.

#include <string>
#include <vector>

// Every piece between separators, empty ones included ("a//b" gives "a", "", "b").
std::vector<std::string> SplitBaloonLines(const char* text);
// The line without its markup; an unclosed "[" drops the rest.
std::string StripBaloonMarkup(const std::string& line);
