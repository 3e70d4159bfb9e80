// The people of the adventure at 800 x 600, on one core:
// BM_AdventureFrameWithStands: one whole adventure frame (sprites stepped, planes updated, the
// scene with a background and three standing characters, the message window with a face and
// four lines of text, the mascot) against BM_AdventureFrameReference, the same frame without
// the characters and the face and with the mascot hidden, measured in the same run.
// BM_BacklogStepBack: one step back through a backlog of 10,000 entries and the entry shown
// (its face, speaker and text laid out as a page), with the device states an adventure frame
// leaves, as the frame shows it.
// BM_VoiceStart: PlayVoice of a 2.6-second MP3 line from the call until the sound plays (the
// file read, decoded and put in a playing sound buffer).
#include <string>

#include <benchmark/benchmark.h>

#include "adventure_bench_stage.h"
#include "fuzz_device.h"

#include "adventure/adventure_frame.h"
#include "adventure/face.h"
#include "adventure/game_mode.h"
#include "adventure/mascot.h"
#include "adventure/message_backlog.h"
#include "adventure/message_layout.h"
#include "adventure/message_window.h"
#include "adventure/scene.h"
#include "adventure/stand.h"
#include "adventure/voice.h"
#include "foundation/app_settings.h"
#include "foundation/log.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/plane.h"
#include "media/sound/direct_sound.h"
#include "platform/dsound/dsound_test.h"
#include "platform/win32/window_api.h"
#include "platform/winbase/code_page.h"
#include "shell/program.h"
#include "sprite_ui/sprite.h"

namespace {

std::string Sjis(const char* utf8) {
    return Utf8ToCp932(utf8).value_or("");
}

// An 800 x 600 device and a null sound device over the stage of every benchmark, with the
// station as the background, made by each benchmark.
struct Stage {
    Stage() {
        MakeAdventureDevice(800, 600);
        dsound_test::UseNullDevice(true);
        static int soundWindow;
        CreateDirectSound(reinterpret_cast<HWND>(&soundWindow), nullptr);
        VoiceVolume = 10000;
        // Every character switched on and known, so that nothing is written to the store.
        for (VoiceCharacterFlag& flag : VoiceCharacterFlags) {
            flag = VoiceCharacterFlag{1, 1};
        }
        GameMode = kGameModeAdventure;
        LoadBasePlane("visual\\station");
        speaker = Sjis("ソラ");
        text = Sjis(
            "「おはよう、ヒナ。{列車/れっしゃ}はまだ来ないみたい。ホームの端まで歩いて、"
            "線路の先を見てみようか。赤い屋根の駅舎が、朝日に光っているよ。」");
    }

    // The page of the benchmarks: speaker, face and the text, laid out as a new page.
    void ShowPage(bool withFace) {
        SetFace(withFace ? "sora" : nullptr);
        std::snprintf(SpeakerName, sizeof SpeakerName, "%s", speaker.c_str());
        LineCounter = -1;
        ShowText(text.c_str());
        PageWait = 1;
        MessageWindowShown = 1;
        WindowFadeTime = 0.0f;
    }

    AdventureBenchStage base;  // first: made before the rest, taken down after it
    std::string speaker;
    std::string text;
};

// One frame as the frame step runs it in the adventure mode, without presenting.
void RunFrame() {
    IDirect3DDevice9* device = D3DApp->device.get();
    ISprite::StepAll(16);
    D3D_UpdatePlanes(1.0 / 60.0);
    device->BeginScene();
    AdventureFrame(1.0 / 60.0);
    ISprite::DrawAll(0);
    device->EndScene();
}

void FrameBenchmark(benchmark::State& state, bool withPeople) {
    Stage stage;
    if (withPeople) {
        AddStand("hina", static_cast<std::uint32_t>(kStandSlotLeft));
        AddStand("sora", static_cast<std::uint32_t>(kStandSlotRight));
        AddStand("kai", static_cast<std::uint32_t>(kStandSlotCentre));
    }
    stage.ShowPage(withPeople);
    RunFrame();
    // The adventure frame makes the mascot; without the people it stays hidden.
    SetMascotVisible(withPeople);
    for (auto _ : state) {
        RunFrame();
    }
    state.counters["lines"] = LineCounter;
    state.counters["stands"] = static_cast<double>(StandList.size());
    state.SetItemsProcessed(state.iterations());
}

void BM_AdventureFrameWithStands(benchmark::State& state) {
    FrameBenchmark(state, true);
}
BENCHMARK(BM_AdventureFrameWithStands)->Unit(benchmark::kMillisecond);

void BM_AdventureFrameReference(benchmark::State& state) {
    FrameBenchmark(state, false);
}
BENCHMARK(BM_AdventureFrameReference)->Unit(benchmark::kMillisecond);

void BM_BacklogStepBack(benchmark::State& state) {
    Stage stage;
    stage.ShowPage(true);
    for (int i = 0; i < 10000; ++i) {
        MessageBacklog::Add(stage.text.c_str());
    }
    // The adventure frame shows the entry with the device states its last frame left.
    RunFrame();
    for (auto _ : state) {
        MessageBacklog::StepBack();
        MessageBacklog::ShowSelected();
        if (MessageBacklog::Cursor() + 1 >= MessageBacklog::Size()) {
            state.PauseTiming();
            MessageBacklog::ReturnToCurrent();
            PageWait = 1;
            state.ResumeTiming();
        }
    }
    state.counters["entries"] = static_cast<double>(MessageBacklog::Size());
    state.counters["lines"] = LineCounter;
    state.counters["face"] = FacePlane != nullptr ? 1 : 0;
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BacklogStepBack)->Unit(benchmark::kMicrosecond);

void BM_VoiceStart(benchmark::State& state) {
    const Stage stage;
    for (auto _ : state) {
        PlayVoice("hn0201");
        if (!IsVoicePlaying()) {
            state.SkipWithError("the voice does not play");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_VoiceStart)->Unit(benchmark::kMillisecond);

}  // namespace
