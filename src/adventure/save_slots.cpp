#include "adventure/save_slots.h"

#include <cstdio>
#include <string>

#include "adventure/save_game.h"
#include "adventure/save_texts.h"
#include "script/script_variables.h"

namespace {

constexpr std::uint32_t kMonthVariable = 12;
constexpr std::uint32_t kWeekVariable = 13;
constexpr std::uint32_t kDayTypeVariable = 14;

std::int32_t SignedVar(std::uint32_t index) {
    return static_cast<std::int32_t>(GetVar(index));
}

}  // namespace

const char* DayTypeName(std::int32_t dayType) {
    switch (dayType) {
        case 0:
            return kWeekdayName;
        case 1:
            return kSaturdayName;
        case 2:
            return kSundayName;
        default:
            return "";
    }
}

std::string SavePointTitle(const char* sceneText) {
    if (sceneText[0] == '*') {
        return sceneText + 1;
    }
    const char* day = DayTypeName(SignedVar(kDayTypeVariable));
    const int length = std::snprintf(nullptr, 0, kSavePointTitleFormat, SignedVar(kMonthVariable),
                                     SignedVar(kWeekVariable), day, sceneText);
    std::string title(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    std::snprintf(title.data(), title.size() + 1, kSavePointTitleFormat, SignedVar(kMonthVariable),
                  SignedVar(kWeekVariable), day, sceneText);
    return title;
}

bool BuiltinSavePoint(const ScriptArguments& arguments) {
    const std::string title = SavePointTitle(arguments.String(0));
    PushGameData(title.c_str(), arguments.Has(1) ? arguments.String(1) : nullptr, true);
    return true;
}
