// Animation sets and the controller: sampling keys, playback types, compressed packing, track
// events over time, the blend of two tracks into a frame, and the callback keys a track passes;
// and the quaternion and camera helpers they rest on.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/d3d9/d3d9_types.h"
#include "platform/d3dx/animation_controller.h"
#include "platform/d3dx/animation_set.h"

namespace {

D3DXQUATERNION AboutZ(float radians) {
    return {0.0f, 0.0f, std::sin(radians / 2), std::cos(radians / 2)};
}

// A set animating frame "Bone": translation x from 0 to 10 and rotation about z from 0 to 90
// degrees over 100 ticks at 100 ticks per second, with callback keys at 0, 0.25 and 1 s.
ID3DXKeyframedAnimationSet* MakeSet(const char* name, D3DXPLAYBACK_TYPE playback) {
    d3dx::AnimationSetData data;
    data.name = name;
    data.ticksPerSecond = 100.0;
    data.playback = playback;
    d3dx::AnimationKeys keys;
    keys.name = "Bone";
    // Given out of order: the set sorts them.
    keys.translation = {{100.0f, {10, 0, 0}}, {0.0f, {0, 0, 0}}};
    keys.rotation = {{0.0f, AboutZ(0)}, {100.0f, AboutZ(D3DX_PI / 2)}};
    data.animations.push_back(keys);
    data.callbacks = {{25.0f, reinterpret_cast<LPVOID>(2)},
                      {0.0f, reinterpret_cast<LPVOID>(1)},
                      {100.0f, reinterpret_cast<LPVOID>(3)}};
    ID3DXKeyframedAnimationSet* set = nullptr;
    EXPECT_EQ(d3dx::CreateKeyframedAnimationSet(std::move(data), &set), D3D_OK);
    return set;
}

class Recorder final : public ID3DXAnimationCallbackHandler {
public:
    HRESULT HandleCallback(UINT track, LPVOID data) override {
        heard.push_back(std::to_string(track) + ":" +
                        std::to_string(reinterpret_cast<std::uintptr_t>(data)));
        return S_OK;
    }
    std::vector<std::string> heard;
};

TEST(AnimationSet, SamplesKeysByPlaybackAndSurvivesPacking) {
    ID3DXKeyframedAnimationSet* set = MakeSet("walk", D3DXPLAY_LOOP);
    EXPECT_DOUBLE_EQ(set->GetPeriod(), 1.0);
    const struct {
        D3DXPLAYBACK_TYPE playback;
        double position;
        double periodic;
    } positions[] = {
        {D3DXPLAY_LOOP, 0.25, 0.25},     {D3DXPLAY_LOOP, 2.25, 0.25},
        {D3DXPLAY_LOOP, -0.25, 0.75},    {D3DXPLAY_ONCE, 3.0, 1.0},
        {D3DXPLAY_ONCE, -1.0, 0.0},      {D3DXPLAY_PINGPONG, 0.25, 0.25},
        {D3DXPLAY_PINGPONG, 1.25, 0.75}, {D3DXPLAY_PINGPONG, 2.5, 0.5},
    };
    for (const auto& p : positions) {
        ID3DXKeyframedAnimationSet* typed = MakeSet("walk", p.playback);
        EXPECT_NEAR(typed->GetPeriodicPosition(p.position), p.periodic, 1e-12)
            << p.playback << " at " << p.position;
        typed->Release();
    }
    // Half way: translation halved, rotation by slerp to 45 degrees.
    D3DXVECTOR3 scale;
    D3DXQUATERNION rotation;
    D3DXVECTOR3 translation;
    ASSERT_EQ(set->GetSRT(0.5, 0, &scale, &rotation, &translation), D3D_OK);
    EXPECT_FLOAT_EQ(translation.x, 5.0f);
    EXPECT_FLOAT_EQ(scale.y, 1.0f);  // no scale keys
    EXPECT_NEAR(rotation.z, std::sin(D3DX_PI / 8), 1e-6);
    EXPECT_NEAR(rotation.w, std::cos(D3DX_PI / 8), 1e-6);
    EXPECT_EQ(set->GetSRT(0.5, 1, &scale, &rotation, &translation), D3DERR_INVALIDCALL);
    UINT index = 9;
    EXPECT_EQ(set->GetAnimationIndexByName("Bone", &index), D3D_OK);
    EXPECT_EQ(index, 0u);
    EXPECT_EQ(set->GetAnimationIndexByName("Other", &index), D3DERR_NOTFOUND);

    // Packed and rebuilt with other callback keys: the same samples.
    ID3DXBuffer* packed = nullptr;
    ASSERT_EQ(set->Compress(0, 0.5f, nullptr, &packed), D3D_OK);
    const D3DXKEY_CALLBACK keys[1] = {{50.0f, nullptr}};
    ID3DXCompressedAnimationSet* rebuilt = nullptr;
    ASSERT_EQ(
        D3DXCreateCompressedAnimationSet("walk", 100.0, D3DXPLAY_ONCE, packed, 1, keys, &rebuilt),
        D3D_OK);
    EXPECT_EQ(rebuilt->GetPlaybackType(), D3DXPLAY_ONCE);
    EXPECT_EQ(rebuilt->GetNumCallbackKeys(), 1u);
    D3DXVECTOR3 again;
    rebuilt->GetSRT(0.3, 0, nullptr, nullptr, &again);
    set->GetSRT(0.3, 0, nullptr, nullptr, &translation);
    EXPECT_EQ(again.x, translation.x);
    ID3DXKeyframedAnimationSet* keyframed = nullptr;
    EXPECT_EQ(rebuilt->QueryInterface(IID_ID3DXKeyframedAnimationSet,
                                      reinterpret_cast<void**>(&keyframed)),
              E_NOINTERFACE);
    rebuilt->Release();
    // Packing cut short, or not a packing at all, is refused.
    ID3DXBuffer* cut = nullptr;
    D3DXCreateBuffer(packed->GetBufferSize() - 3, &cut);
    std::memcpy(cut->GetBufferPointer(), packed->GetBufferPointer(), cut->GetBufferSize());
    EXPECT_EQ(
        D3DXCreateCompressedAnimationSet("walk", 100.0, D3DXPLAY_LOOP, cut, 0, nullptr, &rebuilt),
        D3DXERR_INVALIDDATA);
    EXPECT_EQ(rebuilt, nullptr);
    cut->Release();
    packed->Release();
    set->Release();
}

TEST(AnimationController, CrossFadeBlendsTwoTracksIntoTheFrame) {
    ID3DXAnimationController* controller = nullptr;
    ASSERT_EQ(d3dx::CreateAnimationController(2, &controller), D3D_OK);
    D3DXMATRIX bone;
    D3DXMatrixIdentity(&bone);
    D3DXVECTOR3 translation{};
    controller->RegisterAnimationOutput("Bone", &bone, nullptr, nullptr, &translation);
    ID3DXKeyframedAnimationSet* walk = MakeSet("walk", D3DXPLAY_LOOP);
    d3dx::AnimationSetData stillData;
    stillData.name = "still";
    stillData.ticksPerSecond = 100.0;
    d3dx::AnimationKeys stillKeys;
    stillKeys.name = "Bone";
    stillKeys.translation = {{0.0f, {0, 4, 0}}, {100.0f, {0, 4, 0}}};
    stillData.animations.push_back(stillKeys);
    ID3DXKeyframedAnimationSet* still = nullptr;
    d3dx::CreateKeyframedAnimationSet(std::move(stillData), &still);
    ASSERT_EQ(controller->RegisterAnimationSet(walk), D3D_OK);
    ASSERT_EQ(controller->RegisterAnimationSet(still), D3D_OK);
    EXPECT_EQ(controller->RegisterAnimationSet(walk), D3DERR_INVALIDCALL);
    controller->SetTrackAnimationSet(0, walk);
    controller->SetTrackAnimationSet(1, still);
    controller->SetTrackEnable(1, FALSE);
    // Track 0 fades out while track 1 fades in over one second from t = 0.5.
    controller->AdvanceTime(0.5, nullptr);
    EXPECT_FLOAT_EQ(translation.x, 5.0f);
    const double now = controller->GetTime();
    controller->KeyTrackWeight(0, 0.0f, now, 1.0, D3DXTRANSITION_LINEAR);
    controller->KeyTrackSpeed(0, 0.0f, now, 1.0, D3DXTRANSITION_LINEAR);
    controller->KeyTrackEnable(0, FALSE, now + 1.0);
    controller->SetTrackEnable(1, TRUE);
    controller->SetTrackWeight(1, 0.0f);
    controller->KeyTrackWeight(1, 1.0f, now, 1.0, D3DXTRANSITION_LINEAR);
    const struct {
        double step;
        float weight0;
        float weight1;
        double position0;  // the mean speed of each step moves the fading track
        float x;
        float y;
        BOOL enabled0;
    } steps[] = {
        {0.25, 0.75f, 0.25f, 0.71875, 7.1875f * 0.75f, 4 * 0.25f, TRUE},
        {0.25, 0.5f, 0.5f, 0.875, 8.75f * 0.5f, 4 * 0.5f, TRUE},
        {0.5, 0.0f, 1.0f, 1.0, 0.0f, 4.0f, FALSE},
    };
    for (const auto& s : steps) {
        controller->AdvanceTime(s.step, nullptr);
        D3DXTRACK_DESC first{};
        D3DXTRACK_DESC second{};
        controller->GetTrackDesc(0, &first);
        controller->GetTrackDesc(1, &second);
        EXPECT_FLOAT_EQ(first.Weight, s.weight0) << s.step;
        EXPECT_FLOAT_EQ(second.Weight, s.weight1) << s.step;
        EXPECT_DOUBLE_EQ(first.Position, s.position0) << s.step;
        EXPECT_EQ(first.Enable, s.enabled0) << s.step;
        EXPECT_NEAR(translation.x, s.x, 1e-5) << s.step;
        EXPECT_NEAR(translation.y, s.y, 1e-5) << s.step;
        EXPECT_EQ(bone._42, translation.y);
    }
    // Unregistering a set takes it off its track; reset time keeps events at their distance.
    ASSERT_EQ(controller->UnregisterAnimationSet(still), D3D_OK);
    ID3DXAnimationSet* playing = reinterpret_cast<ID3DXAnimationSet*>(1);
    controller->GetTrackAnimationSet(1, &playing);
    EXPECT_EQ(playing, nullptr);
    EXPECT_EQ(controller->GetNumAnimationSets(), 1u);
    controller->KeyTrackEnable(0, TRUE, controller->GetTime() + 0.5);
    controller->ResetTime();
    EXPECT_EQ(controller->GetTime(), 0.0);
    controller->AdvanceTime(0.4, nullptr);
    D3DXTRACK_DESC first{};
    controller->GetTrackDesc(0, &first);
    EXPECT_FALSE(first.Enable);
    controller->AdvanceTime(0.2, nullptr);
    controller->GetTrackDesc(0, &first);
    EXPECT_TRUE(first.Enable);
    EXPECT_EQ(controller->AdvanceTime(-1.0, nullptr), D3DERR_INVALIDCALL);
    controller->Release();
    walk->Release();
    still->Release();
}

TEST(AnimationController, CallbackKeysComeOncePerPassInOrder) {
    const struct {
        const char* label;
        D3DXPLAYBACK_TYPE playback;
        std::vector<double> steps;
        std::vector<std::string> heard;
    } cases[] = {
        {"loop: the key at 0 opens each pass after the last one closes it",
         D3DXPLAY_LOOP,
         {0.1, 0.2, 0.8, 1.0},
         {"0:1", "0:2", "0:3", "0:1", "0:2", "0:3", "0:1"}},
        {"loop: one long step passes every pass's keys",
         D3DXPLAY_LOOP,
         {2.3},
         {"0:1", "0:2", "0:3", "0:1", "0:2", "0:3", "0:1", "0:2"}},
        {"once: each key once", D3DXPLAY_ONCE, {0.5, 3.0}, {"0:1", "0:2", "0:3"}},
        {"ping-pong: inner keys again on the way back, the ends once",
         D3DXPLAY_PINGPONG,
         {2.1},
         {"0:1", "0:2", "0:3", "0:2", "0:1"}},
        {"a step of no time passes nothing", D3DXPLAY_LOOP, {0.0, 0.0}, {}},
    };
    for (const auto& c : cases) {
        ID3DXAnimationController* controller = nullptr;
        d3dx::CreateAnimationController(2, &controller);
        ID3DXKeyframedAnimationSet* set = MakeSet("walk", c.playback);
        controller->RegisterAnimationSet(set);
        controller->SetTrackAnimationSet(0, set);
        // A disabled track reports nothing.
        controller->SetTrackAnimationSet(1, set);
        controller->SetTrackEnable(1, FALSE);
        Recorder recorder;
        for (double step : c.steps) {
            controller->AdvanceTime(step, &recorder);
        }
        EXPECT_EQ(recorder.heard, c.heard) << c.label;
        controller->Release();
        set->Release();
    }
}

TEST(Quaternion, RotationsMatricesAndCamera) {
    // A quarter turn about z as a quaternion is the matrix of RotationZ.
    D3DXMATRIX fromQuaternion;
    D3DXMATRIX fromAngle;
    const D3DXQUATERNION quarter = AboutZ(D3DX_PI / 2);
    D3DXMatrixRotationQuaternion(&fromQuaternion, &quarter);
    D3DXMatrixRotationZ(&fromAngle, D3DX_PI / 2);
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(fromQuaternion.m[i / 4][i % 4], fromAngle.m[i / 4][i % 4], 1e-6) << i;
    }
    // Decomposing scale x rotation x translation gives the parts back, mirroring included.
    const struct {
        D3DXVECTOR3 scale;
        float angle;
    } parts[] = {{{2, 3, 4}, 0.7f}, {{-1, 1, 1}, -2.0f}, {{1, 1, 1}, 3.0f}};
    for (const auto& p : parts) {
        D3DXMATRIX s;
        D3DXMATRIX r;
        D3DXMATRIX t;
        D3DXMatrixScaling(&s, p.scale.x, p.scale.y, p.scale.z);
        D3DXMatrixRotationY(&r, p.angle);
        D3DXMatrixTranslation(&t, 5, -6, 7);
        const D3DXMATRIX m = s * r * t;
        D3DXVECTOR3 scale;
        D3DXQUATERNION rotation;
        D3DXVECTOR3 translation;
        ASSERT_EQ(D3DXMatrixDecompose(&scale, &rotation, &translation, &m), D3D_OK);
        D3DXMATRIX back;
        D3DXMatrixRotationQuaternion(&back, &rotation);
        D3DXMatrixScaling(&s, scale.x, scale.y, scale.z);
        D3DXMatrixTranslation(&t, translation.x, translation.y, translation.z);
        back = s * back * t;
        for (int i = 0; i < 16; ++i) {
            EXPECT_NEAR(back.m[i / 4][i % 4], m.m[i / 4][i % 4], 1e-5) << p.angle << " " << i;
        }
    }
    D3DXMATRIX flat;
    D3DXMatrixScaling(&flat, 1, 0, 1);
    D3DXVECTOR3 scale;
    D3DXQUATERNION rotation;
    D3DXVECTOR3 translation;
    EXPECT_EQ(D3DXMatrixDecompose(&scale, &rotation, &translation, &flat), D3DERR_INVALIDCALL);
    // The camera: a point straight ahead lands in the middle of the view at depth between 0
    // and 1; at the near plane depth 0, at the far plane 1.
    const D3DXVECTOR3 eye{0, 0, -5};
    const D3DXVECTOR3 at{0, 0, 0};
    const D3DXVECTOR3 up{0, 1, 0};
    D3DXMATRIX view;
    D3DXMATRIX projection;
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 2, 2.0f, 1.0f, 11.0f);
    const D3DXMATRIX both = view * projection;
    const struct {
        D3DXVECTOR3 point;
        D3DXVECTOR3 expected;
    } points[] = {
        {{0, 0, -4}, {0, 0, 0}}, {{0, 0, 6}, {0, 0, 1}}, {{2, 1, -3}, {0.5f, 0.5f, 0.55f}}};
    for (const auto& p : points) {
        D3DXVECTOR3 out;
        D3DXVec3TransformCoord(&out, &p.point, &both);
        EXPECT_NEAR(out.x, p.expected.x, 1e-5);
        EXPECT_NEAR(out.y, p.expected.y, 1e-5);
        EXPECT_NEAR(out.z, p.expected.z, 1e-5);
    }
}

}  // namespace
