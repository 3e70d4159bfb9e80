#include "platform/d3dx/animation_set.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "platform/d3d9/d3d9_types.h"
#include "platform/d3dx/com_object.h"
#include "platform/d3dx/d3dx_errors.h"
#include "platform/winbase/byte_reader.h"
#include "platform/winbase/byte_writer.h"

const IID IID_ID3DXKeyframedAnimationSet = {
    0x6A4B7E21, 0x3C0D, 0x4E5F, {0x9A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F, 0x60, 0x71}};
const IID IID_ID3DXCompressedAnimationSet = {
    0x6A4B7E22, 0x3C0D, 0x4E5F, {0x9A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F, 0x60, 0x72}};

namespace d3dx {
namespace {

// "QVNA", the packing of Compress.
constexpr std::uint32_t kPackMagic = 0x414E5651;

template <typename Key>
void SortByTime(std::vector<Key>* keys) {
    std::stable_sort(keys->begin(), keys->end(),
                     [](const Key& a, const Key& b) { return a.Time < b.Time; });
}

// The key interval around `ticks`: the index of the first key after it.
template <typename Key>
std::size_t KeyAfter(const std::vector<Key>& keys, double ticks) {
    return static_cast<std::size_t>(
        std::upper_bound(keys.begin(), keys.end(), ticks,
                         [](double t, const Key& key) { return t < key.Time; }) -
        keys.begin());
}

D3DXVECTOR3 SampleVector(const std::vector<D3DXKEY_VECTOR3>& keys, double ticks, D3DXVECTOR3 none) {
    if (keys.empty()) {
        return none;
    }
    const std::size_t after = KeyAfter(keys, ticks);
    if (after == 0) {
        return keys.front().Value;
    }
    if (after == keys.size()) {
        return keys.back().Value;
    }
    const D3DXKEY_VECTOR3& a = keys[after - 1];
    const D3DXKEY_VECTOR3& b = keys[after];
    const auto t = static_cast<float>((ticks - a.Time) / (b.Time - a.Time));
    return {a.Value.x + (b.Value.x - a.Value.x) * t, a.Value.y + (b.Value.y - a.Value.y) * t,
            a.Value.z + (b.Value.z - a.Value.z) * t};
}

D3DXQUATERNION SampleRotation(const std::vector<D3DXKEY_QUATERNION>& keys, double ticks) {
    D3DXQUATERNION q{0, 0, 0, 1};
    if (keys.empty()) {
        return q;
    }
    const std::size_t after = KeyAfter(keys, ticks);
    if (after == 0) {
        return keys.front().Value;
    }
    if (after == keys.size()) {
        return keys.back().Value;
    }
    const D3DXKEY_QUATERNION& a = keys[after - 1];
    const D3DXKEY_QUATERNION& b = keys[after];
    D3DXQuaternionSlerp(&q, &a.Value, &b.Value,
                        static_cast<float>((ticks - a.Time) / (b.Time - a.Time)));
    return q;
}

double PeriodOf(const AnimationSetData& data) {
    float last = 0.0f;
    for (const AnimationKeys& keys : data.animations) {
        for (const auto& key : keys.scale) {
            last = std::max(last, key.Time);
        }
        for (const auto& key : keys.rotation) {
            last = std::max(last, key.Time);
        }
        for (const auto& key : keys.translation) {
            last = std::max(last, key.Time);
        }
    }
    return static_cast<double>(last) / data.ticksPerSecond;
}

void PackVectors(ByteWriter* out, const std::vector<D3DXKEY_VECTOR3>& keys) {
    out->U32(static_cast<std::uint32_t>(keys.size()));
    for (const auto& key : keys) {
        out->F32(key.Time);
        out->F32(key.Value.x);
        out->F32(key.Value.y);
        out->F32(key.Value.z);
    }
}

bool UnpackVectors(ByteReader* in, std::vector<D3DXKEY_VECTOR3>* keys) {
    const std::uint32_t count = in->U32();
    if (in->Failed() || count > in->Remaining() / 16) {
        return false;
    }
    keys->resize(count);
    for (auto& key : *keys) {
        key.Time = in->F32();
        key.Value = {in->F32(), in->F32(), in->F32()};
        if (!std::isfinite(key.Time)) {
            return false;
        }
    }
    return !in->Failed();
}

std::vector<std::uint8_t> Pack(const AnimationSetData& data) {
    ByteWriter out;
    out.U32(kPackMagic);
    out.U32(static_cast<std::uint32_t>(data.animations.size()));
    for (const AnimationKeys& keys : data.animations) {
        out.U32(static_cast<std::uint32_t>(keys.name.size()));
        out.Bytes(keys.name.data(), keys.name.size());
        PackVectors(&out, keys.scale);
        out.U32(static_cast<std::uint32_t>(keys.rotation.size()));
        for (const auto& key : keys.rotation) {
            out.F32(key.Time);
            out.F32(key.Value.x);
            out.F32(key.Value.y);
            out.F32(key.Value.z);
            out.F32(key.Value.w);
        }
        PackVectors(&out, keys.translation);
    }
    return out.Take();
}

bool Unpack(const void* bytes, std::size_t size, AnimationSetData* data) {
    ByteReader in(bytes, size);
    if (in.U32() != kPackMagic) {
        return false;
    }
    const std::uint32_t count = in.U32();
    // An animation takes at least 16 bytes.
    if (in.Failed() || count > in.Remaining() / 16) {
        return false;
    }
    data->animations.resize(count);
    for (AnimationKeys& keys : data->animations) {
        const std::uint32_t length = in.U32();
        const auto name = in.Span(length);
        keys.name.assign(reinterpret_cast<const char*>(name.data()), name.size());
        if (!UnpackVectors(&in, &keys.scale)) {
            return false;
        }
        const std::uint32_t rotations = in.U32();
        if (in.Failed() || rotations > in.Remaining() / 20) {
            return false;
        }
        keys.rotation.resize(rotations);
        for (auto& key : keys.rotation) {
            key.Time = in.F32();
            key.Value = {in.F32(), in.F32(), in.F32(), in.F32()};
            if (!std::isfinite(key.Time)) {
                return false;
            }
        }
        if (!UnpackVectors(&in, &keys.translation)) {
            return false;
        }
    }
    return !in.Failed() && in.AtEnd();
}

// What both kinds of set share: the keys and their sampling.
template <typename Interface>
class AnimationSetBase : public ComObject<Interface> {
public:
    explicit AnimationSetBase(AnimationSetData data) : data_(std::move(data)) {
        SortKeys(&data_);
        period_ = PeriodOf(data_);
    }

