#include "platform/d3dx/mesh_object.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/d3d9/vertex_processing.h"
#include "platform/d3dx/com_object.h"
#include "platform/d3dx/com_ptr.h"

UINT D3DXGetFVFVertexSize(DWORD fvf) {
    return d3d9_internal::LayoutOf(fvf).size;
}

namespace d3dx {
namespace {

D3DPOOL VertexPool(DWORD options) {
    if (options & D3DXMESH_VB_SYSTEMMEM) {
        return D3DPOOL_SYSTEMMEM;
    }
    return (options & D3DXMESH_VB_MANAGED) ? D3DPOOL_MANAGED : D3DPOOL_DEFAULT;
}

D3DPOOL IndexPool(DWORD options) {
    if (options & D3DXMESH_IB_SYSTEMMEM) {
        return D3DPOOL_SYSTEMMEM;
    }
    return (options & D3DXMESH_IB_MANAGED) ? D3DPOOL_MANAGED : D3DPOOL_DEFAULT;
}

// One entry per run of faces with the same attribute id.
std::vector<D3DXATTRIBUTERANGE> BuildTable(const MeshContents& contents) {
    std::vector<D3DXATTRIBUTERANGE> table;
    const std::size_t faces = contents.attributes.size();
    for (std::size_t face = 0; face < faces; ++face) {
        const DWORD id = contents.attributes[face];
        std::uint32_t low = contents.indices[face * 3];
        std::uint32_t high = low;
        for (int corner = 0; corner < 3; ++corner) {
            low = std::min(low, contents.indices[face * 3 + corner]);
            high = std::max(high, contents.indices[face * 3 + corner]);
        }
        if (table.empty() || table.back().AttribId != id) {
            table.push_back(D3DXATTRIBUTERANGE{id, static_cast<DWORD>(face), 0, low, 0});
            table.back().VertexCount = high - low + 1;
        }
        D3DXATTRIBUTERANGE& range = table.back();
        const DWORD end = std::max(range.VertexStart + range.VertexCount, high + 1);
        range.VertexStart = std::min(range.VertexStart, low);
        range.VertexCount = end - range.VertexStart;
        ++range.FaceCount;
    }
    return table;
}

class Mesh final : public ComObject<ID3DXMesh> {
public:
    Mesh(IDirect3DDevice9* device, DWORD options, DWORD fvf, UINT stride, DWORD vertices,
         DWORD faces)
        : device_(device),
          options_(options),
          fvf_(fvf),
          stride_(stride),
          numVertices_(vertices),
          numFaces_(faces) {
        device_->AddRef();
    }

    HRESULT Initialize(const MeshContents& contents);

