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

// A fresh settings store with `settings`, read, and a Direct3D object over the default adapter
// table (desktop 1920 x 1080 at 60 Hz in X8R8G8B8, modes of both formats from 640 x 480 to the
// desktop at 60 Hz, every depth format) as `change` leaves it, with its device checked.
class DisplayFixture {
public:
    DisplayFixture(const Settings& settings, TableChange change) {
        foundation_test::ResetState();
        win32_test::ForgetSettingsStore();
        for (const auto& [name, value] : settings) {
            WriteRegistryDword(kSettingsMain, name, value);
        }
        ReadDisplaySettings();
        d3d9_test::AdapterTable table = d3d9_test::DefaultAdapterTable();
        if (change != nullptr) {
            change(&table);
        }
        desktop_ = table.desktop;
        d3d9_test::SetAdapterTable(table);
        DisplaySettings = InitialDisplaySettings();
        CreateD3DApplication();
        D3DApp->CheckDevice(0, D3DDEVTYPE_HAL);
    }
    ~DisplayFixture() {
        DestroyD3DApplication();
        d3d9_test::ResetAdapterTable();
    }
    const D3DDISPLAYMODE& desktop() const { return desktop_; }
    std::string log() const { return dir_.readFile("qvn.log"); }

private:
    qvn::test::TempProgramDir dir_;
    D3DDISPLAYMODE desktop_{};
};

void SmallDesktop(d3d9_test::AdapterTable* table) {
    table->desktop = {800, 600, 60, D3DFMT_X8R8G8B8};
}

std::string ModeText(const DisplayMode& mode) {
    return std::to_string(mode.width) + "x" + std::to_string(mode.height) + "@" +
           std::to_string(mode.refreshRate);
}

const std::vector<std::string> kFullScreenModes = {"800x600@60",  "1024x768@60",  "1280x720@60",
                                                   "1280x960@60", "1280x1024@60", "1366x768@60",
                                                   "1600x900@60", "1920x1080@60"};
const std::vector<std::string> kWindowModes(kFullScreenModes.begin(), kFullScreenModes.end() - 1);

TEST(DisplayModesTest, CompareDisplayModesIsAStrictOrderAgreeingWithTheOneSidedRule) {
    std::vector<DisplayMode> modes;
    for (D3DFORMAT format : {D3DFMT_R5G6B5, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8}) {
        for (UINT w : {800u, 1024u}) {
            for (UINT h : {600u, 768u}) {
                for (UINT rate : {60u, 75u}) {
                    modes.push_back({w, h, rate, format});
                }
            }
        }
    }
    const auto bits = [](const DisplayMode& m) { return m.format == D3DFMT_R5G6B5 ? 16 : 32; };
    // "a before b": fewer bits, or narrower, or lower, or the same size at a lower rate.
    const auto rule = [&](const DisplayMode& a, const DisplayMode& b) {
        return bits(a) < bits(b) || a.width < b.width || a.height < b.height ||
               (a.width == b.width && a.height == b.height && a.refreshRate < b.refreshRate);
    };
    for (const DisplayMode& a : modes) {
        EXPECT_FALSE(CompareDisplayModes(a, a)) << ModeText(a);
        for (const DisplayMode& b : modes) {
            EXPECT_FALSE(CompareDisplayModes(a, b) && CompareDisplayModes(b, a));
            if (rule(a, b) && !rule(b, a)) {
                EXPECT_TRUE(CompareDisplayModes(a, b))
                    << ModeText(a) << " " << a.format << " before " << ModeText(b) << " "
                    << b.format;
            }
            for (const DisplayMode& c : modes) {
                if (CompareDisplayModes(a, b) && CompareDisplayModes(b, c)) {
                    EXPECT_TRUE(CompareDisplayModes(a, c)) << "transitive";
                }
            }
        }
    }
}

