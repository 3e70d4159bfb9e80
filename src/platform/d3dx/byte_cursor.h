#pragma once
// A bounded little-endian reader and an appending writer for the utility library's binary data
// (X files, packed data records, compressed animation data). The platform layer sits below the
// project's one reader and writer, so it keeps these two private ones with the same rules: a
// read past the end reads nothing, answers 0, and marks the cursor failed for good.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace d3dx {

class ByteCursor {
public:
    ByteCursor() = default;
    ByteCursor(const void* data, std::size_t size)
        : data_(static_cast<const std::uint8_t*>(data)), size_(data != nullptr ? size : 0) {}

    std::size_t Size() const { return size_; }
    std::size_t Position() const { return position_; }
    std::size_t Remaining() const { return size_ - position_; }
    bool AtEnd() const { return position_ == size_; }
    bool Failed() const { return failed_; }
    bool Has(std::size_t count) const { return !failed_ && count <= Remaining(); }
    void Fail() { failed_ = true; }

    bool Skip(std::size_t count) { return Take(count) != nullptr; }
    // The byte `ahead` bytes from the position, or -1 past the end; reads nothing.
    int PeekByte(std::size_t ahead) const {
        return !failed_ && ahead < Remaining() ? data_[position_ + ahead] : -1;
    }
    // How many bytes from the position the first `value` lies, or npos; reads nothing.
    std::size_t Find(std::uint8_t value) const;
    std::uint8_t U8();
    std::uint16_t U16();
    std::uint32_t U32();
    float F32();
    double F64();
    // A view of the next `count` bytes; empty on failure.
    std::span<const std::uint8_t> Span(std::size_t count);
    // A text ended by a NUL before the end; consumes it and its NUL. Without one: empty, failed.
    std::string_view TerminatedString();

private:
    const std::uint8_t* Take(std::size_t count);

    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t position_ = 0;
    bool failed_ = false;
};

class ByteSink {
public:
    void U8(std::uint8_t value) { bytes_.push_back(value); }
    void U16(std::uint16_t value);
    void U32(std::uint32_t value);
    void F32(float value);
    void F64(double value);
    void Bytes(const void* data, std::size_t count);
    // `text` and a NUL.
    void TerminatedString(std::string_view text);

    std::size_t Size() const { return bytes_.size(); }
    std::vector<std::uint8_t>& Data() { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace d3dx
