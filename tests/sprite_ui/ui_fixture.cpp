#include "ui_fixture.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "foundation/app_settings.h"
#include "foundation/foundation_test.h"
#include "foundation/path.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/font.h"
#include "media/graphics/texture.h"
#include "media/input/di_application.h"
#include "platform/d3d9/d3d9_test.h"
#include "platform/win32/cursor_api.h"
#include "platform/win32/message_api.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/winbase/code_page.h"
#include "sprite_ui/baloon.h"
#include "sprite_ui/frame_textures.h"
#include "sprite_ui/menu_input.h"
#include "support/golden_image.h"

namespace ui_tests {
namespace {

HWND FakeWindow() {
    static int anchor;
    return reinterpret_cast<HWND>(&anchor);
}

std::string ReadDemoImage(const std::string& name) {
    std::ifstream in(std::string(QVN_DEMO_DIR) + "/bmp/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

std::string Sjis(const char* utf8) {
    return Utf8ToCp932(utf8).value_or("");
}

std::string ItemText(int n) {
    return Sjis("項目 ") + std::to_string(n);
}

int RecordEvent(MenuWindow* window, int event, std::intptr_t argument, void* context) {
    auto* log = static_cast<EventLog*>(context);
    const bool drawEvent = event >= kMenuEventDrawWindow && event <= kMenuEventAfterDraw;
    if (!drawEvent || log->recordDraw) {
        std::intptr_t shown = argument;
        if (event == kMenuEventDrawItem) {
            shown = reinterpret_cast<const MenuItemDraw*>(argument)->index;
        }
        log->lines->push_back(log->name + ":" + std::to_string(event) + "(" +
                              std::to_string(shown) + ")");
    }
    if (log->closeOnDecide && (event == kMenuEventDecide || event == kMenuEventCancel)) {
        DeleteMenuWindow(window);
        return 1;
    }
    return std::find(log->claim.begin(), log->claim.end(), event) != log->claim.end() ? 1 : 0;
}

void UiTest::SetUp() {
    dir_ = std::make_unique<qvn::test::TempProgramDir>();
    foundation_test::ResetState();
    d3d9_test::ResetAdapterTable();
    d3d9_test::SetAdapterTable(d3d9_test::DefaultAdapterTable());
    win32_test::ResetPointer();
    ResetMenuInput();
    for (const char* name :
         {"frame0.png", "frame1.png", "frame2.png", "frame3.png", "frame4.png", "baloon.png"}) {
        dir_->writeFile(std::string("bmp/") + name, ReadDemoImage(name));
    }

    ASSERT_EQ(CreateD3DApplication(), 1);
    D3DPRESENT_PARAMETERS pp{};
    pp.BackBufferWidth = 800;
    pp.BackBufferHeight = 600;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.BackBufferCount = 1;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.hDeviceWindow = FakeWindow();
    pp.Windowed = TRUE;
    pp.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
    ASSERT_EQ(D3DApp->SetDevice(FakeWindow(), &pp, D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, 0x44),
              D3D_OK);

    // Repeat after 0.5 s, then every 0.1 s.
    input_ = &dinput_test::UseTestInputBackend();
    dinput_test::SetKeyboardRepeatSettings(1, 24);
    pad_ = input_->PlugPad(dinput_test::TestPad{});
    ASSERT_EQ(CreateDIApplication(nullptr), DI_OK);
    ASSERT_EQ(gDIApplication->SetKeyboardDevice(FakeWindow(), 6), DI_OK);
    ASSERT_EQ(gDIApplication->SetMouseDevice(FakeWindow(), 6), DI_OK);
    ASSERT_EQ(gDIApplication->SetPadDevice(FakeWindow(), nullptr, 5), DI_OK);

    LoadFrameTextures(GetPath(PathKind::Image, "frame"));
}

void UiTest::TearDown() {
    DestroyAllMenuWindows();
    while (!BaloonList().empty()) {
        DeleteBaloon(BaloonList().front());
    }
    EXPECT_EQ(HelpBaloon, nullptr);
    ReleaseDefaultFrameTextures();
    D3D_ReleaseAllFonts();
    EXPECT_TRUE(TextureList().empty()) << TextureList().size() << " textures left";
    DestroyDIApplication();
    DestroyD3DApplication();
    d3d9_test::ResetAdapterTable();
    ResetMenuInput();
    foundation_test::ResetState();
    dir_.reset();
}

MenuWindow* UiTest::MakeWindow(const char* name, int x, int y, int width, int height, int count,
                               DWORD flags) {
    EventLog& log = logs_.emplace_back();
    log.name = name;
    log.lines = &events_;
    MenuWindow* window = CreateMenuWindow(x, y, width, height, 24, RecordEvent, &log, flags);
    if (window == nullptr) {
        ADD_FAILURE() << "no window";
        return nullptr;
    }
    for (int i = 0; i < count; ++i) {
        const std::string text = ItemText(i);
        MenuItem item;
        item.text = text.c_str();
        EXPECT_EQ(window->AddItem(item), i);
    }
    return window;
}

void UiTest::Frame(double seconds) {
    gDIApplication->Poll(7);
    UpdateMenuInput(seconds);
    D3DApp->device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF306040u, 1.0f, 0);
    DrawMenuWindows();
}

void UiTest::MovePointer(int x, int y) {
    SetCursorPos(x, y);
    MenuWindowHook(nullptr, WM_MOUSEMOVE, 0, 0);
}

std::vector<std::string> UiTest::TakeEvents() {
    std::vector<std::string> taken;
    taken.swap(events_);
    return taken;
}

std::vector<std::uint32_t> UiTest::ReadTarget() {
    IDirect3DSurface9* target = nullptr;
    D3DApp->device->GetRenderTarget(0, &target);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(target->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    std::vector<std::uint32_t> pixels(800 * 600);
    for (std::size_t y = 0; y < 600; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(locked.pBits) + y * locked.Pitch;
        for (std::size_t x = 0; x < 800; ++x) {
            std::memcpy(&pixels[y * 800 + x], row + x * 4, 4);
            pixels[y * 800 + x] |= 0xFF000000u;
        }
    }
    target->UnlockRect();
    target->Release();
    return pixels;
}

void UiTest::ExpectGolden(const std::string& name) {
    const std::vector<std::uint32_t> pixels = ReadTarget();
    EXPECT_EQ(qvn::test::CompareImageWithGolden(name, 800, 600, pixels.data(), 800), "");
}

std::string UiTest::Log() const {
    return dir_->readFile("qvn.log");
}

}  // namespace ui_tests
