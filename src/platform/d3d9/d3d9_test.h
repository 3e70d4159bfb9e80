#pragma once
// Test-only controls of our Direct3D 9: the adapter's capability table, modes and formats,
// device loss, present failures, and what the presentation would have shown. The program itself
// never calls these.

#include <cstdint>
#include <vector>

#include "platform/d3d9/d3d9.h"

namespace d3d9_test {

// What the adapter reports. Direct3D objects read it on every query, so a change applies at once.
struct AdapterTable {
    D3DCAPS9 caps;
    D3DDISPLAYMODE desktop;
    // Modes of every display format the adapter offers (X8R8G8B8 and R5G6B5).
    std::vector<D3DDISPLAYMODE> modes;
    std::vector<D3DFORMAT> textureFormats;
    // Colour formats of render targets (surfaces and textures).
    std::vector<D3DFORMAT> renderTargetFormats;
    std::vector<D3DFORMAT> depthFormats;
    // Reported by GetAvailableTextureMem before default-pool resources are taken off.
    std::uint64_t textureMemoryBytes;
};

// The fixed table used when no test has set one and SDL's video is not up.
AdapterTable DefaultAdapterTable();
// Replaces the adapter's answers until ResetAdapterTable.
void SetAdapterTable(const AdapterTable& table);
void ResetAdapterTable();

// Device loss: after LoseDevice, TestCooperativeLevel and Present answer D3DERR_DEVICELOST until
// AllowDeviceReset, then D3DERR_DEVICENOTRESET until a Reset succeeds.
void LoseDevice(IDirect3DDevice9* device);
void AllowDeviceReset(IDirect3DDevice9* device);
// The next Present answers `result` (for example D3DERR_DRIVERINTERNALERROR) and shows nothing.
void FailNextPresent(IDirect3DDevice9* device, HRESULT result);
// Number of successful Present calls since creation.
int PresentCount(IDirect3DDevice9* device);
bool DialogBoxMode(IDirect3DDevice9* device);

struct CursorState {
    bool hasImage;
    bool visible;
    int x;
    int y;
    UINT hotSpotX;
    UINT hotSpotY;
    std::vector<std::uint32_t> argb;  // 32 x 32, A8R8G8B8
};
CursorState GetCursorState(IDirect3DDevice9* device);

// What a Present showed: the strip above the back buffer (the overlay's, present_overlay.h) and
// the back buffer, as one A8R8G8B8 picture, rows top first.
struct PresentedPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;
};
// While on, every Present keeps a copy of its picture (off by default: it costs a conversion).
void KeepPresentedPictures(bool keep);
// The picture of the device's last Present while keeping was on; empty when there was none.
PresentedPicture LastPresentedPicture(IDirect3DDevice9* device);

// Switches the rasteriser's fast paths (the default: span routines, and upright quads drawn
// as one piece) or the per-pixel, per-triangle reference path; both give the same bytes.
void SetFastPathsEnabled(bool enabled);
// Lets the span routines use AVX2 where the processor has it (the default), or keeps them to
// the SSE2 baseline.
void SetWideVectorsEnabled(bool enabled);

// True: DirectXSetupGetVersion fails until called again with false.
void FailSetupVersionQuery(bool fail);

}  // namespace d3d9_test
