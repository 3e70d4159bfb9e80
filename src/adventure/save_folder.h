#pragma once
// Writing files of the save folder (save slots and histories): whole, through the atomic
// SaveFile, so that a failed write leaves the old file as it was.

#include <cstdint>
#include <span>

// Makes the folder of `path` when it is missing (a fresh install has none), then writes `bytes`
// with SaveFile. True on success; a failure leaves SaveFile's "save error." line.
bool WriteSaveFolderFile(const char* path, std::span<const std::uint8_t> bytes);

// Removes the temporary files that writes of the save folder ended before their rename left
// ("saveNN.dat.tmp", NN 00..99: every name of the save kind), and nothing else. Only for the one
// running copy: another copy's write in progress would lose its file.
void RemoveStaleSaveFolderFiles();
