#pragma once
// Message text into the message window, Japanese style: every line starts with a full-width
// space unless it opens with a bracket; punctuation that may not start a line hangs at the end
// of a full one; a line feed ends a line, and the next starts as any line does; "{base/reading}"
// puts the reading as ruby over its base; "#n" is global word n, expanded once as the message
// comes in; the speaker's name is the first line of a page. All text is Shift-JIS.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/winbase/line_breaking.h"

// Full-width characters per line: 27, or 19 while a face is shown; a line holds at most twice
// as many bytes.
constexpr int kMessageLineChars = 27;
constexpr int kMessageLineCharsWithFace = 19;

// The auto-mode wait of the current page in milliseconds: MsgAutoInterval + 1000 at each new
// page, plus 50 for every byte of every line laid out (the speaker line too).
extern std::uint32_t AutoPageDelayMs;

// The script VM's message hook and built-in function 35: expands the text's global words,
// records the expanded text in the backlog and shows it. Answers true.
bool ShowMessage(const char* text);
// Lays out the speaker line (on a page's first line) and then the whole text, line by line, as
// it stands: global words are not expanded here (ShowMessage did it, or the backlog recorded
// the text so).
void ShowText(const char* text);

// The text with every "#" and the decimal digits after it replaced by that global word ("#"
// without digits: word 0).
std::string ExpandGlobalWords(const char* text);
// Word 0 is script variable 9 in decimal; any other logs "GetGlobalWord: error. no(%d)" and is
// empty.
std::string GetGlobalWord(int n);

// Lays out one line: the speaker line when `name` is given (only on a page's first line; the
// other arguments are then not used), else one line of `text` (a "#" is a character like any
// other), adding the bytes it took to *consumed (the line feed that ends the line among them,
// and 1 for the terminator when the text runs out). False when the window cannot be built:
// nothing is drawn and nothing taken.
bool MessageLayout(const char* name, const char* text, std::size_t* consumed);

// Whether the character at `c` is an opening bracket (or the full-width space) that a line
// starts with instead of the indent. The characters that may not start a line are those of
// IsNoLineStartChar.
bool IsOpeningChar(const char* c);
