// The X-file reader: the text and binary encodings give the same meshes and hierarchies,
// polygons become fans, normals split vertices and carry the skin weights along, user data and
// unknown templates reach the loader, and malformed files are refused with a reason.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "foundation/byte_writer.h"
#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/d3d9_test.h"
#include "platform/d3dx/xfile_load.h"

namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
}

std::vector<std::uint8_t> MeshFixture(const std::string& name) {
    return ReadFile(std::string(QVN_FIXTURE_DIR) + "/mesh/" + name);
}

std::vector<std::uint8_t> Text(const std::string& body) {
    const std::string file = "xof 0303txt 0032\n" + body;
    return std::vector<std::uint8_t>(file.begin(), file.end());
}

HWND TestWindow() {
    static int anchor;
    return reinterpret_cast<HWND>(&anchor);
}

// Frames and containers as plain records; every user data object is noted.
class Recorder final : public ID3DXAllocateHierarchy, public ID3DXLoadUserData {
public:
    HRESULT CreateFrame(LPCSTR name, D3DXFRAME** frame) override {
        auto* made = new D3DXFRAME{};
        made->Name = name != nullptr ? strdup(name) : nullptr;
        D3DXMatrixIdentity(&made->TransformationMatrix);
        *frame = made;
        ++frames;
        return S_OK;
    }
    HRESULT CreateMeshContainer(LPCSTR name, const D3DXMESHDATA* data,
                                const D3DXMATERIAL* materials, const D3DXEFFECTINSTANCE*,
                                DWORD count, const DWORD*, ID3DXSkinInfo* skin,
                                D3DXMESHCONTAINER** container) override {
        auto* made = new D3DXMESHCONTAINER{};
        made->Name = name != nullptr ? strdup(name) : nullptr;
        made->MeshData = *data;
        data->pMesh->AddRef();
        made->NumMaterials = count;
        for (DWORD i = 0; i < count; ++i) {
            textures.push_back(
                materials[i].pTextureFilename != nullptr ? materials[i].pTextureFilename : "");
        }
        made->pSkinInfo = skin;
        if (skin != nullptr) {
            skin->AddRef();
        }
        *container = made;
        ++containers;
        return S_OK;
    }
    HRESULT DestroyFrame(D3DXFRAME* frame) override {
        free(frame->Name);
        delete frame;
        --frames;
        return S_OK;
    }
    HRESULT DestroyMeshContainer(D3DXMESHCONTAINER* container) override {
        free(container->Name);
        container->MeshData.pMesh->Release();
        if (container->pSkinInfo != nullptr) {
            container->pSkinInfo->Release();
        }
        delete container;
        --containers;
        return S_OK;
    }
    HRESULT LoadTopLevelData(ID3DXFileData* data) override {
        SIZE_T size = 0;
        LPCVOID bytes = nullptr;
        data->Lock(&size, &bytes);
        GUID type{};
        data->GetType(&type);
        topLevel.push_back({type.Data1, std::vector<std::uint8_t>(
                                            static_cast<const std::uint8_t*>(bytes),
                                            static_cast<const std::uint8_t*>(bytes) + size)});
        return refuse;
    }
    HRESULT LoadFrameChildData(D3DXFRAME*, ID3DXFileData*) override { return S_OK; }
    HRESULT LoadMeshChildData(D3DXMESHCONTAINER*, ID3DXFileData*) override { return S_OK; }

    struct Data {
        DWORD typeStart;
        std::vector<std::uint8_t> bytes;
    };
    int frames = 0;
    int containers = 0;
    HRESULT refuse = S_OK;
    std::vector<std::string> textures;
    std::vector<Data> topLevel;
};

class XFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        d3d9_test::SetAdapterTable(d3d9_test::DefaultAdapterTable());
        d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
        D3DPRESENT_PARAMETERS pp{};
        pp.BackBufferWidth = 16;
        pp.BackBufferHeight = 16;
        pp.BackBufferFormat = D3DFMT_X8R8G8B8;
        pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
        pp.hDeviceWindow = TestWindow();
        pp.Windowed = TRUE;
        ASSERT_EQ(d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, TestWindow(),
                                     D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, &device_),
                  S_OK);
    }
    void TearDown() override {
        device_->Release();
        d3d_->Release();
        d3d9_test::ResetAdapterTable();
    }

    HRESULT LoadMesh(const std::vector<std::uint8_t>& file, ID3DXMesh** mesh,
                     std::vector<std::string>* textures = nullptr) {
        ID3DXBuffer* materials = nullptr;
        DWORD count = 0;
        const HRESULT hr = D3DXLoadMeshFromXInMemory(file.data(), static_cast<DWORD>(file.size()),
                                                     D3DXMESH_MANAGED, device_, nullptr, &materials,
                                                     nullptr, &count, mesh);
        if (SUCCEEDED(hr)) {
            const auto* entries = static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer());
            for (DWORD i = 0; textures != nullptr && i < count; ++i) {
                textures->push_back(entries[i].pTextureFilename != nullptr
                                        ? entries[i].pTextureFilename
                                        : "(none)");
            }
            materials->Release();
        }
        return hr;
    }

    static std::vector<std::uint8_t> Vertices(ID3DXMesh* mesh) {
        void* data = nullptr;
        mesh->LockVertexBuffer(D3DLOCK_READONLY, &data);
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        std::vector<std::uint8_t> copy(
            bytes, bytes + mesh->GetNumVertices() * mesh->GetNumBytesPerVertex());
        mesh->UnlockVertexBuffer();
        return copy;
    }

    static std::vector<std::uint32_t> Indices(ID3DXMesh* mesh) {
        void* data = nullptr;
        mesh->LockIndexBuffer(D3DLOCK_READONLY, &data);
        std::vector<std::uint32_t> indices(mesh->GetNumFaces() * 3);
        for (std::size_t i = 0; i < indices.size(); ++i) {
            std::uint16_t narrow;
            std::memcpy(&narrow, static_cast<const std::uint8_t*>(data) + i * 2, 2);
            indices[i] = narrow;
        }
        mesh->UnlockIndexBuffer();
        return indices;
    }

    IDirect3D9* d3d_ = nullptr;
    IDirect3DDevice9* device_ = nullptr;
};

