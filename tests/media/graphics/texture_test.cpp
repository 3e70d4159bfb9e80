// Textures: the share rules, format fallback, quad placement, backup and restore, loads.

#include "media/graphics/texture.h"
#include "graphics_fixture.h"
#include "media/graphics/d3d_functions.h"

namespace graphics_tests {
namespace {

std::vector<std::uint32_t> Solid(int w, int h, std::uint32_t argb) {
    return MakeImage(w, h, [argb](int, int) { return argb; });
}

class TextureTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        StartDevice(160, 120);
        opaque_ = WriteImage("opaque.png", 16, 8, Solid(16, 8, 0xFF336699u));
    }

    D3DTexture* Load(const std::string& path, DWORD flags = 0, D3DFORMAT format = D3DFMT_UNKNOWN,
                     DWORD filter = D3DX_FILTER_NONE) {
        D3DTexture* texture = nullptr;
        const HRESULT hr =
            D3D_LoadTexture(path.c_str(), &texture, flags, 0, format, D3DPOOL_MANAGED, filter);
        EXPECT_EQ(hr, D3D_OK) << path;
        return texture;
    }

    std::string opaque_;
};

TEST_F(TextureTest, ShareRules) {
    D3DTexture* first = Load(opaque_);
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(first->GetName(nullptr), "opaque.png");

    std::string upper = opaque_;
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    const struct {
        const char* label;
        std::string path;
        DWORD flags;
        D3DFORMAT format;
        DWORD filter;
        bool shared;
    } cases[] = {
        {"same path", opaque_, 0, D3DFMT_UNKNOWN, D3DX_FILTER_NONE, true},
        {"other case", upper, 0, D3DFMT_UNKNOWN, D3DX_FILTER_NONE, true},
        {"same format", opaque_, 0, first->format, D3DX_FILTER_NONE, true},
        {"private", opaque_, kTexturePrivate, D3DFMT_UNKNOWN, D3DX_FILTER_NONE, false},
        {"other format", opaque_, 0, D3DFMT_R5G6B5, D3DX_FILTER_NONE, false},
        {"other filter", opaque_, 0, D3DFMT_UNKNOWN, D3DX_FILTER_LINEAR, false},
    };
    for (const auto& c : cases) {
        D3DTexture* second = Load(c.path, c.flags, c.format, c.filter);
        ASSERT_NE(second, nullptr) << c.label;
        EXPECT_EQ(second == first, c.shared) << c.label;
        if (c.shared) {
            EXPECT_EQ(first->refCount, 2u) << c.label;
        }
        second->Release();
    }
    // A privately loaded texture is never handed to a later load.
    D3DTexture* mine = Load(opaque_, kTexturePrivate);
    first->Release();
    D3DTexture* again = Load(opaque_);
    EXPECT_NE(again, mine);
    again->Release();
    mine->Release();
}

TEST_F(TextureTest, AFailedLoadIsReportedAndNeverShared) {
    const std::string missing = WinPath("bmp\\missing.png");
    D3DTexture* failed = nullptr;
    EXPECT_EQ(D3D_LoadTexture(missing.c_str(), &failed, 0, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED,
                              D3DX_FILTER_NONE),
              E_FAIL);
    ASSERT_NE(failed, nullptr);
    EXPECT_EQ(CountLogLines("D3DTexture::Create(file): E_FAIL"), 1);

    // The same name written later loads for real instead of returning the empty object.
    WriteImage("missing.png", 4, 4, Solid(4, 4, 0xFFFFFFFFu));
    D3DTexture* loaded = Load(missing);
    EXPECT_NE(loaded, failed);
    EXPECT_NE(loaded->texture, nullptr);
    loaded->Release();
    failed->Release();

    dir_->writeFile("bmp/damaged.png", std::string("\x89PNG\r\n\x1a\n broken", 16));
    D3DTexture* damaged = nullptr;
    EXPECT_TRUE(FAILED(D3D_LoadTexture(WinPath("bmp\\damaged.png").c_str(), &damaged, 0, 0,
                                       D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_FILTER_NONE)));
    ASSERT_NE(damaged, nullptr);
    EXPECT_EQ(damaged->texture, nullptr);
    damaged->Release();
}

TEST_F(TextureTest, FormatFallsBackWhenTheDeviceLacksIt) {
    const std::string alpha = WriteImage("alpha.png", 4, 4, Solid(4, 4, 0x80FF0000u));
    d3d9_test::AdapterTable table = d3d9_test::DefaultAdapterTable();
    table.textureFormats = {D3DFMT_A4R4G4B4, D3DFMT_X8R8G8B8, D3DFMT_R5G6B5};
    d3d9_test::SetAdapterTable(table);
    D3DTexture* texture = Load(alpha);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->format, D3DFMT_A4R4G4B4);
    texture->Release();

    table.textureFormats = {D3DFMT_A8R8G8B8};
    d3d9_test::SetAdapterTable(table);
    D3DTexture* refused = nullptr;
    // An opaque request tries X8R8G8B8 and R5G6B5 only, then fails.
    EXPECT_TRUE(FAILED(D3D_LoadTexture(opaque_.c_str(), &refused, kTexturePrivate, 0,
                                       D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, D3DX_FILTER_NONE)));
    ASSERT_NE(refused, nullptr);
    EXPECT_EQ(refused->texture, nullptr);
    refused->Release();
}

