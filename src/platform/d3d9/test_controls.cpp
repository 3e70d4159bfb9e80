// The test controls of d3d9_test.h that reach a device.

#include <atomic>

#include "platform/d3d9/d3d9_test.h"
#include "platform/d3d9/device.h"
#include "platform/d3d9/rasterizer.h"
#include "platform/d3d9/span_kernels.h"

namespace d3d9_internal {
namespace {

std::atomic<bool> keepPictures{false};

}  // namespace

bool KeepingPresentedPictures() {
    return keepPictures.load();
}

}  // namespace d3d9_internal

namespace d3d9_test {

using d3d9_internal::AsDevice;
using d3d9_internal::Device;

void LoseDevice(IDirect3DDevice9* device) {
    AsDevice(device)->SetCooperation(Device::Cooperation::kLost);
}

void AllowDeviceReset(IDirect3DDevice9* device) {
    AsDevice(device)->SetCooperation(Device::Cooperation::kNotReset);
}

void FailNextPresent(IDirect3DDevice9* device, HRESULT result) {
    AsDevice(device)->FailNextPresent(result);
}

int PresentCount(IDirect3DDevice9* device) {
    return AsDevice(device)->presentCount();
}

bool DialogBoxMode(IDirect3DDevice9* device) {
    return AsDevice(device)->dialogBoxMode();
}

CursorState GetCursorState(IDirect3DDevice9* device) {
    return AsDevice(device)->cursorState();
}

void KeepPresentedPictures(bool keep) {
    d3d9_internal::keepPictures = keep;
}

PresentedPicture LastPresentedPicture(IDirect3DDevice9* device) {
    return device != nullptr ? AsDevice(device)->keptPicture() : PresentedPicture{};
}

void SetFastPathsEnabled(bool enabled) {
    d3d9_internal::SetFastPathsEnabled(enabled);
}

void SetWideVectorsEnabled(bool enabled) {
    d3d9_internal::SetWideVectorsAllowed(enabled);
}

}  // namespace d3d9_test
