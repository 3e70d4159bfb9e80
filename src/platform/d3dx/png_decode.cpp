#include <png.h>
#include <zlib.h>

#include <bit>
#include <csetjmp>
#include <span>
#include <string_view>

#include "platform/d3dx/d3dx_errors.h"
#include "platform/d3dx/image_decode.h"
#include "platform/winbase/byte_reader.h"

static_assert(std::endian::native == std::endian::little,
              "decoded rows are written as B, G, R, A bytes of little-endian A8R8G8B8 values");

namespace d3dx {
namespace {

constexpr std::size_t kSignatureSize = 8;
constexpr std::size_t kChunkOverhead = 12;  // length, type and CRC
constexpr std::uint32_t kIhdrSize = 13;

// The 4-byte type of the chunk at the reader's position, as text.
std::string_view ChunkType(ByteReader& reader) {
    const std::span<const std::uint8_t> type = reader.Span(4);
    return {reinterpret_cast<const char*>(type.data()), type.size()};
}

bool ValidDepthForColourType(int colourType, int depth) {
    switch (colourType) {
        case 0:
            return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
        case 3:
            return depth == 1 || depth == 2 || depth == 4 || depth == 8;
        case 2:
        case 4:
        case 6:
            return depth == 8 || depth == 16;
        default:
            return false;
    }
}

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* reader = static_cast<ByteReader*>(png_get_io_ptr(png));
    if (!reader->Bytes(out, length)) {
        png_error(png, "file ends early");
    }
}

void IgnoreWarning(png_structp, png_const_charp) {}
void FailOnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

// Holds no C++ object with a destructor across setjmp: libpng leaves by longjmp on error.
bool ReadPngPixels(png_structp png, png_infop info, ByteReader* reader, std::uint32_t width,
                   std::uint32_t height, std::uint32_t* pixels) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_read_fn(png, reader, ReadFromMemory);
    png_set_user_limits(png, kMaxImageDimension, kMaxImageDimension);
    png_read_info(png, info);
    if (png_get_image_width(png, info) != width || png_get_image_height(png, info) != height) {
        return false;
    }
    const int colourType = png_get_color_type(png, info);
    png_set_scale_16(png);
    png_set_packing(png);
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_palette_to_rgb(png);
    }
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_expand_gray_1_2_4_to_8(png);
        png_set_gray_to_rgb(png);
    }
    if (png_get_valid(png, info, PNG_INFO_tRNS) != 0) {
        png_set_tRNS_to_alpha(png);
    } else if ((colourType & PNG_COLOR_MASK_ALPHA) == 0) {
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    }
    png_set_bgr(png);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<png_size_t>(width) * 4) {
        return false;
    }
    for (int pass = 0; pass < passes; ++pass) {
        for (std::uint32_t y = 0; y < height; ++y) {
            png_read_row(png,
                         reinterpret_cast<png_bytep>(pixels + static_cast<std::size_t>(y) * width),
                         nullptr);
        }
    }
    png_read_end(png, nullptr);
    return true;
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

// Sum of the lengths of the image data chunks that lie wholly inside the file.
std::size_t ImageDataBytes(const std::uint8_t* data, std::size_t size) {
    ByteReader reader(data, size);
    reader.Skip(kSignatureSize);
    std::size_t total = 0;
    while (reader.Has(kChunkOverhead)) {
        const std::uint32_t length = reader.U32BE();
        const std::string_view type = ChunkType(reader);
        if (length > reader.Remaining() - 4) {
            break;
        }
        if (type == "IDAT") {
            total += length;
        }
        reader.Skip(std::size_t{length} + 4);  // the data and the CRC
    }
    return total;
}

