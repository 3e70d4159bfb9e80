#include "platform/dshow/vmr9_filter.h"

#include "platform/win32/window_api.h"

namespace dshow_detail {

HRESULT Vmr9Filter::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (iid == IID_IBaseFilter) {
        *object = static_cast<IBaseFilter*>(this);
    } else if (iid == IID_IVMRFilterConfig9) {
        *object = static_cast<IVMRFilterConfig9*>(this);
    } else if (iid == IID_IVMRWindowlessControl9 && mode_ == VMR9Mode_Windowless) {
        *object = static_cast<IVMRWindowlessControl9*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG Vmr9Filter::AddRef() {
    return references_.fetch_add(1) + 1;
}

ULONG Vmr9Filter::Release() {
    const ULONG left = references_.fetch_sub(1) - 1;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT Vmr9Filter::SetRenderingMode(DWORD mode) {
    if (mode != VMR9Mode_Windowed && mode != VMR9Mode_Windowless) {
        return E_INVALIDARG;
    }
    if (connected_) {
        return VFW_E_WRONG_STATE;
    }
    mode_ = mode;
    return S_OK;
}

HRESULT Vmr9Filter::GetNativeVideoSize(LONG* width, LONG* height, LONG* aspectWidth,
                                       LONG* aspectHeight) {
    if (width == nullptr || height == nullptr) {
        return E_POINTER;
    }
    if (!connected_) {
        return VFW_E_WRONG_STATE;
    }
    *width = native_.cx;
    *height = native_.cy;
    if (aspectWidth != nullptr) {
        *aspectWidth = native_.cx;
    }
    if (aspectHeight != nullptr) {
        *aspectHeight = native_.cy;
    }
    return S_OK;
}

HRESULT Vmr9Filter::SetVideoPosition(const RECT* source, const RECT* destination) {
    if (source == nullptr && destination == nullptr) {
        return E_POINTER;
    }
    if ((source != nullptr && (source->left < 0 || source->top < 0 ||
                               source->right <= source->left || source->bottom <= source->top)) ||
        (destination != nullptr &&
         (destination->right < destination->left || destination->bottom < destination->top))) {
        return E_INVALIDARG;
    }
    if (source != nullptr) {
        source_ = *source;
        wholePicture_ = false;
    }
    if (destination != nullptr) {
        destination_ = *destination;
        hasDestination_ = true;
    }
    return S_OK;
}

HRESULT Vmr9Filter::SetVideoClippingWindow(HWND window) {
    if (!IsWindow(window)) {
        return E_INVALIDARG;
    }
    window_ = window;
    return S_OK;
}

void Vmr9Filter::Connect(SIZE nativeSize) {
    connected_ = true;
    native_ = nativeSize;
}

bool Vmr9Filter::Placement(VideoPlacement* placement) const {
    if (mode_ != VMR9Mode_Windowless || window_ == nullptr || !hasDestination_ ||
        destination_.right <= destination_.left || destination_.bottom <= destination_.top) {
        return false;
    }
    placement->window = window_;
    placement->source = source_;
    placement->wholePicture = wholePicture_;
    placement->destination = destination_;
    return true;
}

bool Vmr9Filter::TakeIntoGraph() {
    if (inGraph_) {
        return false;
    }
    inGraph_ = true;
    return true;
}

}  // namespace dshow_detail
