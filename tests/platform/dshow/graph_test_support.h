#pragma once
// The dshow tests' graphs: built as the players build them, with owning pointers.

#include <memory>
#include <string>

#include "support/movie_test_support.h"

namespace qvn::test {

struct ComRelease {
    void operator()(IUnknown* object) const {
        if (object != nullptr) {
            object->Release();
        }
    }
};
template <typename Interface>
using Com = std::unique_ptr<Interface, ComRelease>;

template <typename Interface>
Com<Interface> Query(IUnknown* object, REFIID iid) {
    Interface* found = nullptr;
    if (object == nullptr ||
        FAILED(object->QueryInterface(iid, reinterpret_cast<void**>(&found)))) {
        return nullptr;
    }
    return Com<Interface>(found);
}

// A graph and the interfaces the tests drive.
struct TestGraph {
    Com<IGraphBuilder> graph;
    Com<IMediaControl> control;
    Com<IMediaEventEx> events;
    Com<IMediaSeeking> seeking;
    Com<IBasicAudio> audio;
    Com<IBasicVideo> video;
    Com<IVideoWindow> videoWindow;
    Com<IVMRWindowlessControl9> windowless;
    HRESULT rendered = E_FAIL;
};

// A graph for `path`; with `windowless`, a Video Mixing Renderer 9 added first in windowless
// mode, clipped to `window` and drawing at `destination`. Events notify `window` with
// `message`.
inline TestGraph MakeGraph(const std::u16string& path, HWND window, bool windowless,
                           const RECT& destination, UINT message = WM_USER + 91) {
    TestGraph made;
    IGraphBuilder* graph = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                               reinterpret_cast<void**>(&graph)),
              S_OK);
    made.graph.reset(graph);
    if (windowless) {
        IBaseFilter* filter = nullptr;
        EXPECT_EQ(CoCreateInstance(CLSID_VideoMixingRenderer9, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IBaseFilter, reinterpret_cast<void**>(&filter)),
                  S_OK);
        Com<IBaseFilter> renderer(filter);
        EXPECT_EQ(graph->AddFilter(filter, u"Video Mixing Renderer 9"), S_OK);
        Query<IVMRFilterConfig9>(filter, IID_IVMRFilterConfig9)
            ->SetRenderingMode(VMR9Mode_Windowless);
        made.windowless = Query<IVMRWindowlessControl9>(filter, IID_IVMRWindowlessControl9);
        made.windowless->SetVideoClippingWindow(window);
    }
    made.rendered = graph->RenderFile(path.c_str(), nullptr);
    made.control = Query<IMediaControl>(graph, IID_IMediaControl);
    made.events = Query<IMediaEventEx>(graph, IID_IMediaEventEx);
    made.seeking = Query<IMediaSeeking>(graph, IID_IMediaSeeking);
    made.audio = Query<IBasicAudio>(graph, IID_IBasicAudio);
    made.video = Query<IBasicVideo>(graph, IID_IBasicVideo);
    made.videoWindow = Query<IVideoWindow>(graph, IID_IVideoWindow);
    if (windowless && SUCCEEDED(made.rendered)) {
        made.windowless->SetVideoPosition(nullptr, &destination);
    }
    made.events->SetNotifyWindow(reinterpret_cast<OAHWND>(window), static_cast<LONG>(message), 7);
    return made;
}

// Every event queued, as codes.
inline std::vector<LONG> TakeEvents(IMediaEventEx* events) {
    std::vector<LONG> codes;
    LONG code = 0;
    LONG_PTR param1 = 0;
    LONG_PTR param2 = 0;
    while (SUCCEEDED(events->GetEvent(&code, &param1, &param2, 0))) {
        codes.push_back(code);
        events->FreeEventParams(code, param1, param2);
    }
    return codes;
}

}  // namespace qvn::test
