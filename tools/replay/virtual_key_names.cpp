#include "tools/replay/virtual_key_names.h"

#include <cctype>
#include <string>

#include "platform/win32/message_keys.h"

namespace {

struct NamedKey {
    std::string_view name;
    UINT key;
};

constexpr NamedKey kNamedKeys[] = {
    {"BACK", VK_BACK},
    {"TAB", VK_TAB},
    {"CLEAR", VK_CLEAR},
    {"RETURN", VK_RETURN},
    {"SHIFT", VK_SHIFT},
    {"CONTROL", VK_CONTROL},
    {"MENU", VK_MENU},
    {"PAUSE", VK_PAUSE},
    {"CAPITAL", VK_CAPITAL},
    {"KANA", VK_KANA},
    {"KANJI", VK_KANJI},
    {"ESCAPE", VK_ESCAPE},
    {"CONVERT", VK_CONVERT},
    {"NONCONVERT", VK_NONCONVERT},
    {"SPACE", VK_SPACE},
    {"PRIOR", VK_PRIOR},
    {"NEXT", VK_NEXT},
    {"END", VK_END},
    {"HOME", VK_HOME},
    {"LEFT", VK_LEFT},
    {"UP", VK_UP},
    {"RIGHT", VK_RIGHT},
    {"DOWN", VK_DOWN},
    {"SELECT", VK_SELECT},
    {"EXECUTE", VK_EXECUTE},
    {"SNAPSHOT", VK_SNAPSHOT},
    {"INSERT", VK_INSERT},
    {"DELETE", VK_DELETE},
    {"HELP", VK_HELP},
    {"LWIN", VK_LWIN},
    {"RWIN", VK_RWIN},
    {"APPS", VK_APPS},
    {"SLEEP", VK_SLEEP},
    {"MULTIPLY", VK_MULTIPLY},
    {"ADD", VK_ADD},
    {"SEPARATOR", VK_SEPARATOR},
    {"SUBTRACT", VK_SUBTRACT},
    {"DECIMAL", VK_DECIMAL},
    {"DIVIDE", VK_DIVIDE},
    {"NUMLOCK", VK_NUMLOCK},
    {"SCROLL", VK_SCROLL},
    {"LSHIFT", VK_LSHIFT},
    {"RSHIFT", VK_RSHIFT},
    {"LCONTROL", VK_LCONTROL},
    {"RCONTROL", VK_RCONTROL},
    {"LMENU", VK_LMENU},
    {"RMENU", VK_RMENU},
    {"OEM_1", VK_OEM_1},
    {"OEM_PLUS", VK_OEM_PLUS},
    {"OEM_COMMA", VK_OEM_COMMA},
    {"OEM_MINUS", VK_OEM_MINUS},
    {"OEM_PERIOD", VK_OEM_PERIOD},
    {"OEM_2", VK_OEM_2},
    {"OEM_3", VK_OEM_3},
    {"OEM_4", VK_OEM_4},
    {"OEM_5", VK_OEM_5},
    {"OEM_6", VK_OEM_6},
    {"OEM_7", VK_OEM_7},
    {"OEM_102", VK_OEM_102},
};

// The number after `prefix` in `upper` (1..maximum without leading zeros), or 0.
UINT NumberAfter(std::string_view upper, std::string_view prefix, UINT maximum) {
    if (upper.size() <= prefix.size() || upper.size() > prefix.size() + 2 ||
        upper.substr(0, prefix.size()) != prefix || upper[prefix.size()] == '0') {
        return 0;
    }
    UINT value = 0;
    for (char c : upper.substr(prefix.size())) {
        if (c < '0' || c > '9') {
            return 0;
        }
        value = value * 10 + static_cast<UINT>(c - '0');
    }
    return value <= maximum ? value : 0;
}

}  // namespace

std::optional<UINT> VirtualKeyOfName(std::string_view name) {
    if (name.empty() || name.size() > 16) {
        return std::nullopt;
    }
    std::string upper(name);
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (upper.size() == 1 && upper[0] >= 'A' && upper[0] <= 'Z') {
        return static_cast<UINT>(upper[0]);
    }
    for (const NamedKey& named : kNamedKeys) {
        if (named.name == upper) {
            return named.key;
        }
    }
    if (upper == "NUMPAD0") {
        return VK_NUMPAD0;
    }
    if (UINT digit = NumberAfter(upper, "NUMPAD", 9); digit != 0) {
        return VK_NUMPAD0 + digit;
    }
    if (UINT function = NumberAfter(upper, "F", 24); function != 0) {
        return VK_F1 + function - 1;
    }
    return std::nullopt;
}