TEST_F(XFileTest, TextAndBinaryCubesAreTheSameMesh) {
    ID3DXMesh* text = nullptr;
    ID3DXMesh* binary = nullptr;
    std::vector<std::string> textures;
    ASSERT_EQ(LoadMesh(MeshFixture("cube.x"), &text, &textures), S_OK) << d3dx::LastXFileError();
    ASSERT_EQ(LoadMesh(MeshFixture("cube_bin.x"), &binary), S_OK) << d3dx::LastXFileError();
    EXPECT_EQ(text->GetFVF(), D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    EXPECT_EQ(text->GetNumVertices(), 24u);
    EXPECT_EQ(text->GetNumFaces(), 12u);
    EXPECT_EQ(textures, (std::vector<std::string>{"cube.png", "(none)"}));
    EXPECT_EQ(Vertices(text), Vertices(binary));
    EXPECT_EQ(Indices(text), Indices(binary));
    // The four textured sides first, then top and bottom: one attribute range each.
    D3DXATTRIBUTERANGE table[4];
    DWORD size = 4;
    ASSERT_EQ(text->GetAttributeTable(table, &size), S_OK);
    ASSERT_EQ(size, 2u);
    EXPECT_EQ(table[0].AttribId, 0u);
    EXPECT_EQ(table[0].FaceStart, 0u);
    EXPECT_EQ(table[0].FaceCount, 8u);
    EXPECT_EQ(table[0].VertexStart, 0u);
    EXPECT_EQ(table[0].VertexCount, 16u);
    EXPECT_EQ(table[1].AttribId, 1u);
    EXPECT_EQ(table[1].FaceStart, 8u);
    EXPECT_EQ(table[1].VertexStart, 16u);
    // A quad (3, 2, 1, 0) becomes the fan (3, 2, 1), (3, 1, 0).
    const std::vector<std::uint32_t> indices = Indices(text);
    EXPECT_EQ(std::vector<std::uint32_t>(indices.begin(), indices.begin() + 6),
              (std::vector<std::uint32_t>{3, 2, 1, 3, 1, 0}));
    text->Release();
    binary->Release();
}

TEST_F(XFileTest, NormalsSplitSharedCornersAndSkinWeightsFollow) {
    // Two triangles share the edge 1-2, each with its own face normal: corners 1 and 2 are
    // copied for the second face, and a weight on position 2 moves both of its vertices.
    const auto file = Text(R"(
        Frame Bone { }
        Frame Holder { Mesh Pair {
            4; 0.0; 0.0; 0.0;, 1.0; 0.0; 0.0;, 0.0; 1.0; 0.0;, 1.0; 1.0; 0.0;;
            2; 3; 0, 2, 1;, 3; 1, 2, 3;;
            MeshNormals { 2; 0.0; 0.0; -1.0;, 0.0; 0.0; 1.0;;
                          2; 3; 0, 0, 0;, 3; 1, 1, 1;; }
            SkinWeights { "Bone"; 1; 2; 0.75;
                          1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0,
                          0.0, 0.0, 0.0, 1.0;; }
        } }
    )");
    Recorder recorder;
    D3DXFRAME* root = nullptr;
    ASSERT_EQ(D3DXLoadMeshHierarchyFromXInMemory(file.data(), static_cast<DWORD>(file.size()),
                                                 D3DXMESH_MANAGED, device_, &recorder, nullptr,
                                                 &root, nullptr),
              S_OK)
        << d3dx::LastXFileError();
    const D3DXFRAME* holder = D3DXFrameFind(root, "Holder");
    ASSERT_NE(holder, nullptr);
    ASSERT_NE(holder->pMeshContainer, nullptr);
    ID3DXMesh* mesh = holder->pMeshContainer->MeshData.pMesh;
    EXPECT_EQ(mesh->GetNumVertices(), 6u);
    EXPECT_EQ(Indices(mesh), (std::vector<std::uint32_t>{0, 2, 1, 4, 5, 3}));
    ID3DXSkinInfo* skin = holder->pMeshContainer->pSkinInfo;
    ASSERT_NE(skin, nullptr);
    ASSERT_EQ(skin->GetNumBoneInfluences(0), 2u);
    DWORD vertices[2];
    float weights[2];
    skin->GetBoneInfluence(0, vertices, weights);
    EXPECT_EQ(vertices[0], 2u);
    EXPECT_EQ(vertices[1], 5u);
    EXPECT_EQ(weights[1], 0.75f);
    // Skinning with the bone 3 units along x moves both copies by 0.75 x 3 and leaves the rest.
    D3DXMATRIX move;
    D3DXMatrixTranslation(&move, 3.0f, 0.0f, 0.0f);
    std::vector<std::uint8_t> out(mesh->GetNumVertices() * mesh->GetNumBytesPerVertex());
    void* source = nullptr;
    mesh->LockVertexBuffer(D3DLOCK_READONLY, &source);
    ASSERT_EQ(skin->UpdateSkinnedMesh(&move, nullptr, source, out.data()), S_OK);
    mesh->UnlockVertexBuffer();
    auto x = [&](int v) {
        float value;
        std::memcpy(&value, out.data() + v * mesh->GetNumBytesPerVertex(), 4);
        return value;
    };
    EXPECT_EQ(x(2), 2.25f);
    EXPECT_EQ(x(5), 2.25f);
    EXPECT_EQ(x(1), 1.0f);
    EXPECT_EQ(D3DXFrameDestroy(root, &recorder), S_OK);
    EXPECT_EQ(recorder.frames, 0);
    EXPECT_EQ(recorder.containers, 0);
}

TEST_F(XFileTest, TextAndBinaryArmsGiveTheSameHierarchyAndUserData) {
    std::vector<Recorder::Data> userData[2];
    std::vector<std::string> names[2];
    std::vector<std::uint8_t> vertices[2];
    const char* files[2] = {"arm.x", "arm_bin.x"};
    for (int f = 0; f < 2; ++f) {
        const auto file = MeshFixture(files[f]);
        Recorder recorder;
        D3DXFRAME* root = nullptr;
        ID3DXAnimationController* controller = nullptr;
        ASSERT_EQ(D3DXLoadMeshHierarchyFromXInMemory(file.data(), static_cast<DWORD>(file.size()),
                                                     D3DXMESH_MANAGED, device_, &recorder,
                                                     &recorder, &root, &controller),
                  S_OK)
            << files[f] << ": " << d3dx::LastXFileError();
        std::function<void(const D3DXFRAME*, int)> walk = [&](const D3DXFRAME* frame, int depth) {
            for (; frame != nullptr; frame = frame->pFrameSibling) {
                names[f].push_back(std::string(depth, '-') + frame->Name +
                                   (frame->pMeshContainer != nullptr ? "*" : ""));
                walk(frame->pFrameFirstChild, depth + 1);
            }
        };
        walk(root, 0);
        vertices[f] = Vertices(D3DXFrameFind(root, "Root")->pMeshContainer->MeshData.pMesh);
        userData[f] = recorder.topLevel;
        ASSERT_NE(controller, nullptr);
        ASSERT_EQ(controller->GetNumAnimationSets(), 2u);
        ID3DXAnimationSet* set = nullptr;
        controller->GetAnimationSet(1, &set);
        EXPECT_STREQ(set->GetName(), "bend");
        EXPECT_DOUBLE_EQ(set->GetPeriod(), 2.0);  // 200 ticks at 100 per second
        set->Release();
        ID3DXSkinInfo* skin = D3DXFrameFind(root, "Root")->pMeshContainer->pSkinInfo;
        ASSERT_NE(skin, nullptr);
        EXPECT_STREQ(skin->GetBoneName(1), "Lower");
        EXPECT_EQ(skin->GetBoneOffsetMatrix(1)->_42, -2.0f);
        EXPECT_EQ(recorder.textures, (std::vector<std::string>{"arm.png"}));
        controller->Release();
        D3DXFrameDestroy(root, &recorder);
        EXPECT_EQ(recorder.frames, 0);
    }
    EXPECT_EQ(names[0], (std::vector<std::string>{"Root*", "-Upper", "--Lower"}));
    EXPECT_EQ(names[1], names[0]);
    EXPECT_EQ(vertices[1], vertices[0]);
    // The base transform, the note of an unknown template and both event tables, in file order,
    // packed the same from both encodings: the event table's name inline, then its numbers.
    ASSERT_EQ(userData[0].size(), 4u);
    EXPECT_EQ(userData[0][0].typeStart, 0x5E0C6A31u);
    EXPECT_EQ(userData[0][0].bytes.size(), 36u);
    EXPECT_EQ(userData[0][1].typeStart, 0x0B6D4A2Cu);
    EXPECT_EQ(userData[0][2].typeStart, 0xA73D2F18u);
    const std::vector<std::uint8_t>& table = userData[0][2].bytes;
    ASSERT_EQ(table.size(), 5u + 8u + 36u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(table.data())), "wave");
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(userData[1][i].typeStart, userData[0][i].typeStart);
        EXPECT_EQ(userData[1][i].bytes, userData[0][i].bytes);
    }
}