TEST_F(TextureTest, DrawAtPlacesTheImageOnWholePixels) {
    const std::string white = WriteImage("white.png", 100, 50, Solid(100, 50, 0xFFFFFFFFu));
    D3DTexture* texture = Load(white);
    device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    ASSERT_EQ(texture->DrawAt(10, 20, nullptr, 0xFFFFFFFFu), D3D_OK);
    const auto pixels = ReadTarget();
    auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>(y) * width_ + x]; };
    EXPECT_EQ(at(10, 20), 0xFFFFFFFFu);
    EXPECT_EQ(at(109, 69), 0xFFFFFFFFu);
    EXPECT_EQ(at(9, 20), 0xFF000000u);
    EXPECT_EQ(at(10, 19), 0xFF000000u);
    EXPECT_EQ(at(110, 69), 0xFF000000u);
    EXPECT_EQ(at(109, 70), 0xFF000000u);
    texture->Release();
}

TEST_F(TextureTest, BackupAndRestore) {
    D3DTexture* target = nullptr;
    ASSERT_EQ(
        D3D_CreateTexture(&target, 8, 8, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT),
        D3D_OK);
    EXPECT_EQ(target->flags & kTexturePrivate, kTexturePrivate);
    ASSERT_EQ(target->ColorFill(nullptr, 0xFF00FF00u), D3D_OK);

    // Never backed up: a restore after release gives opaque black.
    target->texture->Release();
    target->texture = nullptr;
    ASSERT_EQ(target->Restore(nullptr), D3D_OK);
    ASSERT_EQ(D3D_SetRenderTarget(target), D3D_OK);
    EXPECT_EQ(ReadTarget()[0], 0xFF000000u);

    ASSERT_EQ(target->ColorFill(nullptr, 0xFF00FF00u), D3D_OK);
    ASSERT_EQ(target->Backup(nullptr), D3D_OK);
    ASSERT_NE(target->backup, nullptr);
    IDirect3DTexture9* copy = nullptr;
    ASSERT_EQ(target->Backup(&copy), D3D_OK);
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(target->ColorFill(nullptr, 0xFFFF0000u), D3D_OK);
    ASSERT_EQ(target->Restore(nullptr), D3D_OK);
    EXPECT_EQ(ReadTarget()[0], 0xFF00FF00u);
    ASSERT_EQ(target->ColorFill(nullptr, 0xFFFF0000u), D3D_OK);
    ASSERT_EQ(target->Restore(copy), D3D_OK);
    EXPECT_EQ(ReadTarget()[0], 0xFF00FF00u);
    copy->Release();
    ASSERT_EQ(D3D_SetRenderTarget(nullptr), D3D_OK);
    target->Release();
}

TEST_F(TextureTest, LoadAtPastesAndCutsAtTheEdges) {
    D3DTexture* canvas = nullptr;
    ASSERT_EQ(D3D_CreateTexture(&canvas, 16, 16, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED), D3D_OK);
    const std::string red = WriteImage("red.png", 8, 8, Solid(8, 8, 0xFFFF0000u));
    EXPECT_EQ(canvas->LoadAt(red.c_str(), 12, -4), D3D_OK);
    EXPECT_EQ(canvas->LoadAt(red.c_str(), 40, 40), D3D_OK);
    EXPECT_EQ(canvas->LoadAt(WinPath("bmp\\none.png").c_str(), 0, 0), E_FAIL);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(canvas->texture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    auto at = [&](int x, int y) {
        return static_cast<const std::uint32_t*>(
            locked.pBits)[static_cast<std::size_t>(y) * (locked.Pitch / 4) + x];
    };
    EXPECT_EQ(at(12, 0), 0xFFFF0000u);
    EXPECT_EQ(at(15, 3), 0xFFFF0000u);
    EXPECT_EQ(at(11, 0), 0u);
    EXPECT_EQ(at(12, 4), 0u);
    canvas->texture->UnlockRect(0);
    canvas->Release();
}

TEST_F(TextureTest, FactoriesNeedADevice) {
    DestroyD3DApplication();
    D3DTexture* texture = nullptr;
    EXPECT_EQ(D3D_CreateTexture(&texture, 4, 4, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED), E_FAIL);
    EXPECT_EQ(D3D_LoadTexture(opaque_.c_str(), &texture, 0, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED,
                              D3DX_FILTER_NONE),
              E_FAIL);
    EXPECT_EQ(texture, nullptr);
}

}  // namespace
}  // namespace graphics_tests
