#pragma once
// Readable listings: an "SCR " file in the assembler's text form (assembling the listing gives
// back the same bytes), and an "SCRM" state block.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/script/script_image.h"

std::string DumpScriptImage(const ScriptImage& image);

// Nullopt-like failure: an empty string and *error set when the block is damaged.
std::string DumpStateBlock(const std::vector<std::uint8_t>& block, std::string* error);
