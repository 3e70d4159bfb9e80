#pragma once
// Names of the instructions, operators and cast types in the text form.

#include <cstdint>
#include <optional>
#include <string_view>

// The name of an operator sub-code (cast included); empty for a sub-code the code cannot hold.
std::string_view OperatorName(std::uint8_t sub);
// The sub-code of an operator name or of its symbol ("add" or "+", "add_assign" or "+=").
std::optional<std::uint8_t> OperatorByName(std::string_view name);

// Cast types 1..9: bool char uchar short ushort int long ulong float.
std::string_view CastTypeName(std::uint8_t type);
std::optional<std::uint8_t> CastTypeByName(std::string_view name);

// Instruction names by opcode: push pop (operator) return jump fjump tjump ejump goto jumpfile
// callfile text call.
std::string_view OpcodeName(std::uint8_t opcode);
std::optional<std::uint8_t> OpcodeByName(std::string_view name);
