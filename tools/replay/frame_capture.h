#pragma once
// Frames of a replay: the back buffer read back as A8R8G8B8 pixels, their hash, and PNG files.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/winbase/win_types.h"

struct IDirect3DDevice9;

struct CapturedFrame {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;  // rows of `width` pixels, top first
};

// Reads the back buffer of `device` (of any colour format); false when it cannot be read.
bool ReadBackBuffer(IDirect3DDevice9* device, CapturedFrame* frame);
// Reads the client area of `window` as the movie playing in it left it; false when no movie
// picture shows there.
bool ReadMoviePicture(HWND window, CapturedFrame* frame);

// FNV-1a (64 bits) of the pixels as bytes in memory order (blue, green, red, alpha), rows top
// first: equal frames give equal hashes on every machine.
std::uint64_t HashFrame(const CapturedFrame& frame);
// The hash as 16 lower-case hexadecimal digits.
std::string HashText(std::uint64_t hash);

// Writes the frame as a PNG file at `path` (a temporary file renamed into place, so that a
// failed write never leaves a partial file); false with *error when it cannot.
bool WriteFramePng(const std::string& path, const CapturedFrame& frame, std::string* error);
