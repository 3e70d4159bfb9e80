#pragma once
// The writer of the binary formats we write: little-endian integers, fixed-size fields and
// terminated strings appended to a growing buffer, with patches of values already written.
//
// Header-only beside ByteReader, for the same reason: one implementation for the platform layer
// and the libraries above it, which name it through foundation/byte_writer.h.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

class ByteWriter {
public:
    void U8(std::uint8_t value) { bytes_.push_back(value); }
    void U16(std::uint16_t value) {
        bytes_.push_back(static_cast<std::uint8_t>(value));
        bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    void U32(std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes_.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    }
    void U64(std::uint64_t value) {
        U32(static_cast<std::uint32_t>(value));
        U32(static_cast<std::uint32_t>(value >> 32));
    }
    void I8(std::int8_t value) { U8(static_cast<std::uint8_t>(value)); }
    void I16(std::int16_t value) { U16(static_cast<std::uint16_t>(value)); }
    void I32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
    void F32(float value) {
        std::uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        U32(bits);
    }
    void F64(double value) {
        std::uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        U64(bits);
    }
    void Bytes(const void* data, std::size_t count) {
        if (count == 0) {
            return;
        }
        const auto* p = static_cast<const std::uint8_t*>(data);
        bytes_.insert(bytes_.end(), p, p + count);
    }
    void Bytes(std::span<const std::uint8_t> bytes) { Bytes(bytes.data(), bytes.size()); }
    void Zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }
    // `text` in a field of `fieldSize` bytes, cut to fieldSize - 1 bytes and padded with NULs.
    void FixedString(std::string_view text, std::size_t fieldSize) {
        if (fieldSize == 0) {
            return;
        }
        const std::size_t length = text.size() < fieldSize - 1 ? text.size() : fieldSize - 1;
        Bytes(text.data(), length);
        Zeros(fieldSize - length);
    }
    // `text` and a NUL.
    void TerminatedString(std::string_view text) {
        Bytes(text.data(), text.size());
        U8(0);
    }

    // Overwrites 2 or 4 bytes already written at `offset` (lengths and offsets known only
    // later). The bytes must lie within what was written; a patch outside them writes nothing.
    void PatchU16(std::size_t offset, std::uint16_t value) { Patch(offset, value, 2); }
    void PatchU32(std::size_t offset, std::uint32_t value) { Patch(offset, value, 4); }

    // Room for `count` bytes in all, when the final size is known ahead.
    void Reserve(std::size_t count) { bytes_.reserve(count); }
    std::size_t Size() const { return bytes_.size(); }
    const std::vector<std::uint8_t>& Data() const { return bytes_; }
    std::vector<std::uint8_t> Take() { return std::move(bytes_); }

private:
    void Patch(std::size_t offset, std::uint32_t value, std::size_t width) {
        if (offset > bytes_.size() || bytes_.size() - offset < width) {
            return;
        }
        for (std::size_t i = 0; i < width; ++i) {
            bytes_[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    }

    std::vector<std::uint8_t> bytes_;
};
