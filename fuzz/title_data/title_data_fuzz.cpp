// The input is cut into the title data files: three little-endian 16-bit lengths, then the bytes
// of "tiName.dat", "tiPage.dat" and "tiBaloon.dat" (a length of 0xFFFF: the file is absent), and
// the rest as the seen list. The data is loaded as at start-up; every part of every name read is
// then marked seen as a script, the pages stepped for every item, and the seen list loaded again,
// which must give the same flags. Last every name is marked seen as a picture (the list's replay
// matches pictures by part, so those marks need not come back the same).

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "foundation/byte_reader.h"
#include "title/title_data.h"

#include "fuzz_program_dir.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uint16_t kAbsent = 0xFFFF;

const std::string& ProgramDir() {
    static const std::string dir = [] {
        const std::string made = FuzzProgramDirectory("title");
        fs::create_directories(made + "/data");
        fs::create_directories(made + "/save");
        return made;
    }();
    return dir;
}

void Write(const std::string& relative, std::span<const std::uint8_t> bytes, bool present) {
    const std::string path = ProgramDir() + "/" + relative;
    fs::remove(path);
    if (!present) {
        return;
    }
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        std::abort();
    }
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
}

void CheckInvariants() {
    const TitleData& data = gTitleData;
    if (!data.flags.empty() && data.flags.size() != data.names.size()) {
        std::abort();
    }
    for (const std::string& name : ReadSeenList(data.meList)) {
        if (name.empty() || name[0] == '*') {
            std::abort();  // only names that set a bit are listed
        }
    }
    if (!data.meList.empty() && data.meList.back() != 0) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteReader reader(data, size);
    const std::uint16_t lengths[3] = {reader.U16(), reader.U16(), reader.U16()};
    const char* files[3] = {"data/tiName.dat", "data/tiPage.dat", "data/tiBaloon.dat"};
    for (int i = 0; i < 3; ++i) {
        const bool present = lengths[i] != kAbsent;
        Write(files[i],
              reader.Span(present ? std::min<std::size_t>(lengths[i], reader.Remaining()) : 0),
              present);
    }
    Write("save/save99.dat", reader.Rest(), true);

    Title::ResetTitleData();
    Title::Load();
    CheckInvariants();
    const std::vector<std::string> names = gTitleData.names;
    for (const std::string& name : names) {
        for (const std::string& part : SplitItemName(name)) {
            Title::MarkSeenScript(part.c_str());
        }
    }
    CheckInvariants();
    for (std::int32_t item = -1; item <= static_cast<std::int32_t>(names.size()); ++item) {
        Title::SetCurrentItem(item);
        Title::SetCurrentPageCount(static_cast<std::uint32_t>(item));
        Title::StepPage(item % 3 - 1);
        Title::CurrentPage();
        Title::BalloonText(item);
        Title::ItemState(item);
    }
    const std::vector<std::uint8_t> flags = gTitleData.flags;
    Title::ResetTitleData();
    Title::Load();
    if (gTitleData.flags != flags) {
        std::abort();  // the seen list written gives back what was marked
    }
    for (const std::string& name : names) {
        Title::MarkSeenVisual(name.c_str());
    }
    CheckInvariants();
    return 0;
}
