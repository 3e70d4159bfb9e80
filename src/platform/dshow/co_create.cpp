// The classes CoCreateInstance makes: the filter graph and the Video Mixing Renderer 9.

#include <atomic>
#include <new>

#include "platform/dshow/dshow_test.h"
#include "platform/dshow/filter_graph.h"
#include "platform/dshow/vmr9_filter.h"
#include "platform/winbase/com_init.h"

namespace {

std::atomic<bool> mixingRendererAvailable{true};

// Hands the new object out as `iid`, dropping the reference it was made with.
HRESULT HandOut(IUnknown* made, REFIID iid, void** object) {
    if (made == nullptr) {
        return E_OUTOFMEMORY;
    }
    const HRESULT result = made->QueryInterface(iid, object);
    made->Release();
    return result;
}

}  // namespace

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid,
                         void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (Win32ComInitializationCount() == 0) {
        return CO_E_NOTINITIALIZED;
    }
    if (outer != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    if ((context & CLSCTX_INPROC_SERVER) == 0) {
        return REGDB_E_CLASSNOTREG;
    }
    if (clsid == CLSID_FilterGraph) {
        return HandOut(static_cast<IGraphBuilder*>(new (std::nothrow) dshow_detail::FilterGraph),
                       iid, object);
    }
    if (clsid == CLSID_VideoMixingRenderer9 && mixingRendererAvailable.load()) {
        return HandOut(static_cast<IBaseFilter*>(new (std::nothrow) dshow_detail::Vmr9Filter), iid,
                       object);
    }
    return REGDB_E_CLASSNOTREG;
}

namespace dshow_test {

void SetVideoMixingRendererAvailable(bool available) {
    mixingRendererAvailable.store(available);
}

}  // namespace dshow_test
