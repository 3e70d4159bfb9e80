#include "platform/winbase/debug_output.h"

#include <cstdio>
#include <cstring>

#include "platform/winbase/code_page.h"

void OutputDebugStringA(LPCSTR text) {
    if (text == nullptr) {
        return;
    }
    std::optional<std::string> utf8 = Cp932ToUtf8(text);
    if (utf8) {
        std::fwrite(utf8->data(), 1, utf8->size(), stderr);
    } else {
        std::fwrite(text, 1, std::strlen(text), stderr);
    }
}
