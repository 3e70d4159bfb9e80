#pragma once
// Drives modal dialogs, boxes and menus from the modal loop's idle hook: each turn of the loop
// with an empty queue takes the next step; the last step must end the loop.

#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "platform/d3d9/d3d9_test.h"
#include "platform/win32/dialog_api.h"
#include "platform/win32/dialog_test_hooks.h"

namespace shell_test {

using Step = std::function<void(HWND modalWindow)>;

class StepDriver {
public:
    explicit StepDriver(std::vector<Step> steps) : steps_(std::move(steps)) {
        win32_test::SetModalIdleHook(&StepDriver::Idle, this);
    }
    ~StepDriver() {
        win32_test::SetModalIdleHook(nullptr, nullptr);
        EXPECT_EQ(next_, steps_.size()) << "steps left over";
    }
    StepDriver(const StepDriver&) = delete;
    StepDriver& operator=(const StepDriver&) = delete;

private:
    static void Idle(HWND modalWindow, void* context) {
        auto* self = static_cast<StepDriver*>(context);
        if (self->next_ >= self->steps_.size()) {
            ADD_FAILURE() << "the modal loop still runs after the last step";
            if (modalWindow != nullptr) {
                EndDialog(modalWindow, -2);
            } else {
                win32_test::SetModalIdleHook(nullptr, nullptr);
            }
            return;
        }
        self->steps_[self->next_++](modalWindow);
    }

    std::vector<Step> steps_;
    std::size_t next_ = 0;
};

// The adapter of the dialog tests: a 1280 x 1024 desktop at 60 Hz, modes of both display
// formats at 60 and 75 Hz, 16- and 24-bit depth buffers.
inline d3d9_test::AdapterTable DialogTestAdapter() {
    d3d9_test::AdapterTable table = d3d9_test::DefaultAdapterTable();
    table.desktop = D3DDISPLAYMODE{1280, 1024, 60, D3DFMT_X8R8G8B8};
    table.modes.clear();
    for (D3DFORMAT format : {D3DFMT_X8R8G8B8, D3DFMT_R5G6B5}) {
        for (UINT rate : {75u, 60u}) {
            for (auto [w, h] :
                 {std::pair{1280u, 1024u}, {640u, 480u}, {1024u, 768u}, {800u, 600u}}) {
                table.modes.push_back(D3DDISPLAYMODE{w, h, rate, format});
            }
        }
    }
    table.depthFormats = {D3DFMT_D16, D3DFMT_D24X8};
    return table;
}

}  // namespace shell_test
