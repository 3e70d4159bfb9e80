#pragma once
// The one reader of every binary file format: little-endian integers of every width, fixed-size
// fields and terminated strings, within the bytes it was given and never past them.
//
// A read that would run past the end reads nothing: it answers 0 (or an empty text or span),
// leaves the position where it was, and marks the reader failed. The mark stays, so a parser may
// read a whole record and check `Failed()` once at the end; every later read of a failed reader
// also answers 0. The reader never owns the bytes.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

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
    bool Seek(std::size_t position);
    bool Skip(std::size_t count);

    std::uint8_t U8();
    std::uint16_t U16();
    std::uint32_t U32();
    std::uint64_t U64();
    std::int8_t I8() { return static_cast<std::int8_t>(U8()); }
    std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    std::int64_t I64() { return static_cast<std::int64_t>(U64()); }
    float F32();

    // Copies `count` bytes to `out`; on failure fills `out` with zeros.
    bool Bytes(void* out, std::size_t count);
    // A view of the next `count` bytes; empty on failure.
    std::span<const std::uint8_t> Span(std::size_t count);
    // A field of `fieldSize` bytes holding a text ended by a NUL or by the field's end; the whole
    // field is consumed.
    std::string FixedString(std::size_t fieldSize);
    // A text ended by a NUL within the next `maxBytes` bytes (the NUL included in the count);
    // consumes the text and its NUL. Without a NUL there: empty and failed.
    std::string TerminatedString(std::size_t maxBytes);

    // A reader of `length` bytes at `offset` of this reader's bytes (not of the position); an
    // empty, failed reader when they do not lie within them. This reader is not changed.
    ByteReader Sub(std::size_t offset, std::size_t length) const;
    // The bytes from the position to the end.
    std::span<const std::uint8_t> Rest() const { return {data_ + position_, Remaining()}; }

private:
    const std::uint8_t* Take(std::size_t count);

    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t position_ = 0;
    bool failed_ = false;
};