TEST_F(XFileTest, AUserDataFailureStopsTheLoadAndFreesEverything) {
    const auto file = MeshFixture("arm.x");
    Recorder recorder;
    recorder.refuse = E_FAIL;
    D3DXFRAME* root = nullptr;
    EXPECT_EQ(D3DXLoadMeshHierarchyFromXInMemory(file.data(), static_cast<DWORD>(file.size()),
                                                 D3DXMESH_MANAGED, device_, &recorder, &recorder,
                                                 &root, nullptr),
              E_FAIL);
    EXPECT_EQ(root, nullptr);
    EXPECT_EQ(recorder.frames, 0);
    EXPECT_EQ(recorder.containers, 0);
}

TEST_F(XFileTest, TheReaderTakesTheFormsFilesUse) {
    const struct {
        const char* label;
        std::string body;
        DWORD faces;
    } cases[] = {
        {"comments and CR LF",
         "// comment\r\n# another\r\nMesh { 3; 0;0;0;, 1;0;0;, 0;1;0;;\r\n"
         "1; 3; 0, 1, 2;; }\r\n",
         1},
        {"numbers: signs, exponents, leading dot",
         "Mesh { 3; -0.0; +1e-3; .5;, 1.5E2; 0; 0;, 0; 1; 0;; 1; 3; 0, 1, 2;; }", 1},
        {"a pentagon becomes three triangles",
         "Mesh { 5; 0;0;0;, 1;0;0;, 2;1;0;, 1;2;0;, 0;1;0;; 1; 5; 0, 1, 2, 3, 4;; }", 3},
        {"an unknown object is skipped, braces and strings in it included",
         "Mystery { \"}\"; { x } Inner { 1; } }\nMesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3; 0,1,2;; }",
         1},
        {"a template declared by the file, with a GUID",
         "template Mesh { <3D82AB44-62DA-11CF-AB39-0020AF71E433> DWORD nVertices; [...] }\n"
         "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3; 0, 1, 2;; }",
         1},
        {"a mesh referenced from a frame",
         "Mesh Shared { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3; 0, 1, 2;; }\nFrame F { { Shared } }", 2},
    };
    for (const auto& c : cases) {
        ID3DXMesh* mesh = nullptr;
        ASSERT_EQ(LoadMesh(Text(c.body), &mesh), S_OK) << c.label << ": " << d3dx::LastXFileError();
        EXPECT_EQ(mesh->GetNumFaces(), c.faces) << c.label;
        mesh->Release();
    }
}

