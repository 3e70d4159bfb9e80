#include "foundation/byte_reader.h"

#include <cstring>

const std::uint8_t* ByteReader::Take(std::size_t count) {
    if (!Has(count)) {
        failed_ = true;
        return nullptr;
    }
    const std::uint8_t* at = data_ + position_;
    position_ += count;
    return at;
}

bool ByteReader::Seek(std::size_t position) {
    if (failed_ || position > size_) {
        failed_ = true;
        return false;
    }
    position_ = position;
    return true;
}

bool ByteReader::Skip(std::size_t count) {
    return Take(count) != nullptr;
}

std::uint8_t ByteReader::U8() {
    const std::uint8_t* p = Take(1);
    return p ? p[0] : 0;
}

std::uint16_t ByteReader::U16() {
    const std::uint8_t* p = Take(2);
    return p ? static_cast<std::uint16_t>(p[0] | (p[1] << 8)) : 0;
}

std::uint32_t ByteReader::U32() {
    const std::uint8_t* p = Take(4);
    if (!p) {
        return 0;
    }
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint64_t ByteReader::U64() {
    const std::uint32_t low = U32();
    const std::uint32_t high = U32();
    return failed_ ? 0 : (static_cast<std::uint64_t>(high) << 32) | low;
}

float ByteReader::F32() {
    const std::uint32_t bits = U32();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool ByteReader::Bytes(void* out, std::size_t count) {
    const std::uint8_t* p = Take(count);
    if (!p) {
        if (count > 0) {
            std::memset(out, 0, count);
        }
        return false;
    }
    if (count > 0) {
        std::memcpy(out, p, count);
    }
    return true;
}

std::span<const std::uint8_t> ByteReader::Span(std::size_t count) {
    const std::uint8_t* p = Take(count);
    return p ? std::span<const std::uint8_t>(p, count) : std::span<const std::uint8_t>();
}

std::string ByteReader::FixedString(std::size_t fieldSize) {
    const std::uint8_t* p = Take(fieldSize);
    if (!p) {
        return {};
    }
    const void* nul = std::memchr(p, 0, fieldSize);
    const std::size_t length =
        nul ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - p) : fieldSize;
    return std::string(reinterpret_cast<const char*>(p), length);
}

std::string ByteReader::TerminatedString(std::size_t maxBytes) {
    if (failed_) {
        return {};
    }
    const std::size_t window = maxBytes < Remaining() ? maxBytes : Remaining();
    const std::uint8_t* start = data_ + position_;
    const void* nul = std::memchr(start, 0, window);
    if (!nul) {
        failed_ = true;
        return {};
    }
    const std::size_t length =
        static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - start);
    position_ += length + 1;
    return std::string(reinterpret_cast<const char*>(start), length);
}

ByteReader ByteReader::Sub(std::size_t offset, std::size_t length) const {
    if (offset > size_ || length > size_ - offset) {
        ByteReader failed;
        failed.failed_ = true;
        return failed;
    }
    return ByteReader(data_ + offset, length);
}
