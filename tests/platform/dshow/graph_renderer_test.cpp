// Where a graph's pictures go (the windowless renderer's destination, the default renderer's
// video window), and the classes CoCreateInstance makes.

#include <gtest/gtest.h>

#include "graph_test_support.h"

namespace qvn::test {
namespace {

using GraphRendererTest = MovieClockTest;

// The window as the movie left it, as frames of colours.avi (-1 for black) at a few points.
struct Sample {
    LONG x;
    LONG y;
    int frame;
};

void ExpectWindow(HWND window, std::initializer_list<Sample> samples, const char* name) {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;
    ASSERT_TRUE(dshow_test::CaptureWindow(window, &width, &height, &argb)) << name;
    ASSERT_EQ(width, 800) << name;
    ASSERT_EQ(height, 600) << name;
    for (const Sample& s : samples) {
        const std::uint32_t pixel = argb[static_cast<std::size_t>(s.y) * width + s.x];
        const int found = pixel == 0xFF000000u ? -1 : NearestMovieColour(pixel);
        EXPECT_EQ(found, s.frame) << name << " at " << s.x << ", " << s.y;
    }
}

TEST_F(GraphRendererTest, WindowlessRendererDrawsAtItsDestination) {
    struct Case {
        const char* name;
        RECT destination;
        POINT outside;  // a black point beside the picture
    };
    const Case cases[] = {
        {"the whole window", RECT{0, 0, 800, 600}, POINT{-1, -1}},
        {"a letter-box", RECT{0, 75, 800, 525}, POINT{400, 74}},
        {"a corner", RECT{600, 450, 800, 600}, POINT{599, 449}},
    };
    for (const Case& c : cases) {
        TestGraph g = MakeGraph(WidePath("movie\\colours.avi"), window(), true, c.destination);
        ASSERT_EQ(g.control->Run(), S_OK) << c.name;
        Play(130);
        const dshow_test::ShownPicture shown = dshow_test::LastShown(window());
        const RECT& d = c.destination;
        EXPECT_EQ(shown.destination.left, d.left) << c.name;
        EXPECT_EQ(shown.destination.top, d.top) << c.name;
        EXPECT_EQ(shown.destination.right, d.right) << c.name;
        EXPECT_EQ(shown.destination.bottom, d.bottom) << c.name;
        ExpectWindow(window(),
                     {{d.left + 2, d.top + 2, 1},
                      {(d.left + d.right) / 2, (d.top + d.bottom) / 2, 1},
                      {d.right - 3, d.bottom - 3, 1}},
                     c.name);
        if (c.outside.x >= 0) {
            ExpectWindow(window(), {{c.outside.x, c.outside.y, -1}}, c.name);
        }
    }
    // A part of the picture: the top left quarter fills the window.
    TestGraph g = MakeGraph(WidePath("movie\\colours.avi"), window(), true, RECT{0, 0, 800, 600});
    const RECT quarter{0, 0, 80, 60};
    ASSERT_EQ(g.windowless->SetVideoPosition(&quarter, nullptr), S_OK);
    ASSERT_EQ(g.control->Run(), S_OK);
    Play(10);
    const dshow_test::ShownPicture shown = dshow_test::LastShown(window());
    EXPECT_EQ(shown.source.right, 80);
    EXPECT_EQ(shown.source.bottom, 60);
    const RECT inverted{10, 10, 5, 5};
    EXPECT_EQ(g.windowless->SetVideoPosition(nullptr, &inverted), E_INVALIDARG);
    EXPECT_EQ(g.windowless->SetVideoPosition(nullptr, nullptr), E_POINTER);
}

TEST_F(GraphRendererTest, RendererModesAndSizes) {
    IBaseFilter* filter = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_VideoMixingRenderer9, nullptr, CLSCTX_INPROC_SERVER,
                               IID_IBaseFilter, reinterpret_cast<void**>(&filter)),
              S_OK);
    Com<IBaseFilter> renderer(filter);
    // In its default, windowed mode the windowless control cannot be reached.
    EXPECT_EQ(Query<IVMRWindowlessControl9>(filter, IID_IVMRWindowlessControl9), nullptr);
    Com<IVMRFilterConfig9> config = Query<IVMRFilterConfig9>(filter, IID_IVMRFilterConfig9);
    EXPECT_EQ(config->SetRenderingMode(3), E_INVALIDARG);
    ASSERT_EQ(config->SetRenderingMode(VMR9Mode_Windowless), S_OK);
    Com<IVMRWindowlessControl9> windowless =
        Query<IVMRWindowlessControl9>(filter, IID_IVMRWindowlessControl9);
    ASSERT_NE(windowless, nullptr);
    LONG width = 0;
    LONG height = 0;
    EXPECT_EQ(windowless->GetNativeVideoSize(&width, &height, nullptr, nullptr), VFW_E_WRONG_STATE);
    EXPECT_EQ(windowless->SetVideoClippingWindow(reinterpret_cast<HWND>(0x4321)), E_INVALIDARG);

