#pragma once
// An "SCR " file as its sections, kept exactly: what the assembler builds and the dumper reads.
// Bytes that the loader ignores (a size's remainder beyond whole words, bytes after the label
// table) are kept as extras so that writing the image gives back the same file.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ScriptLabelRecord {
    std::string name;  // Shift-JIS
    std::uint32_t position = 0;
};

struct ScriptImage {
    std::uint32_t reserved = 0;  // the word at offset 4
    std::vector<std::uint32_t> globals;
    std::vector<std::uint8_t> globalsExtra;
    std::vector<std::uint32_t> locals;
    std::vector<std::uint8_t> localsExtra;
    std::vector<std::uint8_t> code;
    std::vector<std::uint32_t> jumpTable;
    std::vector<std::uint8_t> jumpTableExtra;
    std::vector<ScriptLabelRecord> labels;  // in file order
    std::vector<std::uint8_t> labelsExtra;  // label-table bytes that are not whole records
    std::vector<std::uint8_t> tail;         // bytes after the label table
};

std::vector<std::uint8_t> WriteScriptImage(const ScriptImage& image);

// Nullopt (with *error) when the magic is wrong or a section runs past the end of the file.
std::optional<ScriptImage> ParseScriptImage(const std::vector<std::uint8_t>& bytes,
                                            std::string* error);