TEST_F(XFileTest, MalformedFilesAreRefusedWithAReason) {
    // Every malformed file of the fuzz corpus, through both loaders.
    int checked = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(QVN_SOURCE_DIR) + "/fuzz/xfile/corpus")) {
        const std::string name = entry.path().filename().string();
        if (name == "cube.x" || name == "cube_bin.x" || name == "arm.x" || name == "arm_bin.x") {
            continue;
        }
        const auto file = ReadFile(entry.path().string());
        ID3DXMesh* mesh = nullptr;
        const HRESULT plain = LoadMesh(file, &mesh);
        const std::string plainReason = d3dx::LastXFileError();
        Recorder recorder;
        D3DXFRAME* root = nullptr;
        ID3DXAnimationController* controller = nullptr;
        const HRESULT hierarchy = D3DXLoadMeshHierarchyFromXInMemory(
            file.data(), static_cast<DWORD>(file.size()), D3DXMESH_MANAGED, device_, &recorder,
            &recorder, &root, &controller);
        EXPECT_TRUE(FAILED(hierarchy)) << name;
        EXPECT_NE(std::string(d3dx::LastXFileError()), "") << name;
        EXPECT_EQ(root, nullptr) << name;
        EXPECT_EQ(controller, nullptr) << name;
        EXPECT_EQ(recorder.frames, 0) << name;
        // A file without meshes, or whose fault lies in its frames or animation, may still
        // give a plain mesh; then it must be a real one.
        if (SUCCEEDED(plain)) {
            EXPECT_GT(mesh->GetNumFaces(), 0u) << name;
            mesh->Release();
        } else {
            EXPECT_NE(plainReason, "") << name;
        }
        ++checked;
    }
    EXPECT_GE(checked, 20);
}

TEST_F(XFileTest, BinaryFilesWithDoublesShortTerminatorsAndEmptyLists) {
    // Binary tokens: name 1, string 2, GUID 5, integer list 6, float list 7, { 10, } 11,
    // [ 14, ] 15, ; 20, template 31, DWORD 41, LPSTR 49, array 52.
    ByteWriter out;
    out.Bytes("xof 0303bin 0064", 16);
    auto name = [&](const char* text) {
        out.U16(1);
        out.U32(static_cast<std::uint32_t>(std::strlen(text)));
        out.Bytes(text, std::strlen(text));
    };
    // template Tag { <GUID> LPSTR text; DWORD n; array DWORD values[n]; }
    out.U16(31);
    name("Tag");
    out.U16(10);
    out.U16(5);
    out.U32(0x12345678);
    out.U16(0x9ABC);
    out.U16(0xDEF0);
    out.Bytes("\x01\x02\x03\x04\x05\x06\x07\x08", 8);
    out.U16(49);
    name("text");
    out.U16(20);
    out.U16(41);
    name("n");
    out.U16(20);
    out.U16(52);
    out.U16(41);
    name("values");
    out.U16(14);
    name("n");
    out.U16(15);
    out.U16(20);
    out.U16(11);
    // Tag { "hi" (a 16-bit terminator); an empty list; 2; 7, 9 }
    name("Tag");
    out.U16(10);
    out.U16(2);
    out.U32(2);
    out.Bytes("hi", 2);
    out.U16(20);
    out.U16(6);
    out.U32(0);
    out.U16(6);
    out.U32(3);
    out.U32(2);
    out.U32(7);
    out.U32(9);
    out.U16(11);
    // Frame F { FrameTransformMatrix { 16 doubles } }
    name("Frame");
    name("F");
    out.U16(10);
    name("FrameTransformMatrix");
    out.U16(10);
    out.U16(7);
    out.U32(16);
    for (int i = 0; i < 16; ++i) {
        const double value = i == 12 ? 2.5 : (i % 5 == 0 ? 1.0 : 0.0);
        std::uint64_t bits;
        std::memcpy(&bits, &value, 8);
        out.U64(bits);
    }
    out.U16(11);
    out.U16(11);
    const std::vector<std::uint8_t> file = out.Take();

    Recorder recorder;
    D3DXFRAME* root = nullptr;
    ASSERT_EQ(D3DXLoadMeshHierarchyFromXInMemory(file.data(), static_cast<DWORD>(file.size()), 0,
                                                 device_, &recorder, &recorder, &root, nullptr),
              S_OK)
        << d3dx::LastXFileError();
    EXPECT_STREQ(root->Name, "F");
    EXPECT_EQ(root->TransformationMatrix._41, 2.5f);
    EXPECT_EQ(root->TransformationMatrix._44, 1.0f);
    ASSERT_EQ(recorder.topLevel.size(), 1u);
    EXPECT_EQ(recorder.topLevel[0].typeStart, 0x12345678u);
    EXPECT_EQ(recorder.topLevel[0].bytes,
              (std::vector<std::uint8_t>{'h', 'i', 0, 2, 0, 0, 0, 7, 0, 0, 0, 9, 0, 0, 0}));
    D3DXFrameDestroy(root, &recorder);
}

