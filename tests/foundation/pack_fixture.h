#pragma once
// Archives for the pack tests, made with the pack writer.

#include <cstdint>
#include <string>
#include <vector>

#include "pak/pack_writer.h"

namespace foundation_testing {

// Shift-JIS names: 背景 (a folder), ソ表.png (two characters whose trail byte is 0x5C).
inline const std::string kSjisFolder = "\x94\x77\x8C\x69";
inline const std::string kSjisFile = "\x83\x5C\x95\x5C.png";

std::vector<std::uint8_t> Bytes(const std::string& text);

// Builds an archive or fails the test.
std::vector<std::uint8_t> MakeArchive(const std::vector<std::pair<std::string, std::string>>& files,
                                      qvn_pak::NameForm form = qvn_pak::NameForm::LengthPrefixed,
                                      const std::vector<std::string>& emptyDirectories = {});

// The main fixture archive game00.dat: nested folders, double-byte names, both name forms.
std::vector<std::uint8_t> MakeGame00();

// Word access to an archive's bytes, for damaging it.
std::uint32_t GetWord(const std::vector<std::uint8_t>& bytes, std::size_t offset);
void PutWord(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value);

}  // namespace foundation_testing
