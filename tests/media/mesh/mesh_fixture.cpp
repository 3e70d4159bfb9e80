#include "mesh_fixture.h"

#include <fstream>
#include <iterator>

#include "media/sound/direct_sound.h"
#include "media/sound/sound_test_support.h"
#include "platform/dsound/dsound_test.h"
#include "platform/win32/window_api.h"

namespace mesh_tests {

void MeshTest::TearDown() {
    EXPECT_TRUE(ObjectList().empty()) << ObjectList().size() << " objects left";
    EXPECT_TRUE(MeshList().empty()) << MeshList().size() << " meshes left";
    ReleaseAllMeshesAndObjects();
    GraphicsTest::TearDown();
    if (window_ != nullptr) {
        DestroyDirectSound();
        DestroyWindow(window_);
        UnregisterClassA("MeshTestGame", nullptr);
        dsound_test::UseNullDevice(false);
    }
}

std::string MeshTest::CopyFixture(const std::string& name) {
    std::ifstream in(std::string(QVN_FIXTURE_DIR) + "/mesh/" + name, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    dir_->writeFile("data/" + name, bytes);
    return WinPath("data\\" + name);
}

std::string MeshTest::WriteModel(const std::string& name, const std::string& body) {
    dir_->writeFile("data/" + name, "xof 0303txt 0032\n" + body);
    return WinPath("data\\" + name);
}

void MeshTest::Set3DStates(bool lighting) {
    IDirect3DDevice9* d = device();
    d->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    d->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    d->SetRenderState(D3DRS_LIGHTING, lighting ? TRUE : FALSE);
    d->SetRenderState(D3DRS_AMBIENT, 0xFF303030u);
    d->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    d->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    d->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
    d->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    light.Ambient = {0.1f, 0.1f, 0.1f, 1.0f};
    light.Direction = {0.5f, -0.6f, 0.62f};
    d->SetLight(0, &light);
    d->LightEnable(0, TRUE);
}

void MeshTest::BeginCell(int column, int row, int width, int height, D3DCOLOR background) {
    const D3DVIEWPORT9 viewport{static_cast<DWORD>(column * width),
                                static_cast<DWORD>(row * height),
                                static_cast<DWORD>(width),
                                static_cast<DWORD>(height),
                                0.0f,
                                1.0f};
    device()->SetViewport(&viewport);
    device()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, background, 1.0f, 0);
}

void MeshTest::SetCamera(float eyeX, float eyeY, float eyeZ) {
    D3DVIEWPORT9 viewport{};
    device()->GetViewport(&viewport);
    const D3DXVECTOR3 eye{eyeX, eyeY, eyeZ};
    const D3DXVECTOR3 at{0.0f, 0.0f, 0.0f};
    const D3DXVECTOR3 up{0.0f, 1.0f, 0.0f};
    D3DXMATRIX view;
    D3DXMATRIX projection;
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 4,
                               static_cast<float>(viewport.Width) / viewport.Height, 0.5f, 50.0f);
    D3DApp->SetTransform(D3DTS_VIEW, &view);
    D3DApp->SetTransform(D3DTS_PROJECTION, &projection);
}

void MeshTest::StartSound() {
    dsound_test::UseNullDevice(true);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "MeshTestGame";
    RegisterClassExA(&windowClass);
    window_ = CreateWindowExA(0, "MeshTestGame", "game", 0, 0, 0, 800, 600, nullptr, nullptr,
                              nullptr, nullptr);
    ASSERT_NE(window_, nullptr);
    ASSERT_EQ(CreateDirectSound(window_, nullptr), S_OK);
    const auto silence = qvn::test::WaveFile(std::vector<std::uint8_t>(44100 * 4, 0));
    for (const char* name : {"sound/se001.wav", "sound/se002.wav", "sound/se003.wav"}) {
        dir_->writeFile(name, silence);
    }
}

}  // namespace mesh_tests