TEST_F(XFileTest, ClonesChangeTheVertexFormatAndKeepFacesAndSubsets) {
    ID3DXMesh* cube = nullptr;
    ASSERT_EQ(LoadMesh(MeshFixture("cube.x"), &cube), S_OK);
    ID3DXMesh* slim = nullptr;
    ASSERT_EQ(cube->CloneMeshFVF(D3DXMESH_SYSTEMMEM, D3DFVF_XYZ | D3DFVF_TEX1, device_, &slim),
              S_OK);
    ID3DXMesh* wide = nullptr;
    ASSERT_EQ(slim->CloneMeshFVF(D3DXMESH_MANAGED | D3DXMESH_32BIT,
                                 D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1, device_,
                                 &wide),
              S_OK);
    EXPECT_EQ(slim->GetNumBytesPerVertex(), 20u);
    EXPECT_EQ(D3DXGetFVFVertexSize(wide->GetFVF()), 36u);
    const std::vector<std::uint8_t> from = Vertices(cube);
    const std::vector<std::uint8_t> thin = Vertices(slim);
    const std::vector<std::uint8_t> back = Vertices(wide);
    for (DWORD v = 0; v < cube->GetNumVertices(); ++v) {
        // Position and texture coordinates travel; the normal comes back 0, the colour white.
        EXPECT_EQ(std::memcmp(&thin[v * 20], &from[v * 36], 12), 0) << v;
        EXPECT_EQ(std::memcmp(&thin[v * 20 + 12], &from[v * 36 + 28], 8), 0) << v;
        EXPECT_EQ(std::memcmp(&back[v * 36 + 28], &from[v * 36 + 28], 8), 0) << v;
        const float zero[3] = {0, 0, 0};
        EXPECT_EQ(std::memcmp(&back[v * 36 + 12], zero, 12), 0) << v;
        std::uint32_t colour = 0;
        std::memcpy(&colour, &back[v * 36 + 24], 4);
        EXPECT_EQ(colour, 0xFFFFFFFFu) << v;
    }
    EXPECT_EQ(wide->GetOptions() & D3DXMESH_32BIT, D3DXMESH_32BIT);
    D3DXATTRIBUTERANGE original[2];
    D3DXATTRIBUTERANGE cloned[2];
    DWORD size = 2;
    cube->GetAttributeTable(original, &size);
    wide->GetAttributeTable(cloned, &size);
    EXPECT_EQ(std::memcmp(original, cloned, sizeof original), 0);
    ID3DXMesh* refused = nullptr;
    EXPECT_EQ(cube->CloneMeshFVF(0, D3DFVF_XYZRHW | D3DFVF_DIFFUSE, device_, &refused),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(refused, nullptr);
    wide->Release();
    slim->Release();
    cube->Release();
}

}  // namespace
