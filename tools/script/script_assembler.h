#pragma once
// The readable text form of "SCR " scripts (see README.md beside this file) assembled into file
// bytes.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/script/script_image.h"

struct AssembleResult {
    bool ok = false;
    ScriptImage image;
    // "NAME:LINE: message" of the first error.
    std::string error;
};

AssembleResult AssembleScriptImage(std::string_view source, std::string_view sourceName);

// Assembles and writes the file bytes; false (with *error) on the first error.
bool AssembleScript(std::string_view source, std::string_view sourceName,
                    std::vector<std::uint8_t>* bytes, std::string* error);
