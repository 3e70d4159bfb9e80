#include "adventure/script_format.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "foundation/log.h"
#include "foundation/sjis.h"

namespace {

// Widths and precisions beyond this are cut to it: no directive can outgrow a whole text.
constexpr int kFieldLimit = static_cast<int>(kFormattedTextLimit);

struct Directive {
    std::string flags;
    int width = -1;
    int precision = -1;
    char conversion = '\0';
};

enum class ValueKind { Integer, Float, String };

ValueKind KindOf(const ScriptValue& value) {
    if (value.type == kScriptFloat) {
        return ValueKind::Float;
    }
    return value.type == kScriptString ? ValueKind::String : ValueKind::Integer;
}

// The next argument when it is of `kind`; null when absent or of another kind. Either way
// the argument is used up.
const ScriptValue* Take(const ScriptArguments& arguments, std::size_t* next, ValueKind kind) {
    const ScriptValue* value = arguments.Value((*next)++);
    return value != nullptr && KindOf(*value) == kind ? value : nullptr;
}

int ReadNumber(const char** p) {
    int number = 0;
    while (**p >= '0' && **p <= '9') {
        number = number < kFieldLimit ? number * 10 + (**p - '0') : kFieldLimit;
        ++*p;
    }
    return number < kFieldLimit ? number : kFieldLimit;
}

// Reads a "*" field from the next argument (an integer; anything else counts as 0).
int TakeField(const ScriptArguments& arguments, std::size_t* next) {
    const ScriptValue* value = Take(arguments, next, ValueKind::Integer);
    const std::int64_t number = value != nullptr ? value->GetLong() : 0;
    if (number < -kFieldLimit) {
        return -kFieldLimit;
    }
    return number > kFieldLimit ? kFieldLimit : static_cast<int>(number);
}

// Parses flags, width, precision and length modifiers after the "%"; *p ends on the
// conversion character.
Directive ParseDirective(const char** p, const ScriptArguments& arguments, std::size_t* next) {
    Directive d;
    while (**p != '\0' && std::strchr("-+ #0", **p) != nullptr) {
        d.flags += *(*p)++;
    }
    if (**p == '*') {
        ++*p;
        d.width = TakeField(arguments, next);
        if (d.width < 0) {
            d.flags += '-';
            d.width = -d.width;
        }
    } else if (**p >= '0' && **p <= '9') {
        d.width = ReadNumber(p);
    }
    if (**p == '.') {
        ++*p;
        if (**p == '*') {
            ++*p;
            d.precision = TakeField(arguments, next);
        } else {
            d.precision = ReadNumber(p);
        }
    }
    while (**p != '\0' && std::strchr("hlLqjzt", **p) != nullptr) {
        ++*p;
    }
    d.conversion = **p;
    return d;
}

// The directive rebuilt for the C library, with `length` before the conversion.
std::string CDirective(const Directive& d, const char* length) {
    std::string directive(1, '%');
    directive += d.flags;
    if (d.width >= 0) {
        directive += std::to_string(d.width);
    }
    if (d.precision >= 0) {
        directive += '.';
        directive += std::to_string(d.precision);
    }
    directive += length;
    directive += d.conversion;
    return directive;
}

template <typename T>
void AppendPrintf(std::string* out, const std::string& directive, T value) {
    const int size = std::snprintf(nullptr, 0, directive.c_str(), value);
    if (size <= 0) {
        return;
    }
    const std::size_t at = out->size();
    out->resize(at + static_cast<std::size_t>(size) + 1);
    std::snprintf(out->data() + at, static_cast<std::size_t>(size) + 1, directive.c_str(), value);
    out->resize(at + static_cast<std::size_t>(size));
}

// The bytes of `text` that fit in `limit` without cutting a double-byte character.
std::size_t WholeCharacters(std::string_view text, std::size_t limit) {
    std::size_t end = 0;
    while (end < text.size()) {
        const auto lead = static_cast<unsigned char>(text[end]);
        const std::size_t length = sjis::IsLeadByte(lead) && end + 1 < text.size() ? 2 : 1;
        if (end + length > limit) {
            break;
        }
        end += length;
    }
    return end;
}

void AppendText(std::string* out, const Directive& d, std::string_view text) {
    if (d.precision >= 0) {
        text = text.substr(0, WholeCharacters(text, static_cast<std::size_t>(d.precision)));
    }
    const std::size_t pad = d.width > 0 && static_cast<std::size_t>(d.width) > text.size()
                                ? static_cast<std::size_t>(d.width) - text.size()
                                : 0;
    const bool left = d.flags.find('-') != std::string::npos;
    if (!left) {
        out->append(pad, ' ');
    }
    out->append(text);
    if (left) {
        out->append(pad, ' ');
    }
}

// Formats one directive; false when the conversion is unknown.
bool AppendDirective(std::string* out, const Directive& d, const ScriptArguments& arguments,
                     std::size_t* next) {
    switch (d.conversion) {
        case 'd':
        case 'i': {
            const ScriptValue* v = Take(arguments, next, ValueKind::Integer);
            const auto value = static_cast<std::int32_t>(v != nullptr ? v->GetULong() : 0);
            AppendPrintf(out, CDirective(d, "ll"), static_cast<long long>(value));
            return true;
        }
        case 'u':
        case 'o':
        case 'x':
        case 'X': {
            const ScriptValue* v = Take(arguments, next, ValueKind::Integer);
            const std::uint32_t value = v != nullptr ? v->GetULong() : 0;
            AppendPrintf(out, CDirective(d, "ll"), static_cast<unsigned long long>(value));
            return true;
        }
        case 'c': {
            const ScriptValue* v = Take(arguments, next, ValueKind::Integer);
            const char c = static_cast<char>(v != nullptr ? v->GetULong() & 0xFF : 0);
            AppendText(out, Directive{d.flags, d.width, -1, 's'},
                       c != '\0' ? std::string_view(&c, 1) : std::string_view());
            return true;
        }
        case 'a':
        case 'A':
        case 'e':
        case 'E':
        case 'f':
        case 'F':
        case 'g':
        case 'G': {
            const ScriptValue* v = Take(arguments, next, ValueKind::Float);
            AppendPrintf(out, CDirective(d, ""), v != nullptr ? v->GetFloat() : 0.0);
            return true;
        }
        case 's': {
            const ScriptValue* v = Take(arguments, next, ValueKind::String);
            const char* text = v != nullptr ? v->GetString() : nullptr;
            AppendText(out, d, text != nullptr ? text : "");
            return true;
        }
        case 'n':
            // It would write through a script value: refused, its argument used up.
            ++*next;
            LogPrintf("function: error. format(%%n)");
            return true;
        default:
            return false;
    }
}

}  // namespace

std::string FormatScriptText(const char* format, const ScriptArguments& arguments,
                             std::size_t first) {
    std::string out;
    std::size_t next = first;
    const char* p = format != nullptr ? format : "";
    while (*p != '\0' && out.size() <= kFormattedTextLimit) {
        if (*p != '%') {
            const char* after = sjis::Next(p);
            out.append(p, static_cast<std::size_t>(after - p));
            p = after;
            continue;
        }
        const char* start = p++;
        if (*p == '%') {
            out += '%';
            ++p;
            continue;
        }
        const Directive d = ParseDirective(&p, arguments, &next);
        if (d.conversion != '\0' && AppendDirective(&out, d, arguments, &next)) {
            ++p;
            continue;
        }
        // Not a directive of ours: its text as it stands.
        const char* end = *p != '\0' ? sjis::Next(p) : p;
        out.append(start, static_cast<std::size_t>(end - start));
        p = end;
    }
    out.resize(WholeCharacters(out, kFormattedTextLimit));
    return out;
}
