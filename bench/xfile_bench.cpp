// Reading a text X file of 1 MiB (a grid mesh with normals, texture coordinates and two
// materials) into a mesh; bytes are those of the file.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/d3d9_test.h"
#include "platform/d3dx/xfile_load.h"

namespace {

// A grid of `side` x `side` vertices, padded with comment lines to `bytes` bytes when shorter.
std::string GridFile(int side, std::size_t bytes) {
    std::string x = "xof 0303txt 0032\nMesh Grid {\n" + std::to_string(side * side) + ";\n";
    char line[160];
    for (int j = 0; j < side; ++j) {
        for (int i = 0; i < side; ++i) {
            std::snprintf(line, sizeof line, "%.6f; %.6f; %.6f;,\n", i * 0.173205, j * 0.141421,
                          (i * j % 17) * 0.0123457);
            x += line;
        }
    }
    const int quads = (side - 1) * (side - 1);
    // The faces, and the normals' faces: the same quads.
    auto appendQuads = [&] {
        x += std::to_string(quads) + ";\n";
        for (int j = 0; j + 1 < side; ++j) {
            for (int i = 0; i + 1 < side; ++i) {
                const int a = j * side + i;
                std::snprintf(line, sizeof line, "4; %d, %d, %d, %d;,\n", a, a + side, a + side + 1,
                              a + 1);
                x += line;
            }
        }
    };
    appendQuads();
    x += "MeshNormals {\n" + std::to_string(side * side) + ";\n";
    for (int v = 0; v < side * side; ++v) {
        std::snprintf(line, sizeof line, "%.6f; %.6f; %.6f;,\n", 0.0, (v % 7) * 0.01, -1.0);
        x += line;
    }
    appendQuads();
    x += "}\nMeshTextureCoords {\n" + std::to_string(side * side) + ";\n";
    for (int v = 0; v < side * side; ++v) {
        std::snprintf(line, sizeof line, "%.6f; %.6f;,\n", (v % side) / double(side),
                      (v / side) / double(side));
        x += line;
    }
    x += "}\nMeshMaterialList { 2; " + std::to_string(quads) + ";\n";
    for (int q = 0; q < quads; ++q) {
        x += q % 3 == 0 ? "1,\n" : "0,\n";
    }
    x += "; Material { 1;1;1;1;; 8; 0;0;0;; 0;0;0;; TextureFilename { \"grid.png\"; } }\n"
         "Material { 0.5;0.5;0.5;1;; 8; 0;0;0;; 0;0;0;; } }\n}\n";
    while (x.size() + 40 < bytes) {
        x += "// padding to the size of the benchmark\n";
    }
    if (x.size() + 1 < bytes) {
        x.append(bytes - x.size() - 1, '/');
        x += "\n";
    }
    return x;
}

void BM_LoadXFile(benchmark::State& state) {
    constexpr std::size_t kBytes = 1 << 20;
    // The largest grid that fits, padded up to the size.
    int side = 100;
    while (GridFile(side, 0).size() >= kBytes) {
        --side;
    }
    const std::string file = GridFile(side, kBytes);
    d3d9_test::SetAdapterTable(d3d9_test::DefaultAdapterTable());
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    static int window;
    D3DPRESENT_PARAMETERS pp{};
    pp.BackBufferWidth = 64;
    pp.BackBufferHeight = 64;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.hDeviceWindow = reinterpret_cast<HWND>(&window);
    pp.Windowed = TRUE;
    IDirect3DDevice9* device = nullptr;
    d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, pp.hDeviceWindow,
                      D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, &device);
    for (auto _ : state) {
        ID3DXMesh* mesh = nullptr;
        ID3DXBuffer* materials = nullptr;
        if (FAILED(D3DXLoadMeshFromXInMemory(file.data(), static_cast<DWORD>(file.size()),
                                             D3DXMESH_MANAGED, device, nullptr, &materials, nullptr,
                                             nullptr, &mesh))) {
            state.SkipWithError(d3dx::LastXFileError());
            break;
        }
        benchmark::DoNotOptimize(mesh->GetNumFaces());
        mesh->Release();
        materials->Release();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
    device->Release();
    d3d->Release();
}
BENCHMARK(BM_LoadXFile)->Unit(benchmark::kMillisecond);

}  // namespace
