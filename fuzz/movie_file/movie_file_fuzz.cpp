// The input is a movie file. It is rendered by a filter graph (the windowless mixing renderer
// for even sizes, the default renderer's video window for odd ones) and, when that succeeds,
// played on the manual clock in steps of 100 ms of mixed sound until the graph posts its end or
// an error, or 60 s have played. A crash, a sanitizer report or a step that never returns is a
// failure; a file that does not open or ends in EC_ERRORABORT is not.

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "fuzz_program_dir.h"
#include "platform/dshow/dshow.h"
#include "platform/dsound/dsound.h"
#include "platform/dsound/dsound_test.h"
#include "platform/win32/message_api.h"
#include "platform/win32/window_api.h"
#include "platform/winbase/com_init.h"
#include "platform/winbase/test_hooks.h"

namespace {

constexpr int kStepMilliseconds = 100;
constexpr int kMaxSteps = 600;
constexpr UINT kNotifyMessage = WM_USER + 91;

struct Stage {
    HWND window = nullptr;
    IDirectSound8* sound = nullptr;
    std::string path;  // the game's form of the movie file
    std::string linuxPath;
};

const Stage& SetUpStage() {
    static const Stage stage = [] {
        Stage made;
        const std::string& directory = FuzzProgramDirectory("movie");
        made.linuxPath = directory + "/fuzz.avi";
        made.path = directory + "\\fuzz.avi";
        for (char& c : made.path) {
            c = c == '/' ? '\\' : c;
        }
        win32_test::UseManualClock(true);
        dsound_test::UseNullDevice(true);
        CoInitialize(nullptr);
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "MovieFuzz";
        RegisterClassExA(&windowClass);
        made.window = CreateWindowExA(0, "MovieFuzz", "movie", WS_VISIBLE, 0, 0, 800, 600, nullptr,
                                      nullptr, nullptr, nullptr);
        DirectSoundCreate8(nullptr, &made.sound, nullptr);
        made.sound->SetCooperativeLevel(made.window, DSSCL_PRIORITY);
        return made;
    }();
    return stage;
}

template <typename Interface>
Interface* Query(IUnknown* object, REFIID iid) {
    void* found = nullptr;
    return SUCCEEDED(object->QueryInterface(iid, &found)) ? static_cast<Interface*>(found)
                                                          : nullptr;
}

// Plays until an event is queued; false when none came within the time limit.
bool PlayToAnEvent(const Stage& stage, IMediaEventEx* events) {
    for (int step = 0; step < kMaxSteps; ++step) {
        dsound_test::MixFrames(stage.sound, 44100 * kStepMilliseconds / 1000);
        win32_test::AdvanceClockMicroseconds(kStepMilliseconds * 1000);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        LONG code = 0;
        LONG_PTR param1 = 0;
        LONG_PTR param2 = 0;
        if (SUCCEEDED(events->GetEvent(&code, &param1, &param2, 0))) {
            return true;
        }
    }
    return false;
}

void Play(const Stage& stage, bool windowless) {
    IGraphBuilder* graph = nullptr;
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                reinterpret_cast<void**>(&graph)))) {
        return;
    }
    if (windowless) {
        IBaseFilter* renderer = nullptr;
        CoCreateInstance(CLSID_VideoMixingRenderer9, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                         reinterpret_cast<void**>(&renderer));
        graph->AddFilter(renderer, u"Video Mixing Renderer 9");
        if (auto* config = Query<IVMRFilterConfig9>(renderer, IID_IVMRFilterConfig9)) {
            config->SetRenderingMode(VMR9Mode_Windowless);
            config->Release();
        }
        if (auto* control = Query<IVMRWindowlessControl9>(renderer, IID_IVMRWindowlessControl9)) {
            const RECT whole{0, 0, 800, 600};
            control->SetVideoClippingWindow(stage.window);
            control->SetVideoPosition(nullptr, &whole);
            control->Release();
        }
        renderer->Release();
    }
    const std::u16string wide(stage.path.begin(), stage.path.end());
    auto* control = Query<IMediaControl>(graph, IID_IMediaControl);
    auto* events = Query<IMediaEventEx>(graph, IID_IMediaEventEx);
    auto* videoWindow = Query<IVideoWindow>(graph, IID_IVideoWindow);
    if (SUCCEEDED(graph->RenderFile(wide.c_str(), nullptr))) {
        videoWindow->put_Owner(reinterpret_cast<OAHWND>(stage.window));
        events->SetNotifyWindow(reinterpret_cast<OAHWND>(stage.window), kNotifyMessage, 0);
        if (SUCCEEDED(control->Run())) {
            PlayToAnEvent(stage, events);
        }
    }
    videoWindow->Release();
    events->Release();
    control->Release();
    graph->Release();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Stage& stage = SetUpStage();
    {
        std::ofstream out(stage.linuxPath, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    Play(stage, size % 2 == 0);
    return 0;
}
