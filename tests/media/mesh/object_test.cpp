// D3DObject and D3DMesh behaviour: the event keys over a timeline, the user-data templates,
// the cross-fade's refusals, reference counting through clone and release, the dump, alpha,
// and the error lines of refused files.

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "media/graphics/d3d_dump.h"
#include "media/graphics/texture.h"
#include "media/sound/ds_sound.h"
#include "mesh_fixture.h"

namespace mesh_tests {
namespace {

class ObjectTest : public MeshTest {
protected:
    D3DObject* LoadArm(const char* file = "arm.x") {
        StartDevice(64, 64);
        CopyFixture("arm.png");
        D3DObject* arm = nullptr;
        EXPECT_EQ(CreateObject(CopyFixture(file).c_str(), &arm, D3DXMESH_MANAGED), D3D_OK);
        return arm;
    }
};

struct Heard {
    std::vector<std::string> calls;
};

void Record(D3DObject*, const char* setName, const AnimationEventData* data, void* user) {
    auto* heard = static_cast<Heard*>(user);
    heard->calls.push_back(std::string(setName) + ":" +
                           (data != nullptr ? std::to_string(data->value) : "end"));
}

TEST_F(ObjectTest, EventKeysPlayTheirSoundsOncePerPassAndReachTheCallback) {
    StartSound();
    D3DObject* arm = LoadArm();
    ASSERT_NE(arm, nullptr);
    Heard heard;
    arm->SetCallback(Record, &heard);
    // The sounds by number: wave's table holds se001, bend's se002 and se003.
    DSSound* se[4] = {nullptr, arm->eventMap["wave"].sounds[0], arm->eventMap["bend"].sounds[0],
                      arm->eventMap["bend"].sounds[1]};
    for (int n = 1; n <= 3; ++n) {
        ASSERT_NE(se[n], nullptr) << n;
    }
    struct Step {
        const char* set;  // switch to it first (null: keep)
        double fade;
        double seconds;
        const char* sounds;  // the numbers that played in the step
        std::vector<std::string> calls;
    };
    const Step timeline[] = {
        {"wave", 0.0, 0.05, "", {}},
        {nullptr, 0, 0.10, "1", {}},
        {nullptr, 0, 0.30, "", {}},
        {nullptr, 0, 0.10, "", {"wave:7"}},
        // The last entry and the closing key lie at the end of the pass.
        {nullptr, 0, 0.50, "", {"wave:8", "wave:end"}},
        // One advance over two more passes meets every key once per pass.
        {nullptr, 0, 2.20, "1", {"wave:7", "wave:8", "wave:end", "wave:7", "wave:8", "wave:end"}},
        // bend's table plays once: its closing key stops its events.
        {"bend", 0.0, 0.10, "2", {}},
        {nullptr, 0, 1.50, "3", {}},
        {nullptr, 0, 0.50, "", {"bend:end"}},
        {nullptr, 0, 2.00, "", {}},
        // A cross-fade: the fading track is silent, the new one plays at once.
        {"wave", 1.0, 0.15, "1", {}},
        {nullptr, 0, 0.40, "", {"wave:7"}},
    };
    for (std::size_t i = 0; i < std::size(timeline); ++i) {
        const Step& step = timeline[i];
        if (step.set != nullptr) {
            ASSERT_EQ(arm->SetAnimation(step.set, step.fade), D3D_OK);
        }
        for (int n = 1; n <= 3; ++n) {
            se[n]->Stop();
        }
        heard.calls.clear();
        arm->AdvanceTime(step.seconds);
        std::string played;
        for (int n = 1; n <= 3; ++n) {
            DWORD status = 0;
            se[n]->GetStatus(&status);
            played += (status & DSBSTATUS_PLAYING) != 0 ? std::to_string(n) : "";
        }
        EXPECT_EQ(played, step.sounds) << "step " << i;
        EXPECT_EQ(heard.calls, step.calls) << "step " << i;
    }
    arm->Release();
}

TEST_F(ObjectTest, UserDataTemplatesSetTheBaseAndTheEventTables) {
    for (const char* file : {"arm.x", "arm_bin.x"}) {
        D3DObject* arm = LoadArm(file);
        ASSERT_NE(arm, nullptr);
        EXPECT_EQ(arm->name, "Root") << file;
        EXPECT_EQ(arm->animationSetNames, (std::vector<std::string>{"wave", "bend"})) << file;
        // Scale 1, 30 degrees about y, then down by 2.
        D3DXMATRIX turn;
        D3DXMATRIX down;
        D3DXMatrixRotationY(&turn, 30.0f * 0.017453292f);
        D3DXMatrixTranslation(&down, 0.0f, -2.0f, 0.0f);
        EXPECT_EQ(arm->baseMatrix, turn * down) << file;
        // The world matrix follows the base one (without a position, scale or rotation set).
        arm->AdvanceTime(0.0);
        EXPECT_EQ(arm->worldMatrix, arm->baseMatrix) << file;
        ASSERT_EQ(arm->eventMap.size(), 2u) << file;
        const AnimationEventTable& bend = arm->eventMap["bend"];
        EXPECT_EQ(bend.playback, 1u);
        EXPECT_EQ(bend.keyCount, 2u);
        ASSERT_EQ(bend.keys.size(), 2u);
        // Sound keys keep the index of their sound in the table.
        EXPECT_EQ(bend.keys[1].time, 150u);
        EXPECT_EQ(bend.keys[1].data.type, kSoundEventKey);
        EXPECT_EQ(bend.keys[1].data.value, 1u);
        ASSERT_EQ(bend.sounds.size(), 2u);
        const AnimationEventTable& wave = arm->eventMap["wave"];
        EXPECT_EQ(wave.keys[2].data.value, 8u);
        arm->Release();
        ReleaseAllMeshesAndObjects();
        DestroyD3DApplication();
    }
    // The unknown "Note" template was passed over without a word.
    for (const std::string& line : LogLines()) {
        EXPECT_EQ(line.find("D3DObject::Load"), std::string::npos) << line;
    }
}

TEST_F(ObjectTest, AnEventCountBeyondTheDataReadsOnlyTheKeysThereAreAndSaysSo) {
    StartDevice(64, 64);
    const std::string file = WriteModel("short.x", R"(
        template AnimationEvents { <A73D2F18-6C52-4E9B-B1F0-8E4C3D5A7912>
            STRING Name; DWORD Playback; DWORD Events; array DWORD Data[6]; }
        template BaseTransform { <5E0C6A31-9B4D-4F27-8C1A-2D7E9F3B4A60> FLOAT Scale; }
        AnimationEvents { "walk"; 0; 5; 10; 1; 4; 20; 1; 5; }
        BaseTransform { 2.0; }
        Frame Body { }
    )");
    D3DObject* object = nullptr;
    ASSERT_EQ(CreateObject(file.c_str(), &object, D3DXMESH_MANAGED), D3D_OK);
    const AnimationEventTable& walk = object->eventMap["walk"];
    EXPECT_EQ(walk.keyCount, 2u);
    ASSERT_EQ(walk.keys.size(), 2u);
    EXPECT_EQ(walk.keys[1].time, 20u);
    EXPECT_EQ(walk.keys[1].data.value, 5u);
    EXPECT_EQ(CountLogLines("D3DObject::Load: event table \"walk\" says 5 events and holds 2"), 1);
    // A base transform too short is left alone.
    EXPECT_EQ(CountLogLines("D3DObject::Load: the base transform holds fewer than 9 numbers"), 1);
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    EXPECT_EQ(object->baseMatrix, identity);
    EXPECT_EQ(object->name, "Body");
    object->Release();
}

TEST_F(ObjectTest, SetAnimationRefusesWhatDoesNotExistAndChangesNothing) {
    D3DObject* arm = LoadArm();
    ASSERT_NE(arm, nullptr);
    ASSERT_EQ(arm->SetAnimation(1u, 0.5), D3D_OK);
    const DWORD track = arm->currentTrack;
    const struct {
        const char* label;
        HRESULT result;
    } cases[] = {
        {"index past the sets", arm->SetAnimation(2u, 0.0)},
        {"far past", arm->SetAnimation(0xFFFFFFFFu, 0.0)},
        {"unknown name", arm->SetAnimation("run", 0.0)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.result, E_FAIL) << c.label;
    }
    EXPECT_EQ(CountLogLines("D3DObject::SetAnimation: E_FAIL"), 3);
    EXPECT_EQ(arm->currentTrack, track);
    EXPECT_EQ(arm->trackEnabled[track], 1u);
    EXPECT_EQ(arm->trackEnabled[track ^ 1], 0u);
    ID3DXAnimationSet* playing = nullptr;
    arm->controller->GetTrackAnimationSet(track, &playing);
    EXPECT_STREQ(playing->GetName(), "bend");
    playing->Release();
    arm->Release();
}

TEST_F(ObjectTest, ReferencesThroughCloneAndReleaseAndTheDump) {
    D3DObject* arm = LoadArm();
    ASSERT_NE(arm, nullptr);
    CopyFixture("cube.png");
    D3DMesh* cube = nullptr;
    ASSERT_EQ(CreateMesh(CopyFixture("cube.x").c_str(), &cube, D3DXMESH_MANAGED), D3D_OK);
    // The arm's one mesh container is a listed mesh too; a plain mesh is named by its file.
    ASSERT_EQ(MeshList().size(), 2u);
    D3DMesh* armMesh = MeshList()[0];
    EXPECT_STREQ(armMesh->Name, "ArmMesh");
    EXPECT_NE(armMesh->sourceMesh, armMesh->MeshData.pMesh);
    EXPECT_EQ(armMesh->MeshData.pMesh->GetOptions() & D3DXMESH_MANAGED, D3DXMESH_MANAGED);
    EXPECT_EQ(arm->maxBones, 2u);

    D3DObject* copy = arm->Clone();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->controller, arm->controller);
    EXPECT_EQ(copy->rootFrame, arm->rootFrame);
    EXPECT_EQ(static_cast<D3DFrame*>(arm->rootFrame)->refCount, 2u);
    EXPECT_EQ(copy->eventMap.size(), 2u);
    copy->AddRef();
    EXPECT_EQ(copy->refCount, 2u);

