#include "platform/d3dx/xfile_mesh.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <unordered_map>

#include "platform/d3dx/mesh_object.h"
#include "platform/d3dx/xfile_document.h"
#include "platform/winbase/byte_reader.h"
#include "platform/winbase/byte_writer.h"

namespace d3dx {
namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFFu;

struct Face {
    std::vector<std::uint32_t> corners;
};

D3DXVECTOR3 ReadVector(ByteReader* in) {
    const float x = in->F32();
    const float y = in->F32();
    const float z = in->F32();
    return {x, y, z};
}

// Faces whose corners index fewer than `limit` entries; null, or what is wrong.
const char* ReadFaces(ByteReader* in, std::uint32_t limit, std::vector<Face>* faces) {
    const std::uint32_t count = in->U32();
    if (in->Failed() || count > in->Remaining() / 4) {
        return "faces past the end";
    }
    faces->resize(count);
    for (Face& face : *faces) {
        const std::uint32_t corners = in->U32();
        if (in->Failed() || corners > in->Remaining() / 4) {
            return "faces past the end";
        }
        if (corners < 3) {
            return "a face with fewer than three corners";
        }
        face.corners.resize(corners);
        for (std::uint32_t& corner : face.corners) {
            corner = in->U32();
            if (corner >= limit) {
                return "a face corner beyond the vertices";
            }
        }
    }
    return in->Failed() ? "faces past the end" : nullptr;
}

D3DCOLOR ColourOf(float r, float g, float b, float a) {
    auto channel = [](float v) {
        const float clamped = v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f;
        return static_cast<DWORD>(clamped * 255.0f + 0.5f);
    };
    return D3DCOLOR_ARGB(channel(a), channel(r), channel(g), channel(b));
}

bool ReadMaterial(const XDocument& document, const XData& data, MaterialEntry* entry) {
    ByteReader in(data.record.data(), data.record.size());
    D3DMATERIAL9& m = entry->material;
    m.Diffuse = {in.F32(), in.F32(), in.F32(), in.F32()};
    m.Power = in.F32();
    m.Specular = {in.F32(), in.F32(), in.F32(), 1.0f};
    m.Emissive = {in.F32(), in.F32(), in.F32(), 1.0f};
    m.Ambient = {0.0f, 0.0f, 0.0f, 0.0f};
    for (const auto& child : data.children) {
        const XData* texture = document.Resolve(child.get());
        if (texture != nullptr && texture->identifier == "TextureFilename") {
            ByteReader name(texture->record.data(), texture->record.size());
            entry->texture = std::string(name.TerminatedView(name.Remaining()));
            entry->hasTexture = !name.Failed();
        }
    }
    return !in.Failed();
}

MaterialEntry DefaultMaterial() {
    MaterialEntry entry;
    entry.material.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    return entry;
}

// The reading of one Mesh object.
struct MeshReader {
    const XDocument& document;
    MeshGeometry* geometry;
    std::string* error;

    std::vector<D3DXVECTOR3> positions;
    std::vector<Face> faces;
    std::vector<D3DXVECTOR3> normals;
    std::vector<Face> faceNormals;
    std::vector<float> uv;
    std::vector<D3DCOLOR> colours;
    std::vector<DWORD> faceMaterials;

    bool Fail(const std::string& what) {
        *error = "mesh " + geometry->name + ": " + what;
        return false;
    }

    bool ReadNormals(const XData& data) {
        ByteReader in(data.record.data(), data.record.size());
        const std::uint32_t count = in.U32();
        if (in.Failed() || count > in.Remaining() / 12) {
            return Fail("bad normals");
        }
        normals.resize(count);
        for (D3DXVECTOR3& n : normals) {
            n = ReadVector(&in);
        }
        if (const char* fault = ReadFaces(&in, count, &faceNormals)) {
            return Fail(std::string("normals: ") + fault);
        }
        if (faceNormals.size() != faces.size()) {
            return Fail("the face normals do not match the faces");
        }
        for (std::size_t f = 0; f < faces.size(); ++f) {
            if (faceNormals[f].corners.size() != faces[f].corners.size()) {
                return Fail("the face normals do not match the faces");
            }
        }
        return true;
    }