    HRESULT DrawSubset(DWORD attribId) override;
    DWORD GetNumFaces() override { return numFaces_; }
    DWORD GetNumVertices() override { return numVertices_; }
    DWORD GetFVF() override { return fvf_; }
    DWORD GetNumBytesPerVertex() override { return stride_; }
    DWORD GetOptions() override { return options_; }
    HRESULT GetDevice(IDirect3DDevice9** device) override {
        if (device == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        device_->AddRef();
        *device = device_;
        return D3D_OK;
    }
    HRESULT CloneMeshFVF(DWORD options, DWORD fvf, IDirect3DDevice9* device,
                         ID3DXMesh** clone) override;
    HRESULT GetVertexBuffer(IDirect3DVertexBuffer9** buffer) override {
        return Hand(vertexBuffer_.get(), buffer);
    }
    HRESULT GetIndexBuffer(IDirect3DIndexBuffer9** buffer) override {
        return Hand(indexBuffer_.get(), buffer);
    }
    HRESULT LockVertexBuffer(DWORD flags, LPVOID* data) override {
        return vertexBuffer_->Lock(0, 0, data, flags);
    }
    HRESULT UnlockVertexBuffer() override { return vertexBuffer_->Unlock(); }
    HRESULT LockIndexBuffer(DWORD flags, LPVOID* data) override {
        return indexBuffer_->Lock(0, 0, data, flags);
    }
    HRESULT UnlockIndexBuffer() override { return indexBuffer_->Unlock(); }
    HRESULT GetAttributeTable(D3DXATTRIBUTERANGE* table, DWORD* size) override;

private:
    ~Mesh() override { device_->Release(); }

    template <typename Interface>
    static HRESULT Hand(Interface* buffer, Interface** out) {
        if (out == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        buffer->AddRef();
        *out = buffer;
        return D3D_OK;
    }

    IDirect3DDevice9* device_;
    DWORD options_;
    DWORD fvf_;
    UINT stride_;
    DWORD numVertices_;
    DWORD numFaces_;
    ComPtr<IDirect3DVertexBuffer9> vertexBuffer_;
    ComPtr<IDirect3DIndexBuffer9> indexBuffer_;
    std::vector<DWORD> attributes_;
    std::vector<D3DXATTRIBUTERANGE> table_;
};

HRESULT Mesh::Initialize(const MeshContents& contents) {
    IDirect3DVertexBuffer9* vertices = nullptr;
    HRESULT hr = device_->CreateVertexBuffer(static_cast<UINT>(contents.vertices.size()), 0, fvf_,
                                             VertexPool(options_), &vertices, nullptr);
    if (FAILED(hr)) {
        return hr;
    }
    vertexBuffer_.reset(vertices);
    const bool wide = (options_ & D3DXMESH_32BIT) != 0 || numVertices_ > 0xFFFF;
    options_ = wide ? options_ | D3DXMESH_32BIT : options_;
    const UINT indexBytes = static_cast<UINT>(contents.indices.size()) * (wide ? 4 : 2);
    IDirect3DIndexBuffer9* indices = nullptr;
    hr = device_->CreateIndexBuffer(indexBytes, 0, wide ? D3DFMT_INDEX32 : D3DFMT_INDEX16,
                                    IndexPool(options_), &indices, nullptr);
    if (FAILED(hr)) {
        return hr;
    }
    indexBuffer_.reset(indices);
    void* data = nullptr;
    if (FAILED(hr = vertexBuffer_->Lock(0, 0, &data, 0))) {
        return hr;
    }
    std::memcpy(data, contents.vertices.data(), contents.vertices.size());
    vertexBuffer_->Unlock();
    if (FAILED(hr = indexBuffer_->Lock(0, 0, &data, 0))) {
        return hr;
    }
    auto* bytes = static_cast<std::uint8_t*>(data);
    for (std::size_t i = 0; i < contents.indices.size(); ++i) {
        if (wide) {
            std::memcpy(bytes + i * 4, &contents.indices[i], 4);
        } else {
            const auto narrow = static_cast<std::uint16_t>(contents.indices[i]);
            std::memcpy(bytes + i * 2, &narrow, 2);
        }
    }
    indexBuffer_->Unlock();
    attributes_ = contents.attributes;
    table_ = BuildTable(contents);
    return D3D_OK;
}

HRESULT Mesh::DrawSubset(DWORD attribId) {
    for (const D3DXATTRIBUTERANGE& range : table_) {
        if (range.AttribId != attribId || range.FaceCount == 0) {
            continue;
        }
        HRESULT hr = device_->SetFVF(fvf_);
        if (SUCCEEDED(hr)) {
            hr = device_->SetStreamSource(0, vertexBuffer_.get(), 0, stride_);
        }
        if (SUCCEEDED(hr)) {
            hr = device_->SetIndices(indexBuffer_.get());
        }
        if (SUCCEEDED(hr)) {
            hr = device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, range.VertexStart,
                                               range.VertexCount, range.FaceStart * 3,
                                               range.FaceCount);
        }
        if (FAILED(hr)) {
            return hr;
        }
    }
    return D3D_OK;
}

HRESULT Mesh::GetAttributeTable(D3DXATTRIBUTERANGE* table, DWORD* size) {
    if (size == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    if (table == nullptr) {
        *size = static_cast<DWORD>(table_.size());
        return D3D_OK;
    }
    const DWORD count = std::min<DWORD>(*size, static_cast<DWORD>(table_.size()));
    std::copy_n(table_.begin(), count, table);
    *size = count;
    return D3D_OK;
}

HRESULT Mesh::CloneMeshFVF(DWORD options, DWORD fvf, IDirect3DDevice9* device, ID3DXMesh** clone) {
    if (clone == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *clone = nullptr;
    const d3d9_internal::VertexLayout from = d3d9_internal::LayoutOf(fvf_);
    const d3d9_internal::VertexLayout to = d3d9_internal::LayoutOf(fvf);
    if (device == nullptr || to.size == 0 || !to.untransformed) {
        return D3DERR_INVALIDCALL;
    }
    MeshContents contents;
    contents.fvf = fvf;
    contents.vertices.assign(static_cast<std::size_t>(to.size) * numVertices_, 0);
    void* data = nullptr;
    HRESULT hr = vertexBuffer_->Lock(0, 0, &data, D3DLOCK_READONLY);
    if (FAILED(hr)) {
        return hr;
    }
    const auto* source = static_cast<const std::uint8_t*>(data);
    for (DWORD v = 0; v < numVertices_; ++v) {
        const std::uint8_t* in = source + static_cast<std::size_t>(v) * stride_;
        std::uint8_t* out = contents.vertices.data() + static_cast<std::size_t>(v) * to.size;
        std::memcpy(out, in, 12);
        auto part = [&](int fromOffset, int toOffset, std::size_t bytes, std::uint32_t fill) {
            if (toOffset < 0) {
                return;
            }
            if (fromOffset >= 0) {
                std::memcpy(out + toOffset, in + fromOffset, bytes);
            } else {
                for (std::size_t i = 0; i < bytes; i += 4) {
                    std::memcpy(out + toOffset + i, &fill, 4);
                }
            }
        };
        part(from.normal, to.normal, 12, 0);
        part(from.diffuse, to.diffuse, 4, 0xFFFFFFFFu);
        part(from.specular, to.specular, 4, 0);
        part(from.texcoord, to.texcoord, 8, 0);
    }
    vertexBuffer_->Unlock();
    if (FAILED(hr = indexBuffer_->Lock(0, 0, &data, D3DLOCK_READONLY))) {
        return hr;
    }
    const bool wide = (options_ & D3DXMESH_32BIT) != 0;
    contents.indices.resize(static_cast<std::size_t>(numFaces_) * 3);
    for (std::size_t i = 0; i < contents.indices.size(); ++i) {
        if (wide) {
            std::memcpy(&contents.indices[i], static_cast<const std::uint8_t*>(data) + i * 4, 4);
        } else {
            std::uint16_t narrow;
            std::memcpy(&narrow, static_cast<const std::uint8_t*>(data) + i * 2, 2);
            contents.indices[i] = narrow;
        }
    }
    indexBuffer_->Unlock();
    contents.attributes = attributes_;
    return CreateMesh(device, options, contents, clone);
}

}  // namespace

HRESULT CreateMesh(IDirect3DDevice9* device, DWORD options, const MeshContents& contents,
                   ID3DXMesh** mesh) {
    if (mesh == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *mesh = nullptr;
    const UINT stride = D3DXGetFVFVertexSize(contents.fvf);
    const d3d9_internal::VertexLayout layout = d3d9_internal::LayoutOf(contents.fvf);
    const std::size_t faces = contents.attributes.size();
    if (device == nullptr || stride == 0 || !layout.untransformed || faces == 0 ||
        contents.vertices.empty() || contents.vertices.size() % stride != 0 ||
        contents.indices.size() != faces * 3) {
        return D3DERR_INVALIDCALL;
    }
    const std::size_t vertices = contents.vertices.size() / stride;
    if (vertices > 0xFFFFFFFEu || faces > 0x0FFFFFFFu) {
        return D3DERR_INVALIDCALL;
    }
    for (std::uint32_t index : contents.indices) {
        if (index >= vertices) {
            return D3DERR_INVALIDCALL;
        }
    }
    Mesh* created =
        new (std::nothrow) Mesh(device, options, contents.fvf, stride, static_cast<DWORD>(vertices),
                                static_cast<DWORD>(faces));
    if (created == nullptr) {
        return E_OUTOFMEMORY;
    }
    const HRESULT hr = created->Initialize(contents);
    if (FAILED(hr)) {
        created->Release();
        return hr;
    }
    *mesh = created;
    return D3D_OK;
}

}  // namespace d3dx
