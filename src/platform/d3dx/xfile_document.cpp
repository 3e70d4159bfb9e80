#include "platform/d3dx/xfile_document.h"

#include <algorithm>
#include <cstring>
#include <span>

namespace d3dx {
namespace {

// Deepest nesting of data objects the reader follows.
constexpr int kMaxDepth = 100;
// Largest fixed array size a template may declare.
constexpr std::uint64_t kMaxFixedArray = 1u << 24;
// Where the count of values a template takes at the least saturates (beyond any file).
constexpr std::uint64_t kMaxValues = std::uint64_t{1} << 40;

// The standard templates, as the format describes them.
constexpr const char kStandardTemplates[] = R"(
template Vector { FLOAT x; FLOAT y; FLOAT z; }
template Coords2d { FLOAT u; FLOAT v; }
template Matrix4x4 { array FLOAT matrix[16]; }
template ColorRGBA { FLOAT red; FLOAT green; FLOAT blue; FLOAT alpha; }
template ColorRGB { FLOAT red; FLOAT green; FLOAT blue; }
template IndexedColor { DWORD index; ColorRGBA indexColor; }
template MeshFace { DWORD nFaceVertexIndices; array DWORD faceVertexIndices[nFaceVertexIndices]; }
template Mesh { DWORD nVertices; array Vector vertices[nVertices]; DWORD nFaces;
                array MeshFace faces[nFaces]; [...] }
template MeshNormals { DWORD nNormals; array Vector normals[nNormals]; DWORD nFaceNormals;
                       array MeshFace faceNormals[nFaceNormals]; }
template MeshTextureCoords { DWORD nTextureCoords; array Coords2d textureCoords[nTextureCoords]; }
template MeshVertexColors { DWORD nVertexColors; array IndexedColor vertexColors[nVertexColors]; }
template MeshMaterialList { DWORD nMaterials; DWORD nFaceIndexes;
                            array DWORD faceIndexes[nFaceIndexes]; [Material] }
template Material { ColorRGBA faceColor; FLOAT power; ColorRGB specularColor;
                    ColorRGB emissiveColor; [...] }
template TextureFilename { STRING filename; }
template Frame { [...] }
template FrameTransformMatrix { Matrix4x4 frameMatrix; }
template XSkinMeshHeader { WORD nMaxSkinWeightsPerVertex; WORD nMaxSkinWeightsPerFace;
                           WORD nBones; }
template SkinWeights { STRING transformNodeName; DWORD nWeights;
                       array DWORD vertexIndices[nWeights]; array FLOAT weights[nWeights];
                       Matrix4x4 matrixOffset; }
template AnimTicksPerSecond { DWORD AnimTicksPerSecond; }
template AnimationSet { [Animation] }
template Animation { [...] }
template FloatKeys { DWORD nValues; array FLOAT values[nValues]; }
template TimedFloatKeys { DWORD time; FloatKeys tfkeys; }
template AnimationKey { DWORD keyType; DWORD nKeys; array TimedFloatKeys keys[nKeys]; }
template AnimationOptions { DWORD openclosed; DWORD positionquality; }
template Header { WORD major; WORD minor; DWORD flags; }
)";

XPrimitive PrimitiveNamed(std::string_view name) {
    static constexpr struct {
        const char* name;
        XPrimitive primitive;
    } kNames[] = {{"WORD", XPrimitive::Word},      {"DWORD", XPrimitive::Dword},
                  {"FLOAT", XPrimitive::Float},    {"DOUBLE", XPrimitive::Double},
                  {"CHAR", XPrimitive::Char},      {"UCHAR", XPrimitive::Uchar},
                  {"BYTE", XPrimitive::Byte},      {"SWORD", XPrimitive::Sword},
                  {"SDWORD", XPrimitive::Sdword},  {"STRING", XPrimitive::String},
                  {"LPSTR", XPrimitive::String},   {"CSTRING", XPrimitive::Cstring},
                  {"UNICODE", XPrimitive::Unicode}};
    for (const auto& entry : kNames) {
        if (name == entry.name) {
            return entry.primitive;
        }
    }
    return XPrimitive::None;
}

bool IsIntegerPrimitive(XPrimitive p) {
    return p == XPrimitive::Word || p == XPrimitive::Dword || p == XPrimitive::Sword ||
           p == XPrimitive::Sdword || p == XPrimitive::Char || p == XPrimitive::Uchar ||
           p == XPrimitive::Byte;
}

bool IsStringPrimitive(XPrimitive p) {
    return p == XPrimitive::String || p == XPrimitive::Cstring || p == XPrimitive::Unicode;
}

void AppendLittleEndian(std::vector<std::uint8_t>* out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out->push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

struct TemplateTable {
    std::vector<std::unique_ptr<XTemplate>> owned;
    std::unordered_map<std::string, const XTemplate*> byName;
};

}  // namespace

// The reading of one file: templates, then data objects packed by them.
struct XDocumentParser {
    XLexer lexer;
    XDocument* document;
    const TemplateTable* standard;
    std::unordered_map<std::string, const XTemplate*> fileTemplates;
    std::unordered_map<std::string, GUID> declaredGuids;
    std::string error;