    bool ReadTextureCoords(const XData& data) {
        ByteReader in(data.record.data(), data.record.size());
        const std::uint32_t count = in.U32();
        if (in.Failed() || count != positions.size()) {
            return Fail("not one texture coordinate per vertex");
        }
        uv.resize(static_cast<std::size_t>(count) * 2);
        for (float& value : uv) {
            value = in.F32();
        }
        return !in.Failed() || Fail("bad texture coordinates");
    }

    bool ReadColours(const XData& data) {
        ByteReader in(data.record.data(), data.record.size());
        const std::uint32_t count = in.U32();
        colours.assign(positions.size(), 0xFFFFFFFFu);
        for (std::uint32_t i = 0; i < count && !in.Failed(); ++i) {
            const std::uint32_t index = in.U32();
            const float r = in.F32();
            const float g = in.F32();
            const float b = in.F32();
            const float a = in.F32();
            if (index >= positions.size()) {
                return Fail("a vertex colour of no vertex");
            }
            colours[index] = ColourOf(r, g, b, a);
        }
        return !in.Failed() || Fail("bad vertex colours");
    }

    bool ReadMaterialList(const XData& data) {
        ByteReader in(data.record.data(), data.record.size());
        const std::uint32_t count = in.U32();
        const std::uint32_t indexCount = in.U32();
        if (in.Failed() || indexCount > in.Remaining() / 4) {
            return Fail("bad material list");
        }
        std::vector<DWORD> indices(indexCount);
        for (DWORD& index : indices) {
            index = in.U32();
            if (index >= count) {
                return Fail("a face of no material");
            }
        }
        std::vector<MaterialEntry> materials;
        for (const auto& child : data.children) {
            const XData* material = document.Resolve(child.get());
            if (material == nullptr) {
                return Fail("a reference to no material");
            }
            if (material->identifier != "Material" || materials.size() == count) {
                continue;
            }
            MaterialEntry entry;
            if (!ReadMaterial(document, *material, &entry)) {
                return Fail("bad material");
            }
            materials.push_back(std::move(entry));
        }
        if (materials.size() < count) {
            return Fail("fewer materials than the list names");
        }
        if (count == 0) {
            return true;
        }
        geometry->materials = std::move(materials);
        // Faces past the list take its last index.
        faceMaterials.assign(faces.size(), indices.empty() ? 0 : indices.back());
        std::copy_n(indices.begin(), std::min(indices.size(), faces.size()), faceMaterials.begin());
        return true;
    }

    bool ReadSkinWeights(const XData& data) {
        ByteReader in(data.record.data(), data.record.size());
        SkinBone bone;
        bone.name = std::string(in.TerminatedView(in.Remaining()));
        const std::uint32_t count = in.U32();
        if (in.Failed() || count > in.Remaining() / 8) {
            return Fail("bad skin weights");
        }
        bone.vertices.resize(count);
        bone.weights.resize(count);
        for (DWORD& v : bone.vertices) {
            v = in.U32();
            if (v >= positions.size()) {
                return Fail("a skin weight of no vertex");
            }
        }
        for (float& w : bone.weights) {
            w = in.F32();
        }
        for (int i = 0; i < 16; ++i) {
            bone.offset.m[i / 4][i % 4] = in.F32();
        }
        if (in.Failed()) {
            return Fail("bad skin weights");
        }
        geometry->bones.push_back(std::move(bone));
        return true;
    }