TEST(DisplayModesTest, ModeListAndBackBufferSizeFollowTheStoredSize) {
    struct Case {
        const char* name;
        UINT storedWidth, storedHeight;  // 0: nothing stored
        BOOL windowed;
        D3DFORMAT format;
        TableChange change;
        std::vector<std::string> modes;
        UINT width, height;
        const char* logged;  // "": no line, and nothing stored
    };
    const auto extraRate = [](d3d9_test::AdapterTable* t) {
        t->modes.push_back({1024, 768, 75, D3DFMT_X8R8G8B8});
    };
    // clang-format off
    const Case cases[] = {
        {"a listed size", 1280, 720, FALSE, D3DFMT_R5G6B5, nullptr, kFullScreenModes, 1280, 720,
         ""},
        {"a window lists only modes smaller than the desktop at its rate", 1024, 768, TRUE,
         D3DFMT_X8R8G8B8, extraRate, kWindowModes, 1024, 768, ""},
        {"a size between modes becomes the nearest", 1000, 700, FALSE, D3DFMT_X8R8G8B8, nullptr,
         kFullScreenModes, 1024, 768,
         "display settings: 1000x700 is not offered in full screen; 1024x768 is used instead."},
        {"a window as large as the desktop becomes the nearest smaller mode", 1920, 1080, TRUE,
         D3DFMT_X8R8G8B8, nullptr, kWindowModes, 1600, 900,
         "display settings: 1920x1080 is not offered in a window; 1600x900 is used instead."},
        {"nothing listed: 800 x 600", 1280, 1024, TRUE, D3DFMT_X8R8G8B8, SmallDesktop, {}, 800, 600,
         "display settings: 1280x1024 is not offered in a window; 800x600 is used instead."},
        {"nothing listed and 800 x 600 already", 0, 0, TRUE, D3DFMT_X8R8G8B8, SmallDesktop, {}, 800,
         600, ""},
    };
    // clang-format on
    for (const Case& c : cases) {
        Settings settings;
        if (c.storedWidth != 0) {
            settings = {{"ScreenWidth", c.storedWidth}, {"ScreenHeight", c.storedHeight}};
        }
        DisplayFixture fixture(settings, c.change);
        DisplaySettings.Windowed = c.windowed;
        BuildDisplayModeList(c.format, c.windowed, fixture.desktop());
        std::vector<std::string> listed;
        for (const DisplayMode& mode : DisplayModeList) {
            EXPECT_EQ(mode.format, c.format) << c.name;
            listed.push_back(ModeText(mode));
        }
        EXPECT_EQ(listed, c.modes) << c.name;
        ApplyBackBufferSize();
        EXPECT_EQ(DisplaySettings.BackBufferWidth, c.width) << c.name;
        EXPECT_EQ(DisplaySettings.BackBufferHeight, c.height) << c.name;
        EXPECT_EQ(ScreenWidth, c.width) << c.name;
        EXPECT_EQ(ScreenHeight, c.height) << c.name;
        const bool replaced = c.logged[0] != '\0';
        EXPECT_EQ(fixture.log(), replaced ? std::string(c.logged) + "\r\n" : "") << c.name;
        EXPECT_EQ(ReadRegistryDword(kSettingsMain, "ScreenWidth"),
                  replaced ? c.width : c.storedWidth)
            << c.name;
    }
}

TEST(DisplayModesTest, SurfaceFormatsFollowFullColourTheWindowAndTheOfferedDepths) {
    static std::vector<D3DFORMAT> offered;
    static bool noFullScreen32;  // the adapter has no X8R8G8B8 modes
    struct Case {
        const char* name;
        DWORD fullColour, depthFormat;  // stored
        BOOL windowed;
        bool noFullScreen32;
        std::vector<D3DFORMAT> depths;
        D3DFORMAT format, depth;
    };
    const std::vector<D3DFORMAT> all = {D3DFMT_D16, D3DFMT_D24X8, D3DFMT_D32};
    // clang-format off
    const Case cases[] = {
        {"16 bits unless full colour", 0, 0, FALSE, false, all, D3DFMT_R5G6B5, D3DFMT_D32},
        {"full colour", 1, 0, FALSE, false, all, D3DFMT_X8R8G8B8, D3DFMT_D32},
        {"full colour without X8R8G8B8 modes", 1, 0, FALSE, true, all, D3DFMT_R5G6B5, D3DFMT_D32},
        {"a window takes the desktop's", 0, 0, TRUE, false, all, D3DFMT_X8R8G8B8, D3DFMT_D32},
        {"the stored depth when offered", 0, 77, FALSE, false, all, D3DFMT_R5G6B5, D3DFMT_D24X8},
        {"a refused stored depth falls to D32", 0, 77, FALSE, false, {D3DFMT_D16, D3DFMT_D32},
         D3DFMT_R5G6B5, D3DFMT_D32},
        {"then to D24X8", 0, 80, FALSE, false, {D3DFMT_D24X8}, D3DFMT_R5G6B5, D3DFMT_D24X8},
        {"then to D16 unchecked", 0, 71, FALSE, false, {}, D3DFMT_R5G6B5, D3DFMT_D16},
    };
    // clang-format on
    for (const Case& c : cases) {
        offered = c.depths;
        noFullScreen32 = c.noFullScreen32;
        DisplayFixture fixture({{"Fullcolor", c.fullColour}, {"DepthFormat", c.depthFormat}},
                               [](d3d9_test::AdapterTable* t) {
                                   t->depthFormats = offered;
                                   if (noFullScreen32) {
                                       std::erase_if(t->modes, [](const D3DDISPLAYMODE& m) {
                                           return m.Format == D3DFMT_X8R8G8B8;
                                       });
                                   }
                               });
        DisplaySettings.Windowed = c.windowed;
        ChooseSurfaceFormats();
        EXPECT_EQ(DisplaySettings.BackBufferFormat, c.format) << c.name;
        EXPECT_EQ(DisplaySettings.AutoDepthStencilFormat, c.depth) << c.name;
    }
    DisplayFixture fixture({{"DepthFormat", 77}}, nullptr);
    DisplaySettings.EnableAutoDepthStencil = FALSE;
    DisplaySettings.AutoDepthStencilFormat = D3DFMT_UNKNOWN;
    ChooseSurfaceFormats();
    EXPECT_EQ(DisplaySettings.AutoDepthStencilFormat, D3DFMT_UNKNOWN)
        << "without the automatic depth buffer no depth format is chosen";
}

}  // namespace
