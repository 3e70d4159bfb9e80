// GetUserDefaultLangID and VerLanguageNameA: the language of the locale of messages.

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/winbase/machine_facts.h"
#include "platform/winbase/system_queries.h"

namespace {

// A language of locale names ("ll" or "ll_CC") with its Windows language id. The first row of a
// language is the one taken when the territory is missing or not listed.
struct Language {
    const char* code;
    const char* territory;
    LANGID id;
    const char* name;
};

constexpr Language kLanguages[] = {
    {"ja", "JP", 0x0411, "Japanese"},
    {"en", "US", 0x0409, "English (United States)"},
    {"en", "GB", 0x0809, "English (United Kingdom)"},
    {"en", "AU", 0x0C09, "English (Australia)"},
    {"en", "CA", 0x1009, "English (Canada)"},
    {"zh", "CN", 0x0804, "Chinese (Simplified)"},
    {"zh", "TW", 0x0404, "Chinese (Traditional)"},
    {"zh", "HK", 0x0C04, "Chinese (Hong Kong S.A.R.)"},
    {"ko", "KR", 0x0412, "Korean"},
    {"de", "DE", 0x0407, "German (Germany)"},
    {"de", "AT", 0x0C07, "German (Austria)"},
    {"de", "CH", 0x0807, "German (Switzerland)"},
    {"fr", "FR", 0x040C, "French (France)"},
    {"fr", "BE", 0x080C, "French (Belgium)"},
    {"fr", "CA", 0x0C0C, "French (Canada)"},
    {"fr", "CH", 0x100C, "French (Switzerland)"},
    {"es", "ES", 0x0C0A, "Spanish (Spain)"},
    {"es", "MX", 0x080A, "Spanish (Mexico)"},
    {"it", "IT", 0x0410, "Italian"},
    {"pt", "BR", 0x0416, "Portuguese (Brazil)"},
    {"pt", "PT", 0x0816, "Portuguese (Portugal)"},
    {"nl", "NL", 0x0413, "Dutch"},
    {"ru", "RU", 0x0419, "Russian"},
    {"pl", "PL", 0x0415, "Polish"},
    {"cs", "CZ", 0x0405, "Czech"},
    {"hu", "HU", 0x040E, "Hungarian"},
    {"sv", "SE", 0x041D, "Swedish"},
    {"fi", "FI", 0x040B, "Finnish"},
    {"da", "DK", 0x0406, "Danish"},
    {"nb", "NO", 0x0414, "Norwegian (Bokmal)"},
    {"el", "GR", 0x0408, "Greek"},
    {"tr", "TR", 0x041F, "Turkish"},
    {"uk", "UA", 0x0422, "Ukrainian"},
    {"th", "TH", 0x041E, "Thai"},
    {"vi", "VN", 0x042A, "Vietnamese"},
    {"id", "ID", 0x0421, "Indonesian"},
    {"ar", "SA", 0x0401, "Arabic (Saudi Arabia)"},
    {"he", "IL", 0x040D, "Hebrew"},
};

constexpr const char* kNeutralName = "Language Neutral";

}  // namespace

LANGID GetUserDefaultLangID() {
    // "ll_CC.codeset@modifier": the codeset and the modifier do not name the language.
    const std::string name = winbase_internal::MessagesLocale();
    std::string_view locale = name;
    locale = locale.substr(0, std::min(locale.find('.'), locale.find('@')));
    const std::size_t underscore = locale.find('_');
    const std::string_view code = locale.substr(0, underscore);
    const std::string_view territory =
        underscore == std::string_view::npos ? std::string_view() : locale.substr(underscore + 1);
    const Language* first = nullptr;
    for (const Language& language : kLanguages) {
        if (code != language.code) {
            continue;
        }
        if (territory == language.territory) {
            return language.id;
        }
        first = first != nullptr ? first : &language;
    }
    return first != nullptr ? first->id : LANG_NEUTRAL;
}

DWORD VerLanguageNameA(DWORD language, LPSTR name, DWORD size) {
    const char* text = kNeutralName;
    for (const Language& known : kLanguages) {
        if (known.id == language) {
            text = known.name;
        }
    }
    if (name == nullptr || size == 0) {
        return 0;
    }
    const std::size_t length = std::min<std::size_t>(std::strlen(text), size - 1);
    std::memcpy(name, text, length);
    name[length] = '\0';
    return static_cast<DWORD>(length);
}
