#include <gtest/gtest.h>

#include "foundation/app_settings.h"
#include "platform/win32/cursor_api.h"
#include "platform/win32/shell_test_hooks.h"
#include "shell/cursor.h"

namespace {

class CursorGlideTest : public ::testing::Test {
protected:
    void SetUp() override {
        win32_test::ResetPointer();
        ResetAppSettingsToDefaults();
        CursorAutoMove = 1;
        CursorSpeed = 4;
        SetCursorTarget(-1, -1);
        UpdateCursorAutoMove();  // the glide starts from the pointer
        SetCursorPos(0, 0);
        UpdateCursorAutoMove();
    }
    void TearDown() override {
        SetCursorTarget(-1, -1);
        ResetAppSettingsToDefaults();
    }
    static POINT Pointer() {
        POINT p{};
        GetCursorPos(&p);
        return p;
    }
};

TEST_F(CursorGlideTest, EachStepCoversAQuarterOfTheWayWithItsBias) {
    SetCursorTarget(100, 0);
    UpdateCursorAutoMove();
    EXPECT_EQ(Pointer().x, 25) << "the first step is 25.75 pixels";
    // 25.75 + (74.25 + 3) / 4 = 45.0625
    UpdateCursorAutoMove();
    EXPECT_EQ(Pointer().x, 45);
    for (int i = 0; i < 40; ++i) {
        UpdateCursorAutoMove();
    }
    const POINT end = Pointer();
    EXPECT_NEAR(end.x, 100, 1) << "the glide ends when its steps are below a pixel";
    EXPECT_NEAR(end.y, 0, 3) << "the bias of 3/4 pixel also moves the other axis";
    UpdateCursorAutoMove();
    EXPECT_EQ(Pointer().x, end.x) << "an ended glide moves nothing";
    EXPECT_EQ(Pointer().y, end.y);
}

TEST_F(CursorGlideTest, MovingTheMouseStopsTheGlide) {
    SetCursorTarget(100, 100);
    UpdateCursorAutoMove();
    const POINT glided = Pointer();
    SetCursorPos(glided.x + 3, glided.y);  // the player touches the mouse
    UpdateCursorAutoMove();
    UpdateCursorAutoMove();
    EXPECT_EQ(Pointer().x, glided.x + 3);
    EXPECT_EQ(Pointer().y, glided.y);
}

TEST_F(CursorGlideTest, SwitchedOffTheTargetIsIgnored) {
    CursorAutoMove = 0;
    SetCursorTarget(100, 100);
    UpdateCursorAutoMove();
    EXPECT_EQ(Pointer().x, 0);
}

TEST(CursorHotSpotTest, OnlyTheHandPointsFromItsFingertip) {
    for (int shape : {0, 1, 3, kCursorShapeNone}) {
        EXPECT_EQ(CursorHotSpot(shape).x, 0) << shape;
    }
    EXPECT_EQ(CursorHotSpot(2).x, 12);
    EXPECT_EQ(CursorHotSpot(2).y, 0);
}

}  // namespace
