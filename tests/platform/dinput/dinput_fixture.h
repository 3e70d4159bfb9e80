#pragma once
// A DirectInput object over a fresh test backend, with helpers to make acquired devices.

#include <gtest/gtest.h>

#include <memory>

#include "platform/dinput/direct_input.h"
#include "platform/dinput/test_input_backend.h"

namespace qvn::test {

struct ReleaseUnknown {
    void operator()(IUnknown* object) const {
        if (object != nullptr) {
            object->Release();
        }
    }
};
using DevicePtr = std::unique_ptr<IDirectInputDevice8A, ReleaseUnknown>;
using InputPtr = std::unique_ptr<IDirectInput8A, ReleaseUnknown>;

// Any non-null handle will do: devices only remember the window.
inline HWND TestWindow() {
    static int window;
    return reinterpret_cast<HWND>(&window);
}

class DInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        backend_ = &dinput_test::UseTestInputBackend();
        void* out = nullptr;
        ASSERT_EQ(
            DirectInput8Create(nullptr, DIRECTINPUT_VERSION, IID_IDirectInput8A, &out, nullptr),
            DI_OK);
        input_.reset(static_cast<IDirectInput8A*>(out));
    }

    void TearDown() override { DInputSetAppActive(true); }

    dinput_test::TestInputBackend& Backend() { return *backend_; }

    DevicePtr Create(const GUID& guid) {
        IDirectInputDevice8A* device = nullptr;
        EXPECT_EQ(input_->CreateDevice(guid, &device, nullptr), DI_OK);
        return DevicePtr(device);
    }

    // A device with its format and cooperative level set, acquired.
    DevicePtr Acquired(const GUID& guid, const DIDATAFORMAT& format,
                       DWORD level = DISCL_NONEXCLUSIVE | DISCL_FOREGROUND) {
        DevicePtr device = Create(guid);
        if (device) {
            EXPECT_EQ(device->SetDataFormat(&format), DI_OK);
            EXPECT_EQ(device->SetCooperativeLevel(TestWindow(), level), DI_OK);
            EXPECT_EQ(device->Acquire(), DI_OK);
        }
        return device;
    }

    // The instance GUID of the attached pad at that joystick position.
    GUID PadGuid(std::size_t position) {
        return Backend().State()->Pads().at(position).instanceGuid;
    }

    InputPtr input_;

private:
    dinput_test::TestInputBackend* backend_ = nullptr;
};

}  // namespace qvn::test
