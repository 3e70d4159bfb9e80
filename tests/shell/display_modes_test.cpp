#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/app_settings.h"
#include "foundation/foundation_test.h"
#include "foundation/registry_settings.h"
#include "media/graphics/d3d_application.h"
#include "platform/d3d9/d3d9_test.h"
#include "platform/winbase/test_hooks.h"
#include "shell/display_modes.h"
#include "support/temp_program_dir.h"

namespace {

using Settings = std::vector<std::pair<const char*, DWORD>>;
using TableChange = void (*)(d3d9_test::AdapterTable*);

// A fresh settings store with `settings` and a Direct3D object over the adapter table.
class DisplayFixture {
public:
    DisplayFixture(const Settings& settings, TableChange change) {
        foundation_test::ResetState();
        win32_test::ForgetSettingsStore();
        for (const auto& [name, value] : settings) {
            WriteRegistryDword(kSettingsMain, name, value);
        }
        d3d9_test::AdapterTable table = d3d9_test::DefaultAdapterTable();
        if (change != nullptr) {
            change(&table);
        }
        d3d9_test::SetAdapterTable(table);
        DisplaySettings = InitialDisplaySettings();
        CreateD3DApplication();
    }
    ~DisplayFixture() {
        DestroyD3DApplication();
        d3d9_test::ResetAdapterTable();
    }
    const qvn::test::TempProgramDir& dir() const { return dir_; }

private:
    qvn::test::TempProgramDir dir_;
};

std::string ModeText(const D3DDISPLAYMODE& mode) {
    return std::to_string(mode.Width) + "x" + std::to_string(mode.Height) + "@" +
           std::to_string(mode.RefreshRate);
}

std::vector<std::string> ListedModes() {
    std::vector<std::string> texts;
    for (const D3DDISPLAYMODE& mode : DisplayModeList) {
        texts.push_back(ModeText(mode));
    }
    return texts;
}

const std::vector<std::string> kFullScreenModes = {"800x600@60",  "1024x768@60",  "1280x720@60",
                                                   "1280x960@60", "1280x1024@60", "1366x768@60",
                                                   "1600x900@60", "1920x1080@60"};
const std::vector<std::string> kWindowModes(kFullScreenModes.begin(), kFullScreenModes.end() - 1);

TEST(DisplayModesTest, CompareDisplayModesIsAStrictOrderAgreeingWithTheOneSidedRule) {
    std::vector<D3DDISPLAYMODE> modes;
    for (D3DFORMAT format : {D3DFMT_R5G6B5, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8}) {
        for (UINT w : {800u, 1024u}) {
            for (UINT h : {600u, 768u}) {
                for (UINT rate : {60u, 75u}) {
                    modes.push_back({w, h, rate, format});
                }
            }
        }
    }
    const auto bits = [](const D3DDISPLAYMODE& m) { return m.Format == D3DFMT_R5G6B5 ? 16 : 32; };
    // "a before b": fewer bits, or narrower, or lower, or the same size at a lower rate.
    const auto rule = [&](const D3DDISPLAYMODE& a, const D3DDISPLAYMODE& b) {
        return bits(a) < bits(b) || a.Width < b.Width || a.Height < b.Height ||
               (a.Width == b.Width && a.Height == b.Height && a.RefreshRate < b.RefreshRate);
    };
    for (const D3DDISPLAYMODE& a : modes) {
        EXPECT_FALSE(CompareDisplayModes(a, a)) << ModeText(a);
        for (const D3DDISPLAYMODE& b : modes) {
            EXPECT_FALSE(CompareDisplayModes(a, b) && CompareDisplayModes(b, a));
            if (rule(a, b) && !rule(b, a)) {
                EXPECT_TRUE(CompareDisplayModes(a, b))
                    << ModeText(a) << " " << a.Format << " before " << ModeText(b) << " "
                    << b.Format;
            }
            for (const D3DDISPLAYMODE& c : modes) {
                if (CompareDisplayModes(a, b) && CompareDisplayModes(b, c)) {
                    EXPECT_TRUE(CompareDisplayModes(a, c)) << "transitive";
                }
            }
        }
    }
}

TEST(DisplayModesTest, StoredSettingsGiveTheModeListAndThePresentationParameters) {
    struct Case {
        const char* name;
        Settings settings;
        TableChange change;
        std::vector<std::string> modes;
        int selected;
        BOOL windowed;
        D3DFORMAT format;
        UINT width, height, rate, interval;
        DWORD hwCursor;
        const char* logged;                           // the line about a replaced mode, or ""
        DWORD storedWidth, storedHeight, storedRate;  // 0: not stored
    };
    const Case cases[] = {
        {"first run: full screen in 16 bits at the desktop's rate",
         {},
         nullptr,
         kFullScreenModes,
         0,
         FALSE,
         D3DFMT_R5G6B5,
         800,
         600,
         60,
         0,
         1,
         "",
         0,
         0,
         0},
        {"full colour in a window without vertical sync",
         {{"Fullscreen", 0},
          {"Fullcolor", 1},
          {"Vsync", 0},
          {"ScreenWidth", 1024},
          {"ScreenHeight", 768}},
         nullptr,
         kWindowModes,
         1,
         TRUE,
         D3DFMT_X8R8G8B8,
         1024,
         768,
         0,
         0x80000000u,
         1,
         "",
         1024,
         768,
         0},
        {"full screen without vertical sync",
         {{"Vsync", 0}, {"Fullcolor", 1}},
         nullptr,
         kFullScreenModes,
         0,
         FALSE,
         D3DFMT_X8R8G8B8,
         800,
         600,
         60,
         0x80000000u,
         1,
         "",
         0,
         0,
         0},
        {"a rate the mode lacks becomes its own rate",
         {{"Fullcolor", 1}, {"ScreenWidth", 1024}, {"ScreenHeight", 768}, {"RefreshRate", 75}},
         nullptr,
         kFullScreenModes,
         1,
         FALSE,
         D3DFMT_X8R8G8B8,
         1024,
         768,
         60,
         0,
         1,
         "display settings: 1024x768 (75Hz) is not offered in full screen; 1024x768 (60Hz) is used "
         "instead.",
         1024,
         768,
         60},
        {"a size between modes becomes the nearest",
         {{"ScreenWidth", 1000}, {"ScreenHeight", 700}},
         nullptr,
         kFullScreenModes,
         1,
         FALSE,
         D3DFMT_R5G6B5,
         1024,
         768,
         60,
         0,
         1,
         "display settings: 1000x700 (60Hz) is not offered in full screen; 1024x768 (60Hz) is used "
         "instead.",
         1024,
         768,
         0},
        {"a window as large as the desktop becomes the nearest smaller mode",
         {{"Fullscreen", 0}, {"ScreenWidth", 1920}, {"ScreenHeight", 1080}},
         nullptr,
         kWindowModes,
         6,
         TRUE,
         D3DFMT_X8R8G8B8,
         1600,
         900,
         0,
         0x80000000u,
         1,
         "display settings: 1920x1080 (60Hz) is not offered in a window; 1600x900 (60Hz) is used "
         "instead.",
         1600,
         900,
         0},
        {"a window on an 800 x 600 desktop lists nothing and keeps 800 x 600",
         {{"Fullscreen", 0}},
         [](d3d9_test::AdapterTable* t) {
             t->desktop = {800, 600, 60, D3DFMT_X8R8G8B8};
         },
         {},
         -1,
         TRUE,
         D3DFMT_X8R8G8B8,
         800,
         600,
         0,
         0x80000000u,
         1,
         "",
         0,
         0,
         0},
        {"no windowed rendering forces full screen; no colour cursor turns the switch off",
         {{"Fullscreen", 0}, {"ScreenWidth", 1280}, {"ScreenHeight", 720}},
         [](d3d9_test::AdapterTable* t) {
             t->desktop.Format = D3DFMT_A8R8G8B8;
             t->caps.CursorCaps = 0;
         },
         kFullScreenModes,
         2,
         FALSE,
         D3DFMT_R5G6B5,
         1280,
         720,
         60,
         0,
         0,
         ": D3DERR_NOTAVAILABLE",
         1280,
         720,
         0},
        {"without full-screen X8R8G8B8 modes full colour is ignored",
         {{"Fullcolor", 1}},
         [](d3d9_test::AdapterTable* t) {
             std::erase_if(t->modes,
                           [](const D3DDISPLAYMODE& m) { return m.Format == D3DFMT_X8R8G8B8; });
         },
         kFullScreenModes,
         0,
         FALSE,
         D3DFMT_R5G6B5,
         800,
         600,
         60,
         0,
         1,
         "",
         0,
         0,
         0},
    };
    for (const Case& c : cases) {
        DisplayFixture fixture(c.settings, c.change);
        const DisplayValues values = ReadDisplayValues();
        EXPECT_EQ(ListedModes(), c.modes) << c.name;
        EXPECT_EQ(values.selectedMode, c.selected) << c.name;
        EXPECT_EQ(values.bitsPerPixel, c.format == D3DFMT_R5G6B5 ? 16u : 32u) << c.name;
        EXPECT_EQ(DisplaySettings.Windowed, c.windowed) << c.name;
        EXPECT_EQ(DisplaySettings.BackBufferFormat, c.format) << c.name;
        EXPECT_EQ(DisplaySettings.BackBufferWidth, c.width) << c.name;
        EXPECT_EQ(DisplaySettings.BackBufferHeight, c.height) << c.name;
        EXPECT_EQ(DisplaySettings.FullScreen_RefreshRateInHz, c.rate) << c.name;
        EXPECT_EQ(DisplaySettings.PresentationInterval, c.interval) << c.name;
        EXPECT_EQ(DisplaySettings.AutoDepthStencilFormat, D3DFMT_D32) << c.name;
        EXPECT_EQ(HWCursor, c.hwCursor) << c.name;
        // What the dialog does not choose keeps its initial value.
        EXPECT_EQ(DisplaySettings.BackBufferCount, 1u) << c.name;
        EXPECT_EQ(DisplaySettings.SwapEffect, D3DSWAPEFFECT_DISCARD) << c.name;
        EXPECT_EQ(DisplaySettings.EnableAutoDepthStencil, TRUE) << c.name;
        EXPECT_EQ(DisplaySettings.Flags, 3u) << c.name;
        EXPECT_EQ(ScreenWidth, c.width) << c.name;
        EXPECT_EQ(ScreenHeight, c.height) << c.name;
        EXPECT_EQ(ReadRegistryDword(kSettingsMain, "ScreenWidth"), c.storedWidth) << c.name;
        EXPECT_EQ(ReadRegistryDword(kSettingsMain, "ScreenHeight"), c.storedHeight) << c.name;
        EXPECT_EQ(ReadRegistryDword(kSettingsMain, "RefreshRate"), c.storedRate) << c.name;
        const std::string log = fixture.dir().readFile("qvn.log");
        if (c.logged[0] != '\0') {
            EXPECT_EQ(log, std::string(c.logged) + "\r\n") << c.name;
        } else {
            EXPECT_EQ(log, "") << c.name;
        }
    }
}

TEST(DisplayModesTest, DepthFormatFallsBackThroughD32AndD24X8ToD16) {
    struct Case {
        const char* name;
        DWORD stored;
        std::vector<D3DFORMAT> offered;
        D3DFORMAT chosen;
    };
    const Case cases[] = {
        {"the stored format when offered",
         77,
         {D3DFMT_D16, D3DFMT_D24X8, D3DFMT_D32},
         D3DFMT_D24X8},
        {"automatic takes D32 first", 0, {D3DFMT_D16, D3DFMT_D24X8, D3DFMT_D32}, D3DFMT_D32},
        {"a refused stored format falls to D32", 77, {D3DFMT_D16, D3DFMT_D32}, D3DFMT_D32},
        {"then to D24X8", 80, {D3DFMT_D24X8}, D3DFMT_D24X8},
        {"then to D16 unchecked", 71, {}, D3DFMT_D16},
    };
    for (const Case& c : cases) {
        static std::vector<D3DFORMAT> offered;
        offered = c.offered;
        DisplayFixture fixture({{"DepthFormat", c.stored}, {"Fullcolor", 1}},
                               [](d3d9_test::AdapterTable* t) { t->depthFormats = offered; });
        D3DApp->CheckDevice(0, D3DDEVTYPE_HAL);
        DisplaySettings.Windowed = FALSE;
        ChooseSurfaceFormats();
        EXPECT_EQ(DisplaySettings.BackBufferFormat, D3DFMT_X8R8G8B8) << c.name;
        EXPECT_EQ(DisplaySettings.AutoDepthStencilFormat, c.chosen) << c.name;
    }
    DisplayFixture fixture({{"DepthFormat", 77}}, nullptr);
    DisplaySettings.EnableAutoDepthStencil = FALSE;
    DisplaySettings.AutoDepthStencilFormat = D3DFMT_UNKNOWN;
    ChooseSurfaceFormats();
    EXPECT_EQ(DisplaySettings.AutoDepthStencilFormat, D3DFMT_UNKNOWN)
        << "without the automatic depth buffer no depth format is chosen";
}

}  // namespace
