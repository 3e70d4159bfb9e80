#pragma once
// The CD audio tests' fixture: disc images as drives, a null sound device that the test mixes by
// hand, a manual clock that drives the stream's timer, and a window that records notifications.

#include <gtest/gtest.h>

#include <vector>

#include "platform/dsound/dsound_test.h"
#include "platform/mci/mci.h"
#include "platform/mci/mci_test.h"
#include "platform/win32/message_api.h"
#include "platform/win32/window_api.h"
#include "platform/winbase/test_hooks.h"
#include "support/disc_image_files.h"

namespace qvn::test {

struct Notice {
    WPARAM code;
    LPARAM device;
    bool operator==(const Notice&) const = default;
};

class CdDriveTest : public ::testing::Test {
protected:
    static constexpr std::uint32_t kStepFrames = 4410;  // 100 ms

    void SetUp() override {
        win32_test::UseManualClock(true);
        dsound_test::UseNullDevice(true);
        mci_test::UseDiscImages(true);
        Notices().clear();
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = RecordNotices;
        windowClass.lpszClassName = "CdDriveTestNotices";
        RegisterClassExA(&windowClass);
        window_ = CreateWindowExA(0, "CdDriveTestNotices", "", 0, 0, 0, 0, 0, nullptr, nullptr,
                                  nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
    }

    void TearDown() override {
        for (MCIDEVICEID id : opened_) {
            mciSendCommandA(id, MCI_CLOSE, 0, 0);
        }
        DestroyWindow(window_);
        UnregisterClassA("CdDriveTestNotices", nullptr);
        mci_test::UseDiscImages(false);
        dsound_test::UseNullDevice(false);
        win32_test::UseManualClock(false);
    }

    // Maps drive `letter` to a new image of `tracks`.
    void InsertDisc(char letter, const std::vector<qvn_disc::DiscTrack>& tracks) {
        mci_test::MapDriveImage(letter,
                                WriteDiscImage(dir_, std::string("disc_") + letter, tracks));
    }

    MCIERROR Open(const char* element, MCIDEVICEID* id,
                  DWORD flags = MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_OPEN_SHAREABLE,
                  const char* type = "cdaudio") {
        MCI_OPEN_PARMSA open{};
        open.lpstrDeviceType = type;
        open.lpstrElementName = element;
        MCIERROR error = mciSendCommandA(0, MCI_OPEN, flags, reinterpret_cast<DWORD_PTR>(&open));
        if (error == 0) {
            opened_.push_back(open.wDeviceID);
            *id = open.wDeviceID;
        }
        return error;
    }

    // A shareable device on `element` in TMSF.
    MCIDEVICEID OpenTmsf(const char* element) {
        MCIDEVICEID id = 0;
        EXPECT_EQ(Open(element, &id), 0u) << element;
        MCI_SET_PARMS set{};
        set.dwTimeFormat = MCI_FORMAT_TMSF;
        EXPECT_EQ(
            mciSendCommandA(id, MCI_SET, MCI_SET_TIME_FORMAT, reinterpret_cast<DWORD_PTR>(&set)),
            0u);
        return id;
    }

    void Close(MCIDEVICEID id) {
        EXPECT_EQ(mciSendCommandA(id, MCI_CLOSE, 0, 0), 0u);
        std::erase(opened_, id);
    }

    MCIERROR Play(MCIDEVICEID id, DWORD flags, DWORD from, DWORD to) {
        MCI_PLAY_PARMS play{};
        play.dwCallback = reinterpret_cast<DWORD_PTR>(window_);
        play.dwFrom = from;
        play.dwTo = to;
        return mciSendCommandA(id, MCI_PLAY, flags, reinterpret_cast<DWORD_PTR>(&play));
    }

    DWORD Status(MCIDEVICEID id, DWORD item) {
        MCI_STATUS_PARMS status{};
        status.dwItem = item;
        EXPECT_EQ(
            mciSendCommandA(id, MCI_STATUS, MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&status)),
            0u);
        return static_cast<DWORD>(status.dwReturn);
    }

    // Plays `steps` steps of 100 ms on drive `letter`: mixes them, then lets the timers run and
    // the notifications arrive.
    static std::vector<std::int16_t> PlaySteps(char letter, int steps) {
        std::vector<std::int16_t> out;
        for (int i = 0; i < steps; ++i) {
            std::vector<std::int16_t> part = mci_test::MixCdFrames(letter, kStepFrames);
            out.insert(out.end(), part.begin(), part.end());
            win32_test::AdvanceClockMicroseconds(100000);
            PumpMessages();
        }
        return out;
    }

    static void PumpMessages() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
    }

    static std::vector<Notice>& Notices() {
        static std::vector<Notice> notices;
        return notices;
    }

    HWND NoticeWindow() const { return window_; }
    const TempProgramDir& Dir() const { return dir_; }

private:
    static LRESULT RecordNotices(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == MM_MCINOTIFY) {
            Notices().push_back({wParam, lParam});
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    TempProgramDir dir_;
    HWND window_ = nullptr;
    std::vector<MCIDEVICEID> opened_;
};

}  // namespace qvn::test
