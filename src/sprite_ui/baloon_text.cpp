#include "sprite_ui/baloon_text.h"

#include "foundation/sjis.h"

std::vector<std::string> SplitBaloonLines(const char* text) {
    std::vector<std::string> lines(1);
    if (text == nullptr) {
        return lines;
    }
    for (const char* p = text; *p != '\0';) {
        const char* next = sjis::Next(p);
        if (next == p + 1 && (*p == '\n' || *p == '/')) {
            lines.emplace_back();
        } else {
            lines.back().append(p, static_cast<std::size_t>(next - p));
        }
        p = next;
    }
    return lines;
}

std::string StripBaloonMarkup(const std::string& line) {
    std::string plain;
    bool inMarkup = false;
    for (const char* p = line.c_str(); *p != '\0';) {
        const char* next = sjis::Next(p);
        const bool single = next == p + 1;
        if (inMarkup) {
            inMarkup = !(single && *p == ']');
        } else if (single && *p == '[') {
            inMarkup = true;
        } else {
            plain.append(p, static_cast<std::size_t>(next - p));
        }
        p = next;
    }
    return plain;
}
