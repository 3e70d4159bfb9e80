#pragma once
// Japanese line breaking of Shift-JIS text, one rule for the message window and for the texts of
// dialogs and message boxes: the characters that may not begin a line (NoLineStartChars), and
// the word wrap of a text into lines of a given width in pixels.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Whether the character at `c` (NUL-terminated) is one of the full-width characters that may not
// begin a line:
// ’”′″、。々〉》」』】〕ぁぃぅぇぉっゃゅょゎ゛゜ゝゞァィゥェォッャュョヮヵヶ・ーヽヾ！％），．：；？］｝‥
// compared as whole characters (a trail byte never matches a lead byte).
bool IsNoLineStartChar(const char* c);

// The width in pixels of one character (its one or two bytes) as the text is drawn.
using CharWidth = std::function<float(std::string_view character)>;

// `text` in lines for a field `width` pixels wide. A line feed (with or without a carriage return
// before it) ends a line; so does the width: a line that runs full breaks between two characters
// where at least one is double-byte or half-width kana, or at spaces, so that a word of ASCII
// characters stays whole unless it alone is wider than a line. Spaces at a break are dropped.
// As in the message window, where a line must break, the last full-width character of its room
// ("。" wide) is kept for a character of NoLineStartChars: it hangs there rather than begin the
// next line. Where two or more of them would begin it, the character before them goes down with
// them. A line begins with one only where its text does, or where the line holds nothing else. A
// rest of the text that fits the width whole stays one line. An empty text is one empty line.
std::vector<std::string> WrapCp932Text(std::string_view text, float width,
                                       const CharWidth& measure);