    LPCSTR GetName() override { return data_.name.c_str(); }
    DOUBLE GetPeriod() override { return period_; }
    DOUBLE GetPeriodicPosition(DOUBLE position) override {
        if (!(period_ > 0.0) || !std::isfinite(position)) {
            return 0.0;
        }
        switch (data_.playback) {
            case D3DXPLAY_ONCE:
                return std::clamp(position, 0.0, period_);
            case D3DXPLAY_PINGPONG: {
                double m = std::fmod(position, 2.0 * period_);
                m = m < 0.0 ? m + 2.0 * period_ : m;
                return m <= period_ ? m : 2.0 * period_ - m;
            }
            default: {
                const double m = std::fmod(position, period_);
                return m < 0.0 ? m + period_ : m;
            }
        }
    }
    UINT GetNumAnimations() override { return static_cast<UINT>(data_.animations.size()); }
    HRESULT GetAnimationNameByIndex(UINT animation, LPCSTR* name) override {
        if (name == nullptr || animation >= data_.animations.size()) {
            return D3DERR_INVALIDCALL;
        }
        *name = data_.animations[animation].name.c_str();
        return D3D_OK;
    }
    HRESULT GetAnimationIndexByName(LPCSTR name, UINT* animation) override {
        if (name == nullptr || animation == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        for (std::size_t i = 0; i < data_.animations.size(); ++i) {
            if (data_.animations[i].name == name) {
                *animation = static_cast<UINT>(i);
                return D3D_OK;
            }
        }
        return D3DERR_NOTFOUND;
    }
    HRESULT GetSRT(DOUBLE periodicPosition, UINT animation, D3DXVECTOR3* scale,
                   D3DXQUATERNION* rotation, D3DXVECTOR3* translation) override {
        if (animation >= data_.animations.size()) {
            return D3DERR_INVALIDCALL;
        }
        const AnimationKeys& keys = data_.animations[animation];
        const double ticks = periodicPosition * data_.ticksPerSecond;
        if (scale != nullptr) {
            *scale = SampleVector(keys.scale, ticks, {1, 1, 1});
        }
        if (rotation != nullptr) {
            *rotation = SampleRotation(keys.rotation, ticks);
        }
        if (translation != nullptr) {
            *translation = SampleVector(keys.translation, ticks, {0, 0, 0});
        }
        return D3D_OK;
    }
    D3DXPLAYBACK_TYPE GetPlaybackType() override { return data_.playback; }
    DOUBLE GetSourceTicksPerSecond() override { return data_.ticksPerSecond; }
    UINT GetNumCallbackKeys() override { return static_cast<UINT>(data_.callbacks.size()); }
    HRESULT GetCallbackKeys(D3DXKEY_CALLBACK* keys) override {
        if (keys == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        std::copy(data_.callbacks.begin(), data_.callbacks.end(), keys);
        return D3D_OK;
    }

protected:
    ~AnimationSetBase() override = default;

    HRESULT Query(REFIID riid, const IID& own, void** object) {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (!(riid == own)) {
            return E_NOINTERFACE;
        }
        this->AddRef();
        *object = static_cast<Interface*>(this);
        return S_OK;
    }

    AnimationSetData data_;
    double period_ = 0.0;
};

class KeyframedSet final : public AnimationSetBase<ID3DXKeyframedAnimationSet> {
public:
    using AnimationSetBase::AnimationSetBase;

    HRESULT QueryInterface(REFIID riid, void** object) override {
        return Query(riid, IID_ID3DXKeyframedAnimationSet, object);
    }
    HRESULT Compress(DWORD, FLOAT, D3DXFRAME*, ID3DXBuffer** compressedData) override {
        if (compressedData == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        const std::vector<std::uint8_t> bytes = Pack(data_);
        const HRESULT hr = D3DXCreateBuffer(static_cast<DWORD>(bytes.size()), compressedData);
        if (SUCCEEDED(hr)) {
            std::memcpy((*compressedData)->GetBufferPointer(), bytes.data(), bytes.size());
        }
        return hr;
    }
};

class CompressedSet final : public AnimationSetBase<ID3DXCompressedAnimationSet> {
public:
    CompressedSet(AnimationSetData data, ID3DXBuffer* packed)
        : AnimationSetBase(std::move(data)), packed_(packed) {
        packed_->AddRef();
    }

    HRESULT QueryInterface(REFIID riid, void** object) override {
        return Query(riid, IID_ID3DXCompressedAnimationSet, object);
    }
    HRESULT GetCompressedData(ID3DXBuffer** compressedData) override {
        if (compressedData == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        packed_->AddRef();
        *compressedData = packed_;
        return D3D_OK;
    }

private:
    ~CompressedSet() override { packed_->Release(); }

    ID3DXBuffer* packed_;
};

}  // namespace

void SortKeys(AnimationSetData* data) {
    for (AnimationKeys& keys : data->animations) {
        SortByTime(&keys.scale);
        SortByTime(&keys.rotation);
        SortByTime(&keys.translation);
    }
    SortByTime(&data->callbacks);
}

HRESULT CreateKeyframedAnimationSet(AnimationSetData data, ID3DXKeyframedAnimationSet** set) {
    if (set == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *set = nullptr;
    if (!(data.ticksPerSecond > 0.0)) {
        return D3DERR_INVALIDCALL;
    }
    *set = new (std::nothrow) KeyframedSet(std::move(data));
    return *set != nullptr ? D3D_OK : E_OUTOFMEMORY;
}

}  // namespace d3dx

HRESULT D3DXCreateCompressedAnimationSet(LPCSTR name, DOUBLE ticksPerSecond,
                                         D3DXPLAYBACK_TYPE playback, ID3DXBuffer* compressedData,
                                         UINT numCallbackKeys, const D3DXKEY_CALLBACK* callbackKeys,
                                         ID3DXCompressedAnimationSet** animationSet) {
    if (animationSet == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *animationSet = nullptr;
    if (compressedData == nullptr || !(ticksPerSecond > 0.0) ||
        (numCallbackKeys > 0 && callbackKeys == nullptr) || playback > D3DXPLAY_PINGPONG) {
        return D3DERR_INVALIDCALL;
    }
    d3dx::AnimationSetData data;
    data.name = name != nullptr ? name : "";
    data.ticksPerSecond = ticksPerSecond;
    data.playback = playback;
    if (!d3dx::Unpack(compressedData->GetBufferPointer(), compressedData->GetBufferSize(), &data)) {
        return D3DXERR_INVALIDDATA;
    }
    data.callbacks.assign(callbackKeys, callbackKeys + numCallbackKeys);
    for (const D3DXKEY_CALLBACK& key : data.callbacks) {
        if (!std::isfinite(key.Time)) {
            return D3DERR_INVALIDCALL;
        }
    }
    *animationSet = new (std::nothrow) d3dx::CompressedSet(std::move(data), compressedData);
    return *animationSet != nullptr ? D3D_OK : E_OUTOFMEMORY;
}
