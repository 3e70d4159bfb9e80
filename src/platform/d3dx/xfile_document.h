#pragma once
// An X file read whole into a tree of data objects. Each object's members are packed by its
// template, little-endian, in member order: WORD and SWORD 2 bytes, DWORD, SDWORD and FLOAT 4,
// DOUBLE 8, CHAR, UCHAR and BYTE 1, strings inline with a terminating NUL; nested templates and
// arrays in place. The standard templates the library reads are known without the file
// declaring them; other templates come from the file's own declarations. An object whose
// template is unknown is skipped whole.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/d3dx/xfile_lexer.h"
#include "platform/winbase/win_types.h"

namespace d3dx {

struct XTemplate;
struct XDocumentParser;

// An array dimension: a fixed size, or the value of an earlier member of the same template.
struct XDimension {
    std::uint32_t fixed = 0;
    int member = -1;
};

struct XMember {
    XPrimitive primitive = XPrimitive::None;
    // The nested template when not a primitive.
    const XTemplate* type = nullptr;
    std::string name;
    // Empty when the member is not an array.
    std::vector<XDimension> dimensions;
};

struct XTemplate {
    std::string name;
    // Zero when the declaration gives none.
    GUID guid{};
    std::vector<XMember> members;
    // Values one instance takes at the least (arrays sized by members count as empty).
    std::uint64_t minValues = 0;
};

struct XData {
    // The template name the object was written with, and its own name (empty when none).
    std::string identifier;
    std::string name;
    const XTemplate* type = nullptr;
    // The type GUID: from the file's declaration of the template, else the template's own.
    GUID guid{};
    std::vector<std::uint8_t> record;
    std::vector<std::unique_ptr<XData>> children;
    // A child written as "{ name }": `name` is the object it refers to; no template, no record.
    bool reference = false;
};

class XDocument {
public:
    // Reads a whole file; false, with `error` telling where and what, when it is not a
    // well-formed uncompressed X file.
    bool Parse(const void* data, std::size_t size, std::string* error);

    const std::vector<std::unique_ptr<XData>>& Objects() const { return objects_; }
    // The object a reference names (the first object of that name anywhere in the file), or
    // the object itself when it is no reference; null when the name is unknown.
    const XData* Resolve(const XData* data) const;

private:
    friend struct XDocumentParser;

    std::vector<std::unique_ptr<XTemplate>> templates_;
    std::vector<std::unique_ptr<XData>> objects_;
    std::unordered_map<std::string, const XData*> named_;
};

}  // namespace d3dx
