#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "foundation/byte_reader.h"
#include "foundation/byte_writer.h"

namespace {

TEST(ByteReaderTest, WriterAndReaderAgreeOnEveryWidth) {
    ByteWriter w;
    w.U8(0xAB);
    w.U16(0xBEEF);
    w.U32(0xDEADBEEF);
    w.U64(0x0123456789ABCDEFull);
    w.I16(-2);
    w.I32(-100000);
    w.F32(1.5f);
    w.FixedString("abc", 6);
    w.FixedString("toolong", 4);
    w.TerminatedString("name");
    w.Zeros(2);
    const std::size_t patched = w.Size();
    w.U32(0);
    w.PatchU32(patched, 0x11223344);
    w.PatchU16(0, 0x7766);        // overwrites the U8 and the low byte of the U16
    w.PatchU32(w.Size() - 2, 1);  // outside what was written: nothing

    const std::vector<std::uint8_t> bytes = w.Take();
    ASSERT_EQ(bytes.size(), 1u + 2 + 4 + 8 + 2 + 4 + 4 + 6 + 4 + 5 + 2 + 4);
    EXPECT_EQ(bytes[0], 0x66);
    EXPECT_EQ(bytes[3], 0xEF);  // little-endian

    ByteReader r(bytes.data(), bytes.size());
    EXPECT_EQ(r.U8(), 0x66);
    EXPECT_EQ(r.U16(), 0xBE77);
    EXPECT_EQ(r.U32(), 0xDEADBEEFu);
    EXPECT_EQ(r.U64(), 0x0123456789ABCDEFull);
    EXPECT_EQ(r.I16(), -2);
    EXPECT_EQ(r.I32(), -100000);
    EXPECT_EQ(r.F32(), 1.5f);
    EXPECT_EQ(r.FixedString(6), "abc");
    EXPECT_EQ(r.FixedString(4), "too");
    EXPECT_EQ(r.TerminatedString(16), "name");
    EXPECT_TRUE(r.Skip(2));
    EXPECT_EQ(r.U32(), 0x11223344u);
    EXPECT_TRUE(r.AtEnd());
    EXPECT_TRUE(r.Ok());
}

TEST(ByteReaderTest, RunningPastTheEndReadsNothingAndStaysFailed) {
    const std::uint8_t bytes[] = {1, 2, 3, 'a', 'b'};
    struct Case {
        const char* name;
        void (*read)(ByteReader&);
    };
    const Case cases[] = {
        {"u32 over the end", [](ByteReader& r) { EXPECT_EQ(r.U32(), 0u); }},
        {"u64 over the end", [](ByteReader& r) { EXPECT_EQ(r.U64(), 0u); }},
        {"skip over the end", [](ByteReader& r) { EXPECT_FALSE(r.Skip(3)); }},
        {"seek past the size", [](ByteReader& r) { EXPECT_FALSE(r.Seek(6)); }},
        {"fixed field longer than the rest",
         [](ByteReader& r) { EXPECT_EQ(r.FixedString(3), ""); }},
        {"text without its NUL", [](ByteReader& r) { EXPECT_EQ(r.TerminatedString(100), ""); }},
        {"span over the end", [](ByteReader& r) { EXPECT_TRUE(r.Span(3).empty()); }},
        {"bytes over the end",
         [](ByteReader& r) {
             std::uint8_t out[3] = {9, 9, 9};
             EXPECT_FALSE(r.Bytes(out, 3));
             EXPECT_EQ(out[0] | out[1] | out[2], 0);
         }},
    };
    for (const Case& c : cases) {
        ByteReader r(bytes, sizeof bytes);
        ASSERT_TRUE(r.Skip(3));
        c.read(r);
        EXPECT_TRUE(r.Failed()) << c.name;
        EXPECT_EQ(r.Position(), 3u) << c.name;
        EXPECT_EQ(r.U8(), 0) << c.name << ": a failed reader answers 0";
        EXPECT_EQ(r.Position(), 3u) << c.name;
    }
}

TEST(ByteReaderTest, TextsAndSubReadersStayWithinTheirBounds) {
    const char bytes[] = "ab\0cdef";  // 8 bytes with the literal's NUL
    ByteReader r(bytes, 8);
    EXPECT_EQ(r.TerminatedString(3), "ab");  // "ab" and its NUL fit in 3
    EXPECT_EQ(r.Position(), 3u);
    ByteReader limited(bytes + 3, 5);
    EXPECT_EQ(limited.TerminatedString(4), "");  // the NUL is the 5th byte: not within 4
    EXPECT_TRUE(limited.Failed());

    ByteReader sub = r.Sub(3, 4);
    EXPECT_EQ(sub.Size(), 4u);
    EXPECT_EQ(sub.FixedString(4), "cdef");
    EXPECT_TRUE(r.Sub(8, 0).Ok());
    EXPECT_TRUE(r.Sub(8, 1).Failed());
    EXPECT_TRUE(r.Sub(static_cast<std::size_t>(-1), 2).Failed());
    EXPECT_EQ(r.Position(), 3u);

    ByteReader empty;
    EXPECT_TRUE(empty.AtEnd());
    EXPECT_EQ(empty.U8(), 0);
    EXPECT_TRUE(empty.Failed());
    EXPECT_TRUE(ByteReader(nullptr, 10).AtEnd());
}

TEST(ByteReaderTest, ViewsBigEndianWordsAndReadsThatNeverHalfHappen) {
    const std::uint8_t bytes[] = {'l', 'a', 'b', 0, 0x12, 0x34, 0x56, 0x78, 1, 2, 3, 4, 5, 6};
    ByteReader r(bytes, sizeof bytes);
    const std::string_view label = r.TerminatedView(8);
    EXPECT_EQ(label, "lab");
    EXPECT_EQ(static_cast<const void*>(label.data()), static_cast<const void*>(bytes));
    EXPECT_EQ(label.data()[label.size()], '\0');  // a C string in place
    EXPECT_EQ(r.U32BE(), 0x12345678u);
    EXPECT_EQ(r.Position(), 8u);

    // Six bytes left: a u64 reads nothing at all rather than its low half.
    EXPECT_EQ(r.U64(), 0u);
    EXPECT_TRUE(r.Failed());
    EXPECT_EQ(r.Position(), 8u);
    EXPECT_TRUE(r.Rest().empty()) << "a failed reader shows no bytes";

    ByteReader text(bytes + 8, 6);
    EXPECT_TRUE(text.TerminatedView(6).empty());
    EXPECT_TRUE(text.Failed()) << "no NUL";

    // Empty reads of an empty reader succeed.
    ByteReader empty;
    std::uint8_t out = 7;
    EXPECT_TRUE(empty.Skip(0));
    EXPECT_TRUE(empty.Bytes(&out, 0));
    EXPECT_TRUE(empty.Ok());
    EXPECT_EQ(out, 7);
}

}  // namespace
