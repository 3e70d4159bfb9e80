#include "platform/d3dx/png_encode.h"

#include <png.h>

#include <csetjmp>
#include <cstddef>

namespace d3dx {
namespace {

void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

// Holds no C++ object with a destructor across setjmp: libpng leaves by longjmp on error.
bool WritePng(png_structp png, png_infop info, int width, int height, png_bytep* rows,
              std::vector<std::uint8_t>* out) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_write_fn(png, out, AppendToVector, NoFlush);
    png_set_compression_level(png, 9);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE | PNG_FILTER_SUB | PNG_FILTER_UP);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE,
                 PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}

}  // namespace

std::vector<std::uint8_t> EncodeArgbAsPng(int width, int height, const std::uint32_t* argb,
                                          int pitchPixels) {
    if (width <= 0 || height <= 0 || argb == nullptr || pitchPixels < width) {
        return {};
    }
    const auto w = static_cast<std::size_t>(width);
    const auto h = static_cast<std::size_t>(height);
    std::vector<png_byte> rgba(w * h * 4);
    std::vector<png_bytep> rows(h);
    for (std::size_t y = 0; y < h; ++y) {
        const std::uint32_t* src = argb + y * static_cast<std::size_t>(pitchPixels);
        png_bytep dst = rgba.data() + y * w * 4;
        rows[y] = dst;
        for (std::size_t x = 0; x < w; ++x) {
            const std::uint32_t p = src[x];
            dst[x * 4 + 0] = static_cast<png_byte>(p >> 16);
            dst[x * 4 + 1] = static_cast<png_byte>(p >> 8);
            dst[x * 4 + 2] = static_cast<png_byte>(p);
            dst[x * 4 + 3] = static_cast<png_byte>(p >> 24);
        }
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) {
        return {};
    }
    png_infop info = png_create_info_struct(png);
    std::vector<std::uint8_t> out;
    const bool ok = info != nullptr && WritePng(png, info, width, height, rows.data(), &out);
    png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
    if (!ok) {
        return {};
    }
    return out;
}

}  // namespace d3dx
