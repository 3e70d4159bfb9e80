// A skinned tube of 10,000 triangles (two bones, a texture, one directional light, the depth
// buffer) advanced by one frame and drawn at 800 x 600 through D3DObject; items are triangles.
// The same tube drawn unskinned and unlit is the reference in the same run.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "foundation/log.h"
#include "foundation/path.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/d3d_functions.h"
#include "media/mesh/object.h"
#include "platform/d3dx/png_encode.h"
#include "platform/winbase/test_hooks.h"

namespace {

constexpr int kSegments = 50;
constexpr int kRings = 101;  // 2 x 50 x 100 = 10,000 triangles
constexpr int kTriangles = 2 * kSegments * (kRings - 1);
constexpr float kRadius = 1.8f;
constexpr float kHeight = 6.0f;

void AppendMatrix(std::string* out, float ty) {
    char text[160];
    std::snprintf(text, sizeof text, "1;0;0;0; 0;1;0;0; 0;0;1;0; 0;%g;0;1;;\n", ty);
    *out += text;
}

// The tube as a text X file: frames Lower (at the foot) and Upper (half way up), the lower
// half weighted to Lower, the upper to Upper, a band between them to both; one animation set.
std::string TubeFile(bool skinned) {
    std::string x =
        "xof 0303txt 0032\nAnimTicksPerSecond { 100; }\nFrame Lower {\n"
        "FrameTransformMatrix { ";
    AppendMatrix(&x, 0.0f);
    x += "}\nFrame Upper { FrameTransformMatrix { ";
    AppendMatrix(&x, kHeight / 2);
    x += "} }\nMesh Tube {\n";
    char line[160];
    const int vertices = kSegments * kRings;
    x += std::to_string(vertices) + ";\n";
    for (int r = 0; r < kRings; ++r) {
        for (int s = 0; s < kSegments; ++s) {
            const float angle = 6.2831853f * s / kSegments;
            std::snprintf(line, sizeof line, "%.4f;%.4f;%.4f;,\n", kRadius * std::cos(angle),
                          kHeight * r / (kRings - 1), kRadius * std::sin(angle));
            x += line;
        }
    }
    x += std::to_string(kSegments * (kRings - 1)) + ";\n";
    for (int r = 0; r + 1 < kRings; ++r) {
        for (int s = 0; s < kSegments; ++s) {
            const int a = r * kSegments + s;
            const int b = r * kSegments + (s + 1) % kSegments;
            // Clockwise seen from outside.
            std::snprintf(line, sizeof line, "4;%d,%d,%d,%d;,\n", a, a + kSegments, b + kSegments,
                          b);
            x += line;
        }
    }
    x += "MeshNormals {\n" + std::to_string(kSegments) + ";\n";
    for (int s = 0; s < kSegments; ++s) {
        const float angle = 6.2831853f * s / kSegments;
        std::snprintf(line, sizeof line, "%.4f;0;%.4f;,\n", std::cos(angle), std::sin(angle));
        x += line;
    }
    x += std::to_string(kSegments * (kRings - 1)) + ";\n";
    for (int r = 0; r + 1 < kRings; ++r) {
        for (int s = 0; s < kSegments; ++s) {
            const int next = (s + 1) % kSegments;
            std::snprintf(line, sizeof line, "4;%d,%d,%d,%d;,\n", s, s, next, next);
            x += line;
        }
    }
    x += "}\nMeshTextureCoords {\n" + std::to_string(vertices) + ";\n";
    for (int r = 0; r < kRings; ++r) {
        for (int s = 0; s < kSegments; ++s) {
            std::snprintf(line, sizeof line, "%.4f;%.4f;,\n", 4.0f * s / kSegments,
                          8.0f * r / (kRings - 1));
            x += line;
        }
    }
    x += "}\nMeshMaterialList { 1; 1; 0;; Material { 1;1;1;1;; 10; 0;0;0;; 0;0;0;; "
         "TextureFilename { \"tube.png\"; } } }\n";
    if (skinned) {
        for (int bone = 0; bone < 2; ++bone) {
            std::string indices;
            std::string weights;
            int count = 0;
            for (int v = 0; v < vertices; ++v) {
                const float y = kHeight * static_cast<float>(v / kSegments) / (kRings - 1);
                const float upper = std::fmin(1.0f, std::fmax(0.0f, (y - 2.5f) / 1.0f));
                const float weight = bone == 0 ? 1.0f - upper : upper;
                if (weight > 0.0f) {
                    std::snprintf(line, sizeof line, "%s%d", count > 0 ? "," : "", v);
                    indices += line;
                    std::snprintf(line, sizeof line, "%s%.3f", count > 0 ? "," : "", weight);
                    weights += line;
                    ++count;
                }
            }
            x += std::string("SkinWeights { \"") + (bone == 0 ? "Lower" : "Upper") + "\"; " +
                 std::to_string(count) + "; " + indices + "; " + weights + "; ";
            AppendMatrix(&x, bone == 0 ? 0.0f : -kHeight / 2);
            x += "}\n";
        }
    }
    x += "}\n}\nAnimationSet swing {\n"
         "Animation { { Upper } AnimationKey { 0; 3; 0;4;1,0,0,0;;, 50;4;0.94,0,0,0.34;;, "
         "100;4;1,0,0,0;;; } }\n"
         "Animation { { Lower } AnimationKey { 0; 3; 0;4;1,0,0,0;;, 50;4;0.98,0,0.2,0;;, "
         "100;4;1,0,0,0;;; } }\n}\n";
    return x;
}

// One program directory for the run, holding both tubes and their texture; removed at exit.
const std::string& ProgramDir() {
    static const std::string dir = [] {
        char pattern[] = "/tmp/qvn-mesh-bench-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            std::abort();
        }
        win32_test::SetProgramDirectory(pattern);
        SetLogEnabled(0);
        std::ofstream(std::string(pattern) + "/skinned.x") << TubeFile(true);
        std::ofstream(std::string(pattern) + "/static.x") << TubeFile(false);
        std::vector<std::uint32_t> texels(64 * 64);
        for (int i = 0; i < 64 * 64; ++i) {
            texels[i] = ((i / 64 / 8 + i % 64 / 8) % 2) != 0 ? 0xFFE0C060u : 0xFF4060B0u;
        }
        const std::vector<std::uint8_t> png = d3dx::EncodeArgbAsPng(64, 64, texels.data(), 64);
        std::ofstream(std::string(pattern) + "/tube.png", std::ios::binary)
            .write(reinterpret_cast<const char*>(png.data()),
                   static_cast<std::streamsize>(png.size()));
        return std::string(pattern);
    }();
    static const int removal = std::atexit([] { (void)std::system(("rm -rf " + dir).c_str()); });
    (void)removal;
    return dir;
}