    D3DDump(0x70);
    auto row = [](const void* object, int refs, const char* rest) {
        char line[160];
        std::snprintf(line, sizeof line, "%08x   %3d   %s", DumpAddress(object), refs, rest);
        return std::string(line);
    };
    const std::vector<std::string> expected = {
        "",
        "Mesh Count: 2",
        "Ptr        Ref   Type       Faces   Vertices   Material   Option       Name",
        std::string(91, '-'),
        row(armMesh, 1, "Mesh          36         20          1   0x00000220   ArmMesh"),
        row(cube, 1, "Mesh          12         24          2   0x00000220   cube.x"),
        "",
        "Frame Count: 2",
        "Ptr        Ref   Name                         AnimCtrl",
        std::string(91, '-'),
        row(arm, 1, "Root                                2"),
        "                 |-Root",
        "                   |-Upper",
        "                     |-Lower",
        row(copy, 2, "Root                                2"),
        "                 |-Root",
        "                   |-Upper",
        "                     |-Lower",
    };
    const std::vector<std::string> lines = LogLines();
    ASSERT_GE(lines.size(), expected.size());
    EXPECT_EQ(
        std::vector<std::string>(lines.end() - static_cast<long>(expected.size()), lines.end()),
        expected);

    // The original goes; the clone still has the whole hierarchy and draws.
    EXPECT_EQ(arm->Release(), 0u);
    EXPECT_EQ(static_cast<D3DFrame*>(copy->rootFrame)->refCount, 1u);
    EXPECT_EQ(copy->SetAnimation("wave", 0.0), D3D_OK);
    copy->AdvanceTime(0.3);
    EXPECT_EQ(copy->Render(0), D3D_OK);
    EXPECT_EQ(MeshList().size(), 2u);