    bool Fail(const std::string& what) {
        if (error.empty()) {
            error = lexer.Where() + ": " + what;
        }
        return false;
    }

    bool FailToken(const XToken& token, const char* expected) {
        if (token.kind == XTokenKind::Error) {
            return Fail(std::string(token.text));
        }
        if (token.kind == XTokenKind::End) {
            return Fail(std::string("the file ends where ") + expected + " should be");
        }
        return Fail(std::string("expected ") + expected);
    }

    bool Expect(XTokenKind kind, const char* what) {
        const XToken token = lexer.Next();
        return token.kind == kind || FailToken(token, what);
    }

    const XTemplate* FindTemplate(std::string_view name) const {
        const std::string key(name);
        if (const auto found = standard->byName.find(key); found != standard->byName.end()) {
            return found->second;
        }
        const auto found = fileTemplates.find(key);
        return found != fileTemplates.end() ? found->second : nullptr;
    }

    // "template" already read.
    bool ParseTemplate(std::vector<std::unique_ptr<XTemplate>>* owner,
                       std::unordered_map<std::string, const XTemplate*>* registry);
    bool ParseMember(XTemplate* tmpl, bool array);
    bool SkipRestrictions();

    bool ParseTop();
    // The identifier already read.
    bool ParseObject(std::string_view identifier, int depth, std::unique_ptr<XData>* out);
    bool SkipBody();
    bool PackTemplate(const XTemplate& tmpl, std::vector<std::uint8_t>* out, int depth);
    bool PackPrimitive(XPrimitive primitive, std::vector<std::uint8_t>* out,
                       std::uint32_t* integer);
    XToken NextValue();
};

bool XDocumentParser::SkipRestrictions() {
    // "[...]" or "[Name <guid>, ...]": which children an object may hold; not enforced.
    for (;;) {
        const XToken token = lexer.Next();
        if (token.kind == XTokenKind::CBracket) {
            return true;
        }
        if (token.kind == XTokenKind::End || token.kind == XTokenKind::Error) {
            return FailToken(token, "']'");
        }
    }
}

bool XDocumentParser::ParseMember(XTemplate* tmpl, bool array) {
    XMember member;
    XToken type = lexer.Next();
    if (type.kind == XTokenKind::Primitive) {
        member.primitive = type.primitive;
    } else if (type.kind == XTokenKind::Name) {
        member.primitive = PrimitiveNamed(type.text);
        if (member.primitive == XPrimitive::None) {
            member.type = FindTemplate(type.text);
            if (member.type == nullptr) {
                return Fail("a member of template " + tmpl->name + " has the unknown type " +
                            std::string(type.text));
            }
        }
    } else {
        return FailToken(type, "a member type");
    }
    if (lexer.Peek().kind == XTokenKind::Name) {
        member.name = std::string(lexer.Next().text);
    } else if (array) {
        return FailToken(lexer.Next(), "an array name");
    }
    std::uint64_t fixedCount = 1;
    bool allFixed = true;
    if (array) {
        while (lexer.Peek().kind == XTokenKind::OBracket) {
            lexer.Next();
            XDimension dimension;
            const XToken size = lexer.Next();
            if (size.kind == XTokenKind::Integer) {
                dimension.fixed = size.integer;
                fixedCount *= size.integer;
                if (fixedCount > kMaxFixedArray) {
                    return Fail("an array of template " + tmpl->name + " is too large");
                }
            } else if (size.kind == XTokenKind::Name) {
                for (std::size_t i = 0; i < tmpl->members.size(); ++i) {
                    const XMember& earlier = tmpl->members[i];
                    if (earlier.name == size.text && earlier.dimensions.empty() &&
                        IsIntegerPrimitive(earlier.primitive)) {
                        dimension.member = static_cast<int>(i);
                    }
                }
                if (dimension.member < 0) {
                    return Fail("an array of template " + tmpl->name +
                                " is sized by no earlier integer member");
                }
                allFixed = false;
            } else {
                return FailToken(size, "an array size");
            }
            if (!Expect(XTokenKind::CBracket, "']'")) {
                return false;
            }
            member.dimensions.push_back(dimension);
        }
        if (member.dimensions.empty()) {
            return Fail("an array without a size");
        }
    }
    if (!Expect(XTokenKind::Semicolon, "';'")) {
        return false;
    }
    // Saturated: nested templates can double the count at every level.
    const std::uint64_t each = member.type != nullptr ? member.type->minValues : 1;
    std::uint64_t values = each;
    if (array) {
        values = !allFixed || fixedCount == 0     ? 0
                 : each > kMaxValues / fixedCount ? kMaxValues
                                                  : fixedCount * each;
    }
    tmpl->minValues = std::min(kMaxValues, tmpl->minValues + values);
    tmpl->members.push_back(std::move(member));
    return true;
}

bool XDocumentParser::ParseTemplate(std::vector<std::unique_ptr<XTemplate>>* owner,
                                    std::unordered_map<std::string, const XTemplate*>* registry) {
    const XToken name = lexer.Next();
    if (name.kind != XTokenKind::Name) {
        return FailToken(name, "a template name");
    }
    if (!Expect(XTokenKind::OBrace, "'{'")) {
        return false;
    }
    auto tmpl = std::make_unique<XTemplate>();
    tmpl->name = std::string(name.text);
    if (lexer.Peek().kind == XTokenKind::Guid) {
        tmpl->guid = lexer.Next().guid;
    }
    for (;;) {
        const XToken& next = lexer.Peek();
        if (next.kind == XTokenKind::CBrace) {
            lexer.Next();
            break;
        }
        if (next.kind == XTokenKind::OBracket) {
            lexer.Next();
            if (!SkipRestrictions()) {
                return false;
            }
        } else if (next.kind == XTokenKind::Array) {
            lexer.Next();
            if (!ParseMember(tmpl.get(), true)) {
                return false;
            }
        } else if (next.kind == XTokenKind::Name || next.kind == XTokenKind::Primitive) {
            if (!ParseMember(tmpl.get(), false)) {
                return false;
            }
        } else {
            return FailToken(lexer.Next(), "a template member or '}'");
        }
    }
    declaredGuids.emplace(tmpl->name, tmpl->guid);
    // The first declaration of a name holds; standard names keep their known layout.
    if (registry->count(tmpl->name) == 0 && standard->byName.count(tmpl->name) == 0) {
        registry->emplace(tmpl->name, tmpl.get());
        owner->push_back(std::move(tmpl));
    }
    return true;
}

XToken XDocumentParser::NextValue() {
    for (;;) {
        XToken token = lexer.Next();
        if (token.kind != XTokenKind::Comma && token.kind != XTokenKind::Semicolon) {
            return token;
        }
    }
}

bool XDocumentParser::PackPrimitive(XPrimitive primitive, std::vector<std::uint8_t>* out,
                                    std::uint32_t* integer) {
    const XToken value = NextValue();
    if (IsStringPrimitive(primitive)) {
        if (value.kind != XTokenKind::String) {
            return FailToken(value, "a string");
        }
        if (value.text.find('\0') != std::string_view::npos) {
            return Fail("a string holds a NUL");
        }
        out->insert(out->end(), value.text.begin(), value.text.end());
        out->push_back(0);
        return true;
    }
    if (primitive == XPrimitive::Float || primitive == XPrimitive::Double) {
        if (value.kind != XTokenKind::Integer && value.kind != XTokenKind::Float) {
            return FailToken(value, "a number");
        }
        if (primitive == XPrimitive::Float) {
            const float f = static_cast<float>(value.number);
            std::uint32_t bits;
            std::memcpy(&bits, &f, 4);
            AppendLittleEndian(out, bits, 4);
        } else {
            std::uint64_t bits;
            std::memcpy(&bits, &value.number, 8);
            AppendLittleEndian(out, bits, 8);
        }
        return true;
    }
    if (value.kind != XTokenKind::Integer) {
        return FailToken(value, "an integer");
    }
    *integer = value.integer;
    switch (primitive) {
        case XPrimitive::Word:
        case XPrimitive::Sword:
            AppendLittleEndian(out, value.integer, 2);
            *integer &= 0xFFFF;
            break;
        case XPrimitive::Char:
        case XPrimitive::Uchar:
        case XPrimitive::Byte:
            AppendLittleEndian(out, value.integer, 1);
            *integer &= 0xFF;
            break;
        default:
            AppendLittleEndian(out, value.integer, 4);
            break;
    }
    return true;
}

bool XDocumentParser::PackTemplate(const XTemplate& tmpl, std::vector<std::uint8_t>* out,
                                   int depth) {
    if (depth > kMaxDepth) {
        return Fail("templates nested too deeply");
    }
    std::vector<std::uint32_t> scalars(tmpl.members.size(), 0);
    for (std::size_t m = 0; m < tmpl.members.size(); ++m) {
        const XMember& member = tmpl.members[m];
        std::uint64_t count = 1;
        for (const XDimension& dimension : member.dimensions) {
            const std::uint64_t size = dimension.member >= 0
                                           ? scalars[static_cast<std::size_t>(dimension.member)]
                                           : dimension.fixed;
            count *= size;
            if (count > lexer.Remaining()) {
                count = lexer.Remaining() + 1;
            }
        }
        const std::uint64_t each = member.type != nullptr ? member.type->minValues : 1;
        if (each == 0 && member.type != nullptr && member.type->members.empty()) {
            continue;
        }
        // Every value takes at least one byte of the file.
        if (each > 0 && count > lexer.Remaining() / each) {
            return Fail("member " + member.name + " of " + tmpl.name +
                        " asks for more values than the file holds");
        }
        for (std::uint64_t i = 0; i < count; ++i) {
            if (member.type != nullptr) {
                if (!PackTemplate(*member.type, out, depth + 1)) {
                    return false;
                }
            } else if (!PackPrimitive(member.primitive, out, &scalars[m])) {
                return false;
            }
        }
    }
    return true;
}

bool XDocumentParser::SkipBody() {
    int open = 1;
    while (open > 0) {
        const XToken token = lexer.Next();
        if (token.kind == XTokenKind::OBrace) {
            ++open;
        } else if (token.kind == XTokenKind::CBrace) {
            --open;
        } else if (token.kind == XTokenKind::End || token.kind == XTokenKind::Error) {
            return FailToken(token, "'}'");
        }
    }
    return true;
}

bool XDocumentParser::ParseObject(std::string_view identifier, int depth,
                                  std::unique_ptr<XData>* out) {
    if (depth > kMaxDepth) {
        return Fail("data objects nested too deeply");
    }
    auto data = std::make_unique<XData>();
    data->identifier = std::string(identifier);
    if (lexer.Peek().kind == XTokenKind::Name) {
        data->name = std::string(lexer.Next().text);
    }
    if (!Expect(XTokenKind::OBrace, "'{'")) {
        return false;
    }
    if (lexer.Peek().kind == XTokenKind::Guid) {
        lexer.Next();
    }
    data->type = FindTemplate(identifier);
    if (data->type == nullptr) {
        out->reset();
        return SkipBody();
    }
    const auto declared = declaredGuids.find(data->identifier);
    data->guid = declared != declaredGuids.end() ? declared->second : data->type->guid;
    if (!PackTemplate(*data->type, &data->record, 0)) {
        return false;
    }
    for (;;) {
        XToken token = NextValue();
        if (token.kind == XTokenKind::CBrace) {
            break;
        }
        if (token.kind == XTokenKind::Name) {
            std::unique_ptr<XData> child;
            if (!ParseObject(token.text, depth + 1, &child)) {
                return false;
            }
            if (child != nullptr) {
                data->children.push_back(std::move(child));
            }
        } else if (token.kind == XTokenKind::OBrace) {
            const XToken target = lexer.Next();
            if (target.kind != XTokenKind::Name) {
                return FailToken(target, "the name of a referenced object");
            }
            if (lexer.Peek().kind == XTokenKind::Guid) {
                lexer.Next();
            }
            if (!Expect(XTokenKind::CBrace, "'}' after a reference")) {
                return false;
            }
            auto reference = std::make_unique<XData>();
            reference->name = std::string(target.text);
            reference->reference = true;
            data->children.push_back(std::move(reference));
        } else if (token.kind == XTokenKind::Error || token.kind == XTokenKind::End) {
            return FailToken(token, "'}'");
        } else {
            return Fail("object " + data->identifier + " holds more values than its template");
        }
    }
    *out = std::move(data);
    return true;
}

bool XDocumentParser::ParseTop() {
    for (;;) {
        const XToken token = NextValue();
        switch (token.kind) {
            case XTokenKind::End:
                return true;
            case XTokenKind::Template:
                if (!ParseTemplate(&document->templates_, &fileTemplates)) {
                    return false;
                }
                break;
            case XTokenKind::Name: {
                std::unique_ptr<XData> object;
                if (!ParseObject(token.text, 0, &object)) {
                    return false;
                }
                if (object != nullptr) {
                    document->objects_.push_back(std::move(object));
                }
                break;
            }
            default:
                return FailToken(token, "a template or a data object");
        }
    }
}

namespace {

const TemplateTable& StandardTemplates() {
    static const TemplateTable table = [] {
        TemplateTable built;
        const TemplateTable none;
        XDocumentParser parser{XLexer(reinterpret_cast<const std::uint8_t*>(kStandardTemplates),
                                      sizeof kStandardTemplates - 1, false, 32),
                               nullptr,
                               &none,
                               {},
                               {},
                               {}};
        while (parser.lexer.Next().kind == XTokenKind::Template &&
               parser.ParseTemplate(&built.owned, &parser.fileTemplates)) {
        }
        built.byName = parser.fileTemplates;
        return built;
    }();
    return table;
}

void IndexNames(const std::vector<std::unique_ptr<XData>>& objects,
                std::unordered_map<std::string, const XData*>* named) {
    for (const auto& object : objects) {
        if (!object->reference) {
            if (!object->name.empty()) {
                named->emplace(object->name, object.get());
            }
            IndexNames(object->children, named);
        }
    }
}

}  // namespace

bool XDocument::Parse(const void* data, std::size_t size, std::string* error) {
    templates_.clear();
    objects_.clear();
    named_.clear();
    ByteReader header(data, size);
    const auto magic = header.Span(4);
    const auto version = header.Span(4);
    const auto format = header.Span(4);
    const auto floats = header.Span(4);
    if (header.Failed()) {
        *error = "too short for an X file";
        return false;
    }
    auto is = [](std::span<const std::uint8_t> bytes, const char* text) {
        return std::memcmp(bytes.data(), text, 4) == 0;
    };
    for (std::uint8_t digit : version) {
        if (digit < '0' || digit > '9') {
            *error = "not an X file (bad version)";
            return false;
        }
    }
    if (!is(magic, "xof ")) {
        *error = "not an X file (no \"xof \")";
        return false;
    }
    if (is(format, "tzip") || is(format, "bzip")) {
        *error = "compressed X files are not read";
        return false;
    }
    if (!is(format, "txt ") && !is(format, "bin ")) {
        *error = "an unknown X file format";
        return false;
    }
    if (!is(floats, "0032") && !is(floats, "0064")) {
        *error = "an unknown float size";
        return false;
    }
    const auto body = header.Span(header.Remaining());
    XDocumentParser parser{
        XLexer(body.data(), body.size(), is(format, "bin "), is(floats, "0064") ? 64 : 32),
        this,
        &StandardTemplates(),
        {},
        {},
        {}};
    if (!parser.ParseTop()) {
        *error = parser.error;
        templates_.clear();
        objects_.clear();
        return false;
    }
    IndexNames(objects_, &named_);
    return true;
}

const XData* XDocument::Resolve(const XData* data) const {
    if (data == nullptr || !data->reference) {
        return data;
    }
    const auto found = named_.find(data->name);
    return found != named_.end() ? found->second : nullptr;
}

}  // namespace d3dx
