#include "png_fixture.h"

#include <zlib.h>

#include <cstring>

namespace d3dx_test {
namespace {

void PutBigEndian32(std::vector<std::uint8_t>* out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out->push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

std::uint32_t ReadBigEndian32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           p[3];
}

void PutChunk(std::vector<std::uint8_t>* out, const char* type,
              const std::vector<std::uint8_t>& data) {
    PutBigEndian32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out->size();
    out->insert(out->end(), type, type + 4);
    out->insert(out->end(), data.begin(), data.end());
    PutBigEndian32(out, static_cast<std::uint32_t>(
                            crc32(0, out->data() + start, static_cast<uInt>(4 + data.size()))));
}

int SamplesPerPixel(int colourType) {
    switch (colourType) {
        case 2:
            return 3;
        case 4:
            return 2;
        case 6:
            return 4;
        default:
            return 1;
    }
}

// Copies the bits of pixel `x` of a packed row.
void CopyPixelBits(const std::vector<std::uint8_t>& from, std::uint32_t x, int bitsPerPixel,
                   std::vector<std::uint8_t>* to, std::uint32_t toX) {
    for (int bit = 0; bit < bitsPerPixel; ++bit) {
        const std::size_t fromBit = static_cast<std::size_t>(x) * bitsPerPixel + bit;
        const std::size_t toBit = static_cast<std::size_t>(toX) * bitsPerPixel + bit;
        const int value = (from[fromBit / 8] >> (7 - fromBit % 8)) & 1;
        (*to)[toBit / 8] |= static_cast<std::uint8_t>(value << (7 - toBit % 8));
    }
}

std::vector<std::uint8_t> RawImageData(const PngFixture& f) {
    const int bitsPerPixel = SamplesPerPixel(f.colourType) * f.bitDepth;
    std::vector<std::uint8_t> raw;
    if (!f.interlaced) {
        for (const auto& row : f.rows) {
            raw.push_back(0);
            raw.insert(raw.end(), row.begin(), row.end());
        }
        return raw;
    }
    static constexpr int kStart[7][2] = {{0, 0}, {4, 0}, {0, 4}, {2, 0}, {0, 2}, {1, 0}, {0, 1}};
    static constexpr int kStep[7][2] = {{8, 8}, {8, 8}, {4, 8}, {4, 4}, {2, 4}, {2, 2}, {1, 2}};
    for (int pass = 0; pass < 7; ++pass) {
        for (std::uint32_t y = kStart[pass][1]; y < f.height; y += kStep[pass][1]) {
            std::vector<std::uint8_t> sub;
            std::uint32_t count = 0;
            for (std::uint32_t x = kStart[pass][0]; x < f.width; x += kStep[pass][0]) {
                ++count;
            }
            if (count == 0) {
                continue;
            }
            sub.assign((static_cast<std::size_t>(count) * bitsPerPixel + 7) / 8, 0);
            std::uint32_t i = 0;
            for (std::uint32_t x = kStart[pass][0]; x < f.width; x += kStep[pass][0]) {
                CopyPixelBits(f.rows[y], x, bitsPerPixel, &sub, i++);
            }
            raw.push_back(0);
            raw.insert(raw.end(), sub.begin(), sub.end());
        }
    }
    return raw;
}

}  // namespace

std::vector<std::uint8_t> WritePng(const PngFixture& f) {
    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    PutBigEndian32(&header, f.width);
    PutBigEndian32(&header, f.height);
    header.push_back(static_cast<std::uint8_t>(f.bitDepth));
    header.push_back(static_cast<std::uint8_t>(f.colourType));
    header.push_back(0);
    header.push_back(0);
    header.push_back(f.interlaced ? 1 : 0);
    PutChunk(&out, "IHDR", header);
    if (!f.palette.empty()) {
        PutChunk(&out, "PLTE", f.palette);
    }
    if (!f.transparency.empty()) {
        PutChunk(&out, "tRNS", f.transparency);
    }
    const std::vector<std::uint8_t> raw = RawImageData(f);
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> compressed(size);
    compress2(compressed.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9);
    compressed.resize(size);
    PutChunk(&out, "IDAT", compressed);
    PutChunk(&out, "IEND", {});
    return out;
}

std::size_t FindChunkData(const std::vector<std::uint8_t>& png, const std::string& type) {
    std::size_t offset = 8;
    while (offset + 12 <= png.size()) {
        const std::uint32_t length = ReadBigEndian32(png.data() + offset);
        if (std::memcmp(png.data() + offset + 4, type.data(), 4) == 0) {
            return offset + 8;
        }
        offset += 12 + static_cast<std::size_t>(length);
    }
    return 0;
}

void FixChunkCrc(std::vector<std::uint8_t>* png, std::size_t dataOffset) {
    const std::uint32_t length = ReadBigEndian32(png->data() + dataOffset - 8);
    const auto crc = static_cast<std::uint32_t>(
        crc32(0, png->data() + dataOffset - 4, static_cast<uInt>(4 + length)));
    for (int i = 0; i < 4; ++i) {
        (*png)[dataOffset + length + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    }
}

}  // namespace d3dx_test
