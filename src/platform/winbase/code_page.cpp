#include "platform/winbase/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <type_traits>

#include "platform/winbase/file_api.h"

namespace {

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using IconvPtr = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

// One converter per direction and thread: iconv_t keeps shift state and is not thread-safe.
IconvPtr OpenConverter(const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return nullptr;
    }
    return IconvPtr(cd);
}

std::optional<std::string> Convert(iconv_t cd, std::string_view in) {
    if (cd == nullptr) {
        return std::nullopt;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    out.resize(in.size() * 3 + 8);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    while (inLeft > 0) {
        std::size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        if (result != static_cast<std::size_t>(-1)) {
            break;
        }
        if (errno != E2BIG) {
            return std::nullopt;  // EILSEQ or EINVAL: a sequence that does not convert
        }
        std::size_t used = static_cast<std::size_t>(outPtr - out.data());
        out.resize(out.size() * 2);
        outPtr = out.data() + used;
        outLeft = out.size() - used;
    }
    if (iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
        return std::nullopt;
    }
    out.resize(static_cast<std::size_t>(outPtr - out.data()));
    return out;
}

iconv_t ToUtf8() {
    thread_local IconvPtr converter = OpenConverter("UTF-8", "CP932");
    return converter.get();
}

iconv_t FromUtf8() {
    thread_local IconvPtr converter = OpenConverter("CP932", "UTF-8");
    return converter.get();
}

// Converters between a code page and UTF-16LE, one per thread; null for an unknown code page.
iconv_t ToUtf16(UINT codePage) {
    thread_local IconvPtr fromCp932 = OpenConverter("UTF-16LE", "CP932");
    thread_local IconvPtr fromUtf8 = OpenConverter("UTF-16LE", "UTF-8");
    return codePage == CP_UTF8                     ? fromUtf8.get()
           : codePage == CP_ACP || codePage == 932 ? fromCp932.get()
                                                   : nullptr;
}

iconv_t FromUtf16(UINT codePage) {
    thread_local IconvPtr toCp932 = OpenConverter("CP932", "UTF-16LE");
    thread_local IconvPtr toUtf8 = OpenConverter("UTF-8", "UTF-16LE");
    return codePage == CP_UTF8                     ? toUtf8.get()
           : codePage == CP_ACP || codePage == 932 ? toCp932.get()
                                                   : nullptr;
}

// Copies `converted` (`unitSize` bytes a unit) into `out` of `capacity` units, or answers the
// units needed when `capacity` is 0; 0 with ERROR_INSUFFICIENT_BUFFER when it does not fit.
int CopyUnits(const std::string& converted, std::size_t unitSize, void* out, int capacity) {
    const std::size_t units = converted.size() / unitSize;
    if (units > static_cast<std::size_t>(INT32_MAX)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (capacity == 0) {
        return static_cast<int>(units);
    }
    if (out == nullptr || units > static_cast<std::size_t>(capacity)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(out, converted.data(), converted.size());
    return static_cast<int>(units);
}

// The escape of a byte that is no text: the lone surrogate U+DC00 + byte, as UTF-16LE.
constexpr WCHAR kEscapeBase = 0xDC00;

bool IsEscape(WCHAR unit) {
    return unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF;
}

// UTF-16LE of `in`, each byte that does not convert escaped.
std::optional<std::string> ToUtf16Escaping(iconv_t cd, std::string_view in) {
    std::string out;
    while (!in.empty()) {
        // The longest prefix that converts, found from iconv's stop.
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        std::string part(in.size() * 4 + 8, '\0');
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        char* outPtr = part.data();
        std::size_t outLeft = part.size();
        const bool whole = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1);
        if (!whole && errno != EILSEQ && errno != EINVAL) {
            return std::nullopt;
        }
        out.append(part.data(), static_cast<std::size_t>(outPtr - part.data()));
        in.remove_prefix(in.size() - inLeft);
        if (!in.empty()) {
            const WCHAR escape = kEscapeBase + static_cast<BYTE>(in.front());
            out.push_back(static_cast<char>(escape & 0xFF));
            out.push_back(static_cast<char>(escape >> 8));
            in.remove_prefix(1);
        }
    }
    return out;
}

// The code page's bytes of `units` UTF-16 units, each escape given back as its byte.
std::optional<std::string> FromUtf16Escaping(iconv_t cd, const WCHAR* units, std::size_t count) {
    std::string out;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= count; ++i) {
        if (i < count && !IsEscape(units[i])) {
            continue;
        }
        if (i > start) {
            std::optional<std::string> part =
                Convert(cd, std::string_view(reinterpret_cast<const char*>(units + start),
                                             (i - start) * sizeof(WCHAR)));
            if (!part) {
                return std::nullopt;
            }
            out += *part;
        }
        if (i < count) {
            out.push_back(static_cast<char>(units[i] - kEscapeBase));
        }
        start = i + 1;
    }
    return out;
}

bool IsTrailByte(BYTE byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

BYTE FoldAscii(BYTE byte) {
    return (byte >= 'A' && byte <= 'Z') ? static_cast<BYTE>(byte + ('a' - 'A')) : byte;
}

}  // namespace

BOOL IsDBCSLeadByte(BYTE byte) {
    return ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC)) ? TRUE : FALSE;
}

