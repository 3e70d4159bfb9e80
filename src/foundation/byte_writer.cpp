#include "foundation/byte_writer.h"

#include <cstring>

void ByteWriter::U16(std::uint16_t value) {
    bytes_.push_back(static_cast<std::uint8_t>(value));
    bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
}

void ByteWriter::U32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes_.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void ByteWriter::U64(std::uint64_t value) {
    U32(static_cast<std::uint32_t>(value));
    U32(static_cast<std::uint32_t>(value >> 32));
}

void ByteWriter::F32(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    U32(bits);
}

void ByteWriter::Bytes(const void* data, std::size_t count) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + count);
}

void ByteWriter::FixedString(std::string_view text, std::size_t fieldSize) {
    if (fieldSize == 0) {
        return;
    }
    const std::size_t length = text.size() < fieldSize - 1 ? text.size() : fieldSize - 1;
    Bytes(text.data(), length);
    Zeros(fieldSize - length);
}

void ByteWriter::TerminatedString(std::string_view text) {
    Bytes(text.data(), text.size());
    U8(0);
}

void ByteWriter::PatchU16(std::size_t offset, std::uint16_t value) {
    if (offset > bytes_.size() || bytes_.size() - offset < 2) {
        return;
    }
    bytes_[offset] = static_cast<std::uint8_t>(value);
    bytes_[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void ByteWriter::PatchU32(std::size_t offset, std::uint32_t value) {
    if (offset > bytes_.size() || bytes_.size() - offset < 4) {
        return;
    }
    for (int i = 0; i < 4; ++i) {
        bytes_[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}