// Deflate expands at most 1032 times, so a file whose image data is too short for its size is
// damaged; refusing it early avoids taking pixel memory for it.
bool ImageDataCanFill(const std::uint8_t* data, std::size_t size, std::uint32_t width,
                      std::uint32_t height) {
    ByteReader fields = ByteReader(data, size).Sub(kSignatureSize + 8, kIhdrSize);
    fields.Skip(8);  // width and height
    const std::uint8_t depth = fields.U8();
    const std::uint8_t colourType = fields.U8();
    const std::uint64_t bitsPerPixel =
        static_cast<std::uint64_t>(SamplesPerPixel(colourType)) * depth;
    const std::uint64_t rawBytes = static_cast<std::uint64_t>(height) *
                                   (1 + (static_cast<std::uint64_t>(width) * bitsPerPixel + 7) / 8);
    return rawBytes <= static_cast<std::uint64_t>(ImageDataBytes(data, size)) * 1032 + 64;
}

}  // namespace

HRESULT ReadPngHeader(const std::uint8_t* data, std::size_t size, ImageHeader* header) {
    if (size < kSignatureSize + kChunkOverhead + kIhdrSize) {
        return D3DXERR_INVALIDDATA;
    }
    ByteReader reader(data, size);
    reader.Skip(kSignatureSize);
    const std::uint32_t ihdrLength = reader.U32BE();
    // The CRC covers the chunk's type and data.
    const std::span<const std::uint8_t> checked =
        reader.Sub(reader.Position(), 4 + kIhdrSize).Rest();
    if (ihdrLength != kIhdrSize || ChunkType(reader) != "IHDR") {
        return D3DXERR_INVALIDDATA;
    }
    const std::uint32_t width = reader.U32BE();
    const std::uint32_t height = reader.U32BE();
    const int depth = reader.U8();
    const int colourType = reader.U8();
    const int compression = reader.U8();
    const int filter = reader.U8();
    const int interlace = reader.U8();
    const auto crc =
        static_cast<std::uint32_t>(crc32(0L, checked.data(), static_cast<uInt>(checked.size())));
    if (crc != reader.U32BE()) {
        return D3DXERR_INVALIDDATA;
    }
    if (width == 0 || height == 0 || width > kMaxImageDimension || height > kMaxImageDimension ||
        !ValidDepthForColourType(colourType, depth) || compression != 0 || filter != 0 ||
        interlace > 1) {
        return D3DXERR_INVALIDDATA;
    }
    bool transparencyChunk = false;
    while (reader.Has(kChunkOverhead)) {
        const std::uint32_t length = reader.U32BE();
        const std::string_view type = ChunkType(reader);
        if (type == "IDAT" || type == "IEND") {
            break;
        }
        if (type == "tRNS") {
            transparencyChunk = true;
            break;
        }
        if (length > reader.Remaining() - 4) {
            break;
        }
        reader.Skip(std::size_t{length} + 4);  // the data and the CRC
    }
    header->width = width;
    header->height = height;
    header->hasAlpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0 || transparencyChunk;
    header->kind = ImageFileKind::kPng;
    return S_OK;
}

HRESULT DecodePng(const std::uint8_t* data, std::size_t size, DecodedImage* image) {
    ImageHeader header;
    if (HRESULT hr = ReadPngHeader(data, size, &header); FAILED(hr)) {
        return hr;
    }
    if (!ImageDataCanFill(data, size, header.width, header.height)) {
        return D3DXERR_INVALIDDATA;
    }
    image->header = header;
    if (HRESULT hr = AllocatePixels(image); FAILED(hr)) {
        return hr;
    }
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, FailOnError, IgnoreWarning);
    if (png == nullptr) {
        return E_OUTOFMEMORY;
    }
    png_infop info = png_create_info_struct(png);
    const bool haveInfo = info != nullptr;
    ByteReader reader(data, size);
    const bool ok = haveInfo && ReadPngPixels(png, info, &reader, header.width, header.height,
                                              image->pixels.data());
    png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
    if (!ok) {
        image->pixels.clear();
        return haveInfo ? D3DXERR_INVALIDDATA : E_OUTOFMEMORY;
    }
    return S_OK;
}

}  // namespace d3dx
