// The filter graph's event queue and its notification message.

#include "platform/dshow/filter_graph.h"
#include "platform/win32/message_api.h"
#include "platform/win32/window_api.h"

namespace dshow_detail {

HRESULT FilterGraph::GetEvent(LONG* code, LONG_PTR* param1, LONG_PTR* param2, LONG) {
    if (code == nullptr || param1 == nullptr || param2 == nullptr) {
        return E_POINTER;
    }
    std::lock_guard lock(eventMutex_);
    if (events_.empty()) {
        return E_ABORT;
    }
    const Event event = events_.front();
    events_.pop_front();
    *code = event.code;
    *param1 = event.param1;
    *param2 = event.param2;
    return S_OK;
}

HRESULT FilterGraph::FreeEventParams(LONG, LONG_PTR, LONG_PTR) {
    return S_OK;
}

HRESULT FilterGraph::SetNotifyWindow(OAHWND window, LONG message, LONG_PTR instance) {
    auto* handle = reinterpret_cast<HWND>(window);
    if (handle != nullptr && !IsWindow(handle)) {
        return E_INVALIDARG;
    }
    std::lock_guard lock(eventMutex_);
    notifyWindow_ = handle;
    notifyMessage_ = static_cast<UINT>(message);
    notifyInstance_ = instance;
    return S_OK;
}

void FilterGraph::QueueEvent(LONG code, LONG_PTR param1) {
    std::lock_guard lock(eventMutex_);
    events_.push_back(Event{code, param1, 0});
    if (notifyWindow_ != nullptr) {
        PostMessageA(notifyWindow_, notifyMessage_, 0, notifyInstance_);
    }
}

}  // namespace dshow_detail