    bool Read(const XData& mesh, std::vector<const XData*>* others);
    void Split();
};

bool MeshReader::Read(const XData& mesh, std::vector<const XData*>* others) {
    ByteReader in(mesh.record.data(), mesh.record.size());
    const std::uint32_t count = in.U32();
    if (in.Failed() || count == 0 || count > in.Remaining() / 12) {
        return Fail("no vertices");
    }
    positions.resize(count);
    for (D3DXVECTOR3& p : positions) {
        p = ReadVector(&in);
    }
    if (const char* fault = ReadFaces(&in, count, &faces)) {
        return Fail(fault);
    }
    if (faces.empty()) {
        return Fail("no faces");
    }
    for (const auto& child : mesh.children) {
        const XData* data = document.Resolve(child.get());
        if (data == nullptr) {
            return Fail("a reference to no object");
        }
        const std::string& kind = data->identifier;
        bool ok = true;
        if (kind == "MeshNormals") {
            ok = ReadNormals(*data);
        } else if (kind == "MeshTextureCoords") {
            ok = ReadTextureCoords(*data);
        } else if (kind == "MeshVertexColors") {
            ok = ReadColours(*data);
        } else if (kind == "MeshMaterialList") {
            ok = ReadMaterialList(*data);
        } else if (kind == "SkinWeights") {
            ok = ReadSkinWeights(*data);
        } else if (kind != "XSkinMeshHeader" && others != nullptr) {
            others->push_back(data);
        }
        if (!ok) {
            return false;
        }
    }
    if (geometry->materials.empty()) {
        geometry->materials.push_back(DefaultMaterial());
    }
    if (faceMaterials.empty()) {
        faceMaterials.assign(faces.size(), 0);
    }
    Split();
    return true;
}

// A vertex per distinct (position, normal) pair; the first pair of a position keeps its index.
void MeshReader::Split() {
    MeshGeometry& g = *geometry;
    const auto count = static_cast<std::uint32_t>(positions.size());
    std::vector<std::uint32_t> normalOf(count, kNone);
    std::unordered_map<std::uint64_t, std::uint32_t> copies;
    std::vector<std::uint32_t> extraRep;
    std::vector<std::uint32_t> extraNormal;
    auto vertexOf = [&](std::uint32_t p, std::uint32_t n) {
        if (n == kNone || normalOf[p] == kNone || normalOf[p] == n) {
            normalOf[p] = n == kNone ? normalOf[p] : n;
            return p;
        }
        const std::uint64_t key = (std::uint64_t{p} << 32) | n;
        const auto [at, added] =
            copies.emplace(key, count + static_cast<std::uint32_t>(extraRep.size()));
        if (added) {
            extraRep.push_back(p);
            extraNormal.push_back(n);
        }
        return at->second;
    };
    for (std::size_t f = 0; f < faces.size(); ++f) {
        const Face& face = faces[f];
        std::vector<std::uint32_t> corners(face.corners.size());
        for (std::size_t c = 0; c < face.corners.size(); ++c) {
            corners[c] =
                vertexOf(face.corners[c], normals.empty() ? kNone : faceNormals[f].corners[c]);
        }
        for (std::size_t c = 2; c < corners.size(); ++c) {
            g.triangles.insert(g.triangles.end(), {corners[0], corners[c - 1], corners[c]});
            g.faceAttributes.push_back(faceMaterials[f]);
        }
    }
    const std::size_t total = count + extraRep.size();
    g.pointReps.resize(total);
    std::iota(g.pointReps.begin(), g.pointReps.begin() + count, 0u);
    std::copy(extraRep.begin(), extraRep.end(), g.pointReps.begin() + count);
    g.positions.resize(total);
    for (std::size_t v = 0; v < total; ++v) {
        g.positions[v] = positions[g.pointReps[v]];
    }
    if (!normals.empty()) {
        g.normals.resize(total, D3DXVECTOR3{0, 0, 0});
        for (std::uint32_t v = 0; v < count; ++v) {
            g.normals[v] = normalOf[v] != kNone ? normals[normalOf[v]] : D3DXVECTOR3{0, 0, 0};
        }
        for (std::size_t e = 0; e < extraNormal.size(); ++e) {
            g.normals[count + e] = normals[extraNormal[e]];
        }
    }
    if (!uv.empty()) {
        g.uv.resize(total * 2);
        for (std::size_t v = 0; v < total; ++v) {
            g.uv[v * 2] = uv[g.pointReps[v] * 2];
            g.uv[v * 2 + 1] = uv[g.pointReps[v] * 2 + 1];
        }
    }
    if (!colours.empty()) {
        g.colours.resize(total);
        for (std::size_t v = 0; v < total; ++v) {
            g.colours[v] = colours[g.pointReps[v]];
        }
    }
    // Each weight moves every copy of its position.
    std::vector<std::vector<std::uint32_t>> copiesOf(count);
    for (std::size_t e = 0; e < extraRep.size(); ++e) {
        copiesOf[extraRep[e]].push_back(count + static_cast<std::uint32_t>(e));
    }
    for (SkinBone& bone : g.bones) {
        SkinBone split{bone.name, bone.offset, {}, {}};
        for (std::size_t i = 0; i < bone.vertices.size(); ++i) {
            const DWORD p = bone.vertices[i];
            split.vertices.push_back(p);
            split.weights.push_back(bone.weights[i]);
            for (std::uint32_t copy : copiesOf[p]) {
                split.vertices.push_back(copy);
                split.weights.push_back(bone.weights[i]);
            }
        }
        bone = std::move(split);
    }
}

DWORD FvfOf(const MeshGeometry& g) {
    DWORD fvf = D3DFVF_XYZ;
    fvf |= g.normals.empty() ? 0 : D3DFVF_NORMAL;
    fvf |= g.colours.empty() ? 0 : D3DFVF_DIFFUSE;
    fvf |= g.uv.empty() ? 0 : D3DFVF_TEX1;
    return fvf;
}

std::vector<DWORD> Adjacency(const MeshGeometry& g, const std::vector<std::uint32_t>& order) {
    struct Edge {
        std::uint64_t key;
        std::uint32_t face;
        std::uint32_t slot;
    };
    std::vector<Edge> edges;
    edges.reserve(order.size() * 3);
    for (std::uint32_t f = 0; f < order.size(); ++f) {
        for (std::uint32_t e = 0; e < 3; ++e) {
            const std::uint32_t a = g.pointReps[g.triangles[order[f] * 3 + e]];
            const std::uint32_t b = g.pointReps[g.triangles[order[f] * 3 + (e + 1) % 3]];
            edges.push_back(Edge{(std::uint64_t{std::min(a, b)} << 32) | std::max(a, b), f, e});
        }
    }
    std::stable_sort(edges.begin(), edges.end(),
                     [](const Edge& x, const Edge& y) { return x.key < y.key; });
    std::vector<DWORD> adjacency(order.size() * 3, kNone);
    for (std::size_t run = 0; run < edges.size();) {
        std::size_t end = run + 1;
        while (end < edges.size() && edges[end].key == edges[run].key) {
            ++end;
        }
        for (std::size_t i = run; end - run > 1 && i < end; ++i) {
            const Edge& next = edges[i + 1 < end ? i + 1 : run];
            if (next.face != edges[i].face) {
                adjacency[edges[i].face * 3 + edges[i].slot] = next.face;
            }
        }
        run = end;
    }
    return adjacency;
}

}  // namespace