    IGraphBuilder* graph = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                               reinterpret_cast<void**>(&graph)),
              S_OK);
    Com<IGraphBuilder> owner(graph);
    ASSERT_EQ(graph->AddFilter(filter, u"Video Mixing Renderer 9"), S_OK);
    EXPECT_EQ(graph->AddFilter(filter, u"again"), E_INVALIDARG);
    EXPECT_EQ(graph->AddFilter(nullptr, u"none"), E_INVALIDARG);
    ASSERT_EQ(graph->RenderFile(WidePath("movie\\colours.avi").c_str(), nullptr), S_OK);
    EXPECT_EQ(config->SetRenderingMode(VMR9Mode_Windowed), VFW_E_WRONG_STATE);
    LONG aspectWidth = 0;
    LONG aspectHeight = 0;
    ASSERT_EQ(windowless->GetNativeVideoSize(&width, &height, &aspectWidth, &aspectHeight), S_OK);
    EXPECT_EQ(width, kMovieWidth);
    EXPECT_EQ(height, kMovieHeight);
    EXPECT_EQ(aspectWidth, kMovieWidth);
    Com<IBasicVideo> video = Query<IBasicVideo>(graph, IID_IBasicVideo);
    width = height = 0;
    ASSERT_EQ(video->GetVideoSize(&width, &height), S_OK);
    EXPECT_EQ(height, kMovieHeight);
    // With the windowless renderer the graph has no video window.
    Com<IVideoWindow> videoWindow = Query<IVideoWindow>(graph, IID_IVideoWindow);
    EXPECT_EQ(videoWindow->put_Owner(reinterpret_cast<OAHWND>(window())), E_NOINTERFACE);
}

