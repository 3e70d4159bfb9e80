#pragma once
// Writing files of the save folder (save slots and histories): whole, through the atomic
// SaveFile, so that a failed write leaves the old file as it was.

#include <cstdint>
#include <span>

// Makes the folder of `path` when it is missing (a fresh install has none), then writes `bytes`
// with SaveFile. True on success; a failure leaves SaveFile's "save error." line.
bool WriteSaveFolderFile(const char* path, std::span<const std::uint8_t> bytes);
