#include "tools/replay/frame_capture.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/d3d9/d3d9.h"
#include "platform/d3dx/png_encode.h"
#include "platform/d3dx/surface_pixels.h"
#include "platform/dshow/dshow_test.h"

bool ReadBackBuffer(IDirect3DDevice9* device, CapturedFrame* frame) {
    IDirect3DSurface9* backBuffer = nullptr;
    if (device == nullptr ||
        FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer))) {
        return false;
    }
    D3DSURFACE_DESC desc{};
    const HRESULT described = backBuffer->GetDesc(&desc);
    const RECT whole{0, 0, static_cast<LONG>(desc.Width), static_cast<LONG>(desc.Height)};
    const bool read =
        SUCCEEDED(described) && SUCCEEDED(d3dx::ReadSurfaceArgb(backBuffer, whole, &frame->argb));
    backBuffer->Release();
    if (!read) {
        return false;
    }
    frame->width = static_cast<int>(desc.Width);
    frame->height = static_cast<int>(desc.Height);
    return true;
}

bool ReadMoviePicture(HWND window, CapturedFrame* frame) {
    return dshow_test::CaptureWindow(window, &frame->width, &frame->height, &frame->argb);
}

std::uint64_t HashFrame(const CapturedFrame& frame) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (std::uint32_t pixel : frame.argb) {
        for (int shift = 0; shift < 32; shift += 8) {
            hash = (hash ^ ((pixel >> shift) & 0xFFu)) * 0x100000001b3ull;
        }
    }
    return hash;
}

std::string HashText(std::uint64_t hash) {
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, hash);
    return text;
}

bool WriteFramePng(const std::string& path, const CapturedFrame& frame, std::string* error) {
    const std::vector<std::uint8_t> bytes =
        d3dx::EncodeArgbAsPng(frame.width, frame.height, frame.argb.data(), frame.width);
    if (bytes.empty()) {
        *error = path + ": the frame could not be encoded";
        return false;
    }
    const std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            *error = path + ": " + std::strerror(errno);
            out.close();
            std::remove(temporary.c_str());
            return false;
        }
    }
    std::error_code failure;
    std::filesystem::rename(temporary, path, failure);
    if (failure) {
        *error = path + ": " + failure.message();
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
