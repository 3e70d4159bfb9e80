#pragma once
// Whole-file reads and safe whole-file writes for the command-line tools, on Linux paths.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace qvn_tools {

// False when the file cannot be read.
bool ReadWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>* data);
bool ReadWholeFile(const std::filesystem::path& path, std::string* text);

// Writes a temporary file beside `path`, flushed, then renames it over `path`; false (and no
// temporary left) when either step fails.
bool WriteWholeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& data);

}  // namespace qvn_tools