    ReleaseAllMeshesAndObjects();
    EXPECT_TRUE(ObjectList().empty());
    EXPECT_TRUE(MeshList().empty());
    EXPECT_TRUE(TextureList().empty());
    D3DDump(0x70);
    const std::vector<std::string> after = LogLines();
    EXPECT_EQ(std::vector<std::string>(after.end() - 4, after.end()),
              (std::vector<std::string>{"", "Mesh Count: 0", "", "Frame Count: 0"}));
}

TEST_F(ObjectTest, AlphaRewritesVertexAlphaAndKeepsTheColours) {
    StartDevice(64, 64);
    CopyFixture("cube.png");
    D3DMesh* cube = nullptr;
    ASSERT_EQ(CreateMesh(CopyFixture("cube.x").c_str(), &cube, D3DXMESH_MANAGED), D3D_OK);
    auto firstColour = [cube] {
        void* data = nullptr;
        cube->MeshData.pMesh->LockVertexBuffer(D3DLOCK_READONLY, &data);
        D3DCOLOR colour = 0;
        std::memcpy(&colour, static_cast<const std::uint8_t*>(data) + 24, 4);
        cube->MeshData.pMesh->UnlockVertexBuffer();
        return colour;
    };
    const D3DCOLOR loaded = firstColour();
    ASSERT_EQ(loaded >> 24, 0xFFu);
    const struct {
        int alpha;
        int stored;
    } cases[] = {{128, 128}, {-5, 0}, {300, 255}, {64, 64}, {64, 64}};
    for (const auto& c : cases) {
        EXPECT_EQ(cube->SetAlpha(c.alpha), D3D_OK);
        EXPECT_EQ(cube->alpha, c.stored) << c.alpha;
        EXPECT_EQ(firstColour(), (loaded & 0x00FFFFFFu) | (static_cast<D3DCOLOR>(c.stored) << 24))
            << c.alpha;
    }
    cube->Release();
}

TEST_F(ObjectTest, RefusedFilesLeaveAnErrorLine) {
    StartDevice(64, 64);
    D3DMesh* missing = nullptr;
    EXPECT_EQ(CreateMesh(WinPath("data\\none.x").c_str(), &missing, D3DXMESH_MANAGED), E_FAIL);
    ASSERT_NE(missing, nullptr);
    missing->Release();
    EXPECT_EQ(CountLogLines("D3DMesh::Load: E_FAIL"), 1);
    int refused = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(QVN_SOURCE_DIR) + "/fuzz/xfile/corpus")) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("cube", 0) == 0 || name == "arm.x" || name == "arm_bin.x") {
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        dir_->writeFile("data/" + name, bytes);
        D3DObject* object = nullptr;
        const HRESULT hr = CreateObject(WinPath("data\\" + name).c_str(), &object, 0);
        EXPECT_TRUE(FAILED(hr)) << name;
        ASSERT_NE(object, nullptr) << name;
        EXPECT_EQ(object->rootFrame, nullptr) << name;
        object->Release();
        const std::vector<std::string> lines = LogLines();
        // The result line, then the reader's reason.
        ASSERT_GE(lines.size(), 2u) << name;
        EXPECT_EQ(lines[lines.size() - 2].rfind("D3DObject::Load: D3DXERR_", 0), 0u)
            << name << ": " << lines[lines.size() - 2];
        EXPECT_EQ(lines.back().rfind("D3DObject::Load: ", 0), 0u) << name;
        ++refused;
    }
    EXPECT_GE(refused, 25);
}

}  // namespace
}  // namespace mesh_tests
