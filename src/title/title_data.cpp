// TitleData: the flag bytes, the seen list and the pages of the recollection items.

#include "title/title_data.h"

#include <algorithm>
#include <string_view>

#include "foundation/file.h"
#include "foundation/log.h"
#include "foundation/text.h"
#include "media/graphics/loaded_file.h"
#include "platform/winbase/shell_path.h"

TitleData gTitleData;

namespace {

const std::string kNoBalloon = "*";

bool Ignored(const char* name) {
    return gTitleData.names.empty() || name == nullptr || name[0] == '\0' || name[0] == '*';
}

// The items SetMeFlag and SetMeFlagWhole look at: below both the names and the flag bytes.
std::size_t MarkableItems() {
    return std::min(gTitleData.names.size(), gTitleData.flags.size());
}

// Sets `bit` of item i; a new bit appends the name to meList.
void SetBit(std::size_t item, std::uint8_t bit, const char* name) {
    if ((gTitleData.flags[item] & bit) != 0) {
        return;
    }
    gTitleData.flags[item] = static_cast<std::uint8_t>(gTitleData.flags[item] | bit);
    const std::string_view text(name);
    gTitleData.meList.insert(gTitleData.meList.end(), text.begin(), text.end());
    gTitleData.meList.push_back(0);
}

// The part search of SetMeFlag; true when an item matched (the bit is set then).
bool MarkPart(const char* name) {
    for (std::size_t i = 0; i < MarkableItems(); ++i) {
        const std::vector<std::string> parts = SplitItemName(gTitleData.names[i]);
        const std::size_t tracked = std::min(parts.size(), kTitleFlagBits);
        for (std::size_t k = 0; k < tracked; ++k) {
            if (CompareNoCase(parts[k].c_str(), name) == 0) {
                SetBit(i, static_cast<std::uint8_t>(1u << k), name);
                return true;
            }
        }
        if (parts.size() > kTitleFlagBits) {
            LogPrintf("Title: SetMeFlag error: item(\"%s\") fname(\"%s\")",
                      gTitleData.names[i].c_str(), name);
        }
    }
    return false;
}

bool InRange(std::int64_t index, std::size_t size) {
    return index >= 0 && static_cast<std::uint64_t>(index) < size;
}

// The entry of the current item in `values`, grown with zeros to reach it; null without a
// current item.
std::uint32_t* CurrentEntry(std::vector<std::uint32_t>& values) {
    const std::int32_t item = gTitleData.currentItem;
    if (item < 0) {
        return nullptr;
    }
    const auto index = static_cast<std::size_t>(item);
    if (values.size() <= index) {
        values.resize(index + 1, 0);
    }
    return &values[index];
}

std::int64_t CurrentValue(const std::vector<std::uint32_t>& values) {
    const std::int32_t item = gTitleData.currentItem;
    return InRange(item, values.size()) ? static_cast<std::int64_t>(values[item]) : -1;
}

}  // namespace

std::vector<std::string> SplitItemName(const std::string& name) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find('+', start);
        if (end == std::string::npos) {
            end = name.size();
        }
        if (end > start) {
            parts.push_back(name.substr(start, end - start));
        }
        start = end + 1;
    }
    return parts;
}

bool SaveMeList() {
    if (gTitleData.meList.empty()) {
        return false;
    }
    return SaveFile(gTitleData.flagFilePath.c_str(), gTitleData.meList.data(),
                    static_cast<DWORD>(gTitleData.meList.size())) != 0;
}

namespace Title {

bool LoadFlag(const char* path) {
    gTitleData.flagFilePath = path != nullptr ? path : "";
    gTitleData.meList.clear();
    if (gTitleData.names.empty()) {
        return false;
    }
    gTitleData.flags.assign(gTitleData.names.size(), 0);
    // Checked first: a seen list that was never written is the first run, not a load error.
    if (path == nullptr || FileExists(path) == 0) {
        return false;
    }
    const LoadedFile file(path);
    if (!file.ok()) {
        return false;
    }
    const std::span<const std::uint8_t> stored(file.data(), file.size());
    for (const std::string& name : ReadSeenList(stored)) {
        if (name[0] != '*') {
            MarkPart(name.c_str());
        }
    }
    // One write after the whole replay, and only when it changed the list, so that a start cut
    // short never leaves a shortened list behind.
    if (!std::equal(stored.begin(), stored.end(), gTitleData.meList.begin(),
                    gTitleData.meList.end())) {
        SaveMeList();
    }
    return true;
}

void SetMeFlag(const char* name) {
    if (Ignored(name)) {
        return;
    }
    if (MarkPart(name)) {
        SaveMeList();
    }
}

bool SetMeFlagWhole(const char* name) {
    if (Ignored(name)) {
        return false;
    }
    for (std::size_t i = 0; i < MarkableItems(); ++i) {
        if (CompareNoCase(gTitleData.names[i].c_str(), name) == 0) {
            SetBit(i, 1, name);
            return SaveMeList();
        }
    }
    return false;
}

void MarkSeenScript(const char* scriptName) {
    if (scriptName == nullptr) {
        return;
    }
    std::string name = PathFindFileNameA(scriptName);
    const std::size_t extension =
        std::string_view(name).size() - std::string_view(PathFindExtensionA(name.c_str())).size();
    name.resize(extension);
    SetMeFlag(name.c_str());
}

void MarkSeenVisual(const char* name) {
    SetMeFlagWhole(name);
}

bool SetFlagByte(std::uint32_t item, std::uint8_t value) {
    if (item >= gTitleData.flags.size()) {
        return false;
    }
    gTitleData.flags[item] = value;
    SaveMeList();
    return true;
}

std::uint8_t FlagByte(std::int64_t item) {
    return InRange(item, gTitleData.flags.size()) ? gTitleData.flags[item] : 0;
}

bool HasItemName(std::int64_t item) {
    return InRange(item, gTitleData.names.size()) && gTitleData.names[item] != "*";
}

int ItemState(std::int64_t item) {
    if (!HasItemName(item)) {
        return -1;
    }
    return FlagByte(item) != 0 ? 2 : 1;
}

const std::string& BalloonText(std::int64_t item) {
    return InRange(item, gTitleData.balloons.size()) ? gTitleData.balloons[item] : kNoBalloon;
}

std::size_t ItemCount() {
    return gTitleData.names.size();
}

std::int64_t CurrentPageCount() {
    return CurrentValue(gTitleData.pageCount);
}

std::int64_t CurrentPage() {
    return CurrentValue(gTitleData.currentPage);
}

void SetCurrentItem(std::int32_t item) {
    if (item != -1 && !InRange(item, gTitleData.names.size())) {
        LogPrintf("Title: current item(%d) out of range(%d)", item,
                  static_cast<int>(gTitleData.names.size()));
        return;
    }
    gTitleData.currentItem = item;
}

void SetCurrentPageCount(std::uint32_t count) {
    if (std::uint32_t* entry = CurrentEntry(gTitleData.pageCount)) {
        *entry = count;
    }
}

void SetCurrentPage(std::uint32_t page) {
    if (std::uint32_t* entry = CurrentEntry(gTitleData.currentPage)) {
        *entry = page;
    }
}

void StepPage(std::int32_t delta) {
    const std::int64_t count = CurrentPageCount();
    if (count == -1) {
        return;
    }
    std::int64_t page = CurrentPage() + delta;
    if (page < 1) {
        page = count;
    } else if (page > count) {
        page = 1;
    }
    SetCurrentPage(static_cast<std::uint32_t>(page));
}

void ResetTitleData() {
    gTitleData = TitleData{};
}

}  // namespace Title
