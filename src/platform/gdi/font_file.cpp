#include "platform/gdi/font_file.h"

#include <fontconfig/fontconfig.h>

#include <memory>
#include <mutex>
#include <optional>

#include "platform/gdi/gdi_types.h"
#include "platform/winbase/code_page.h"

namespace gdi {
namespace {

struct Substitution {
    std::string_view faceName;  // Shift-JIS bytes
    const char* file;
};

// "ＭＳ ゴシック" and "ＭＳ Ｐゴシック" in Shift-JIS.
constexpr Substitution kSubstitutions[] = {
    {"\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E", kGothicFile},
    {"\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E", kProportionalGothicFile},
    {"Arial", kSansFile},
};

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        if (fold(a[i]) != fold(b[i])) {
            return false;
        }
    }
    return true;
}

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

struct ConfigDeleter {
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
using ConfigPtr = std::unique_ptr<FcConfig, ConfigDeleter>;

std::string MatchWithFontconfig(const std::string& familyUtf8, unsigned charSet) {
    static std::mutex lock;
    static ConfigPtr config;
    std::lock_guard<std::mutex> guard(lock);
    if (!config) {
        config.reset(FcInitLoadConfigAndFonts());
        if (!config) {
            return {};
        }
    }
    PatternPtr pattern(FcPatternCreate());
    if (!pattern) {
        return {};
    }
    FcPatternAddString(pattern.get(), FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(familyUtf8.c_str()));
    if (charSet == SHIFTJIS_CHARSET) {
        FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    }
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config.get(), pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(config.get(), pattern.get(), &result));
    if (!match || result != FcResultMatch) {
        return {};
    }
    FcChar8* file = nullptr;
    if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || file == nullptr) {
        return {};
    }
    return reinterpret_cast<const char*>(file);
}

}  // namespace

std::string FontFileForFace(std::string_view faceName, unsigned charSet) {
    for (const Substitution& entry : kSubstitutions) {
        if (EqualIgnoringAsciiCase(entry.faceName, faceName)) {
            return entry.file;
        }
    }
    if (!faceName.empty()) {
        if (std::optional<std::string> utf8 = Cp932ToUtf8(faceName)) {
            std::string file = MatchWithFontconfig(*utf8, charSet);
            if (!file.empty()) {
                return file;
            }
        }
    }
    return FallbackFontFile(charSet);
}

std::string FallbackFontFile(unsigned charSet) {
    return charSet == SHIFTJIS_CHARSET ? kGothicFile : kSansFile;
}

}  // namespace gdi