TEST_F(GraphRendererTest, DefaultRendererVideoWindow) {
    TestGraph g = MakeGraph(WidePath("movie\\colours.avi"), window(), false, RECT{});
    ASSERT_EQ(g.rendered, S_OK);
    ASSERT_EQ(g.control->Run(), S_OK);
    Play(10);
    EXPECT_FALSE(dshow_test::LastShown(window()).shown) << "no owner: nowhere to show";
    const auto owner = reinterpret_cast<OAHWND>(window());
    EXPECT_EQ(g.videoWindow->put_Owner(0x4321), E_INVALIDARG);
    ASSERT_EQ(g.videoWindow->put_Owner(owner), S_OK);
    EXPECT_EQ(g.videoWindow->put_MessageDrain(owner), S_OK);
    EXPECT_EQ(g.videoWindow->put_WindowStyle(0x46000000), S_OK);
    EXPECT_EQ(g.videoWindow->HideCursor(OATRUE), S_OK);
    EXPECT_EQ(g.videoWindow->HideCursor(2), E_INVALIDARG);
    EXPECT_EQ(g.videoWindow->SetWindowForeground(OATRUE), S_OK);
    EXPECT_EQ(g.videoWindow->NotifyOwnerMessage(owner, WM_PAINT, 0, 0), S_OK);
    EXPECT_EQ(g.videoWindow->SetWindowPosition(0, 0, -1, 10), E_INVALIDARG);
    struct Step {
        const char* name;
        HRESULT (*change)(IVideoWindow*);
        RECT destination;
        bool showsNew;
    };
    const Step steps[] = {
        {"the native size at the owner's corner", nullptr, RECT{0, 0, 160, 120}, true},
        {"placed and sized",
         [](IVideoWindow* w) { return w->SetWindowPosition(200, 150, 400, 300); },
         RECT{200, 150, 600, 450}, true},
        {"full screen: the whole client area",
         [](IVideoWindow* w) { return w->put_FullScreenMode(OATRUE); }, RECT{0, 0, 800, 600}, true},
        {"back from full screen", [](IVideoWindow* w) { return w->put_FullScreenMode(OAFALSE); },
         RECT{200, 150, 600, 450}, true},
        {"hidden: nothing more is shown", [](IVideoWindow* w) { return w->put_Visible(OAFALSE); },
         RECT{200, 150, 600, 450}, false},
    };
    for (const Step& step : steps) {
        if (step.change != nullptr) {
            ASSERT_EQ(step.change(g.videoWindow.get()), S_OK) << step.name;
        }
        const int before = dshow_test::LastShown(window()).showCount;
        Play(100);
        const dshow_test::ShownPicture shown = dshow_test::LastShown(window());
        EXPECT_EQ(shown.showCount > before, step.showsNew) << step.name;
        EXPECT_EQ(shown.destination.left, step.destination.left) << step.name;
        EXPECT_EQ(shown.destination.top, step.destination.top) << step.name;
        EXPECT_EQ(shown.destination.right, step.destination.right) << step.name;
        EXPECT_EQ(shown.destination.bottom, step.destination.bottom) << step.name;
    }
}

TEST_F(GraphRendererTest, ClassesOfCoCreateInstance) {
    void* object = nullptr;
    struct Case {
        const char* name;
        const GUID& clsid;
        IUnknown* outer;
        DWORD context;
        const GUID& iid;
        HRESULT result;
    };
    IUnknown* outer = reinterpret_cast<IUnknown*>(0x10);
    const Case cases[] = {
        {"a graph", CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IMediaControl, S_OK},
        {"aggregated", CLSID_FilterGraph, outer, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
         CLASS_E_NOAGGREGATION},
        {"not in process", CLSID_FilterGraph, nullptr, 0, IID_IGraphBuilder, REGDB_E_CLASSNOTREG},
        {"an unknown class", IID_IBasicAudio, nullptr, CLSCTX_INPROC_SERVER, IID_IBasicAudio,
         REGDB_E_CLASSNOTREG},
        {"a renderer as a graph", CLSID_VideoMixingRenderer9, nullptr, CLSCTX_INPROC_SERVER,
         IID_IGraphBuilder, E_NOINTERFACE},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CoCreateInstance(c.clsid, c.outer, c.context, c.iid, &object), c.result)
            << c.name;
        EXPECT_EQ(object != nullptr, c.result == S_OK) << c.name;
        if (object != nullptr) {
            static_cast<IUnknown*>(object)->Release();
            object = nullptr;
        }
    }
    dshow_test::SetVideoMixingRendererAvailable(false);
    EXPECT_EQ(CoCreateInstance(CLSID_VideoMixingRenderer9, nullptr, CLSCTX_INPROC_SERVER,
                               IID_IBaseFilter, &object),
              REGDB_E_CLASSNOTREG);
    dshow_test::SetVideoMixingRendererAvailable(true);
    CoUninitialize();
    EXPECT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                               &object),
              CO_E_NOTINITIALIZED);
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
}

}  // namespace
}  // namespace qvn::test
