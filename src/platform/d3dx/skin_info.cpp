#include "platform/d3dx/skin_info.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/d3d9/d3d9_types.h"
#include "platform/d3d9/vertex_processing.h"
#include "platform/d3dx/com_object.h"

namespace d3dx {
namespace {

struct Point {
    float x = 0;
    float y = 0;
    float z = 0;
};

Point ReadPoint(const std::uint8_t* at) {
    Point p;
    std::memcpy(&p, at, sizeof p);
    return p;
}

class SkinInfo final : public ComObject<ID3DXSkinInfo> {
public:
    SkinInfo(DWORD vertexCount, DWORD fvf, std::vector<SkinBone> bones)
        : vertexCount_(vertexCount), fvf_(fvf), bones_(std::move(bones)) {
        const d3d9_internal::VertexLayout layout = d3d9_internal::LayoutOf(fvf);
        stride_ = layout.size;
        normal_ = layout.normal;
        std::vector<DWORD> counts(vertexCount, 0);
        for (const SkinBone& bone : bones_) {
            for (DWORD v : bone.vertices) {
                maxInfluences_ = std::max(maxInfluences_, ++counts[v]);
            }
        }
        moved_.resize(vertexCount);
        for (DWORD v = 0; v < vertexCount; ++v) {
            moved_[v] = counts[v] > 0;
        }
    }

    DWORD GetNumBones() override { return static_cast<DWORD>(bones_.size()); }
    LPCSTR GetBoneName(DWORD bone) override {
        return bone < bones_.size() ? bones_[bone].name.c_str() : nullptr;
    }
    D3DXMATRIX* GetBoneOffsetMatrix(DWORD bone) override {
        return bone < bones_.size() ? &bones_[bone].offset : nullptr;
    }
    DWORD GetNumBoneInfluences(DWORD bone) override {
        return bone < bones_.size() ? static_cast<DWORD>(bones_[bone].vertices.size()) : 0;
    }
    HRESULT GetBoneInfluence(DWORD bone, DWORD* vertices, FLOAT* weights) override {
        if (bone >= bones_.size() || vertices == nullptr || weights == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        std::copy(bones_[bone].vertices.begin(), bones_[bone].vertices.end(), vertices);
        std::copy(bones_[bone].weights.begin(), bones_[bone].weights.end(), weights);
        return D3D_OK;
    }
    HRESULT GetMaxVertexInfluences(DWORD* maxInfluences) override {
        if (maxInfluences == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        *maxInfluences = maxInfluences_;
        return D3D_OK;
    }
    DWORD GetFVF() override { return fvf_; }
    HRESULT UpdateSkinnedMesh(const D3DXMATRIX* boneTransforms,
                              const D3DXMATRIX* boneInvTransposeTransforms, LPCVOID source,
                              LPVOID dest) override;

private:
    ~SkinInfo() override = default;

    DWORD vertexCount_;
    DWORD fvf_;
    UINT stride_ = 0;
    int normal_ = -1;
    DWORD maxInfluences_ = 0;
    std::vector<SkinBone> bones_;
    std::vector<bool> moved_;
    // Sums of positions and normals, six floats per vertex.
    std::vector<float> sums_;
};

HRESULT SkinInfo::UpdateSkinnedMesh(const D3DXMATRIX* boneTransforms,
                                    const D3DXMATRIX* boneInvTransposeTransforms, LPCVOID source,
                                    LPVOID dest) {
    if (boneTransforms == nullptr || source == nullptr || dest == nullptr || stride_ == 0) {
        return D3DERR_INVALIDCALL;
    }
    const auto* in = static_cast<const std::uint8_t*>(source);
    auto* out = static_cast<std::uint8_t*>(dest);
    sums_.assign(static_cast<std::size_t>(vertexCount_) * 6, 0.0f);
    for (std::size_t b = 0; b < bones_.size(); ++b) {
        const D3DXMATRIX& m = boneTransforms[b];
        const D3DXMATRIX& n =
            boneInvTransposeTransforms != nullptr ? boneInvTransposeTransforms[b] : m;
        const SkinBone& bone = bones_[b];
        for (std::size_t i = 0; i < bone.vertices.size(); ++i) {
            const DWORD v = bone.vertices[i];
            const float w = bone.weights[i];
            const std::uint8_t* vertex = in + static_cast<std::size_t>(v) * stride_;
            float* sum = &sums_[static_cast<std::size_t>(v) * 6];
            const Point p = ReadPoint(vertex);
            sum[0] += (p.x * m._11 + p.y * m._21 + p.z * m._31 + m._41) * w;
            sum[1] += (p.x * m._12 + p.y * m._22 + p.z * m._32 + m._42) * w;
            sum[2] += (p.x * m._13 + p.y * m._23 + p.z * m._33 + m._43) * w;
            if (normal_ >= 0) {
                const Point q = ReadPoint(vertex + normal_);
                sum[3] += (q.x * n._11 + q.y * n._21 + q.z * n._31) * w;
                sum[4] += (q.x * n._12 + q.y * n._22 + q.z * n._32) * w;
                sum[5] += (q.x * n._13 + q.y * n._23 + q.z * n._33) * w;
            }
        }
    }
    for (DWORD v = 0; v < vertexCount_; ++v) {
        const std::uint8_t* from = in + static_cast<std::size_t>(v) * stride_;
        std::uint8_t* to = out + static_cast<std::size_t>(v) * stride_;
        const float* sum = &sums_[static_cast<std::size_t>(v) * 6];
        if (!moved_[v]) {
            std::memmove(to, from, 12);
            if (normal_ >= 0) {
                std::memmove(to + normal_, from + normal_, 12);
            }
            continue;
        }
        std::memcpy(to, sum, 12);
        if (normal_ >= 0) {
            std::memcpy(to + normal_, sum + 3, 12);
        }
    }
    return D3D_OK;
}

}  // namespace

HRESULT CreateSkinInfo(DWORD vertexCount, DWORD fvf, std::vector<SkinBone> bones,
                       ID3DXSkinInfo** skin) {
    if (skin == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *skin = nullptr;
    const d3d9_internal::VertexLayout layout = d3d9_internal::LayoutOf(fvf);
    if (layout.size == 0 || !layout.untransformed) {
        return D3DERR_INVALIDCALL;
    }
    for (const SkinBone& bone : bones) {
        if (bone.vertices.size() != bone.weights.size()) {
            return D3DERR_INVALIDCALL;
        }
        for (DWORD v : bone.vertices) {
            if (v >= vertexCount) {
                return D3DERR_INVALIDCALL;
            }
        }
    }
    *skin = new (std::nothrow) SkinInfo(vertexCount, fvf, std::move(bones));
    return *skin != nullptr ? D3D_OK : E_OUTOFMEMORY;
}

}  // namespace d3dx
