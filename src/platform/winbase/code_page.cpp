#include "platform/winbase/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <type_traits>

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
