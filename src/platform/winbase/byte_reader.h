#pragma once
// The one reader of every binary file format: little-endian integers of every width (and the
// big-endian words of the image formats), fixed-size fields and terminated strings, within the
// bytes it was given and never past them.
//
// A read that would run past the end reads nothing: it answers 0 (or an empty text or span),
// leaves the position where it was, and marks the reader failed. The mark stays, so a parser may
// read a whole record and check `Failed()` once at the end; every later read of a failed reader
// also answers 0. The reader never owns the bytes.
//
// Header-only and below every other library, so that the platform layer's parsers and those of
// the game share this one implementation; the rest of the program names it through
// foundation/byte_reader.h.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

class ByteReader {
public:
    ByteReader() = default;
    ByteReader(const void* data, std::size_t size)
        : data_(static_cast<const std::uint8_t*>(data)), size_(data ? size : 0) {}
    explicit ByteReader(std::span<const std::uint8_t> bytes)
        : ByteReader(bytes.data(), bytes.size()) {}

    std::size_t Size() const { return size_; }
    std::size_t Position() const { return position_; }
    std::size_t Remaining() const { return size_ - position_; }
    bool AtEnd() const { return position_ == size_; }
    // True once any read, skip or seek ran past the end.
    bool Failed() const { return failed_; }
    bool Ok() const { return !failed_; }
    // Whether `count` more bytes can be read from the position.
    bool Has(std::size_t count) const { return !failed_ && count <= Remaining(); }
    // Marks the reader failed, as a parser does when a value it read is out of range.
    void Fail() { failed_ = true; }

    // Moves to `position` (at most Size()); false and failed beyond it.
    bool Seek(std::size_t position) {
        if (failed_ || position > size_) {
            failed_ = true;
            return false;
        }
        position_ = position;
        return true;
    }
    bool Skip(std::size_t count) {
        if (!Has(count)) {
            failed_ = true;
            return false;
        }
        position_ += count;
        return true;
    }

    std::uint8_t U8() {
        const std::uint8_t* p = Take(1);
        return p ? p[0] : 0;
    }
    std::uint16_t U16() {
        const std::uint8_t* p = Take(2);
        return p ? static_cast<std::uint16_t>(p[0] | (p[1] << 8)) : 0;
    }
    std::uint32_t U32() {
        const std::uint8_t* p = Take(4);
        if (!p) {
            return 0;
        }
        return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
               (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    }
    std::uint64_t U64() {
        if (!Has(8)) {
            failed_ = true;
            return 0;
        }
        const std::uint32_t low = U32();
        return (static_cast<std::uint64_t>(U32()) << 32) | low;
    }
    // A u32 count of items of at least `itemBytes` bytes each (at least 1); a count that the
    // bytes left cannot hold answers 0 and fails the reader.
    std::uint32_t Count(std::size_t itemBytes) {
        const std::uint32_t count = U32();
        if (count > Remaining() / (itemBytes > 0 ? itemBytes : 1)) {
            failed_ = true;
            return 0;
        }
        return count;
    }
    std::int8_t I8() { return static_cast<std::int8_t>(U8()); }
    std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    std::int64_t I64() { return static_cast<std::int64_t>(U64()); }
    float F32() {
        const std::uint32_t bits = U32();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    // A big-endian word, as the image formats store them.
    double F64() {
        const std::uint64_t bits = U64();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    std::uint32_t U32BE() {
        const std::uint8_t* p = Take(4);
        if (!p) {
            return 0;
        }
        return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
               (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
    }

    // The byte `ahead` bytes from the position, or -1 past the end; reads nothing.
    int PeekByte(std::size_t ahead) const {
        return !failed_ && ahead < Remaining() ? data_[position_ + ahead] : -1;
    }
    // How many bytes from the position the first `value` lies, or npos; reads nothing.
    std::size_t Find(std::uint8_t value) const {
        if (failed_ || Remaining() == 0) {
            return std::string_view::npos;
        }
        const void* at = std::memchr(data_ + position_, value, Remaining());
        return at != nullptr ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(at) -
                                                        (data_ + position_))
                             : std::string_view::npos;
    }
    // Copies `count` bytes to `out`; on failure fills `out` with zeros.
    bool Bytes(void* out, std::size_t count) {
        if (!Has(count)) {
            failed_ = true;
            if (count > 0) {
                std::memset(out, 0, count);
            }
            return false;
        }
        if (count > 0) {
            std::memcpy(out, data_ + position_, count);
        }
        position_ += count;
        return true;
    }
    // A view of the next `count` bytes; empty on failure.
    std::span<const std::uint8_t> Span(std::size_t count) {
        const std::uint8_t* p = Take(count);
        return p ? std::span<const std::uint8_t>(p, count) : std::span<const std::uint8_t>();
    }
    // A field of `fieldSize` bytes holding a text ended by a NUL or by the field's end; the whole
    // field is consumed.
    std::string FixedString(std::size_t fieldSize) {
        const std::uint8_t* p = Take(fieldSize);
        if (!p) {
            return {};
        }
        const void* nul = std::memchr(p, 0, fieldSize);
        const std::size_t length =
            nul ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - p) : fieldSize;
        return std::string(reinterpret_cast<const char*>(p), length);
    }
    // A text ended by a NUL within the next `maxBytes` bytes (the NUL included in the count);
    // consumes the text and its NUL. Without a NUL there: empty and failed.
    std::string TerminatedString(std::size_t maxBytes) {
        return std::string(TerminatedView(maxBytes));
    }
    // TerminatedString without a copy: the view lies in the reader's bytes and its NUL follows
    // it there, so `data()` of a view from a reader that did not fail is a NUL-terminated text.
    std::string_view TerminatedView(std::size_t maxBytes) {
        if (failed_) {
            return {};
        }
        const std::size_t window = maxBytes < Remaining() ? maxBytes : Remaining();
        const std::uint8_t* start = data_ + position_;
        const void* nul = window > 0 ? std::memchr(start, 0, window) : nullptr;
        if (!nul) {
            failed_ = true;
            return {};
        }
        const auto length = static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - start);
        position_ += length + 1;
        return std::string_view(reinterpret_cast<const char*>(start), length);
    }

    // A reader of `length` bytes at `offset` of this reader's bytes (not of the position); an
    // empty, failed reader when they do not lie within them. This reader is not changed.
    ByteReader Sub(std::size_t offset, std::size_t length) const {
        if (offset > size_ || length > size_ - offset) {
            ByteReader failed;
            failed.failed_ = true;
            return failed;
        }
        return ByteReader(data_ + offset, length);
    }
    // The bytes from the position to the end; empty once the reader failed.
    std::span<const std::uint8_t> Rest() const {
        return failed_ ? std::span<const std::uint8_t>()
                       : std::span<const std::uint8_t>(data_ + position_, Remaining());
    }

private:
    const std::uint8_t* Take(std::size_t count) {
        if (!Has(count)) {
            failed_ = true;
            return nullptr;
        }
        const std::uint8_t* at = data_ + position_;
        position_ += count;
        return at;
    }

    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t position_ = 0;
    bool failed_ = false;
};
