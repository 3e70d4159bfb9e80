#include "pack_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "foundation/byte_reader.h"
#include "foundation/byte_writer.h"

namespace foundation_testing {

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::vector<std::uint8_t> MakeArchive(const std::vector<std::pair<std::string, std::string>>& files,
                                      qvn_pak::NameForm form,
                                      const std::vector<std::string>& emptyDirectories) {
    std::vector<qvn_pak::PackSourceFile> sources;
    for (const auto& [path, data] : files) {
        sources.push_back({path, Bytes(data)});
    }
    qvn_pak::PackWriteOptions options;
    options.nameForm = form;
    options.emptyDirectories = emptyDirectories;
    std::string error;
    auto archive = qvn_pak::BuildPackArchive(sources, options, &error);
    EXPECT_TRUE(archive.has_value()) << error;
    return archive.value_or(std::vector<std::uint8_t>());
}

std::vector<std::uint8_t> MakeGame00() {
    return MakeArchive(
        {
            {"readme.txt", "root file"},
            {"script\\Start.scr", "start script"},
            {"script\\sub\\deep\\Nest.scr", "nested"},
            {"script\\zeta.scr", "zeta"},
            {"bgm\\track.wav", "track"},
            {kSjisFolder + "\\" + kSjisFile, "sjis"},
            {"data\\shared.dat", "from game00"},
            {"data\\Mixed.DAT", "mixed"},
            {"data\\" + std::string(300, 'L') + ".txt", "long name"},
        },
        qvn_pak::NameForm::Alternating, {"empty\\inner"});
}

std::uint32_t GetWord(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return ByteReader(bytes).Sub(offset, 4).U32();
}

void PutWord(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
    ByteWriter word;
    word.U32(value);
    std::copy(word.Data().begin(), word.Data().end(),
              bytes.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace foundation_testing