bool ReadMeshGeometry(const XDocument& document, const XData& mesh, MeshGeometry* geometry,
                      std::string* error, std::vector<const XData*>* others) {
    *geometry = MeshGeometry{};
    geometry->name = mesh.name;
    MeshReader reader{document, geometry, error, {}, {}, {}, {}, {}, {}, {}};
    return reader.Read(mesh, others);
}

void TransformGeometry(MeshGeometry* geometry, const D3DXMATRIX& matrix) {
    for (D3DXVECTOR3& p : geometry->positions) {
        const D3DXVECTOR3 v = p;
        p = {v.x * matrix._11 + v.y * matrix._21 + v.z * matrix._31 + matrix._41,
             v.x * matrix._12 + v.y * matrix._22 + v.z * matrix._32 + matrix._42,
             v.x * matrix._13 + v.y * matrix._23 + v.z * matrix._33 + matrix._43};
    }
    // Cofactors of the 3 x 3 part: its inverse transpose up to a positive or negative scale,
    // which the normalisation removes (the sign kept by the determinant).
    const auto& m = matrix.m;
    const float c[3][3] = {
        {m[1][1] * m[2][2] - m[1][2] * m[2][1], m[1][2] * m[2][0] - m[1][0] * m[2][2],
         m[1][0] * m[2][1] - m[1][1] * m[2][0]},
        {m[0][2] * m[2][1] - m[0][1] * m[2][2], m[0][0] * m[2][2] - m[0][2] * m[2][0],
         m[0][1] * m[2][0] - m[0][0] * m[2][1]},
        {m[0][1] * m[1][2] - m[0][2] * m[1][1], m[0][2] * m[1][0] - m[0][0] * m[1][2],
         m[0][0] * m[1][1] - m[0][1] * m[1][0]}};
    const float det = m[0][0] * c[0][0] + m[0][1] * c[0][1] + m[0][2] * c[0][2];
    const float sign = det < 0.0f ? -1.0f : 1.0f;
    for (D3DXVECTOR3& n : geometry->normals) {
        const D3DXVECTOR3 v = n;
        D3DXVECTOR3 t{(v.x * c[0][0] + v.y * c[1][0] + v.z * c[2][0]) * sign,
                      (v.x * c[0][1] + v.y * c[1][1] + v.z * c[2][1]) * sign,
                      (v.x * c[0][2] + v.y * c[1][2] + v.z * c[2][2]) * sign};
        const float length = std::sqrt(t.x * t.x + t.y * t.y + t.z * t.z);
        n = length > 0.0f ? D3DXVECTOR3{t.x / length, t.y / length, t.z / length} : t;
    }
}

