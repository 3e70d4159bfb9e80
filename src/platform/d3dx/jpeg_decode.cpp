#include <cstdio>  // jpeglib.h needs FILE and size_t declared first

#include <jerror.h>
#include <jpeglib.h>

#include <bit>
#include <csetjmp>

#include "platform/d3dx/d3dx_errors.h"
#include "platform/d3dx/image_decode.h"

static_assert(std::endian::native == std::endian::little,
              "decoded rows are written as B, G, R, A bytes of little-endian A8R8G8B8 values");

namespace d3dx {
namespace {

struct ErrorManager {
    jpeg_error_mgr base;  // first, so that the library's pointer is also ours
    std::jmp_buf jump;
    bool endedEarly;
};

void FailOnError(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(errors->jump, 1);
}

// A file that ends before its last scan is damaged; other warnings leave a usable image.
void NoteWarning(j_common_ptr info, int level) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    if (level < 0 && errors->base.msg_code == JWRN_JPEG_EOF) {
        errors->endedEarly = true;
    }
}

void SetUpErrors(jpeg_decompress_struct* decoder, ErrorManager* errors) {
    decoder->err = jpeg_std_error(&errors->base);
    errors->base.error_exit = FailOnError;
    errors->base.emit_message = NoteWarning;
    errors->endedEarly = false;
}

bool HeaderFits(const jpeg_decompress_struct& decoder) {
    return decoder.image_width > 0 && decoder.image_height > 0 &&
           decoder.image_width <= kMaxImageDimension && decoder.image_height <= kMaxImageDimension;
}

// Holds no C++ object with a destructor across setjmp: the library leaves by longjmp on error.
bool ReadJpegInfo(jpeg_decompress_struct* decoder, ErrorManager* errors, const std::uint8_t* data,
                  std::size_t size, ImageHeader* header) {
    if (setjmp(errors->jump)) {
        return false;
    }
    jpeg_create_decompress(decoder);
    jpeg_mem_src(decoder, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(decoder, TRUE) != JPEG_HEADER_OK || !HeaderFits(*decoder)) {
        return false;
    }
    header->width = decoder->image_width;
    header->height = decoder->image_height;
    header->hasAlpha = false;
    header->kind = ImageFileKind::kJpeg;
    return true;
}

std::uint32_t CmykToArgb(const JSAMPLE* cmyk, bool inverted) {
    // Files written with the Adobe marker store the inks inverted (255 = no ink).
    const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
    unsigned rgb[3];
    for (int i = 0; i < 3; ++i) {
        const unsigned c = inverted ? cmyk[i] : 255u - cmyk[i];
        rgb[i] = (c * k + 127) / 255;
    }
    return 0xFF000000u | (rgb[0] << 16) | (rgb[1] << 8) | rgb[2];
}

bool ReadJpegPixels(jpeg_decompress_struct* decoder, ErrorManager* errors, std::uint32_t* pixels,
                    JSAMPLE* cmykRow) {
    if (setjmp(errors->jump)) {
        return false;
    }
    const bool cmyk =
        decoder->jpeg_color_space == JCS_CMYK || decoder->jpeg_color_space == JCS_YCCK;
    decoder->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    jpeg_start_decompress(decoder);
    const std::uint32_t width = decoder->output_width;
    while (decoder->output_scanline < decoder->output_height) {
        std::uint32_t* row = pixels + static_cast<std::size_t>(decoder->output_scanline) * width;
        JSAMPROW target = cmyk ? cmykRow : reinterpret_cast<JSAMPROW>(row);
        if (jpeg_read_scanlines(decoder, &target, 1) != 1) {
            return false;
        }
        if (cmyk) {
            for (std::uint32_t x = 0; x < width; ++x) {
                row[x] = CmykToArgb(cmykRow + x * 4, decoder->saw_Adobe_marker != 0);
            }
        }
    }
    jpeg_finish_decompress(decoder);
    return !errors->endedEarly;
}

// Every 8 x 8 block costs at least a bit of coded data; a file with less than a byte per 64
// blocks is far too short for its size, hence damaged, and is refused before pixel memory is
// taken for it.
bool CodedDataCanFill(const ImageHeader& header, std::size_t size) {
    const std::uint64_t blocks = ((static_cast<std::uint64_t>(header.width) + 7) / 8) *
                                 ((static_cast<std::uint64_t>(header.height) + 7) / 8);
    return blocks / 64 <= size;
}

}  // namespace

HRESULT ReadJpegHeader(const std::uint8_t* data, std::size_t size, ImageHeader* header) {
    jpeg_decompress_struct decoder{};
    ErrorManager errors{};
    SetUpErrors(&decoder, &errors);
    const bool ok = ReadJpegInfo(&decoder, &errors, data, size, header);
    jpeg_destroy_decompress(&decoder);
    return ok ? S_OK : D3DXERR_INVALIDDATA;
}

HRESULT DecodeJpeg(const std::uint8_t* data, std::size_t size, DecodedImage* image) {
    jpeg_decompress_struct decoder{};
    ErrorManager errors{};
    SetUpErrors(&decoder, &errors);
    HRESULT hr = D3DXERR_INVALIDDATA;
    if (ReadJpegInfo(&decoder, &errors, data, size, &image->header) &&
        CodedDataCanFill(image->header, size)) {
        hr = AllocatePixels(image);
        std::vector<JSAMPLE> cmykRow;
        if (SUCCEEDED(hr)) {
            cmykRow.resize(static_cast<std::size_t>(image->header.width) * 4);
            hr = ReadJpegPixels(&decoder, &errors, image->pixels.data(), cmykRow.data())
                     ? S_OK
                     : D3DXERR_INVALIDDATA;
        }
    }
    jpeg_destroy_decompress(&decoder);
    if (FAILED(hr)) {
        image->pixels.clear();
    }
    return hr;
}

}  // namespace d3dx