class TubeScene {
public:
    explicit TubeScene(bool skinned) {
        ProgramDir();
        CreateD3DApplication();
        static int window;
        D3DPRESENT_PARAMETERS pp{};
        pp.BackBufferWidth = 800;
        pp.BackBufferHeight = 600;
        pp.BackBufferFormat = D3DFMT_X8R8G8B8;
        pp.BackBufferCount = 1;
        pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
        pp.hDeviceWindow = reinterpret_cast<HWND>(&window);
        pp.Windowed = TRUE;
        pp.EnableAutoDepthStencil = TRUE;
        pp.AutoDepthStencilFormat = D3DFMT_D16;
        pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        D3DApp->SetDevice(pp.hDeviceWindow, &pp, 0, D3DDEVTYPE_HAL, 0x44);
        IDirect3DDevice9* device = CurrentDevice();
        device->SetRenderState(D3DRS_LIGHTING, skinned ? TRUE : FALSE);
        device->SetRenderState(D3DRS_AMBIENT, 0xFF303030u);
        device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
        device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
        D3DLIGHT9 light{};
        light.Type = D3DLIGHT_DIRECTIONAL;
        light.Diffuse = {1, 1, 1, 1};
        light.Direction = {0.4f, -0.3f, 0.86f};
        device->SetLight(0, &light);
        device->LightEnable(0, TRUE);
        const D3DXVECTOR3 eye{0.0f, 3.0f, -8.0f};
        const D3DXVECTOR3 at{0.0f, 3.0f, 0.0f};
        const D3DXVECTOR3 up{0.0f, 1.0f, 0.0f};
        D3DXMATRIX view;
        D3DXMATRIX projection;
        D3DXMatrixLookAtLH(&view, &eye, &at, &up);
        D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 4, 800.0f / 600.0f, 0.5f, 50.0f);
        D3DApp->SetTransform(D3DTS_VIEW, &view);
        D3DApp->SetTransform(D3DTS_PROJECTION, &projection);
        const std::string path =
            std::string(GetProgramDir()) + (skinned ? "skinned.x" : "static.x");
        CreateObject(path.c_str(), &object_, D3DXMESH_MANAGED);
        object_->SetAnimation(0u, 0.0);
    }

    ~TubeScene() {
        object_->Release();
        DestroyD3DApplication();
    }

    void Frame() {
        object_->AdvanceTime(1.0 / 60.0);
        CurrentDevice()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF202830u, 1.0f,
                               0);
        object_->Render(0);
    }

    bool loaded() const { return object_ != nullptr && object_->rootFrame != nullptr; }

private:
    D3DObject* object_ = nullptr;
};

void DrawTube(benchmark::State& state, bool skinned) {
    TubeScene scene(skinned);
    if (!scene.loaded()) {
        state.SkipWithError("the tube did not load");
        return;
    }
    for (auto _ : state) {
        scene.Frame();
    }
    state.SetItemsProcessed(state.iterations() * kTriangles);
}

void BM_SkinnedMesh10k(benchmark::State& state) {
    DrawTube(state, true);
}
BENCHMARK(BM_SkinnedMesh10k)->Unit(benchmark::kMillisecond);

void BM_StaticUnlitMesh10kReference(benchmark::State& state) {
    DrawTube(state, false);
}
BENCHMARK(BM_StaticUnlitMesh10kReference)->Unit(benchmark::kMillisecond);

}  // namespace
