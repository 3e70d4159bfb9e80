#pragma once
// A data object of an X file as the user-data loaders see it: its type, its name, its members
// packed as xfile_document.h describes, and its child objects.

#include <memory>

#include "platform/winbase/win_types.h"

struct ID3DXFileData : public IUnknown {
    // The GUID of the object's template as the file declares it (zero when it declares none).
    virtual HRESULT GetType(GUID* type) = 0;
    // With `name` null, *size receives the length with its NUL; else the name is copied into
    // `name` when *size holds it (D3DERR_INVALIDCALL otherwise). An unnamed object has "".
    virtual HRESULT GetName(LPSTR name, SIZE_T* size) = 0;
    // The packed members; valid while the object lives.
    virtual HRESULT Lock(SIZE_T* size, LPCVOID* data) = 0;
    virtual HRESULT Unlock() = 0;
    virtual HRESULT GetChildren(SIZE_T* children) = 0;
    // A child with a reference the caller releases; a child written as a reference comes as the
    // object it names.
    virtual HRESULT GetChild(SIZE_T index, ID3DXFileData** child) = 0;
};

namespace d3dx {

class XDocument;
struct XData;

// A view of `data`, keeping its document alive.
ID3DXFileData* WrapFileData(std::shared_ptr<const XDocument> document, const XData* data);

}  // namespace d3dx