void AppendGeometry(MeshGeometry* whole, const MeshGeometry& part) {
    const std::size_t before = whole->positions.size();
    const std::size_t added = part.positions.size();
    const auto firstVertex = static_cast<std::uint32_t>(before);
    const auto firstMaterial = static_cast<DWORD>(whole->materials.size());
    const std::uint32_t firstRep =
        whole->pointReps.empty()
            ? 0
            : *std::max_element(whole->pointReps.begin(), whole->pointReps.end()) + 1;
    auto extend = [&](auto& into, const auto& from, std::size_t perVertex, auto fill) {
        if (into.empty() && from.empty()) {
            return;
        }
        into.resize(before * perVertex, fill);
        if (from.empty()) {
            into.resize((before + added) * perVertex, fill);
        } else {
            into.insert(into.end(), from.begin(), from.end());
        }
    };
    whole->positions.insert(whole->positions.end(), part.positions.begin(), part.positions.end());
    extend(whole->normals, part.normals, 1, D3DXVECTOR3{0, 0, 0});
    extend(whole->colours, part.colours, 1, D3DCOLOR{0xFFFFFFFFu});
    extend(whole->uv, part.uv, 2, 0.0f);
    for (std::uint32_t rep : part.pointReps) {
        whole->pointReps.push_back(firstRep + rep);
    }
    for (std::uint32_t index : part.triangles) {
        whole->triangles.push_back(firstVertex + index);
    }
    for (DWORD attribute : part.faceAttributes) {
        whole->faceAttributes.push_back(firstMaterial + attribute);
    }
    whole->materials.insert(whole->materials.end(), part.materials.begin(), part.materials.end());
}

HRESULT MakeMesh(IDirect3DDevice9* device, DWORD options, const MeshGeometry& g, ID3DXMesh** mesh,
                 std::vector<DWORD>* adjacency) {
    const std::size_t faces = g.faceAttributes.size();
    std::vector<std::uint32_t> order(faces);
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&g](std::uint32_t a, std::uint32_t b) {
        return g.faceAttributes[a] < g.faceAttributes[b];
    });
    MeshContents contents;
    contents.fvf = FvfOf(g);
    const UINT stride = D3DXGetFVFVertexSize(contents.fvf);
    const std::size_t count = g.positions.size();
    contents.vertices.resize(count * stride);
    for (std::size_t v = 0; v < count; ++v) {
        std::uint8_t* out = contents.vertices.data() + v * stride;
        std::memcpy(out, &g.positions[v], 12);
        std::size_t at = 12;
        if (!g.normals.empty()) {
            std::memcpy(out + at, &g.normals[v], 12);
            at += 12;
        }
        if (!g.colours.empty()) {
            std::memcpy(out + at, &g.colours[v], 4);
            at += 4;
        }
        if (!g.uv.empty()) {
            std::memcpy(out + at, &g.uv[v * 2], 8);
        }
    }
    contents.indices.reserve(faces * 3);
    contents.attributes.reserve(faces);
    for (std::uint32_t f : order) {
        contents.indices.insert(contents.indices.end(), {g.triangles[f * 3], g.triangles[f * 3 + 1],
                                                         g.triangles[f * 3 + 2]});
        contents.attributes.push_back(g.faceAttributes[f]);
    }
    const HRESULT hr = CreateMesh(device, options, contents, mesh);
    if (SUCCEEDED(hr) && adjacency != nullptr) {
        *adjacency = Adjacency(g, order);
    }
    return hr;
}

}  // namespace d3dx
