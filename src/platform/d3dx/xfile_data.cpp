#include "platform/d3dx/xfile_data.h"

#include <cstring>
#include <new>

#include "platform/d3d9/d3d9_types.h"
#include "platform/d3dx/com_object.h"
#include "platform/d3dx/xfile_document.h"

namespace d3dx {
namespace {

class FileData final : public ComObject<ID3DXFileData> {
public:
    FileData(std::shared_ptr<const XDocument> document, const XData* data)
        : document_(std::move(document)), data_(data) {}

    HRESULT GetType(GUID* type) override {
        if (type == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        *type = data_->guid;
        return D3D_OK;
    }
    HRESULT GetName(LPSTR name, SIZE_T* size) override {
        if (size == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        const SIZE_T needed = data_->name.size() + 1;
        if (name == nullptr) {
            *size = needed;
            return D3D_OK;
        }
        if (*size < needed) {
            return D3DERR_INVALIDCALL;
        }
        std::memcpy(name, data_->name.c_str(), needed);
        *size = needed;
        return D3D_OK;
    }
    HRESULT Lock(SIZE_T* size, LPCVOID* data) override {
        if (size == nullptr || data == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        *size = data_->record.size();
        *data = data_->record.data();
        return D3D_OK;
    }
    HRESULT Unlock() override { return D3D_OK; }
    HRESULT GetChildren(SIZE_T* children) override {
        if (children == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        *children = data_->children.size();
        return D3D_OK;
    }
    HRESULT GetChild(SIZE_T index, ID3DXFileData** child) override {
        if (child == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        *child = nullptr;
        if (index >= data_->children.size()) {
            return D3DERR_INVALIDCALL;
        }
        const XData* target = document_->Resolve(data_->children[index].get());
        if (target == nullptr) {
            return D3DERR_NOTFOUND;
        }
        *child = WrapFileData(document_, target);
        return *child != nullptr ? D3D_OK : E_OUTOFMEMORY;
    }

private:
    ~FileData() override = default;

    std::shared_ptr<const XDocument> document_;
    const XData* data_;
};

}  // namespace

ID3DXFileData* WrapFileData(std::shared_ptr<const XDocument> document, const XData* data) {
    return new (std::nothrow) FileData(std::move(document), data);
}

}  // namespace d3dx