LPSTR CharNextA(LPCSTR text) {
    if (text == nullptr) {
        return nullptr;
    }
    if (*text == '\0') {
        return const_cast<LPSTR>(text);
    }
    if (IsDBCSLeadByte(static_cast<BYTE>(text[0])) && text[1] != '\0') {
        return const_cast<LPSTR>(text + 2);
    }
    return const_cast<LPSTR>(text + 1);
}

std::optional<std::string> Cp932ToUtf8(std::string_view sjis) {
    return Convert(ToUtf8(), sjis);
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
    return Convert(FromUtf8(), utf8);
}

std::size_t Cp932CharLength(std::string_view text, std::size_t pos) {
    if (pos >= text.size()) {
        return 0;
    }
    if (IsDBCSLeadByte(static_cast<BYTE>(text[pos])) && pos + 1 < text.size() &&
        IsTrailByte(static_cast<BYTE>(text[pos + 1]))) {
        return 2;
    }
    return 1;
}

std::size_t CopyCp932Prefix(std::string_view text, char* destination, std::size_t size) {
    if (destination == nullptr || size == 0) {
        return 0;
    }
    std::size_t length = 0;
    while (length < text.size()) {
        const std::size_t next = length + Cp932CharLength(text, length);
        if (next > size - 1) {
            break;
        }
        length = next;
    }
    std::memcpy(destination, text.data(), length);
    destination[length] = '\0';
    return length;
}

std::string FoldCaseCp932(std::string_view text) {
    std::string folded(text);
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t length = Cp932CharLength(text, pos);
        if (length == 1) {
            folded[pos] = static_cast<char>(FoldAscii(static_cast<BYTE>(text[pos])));
        }
        pos += length;
    }
    return folded;
}

bool EqualNoCaseCp932(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    std::size_t pos = 0;
    while (pos < a.size()) {
        std::size_t length = Cp932CharLength(a, pos);
        if (length == 2) {
            if (a[pos] != b[pos] || a[pos + 1] != b[pos + 1]) {
                return false;
            }
        } else if (FoldAscii(static_cast<BYTE>(a[pos])) != FoldAscii(static_cast<BYTE>(b[pos]))) {
            return false;
        }
        pos += length;
    }
    return true;
}

int MultiByteToWideChar(UINT codePage, DWORD, LPCSTR text, int bytes, WCHAR* out, int outChars) {
    iconv_t converter = ToUtf16(codePage);
    if (converter == nullptr || text == nullptr || bytes < -1 || outChars < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::size_t length =
        bytes == -1 ? std::strlen(text) + 1 : static_cast<std::size_t>(bytes);
    std::optional<std::string> converted =
        ToUtf16Escaping(converter, std::string_view(text, length));
    if (!converted) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    return CopyUnits(*converted, sizeof(WCHAR), out, outChars);
}

int WideCharToMultiByte(UINT codePage, DWORD, const WCHAR* text, int chars, LPSTR out, int outBytes,
                        LPCSTR defaultChar, BOOL* usedDefault) {
    iconv_t converter = FromUtf16(codePage);
    if (converter == nullptr || text == nullptr || chars < -1 || outBytes < 0 ||
        defaultChar != nullptr || usedDefault != nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::size_t length = 0;
    if (chars == -1) {
        while (text[length] != 0) {
            ++length;
        }
        ++length;
    } else {
        length = static_cast<std::size_t>(chars);
    }
    std::optional<std::string> converted = FromUtf16Escaping(converter, text, length);
    if (!converted) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    return CopyUnits(*converted, 1, out, outBytes);
}
