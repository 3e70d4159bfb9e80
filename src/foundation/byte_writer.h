#pragma once
// The writer of the binary formats we write: little-endian integers, fixed-size fields and
// terminated strings appended to a growing buffer, with patches of values already written.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

class ByteWriter {
public:
    void U8(std::uint8_t value) { bytes_.push_back(value); }
    void U16(std::uint16_t value);
    void U32(std::uint32_t value);
    void U64(std::uint64_t value);
    void I8(std::int8_t value) { U8(static_cast<std::uint8_t>(value)); }
    void I16(std::int16_t value) { U16(static_cast<std::uint16_t>(value)); }
    void I32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
    void F32(float value);
    void Bytes(const void* data, std::size_t count);
    void Bytes(std::span<const std::uint8_t> bytes) { Bytes(bytes.data(), bytes.size()); }
    void Zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }
    // `text` in a field of `fieldSize` bytes, cut to fieldSize - 1 bytes and padded with NULs.
    void FixedString(std::string_view text, std::size_t fieldSize);
    // `text` and a NUL.
    void TerminatedString(std::string_view text);

    // Overwrites 2 or 4 bytes already written at `offset` (lengths and offsets known only
    // later). The bytes must lie within what was written; a patch outside them writes nothing.
    void PatchU16(std::size_t offset, std::uint16_t value);
    void PatchU32(std::size_t offset, std::uint32_t value);

    std::size_t Size() const { return bytes_.size(); }
    const std::vector<std::uint8_t>& Data() const { return bytes_; }
    std::vector<std::uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};
