#pragma once
// A loaded "SCR " script file, shared by every frame that runs it.
//
// File layout (u32 little-endian; sizes in bytes): "SCR ", an unread word, G and G bytes of
// global initial values, L and L bytes of local initial values, K and K bytes of code, J and J
// bytes of jump table (code positions), N and N bytes of label records (a zero-terminated
// Shift-JIS name, then a u32 code position). Counts of values are sizes / 4.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// A code position that names nothing: a missing label, an unset frame position.
constexpr std::uint32_t kNoPosition = 0xFFFFFFFFu;
constexpr std::uint32_t kScriptMagic = 0x20524353u;  // "SCR "
constexpr std::size_t kScriptMinimumSize = 28;

class CScript {
public:
    std::uint32_t refCount = 1;
    // File offset of the code-size field (16 + G + L): the base of every "[%08X]" position.
    std::uint32_t codeFileOffset = 0;
    // The path the file was loaded by; identifies it for sharing, messages and saved state.
    std::string fileName;
    std::vector<std::uint32_t> localInit;
    std::vector<std::uint8_t> code;
    std::vector<std::uint32_t> jumpTable;
    // Ordered by plain byte-wise comparison; a name given twice keeps its first position.
    std::map<std::string, std::uint32_t> labels;
    // Per built-in function number, the call sites in code order (opcode position + 1).
    std::map<std::uint32_t, std::vector<std::uint32_t>> funcSites;

    // Null or empty gives 0; otherwise the first label in map order equal by CompareNoCase
    // (the game's OnLabelFound hook is called); kNoPosition when there is none.
    std::uint32_t FindLabel(const char* name) const;
    bool HasLabel(const char* name) const;
    // FindLabel for a new frame that starts at the label: kNoPosition, with a log line naming the
    // file and the label, when the label is missing or lies past the end of the code.
    std::uint32_t FindEntry(const char* name) const;
    // The label with the greatest position not after `position` (the last in map order among
    // equals); null when none.
    const char* LabelAtPosition(std::uint32_t position) const;
    // The index in code order of the last call site of `number` at or before `position`; -1
    // when there is none.
    std::int32_t CallSiteIndex(std::uint32_t number, std::uint32_t position) const;

    // Appends the "SCRM" block of the whole VM state; always true.
    static bool GetData(std::vector<std::uint8_t>& data);
    // Restores from a block of `available` bytes; with `full` false only the running frame is
    // loaded, at position 0. A refused block leaves the VM reset.
    static bool SetData(const std::uint8_t* block, std::size_t available, bool full);
};

// Reads a file image into `script`, merging its global initial values (see the loader's rules)
// and filling the call sites. Logs and returns false on a bad or damaged image.
bool ReadScriptImage(CScript* script, const std::uint8_t* data, std::size_t size, const char* path);

// Loads the file into `script` and returns the label's position (FindEntry), or kNoPosition.
std::uint32_t JumpFile(CScript* script, const char* path, const char* label);

// Checks the code instruction by instruction and records the call sites.
bool CreateFuncPos(CScript* script);
