#pragma once
// Writes PNG files of any colour type, bit depth and interlacing from raw samples, so that tests
// can feed the decoder every kind of file with known pixels.

#include <cstdint>
#include <string>
#include <vector>

namespace d3dx_test {

struct PngFixture {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitDepth = 8;
    int colourType = 6;  // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
    bool interlaced = false;
    // Samples of each row, packed as the file stores them (big-endian 16-bit samples, sub-byte
    // samples from the high bits), without filter bytes.
    std::vector<std::vector<std::uint8_t>> rows;
    std::vector<std::uint8_t> palette;       // PLTE data: RGB triples
    std::vector<std::uint8_t> transparency;  // tRNS data, written when not empty
};

std::vector<std::uint8_t> WritePng(const PngFixture& fixture);

// Offset of the first byte of the named chunk's data, or 0.
std::size_t FindChunkData(const std::vector<std::uint8_t>& png, const std::string& type);
// Recomputes the CRC of the chunk whose data starts at `dataOffset`.
void FixChunkCrc(std::vector<std::uint8_t>* png, std::size_t dataOffset);

}  // namespace d3dx_test
