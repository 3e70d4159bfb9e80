#include "platform/d3dx/xfile_animation.h"

#include "platform/d3dx/xfile_document.h"
#include "platform/winbase/byte_reader.h"
#include "platform/winbase/byte_writer.h"

namespace d3dx {
namespace {

enum KeyType : std::uint32_t {
    kRotationKeys = 0,
    kScaleKeys = 1,
    kPositionKeys = 2,
    kMatrixKeys = 4,
};

bool ReadKeys(const XData& data, AnimationKeys* keys, std::string* error) {
    ByteReader in(data.record.data(), data.record.size());
    const std::uint32_t type = in.U32();
    const std::uint32_t count = in.U32();
    if (in.Failed() || count > in.Remaining() / 8) {
        *error = "bad animation keys";
        return false;
    }
    for (std::uint32_t k = 0; k < count; ++k) {
        const auto time = static_cast<float>(in.U32());
        const std::uint32_t values = in.U32();
        float v[16] = {};
        const std::uint32_t expected = type == kRotationKeys                         ? 4
                                       : type == kMatrixKeys                         ? 16
                                       : type == kScaleKeys || type == kPositionKeys ? 3
                                                                                     : 0;
        if (in.Failed() || expected == 0 || values != expected) {
            *error = "animation keys of an unknown type or size";
            return false;
        }
        for (std::uint32_t i = 0; i < values; ++i) {
            v[i] = in.F32();
        }
        if (in.Failed()) {
            *error = "bad animation keys";
            return false;
        }
        switch (type) {
            case kRotationKeys:
                keys->rotation.push_back({time, {v[1], v[2], v[3], v[0]}});
                break;
            case kScaleKeys:
                keys->scale.push_back({time, {v[0], v[1], v[2]}});
                break;
            case kPositionKeys:
                keys->translation.push_back({time, {v[0], v[1], v[2]}});
                break;
            default: {
                D3DXMATRIX m;
                for (int i = 0; i < 16; ++i) {
                    m.m[i / 4][i % 4] = v[i];
                }
                D3DXVECTOR3 s;
                D3DXQUATERNION r;
                D3DXVECTOR3 t;
                if (FAILED(D3DXMatrixDecompose(&s, &r, &t, &m))) {
                    *error = "a matrix key that is no transformation";
                    return false;
                }
                keys->scale.push_back({time, s});
                keys->rotation.push_back({time, r});
                keys->translation.push_back({time, t});
                break;
            }
        }
    }
    return true;
}

}  // namespace

bool ReadAnimationSet(const XDocument& document, const XData& set, double ticksPerSecond,
                      const FrameMatrixLookup& frameMatrix, AnimationSetData* data,
                      std::string* error) {
    data->name = set.name;
    data->ticksPerSecond = ticksPerSecond;
    data->playback = D3DXPLAY_LOOP;
    for (const auto& child : set.children) {
        const XData* animation = document.Resolve(child.get());
        if (animation == nullptr || animation->identifier != "Animation") {
            continue;
        }
        AnimationKeys keys;
        for (const auto& part : animation->children) {
            if (part->reference) {
                if (keys.name.empty()) {
                    keys.name = part->name;
                }
            } else if (part->identifier == "AnimationKey" && !ReadKeys(*part, &keys, error)) {
                *error = "animation set " + set.name + ": " + *error;
                return false;
            }
        }
        if (keys.name.empty()) {
            continue;
        }
        if (const D3DXMATRIX* initial = frameMatrix(keys.name)) {
            D3DXVECTOR3 s;
            D3DXQUATERNION r;
            D3DXVECTOR3 t;
            if (SUCCEEDED(D3DXMatrixDecompose(&s, &r, &t, initial))) {
                if (keys.scale.empty()) {
                    keys.scale.push_back({0.0f, s});
                }
                if (keys.rotation.empty()) {
                    keys.rotation.push_back({0.0f, r});
                }
                if (keys.translation.empty()) {
                    keys.translation.push_back({0.0f, t});
                }
            }
        }
        data->animations.push_back(std::move(keys));
    }
    SortKeys(data);
    return true;
}

}  // namespace d3dx
