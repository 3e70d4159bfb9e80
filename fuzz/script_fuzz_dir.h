#pragma once
// A private program directory for the script fuzz targets, with the log switched off.

#include <cstddef>
#include <cstdint>
#include <string>

// Makes the directory (once) with script\a.scr, a small valid script; returns its Linux path.
const std::string& ScriptFuzzDirectory();

// Writes script\NAME.scr in the directory; false when it cannot.
bool WriteFuzzScript(const char* name, const std::uint8_t* data, std::size_t size);

// Every VM global back to empty: frames, operands, variables, initial values.
void ClearFuzzVm();
