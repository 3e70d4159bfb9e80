#include "platform/d3dx/byte_cursor.h"

#include <cstring>

namespace d3dx {

const std::uint8_t* ByteCursor::Take(std::size_t count) {
    if (!Has(count)) {
        failed_ = true;
        return nullptr;
    }
    const std::uint8_t* at = data_ + position_;
    position_ += count;
    return at;
}

std::size_t ByteCursor::Find(std::uint8_t value) const {
    if (failed_ || Remaining() == 0) {
        return std::string_view::npos;
    }
    const void* at = std::memchr(data_ + position_, value, Remaining());
    return at != nullptr ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(at) -
                                                    (data_ + position_))
                         : std::string_view::npos;
}

std::uint8_t ByteCursor::U8() {
    const std::uint8_t* p = Take(1);
    return p != nullptr ? p[0] : 0;
}

std::uint16_t ByteCursor::U16() {
    const std::uint8_t* p = Take(2);
    return p != nullptr ? static_cast<std::uint16_t>(p[0] | (p[1] << 8)) : 0;
}

std::uint32_t ByteCursor::U32() {
    const std::uint8_t* p = Take(4);
    if (p == nullptr) {
        return 0;
    }
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

float ByteCursor::F32() {
    const std::uint32_t bits = U32();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

double ByteCursor::F64() {
    const std::uint64_t low = U32();
    const std::uint64_t high = U32();
    const std::uint64_t bits = failed_ ? 0 : (high << 32) | low;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::span<const std::uint8_t> ByteCursor::Span(std::size_t count) {
    const std::uint8_t* p = Take(count);
    return p != nullptr ? std::span<const std::uint8_t>(p, count) : std::span<const std::uint8_t>();
}

std::string_view ByteCursor::TerminatedString() {
    if (failed_) {
        return {};
    }
    const std::size_t length = Find(0);
    if (length == std::string_view::npos) {
        failed_ = true;
        return {};
    }
    const auto* text = reinterpret_cast<const char*>(Take(length + 1));
    return std::string_view(text, length);
}

void ByteSink::U16(std::uint16_t value) {
    bytes_.push_back(static_cast<std::uint8_t>(value));
    bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
}

void ByteSink::U32(std::uint32_t value) {
    U16(static_cast<std::uint16_t>(value));
    U16(static_cast<std::uint16_t>(value >> 16));
}

void ByteSink::F32(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    U32(bits);
}

void ByteSink::F64(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    U32(static_cast<std::uint32_t>(bits));
    U32(static_cast<std::uint32_t>(bits >> 32));
}

void ByteSink::Bytes(const void* data, std::size_t count) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + count);
}

void ByteSink::TerminatedString(std::string_view text) {
    Bytes(text.data(), text.size());
    bytes_.push_back(0);
}

}  // namespace d3dx
