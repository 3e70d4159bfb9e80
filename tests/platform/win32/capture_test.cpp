// Mouse capture, COM initialisation counting and fills on window device contexts.

#include <vector>

#include "platform/win32/capture_api.h"
#include "platform/win32/gdi_fill.h"
#include "platform/win32/paint_api.h"
#include "platform/winbase/com_init.h"
#include "window_test_support.h"

namespace {

using win32_test_support::MessageRecorder;
using win32_test_support::Received;
using win32_test_support::WindowTest;

class CaptureTest : public WindowTest {
protected:
    std::vector<Received> captureChanges(const MessageRecorder& recorder) {
        std::vector<Received> result;
        for (const Received& r : recorder.received()) {
            if (r.message == WM_CAPTURECHANGED) {
                result.push_back(r);
            }
        }
        return result;
    }
};

TEST_F(CaptureTest, SetAndReleaseTellTheWindowThatLosesIt) {
    MessageRecorder& firstRecorder = newRecorder();
    MessageRecorder& secondRecorder = newRecorder();
    HWND first = makeWindow(firstRecorder);
    HWND second = makeWindow(secondRecorder);

    EXPECT_EQ(SetCapture(first), nullptr);
    EXPECT_EQ(GetCapture(), first);
    EXPECT_EQ(SetCapture(first), first);
    EXPECT_TRUE(captureChanges(firstRecorder).empty()) << "taking it again changes nothing";

    EXPECT_EQ(SetCapture(second), first);
    std::vector<Received> changes = captureChanges(firstRecorder);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].lParam, reinterpret_cast<LPARAM>(second));

    EXPECT_TRUE(ReleaseCapture());
    EXPECT_EQ(GetCapture(), nullptr);
    changes = captureChanges(secondRecorder);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].lParam, 0);
    EXPECT_TRUE(ReleaseCapture()) << "nothing to release";
    EXPECT_EQ(captureChanges(secondRecorder).size(), 1u);

    SetCapture(first);
    EXPECT_EQ(SetCapture(nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_EQ(GetCapture(), first) << "a refused window leaves the capture";
    DestroyWindow(first);
    EXPECT_EQ(GetCapture(), nullptr) << "a destroyed window holds nothing";
}

TEST(ComInitTest, CountsEachInitialisation) {
    const int before = Win32ComInitializationCount();
    ASSERT_EQ(before, 0);
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    int reserved = 0;
    EXPECT_EQ(CoInitialize(&reserved), E_INVALIDARG);
    EXPECT_EQ(Win32ComInitializationCount(), 2);
    CoUninitialize();
    CoUninitialize();
    CoUninitialize();  // one too many does no harm
    EXPECT_EQ(Win32ComInitializationCount(), 0);
    EXPECT_EQ(CoInitialize(nullptr), S_OK) << "a new first initialisation";
    CoUninitialize();
}

TEST_F(CaptureTest, FillRectChecksContextRectangleAndBrush) {
    HWND window = makeWindow(newRecorder());
    InvalidateRect(window, nullptr, FALSE);
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    HBRUSH black = reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    HBRUSH solid = CreateSolidBrush(RGB(1, 2, 3));
    COLORREF colour = 0xFFFFFFFFu;

    EXPECT_TRUE(Win32BrushColour(black, &colour));
    EXPECT_EQ(colour, RGB(0, 0, 0));
    EXPECT_TRUE(Win32BrushColour(solid, &colour));
    EXPECT_EQ(colour, RGB(1, 2, 3));
    EXPECT_TRUE(
        Win32BrushColour(reinterpret_cast<HBRUSH>(std::uintptr_t{COLOR_WINDOW + 1}), &colour));
    EXPECT_EQ(colour, RGB(255, 255, 255));
    EXPECT_EQ(GetStockObject(99), nullptr);

    EXPECT_NE(FillRect(dc, &paint.rcPaint, black), 0);
    EXPECT_NE(FillRect(GetDC(window), &paint.rcPaint, solid), 0);
    EXPECT_EQ(FillRect(dc, nullptr, black), 0);
    EXPECT_EQ(FillRect(nullptr, &paint.rcPaint, black), 0);
    EXPECT_EQ(FillRect(dc, &paint.rcPaint, reinterpret_cast<HBRUSH>(GetStockObject(NULL_BRUSH))), 0)
        << "the null brush paints nothing";
    EndPaint(window, &paint);

    EXPECT_TRUE(DeleteObject(black)) << "stock brushes stay";
    EXPECT_NE(FillRect(dc, &paint.rcPaint, black), 0);
    EXPECT_TRUE(DeleteObject(solid));
    EXPECT_FALSE(DeleteObject(solid));
    EXPECT_EQ(FillRect(dc, &paint.rcPaint, solid), 0);
    EXPECT_EQ(ReleaseDC(window, GetDC(window)), 1);
    DestroyWindow(window);
    EXPECT_EQ(GetDC(window), nullptr);
}

}  // namespace
