// Playing a movie through a graph: the picture shown at each moment against the sound mixed at
// that moment, the volume, stopping, rewinding, the end, and damaged files.

#include <gtest/gtest.h>

#include "graph_test_support.h"

namespace qvn::test {
namespace {

using GraphPlaybackTest = MovieClockTest;

constexpr RECT kWholeWindow{0, 0, 800, 600};

// The frame shown from `milliseconds` after the start on.
int FrameAt(int milliseconds) {
    return std::min(milliseconds / 100, kMovieFrames - 1);
}

// The colour in the middle of the picture last shown in `window`, as a frame of colours.avi.
int ShownColour(HWND window) {
    const dshow_test::ShownPicture shown = dshow_test::LastShown(window);
    if (!shown.shown) {
        return -1;
    }
    return NearestMovieColour(shown.argb[(shown.height / 2) * shown.width + shown.width / 2]);
}

TEST_F(GraphPlaybackTest, PicturesAndSoundKeepInStepUntilTheEnd) {
    TestGraph g = MakeGraph(WidePath("movie\\colours.avi"), window(), true, kWholeWindow);
    ASSERT_EQ(g.rendered, S_OK);
    ASSERT_EQ(g.control->Run(), S_OK);
    for (int t = 10; t <= 1200; t += 10) {
        Play(10);
        // At t the picture whose time stamp is the latest at or before t shows; the sound mixed
        // in the step before t is that of the frame shown during the step.
        const dshow_test::ShownPicture shown = dshow_test::LastShown(window());
        ASSERT_TRUE(shown.shown) << t;
        EXPECT_EQ(shown.number, FrameAt(t)) << t;
        EXPECT_EQ(shown.time, FrameAt(t) * 1000000LL) << t;
        EXPECT_EQ(ShownColour(window()), FrameAt(t)) << t;
        EXPECT_EQ(PeakLevel(lastMix()), t <= 1000 ? 1000 * (FrameAt(t - 10) + 1) : 0) << t;
        // The end is told once, when the clock reaches it, with one notification.
        const std::vector<LONG> events = TakeEvents(g.events.get());
        const std::vector<MSG> posted = TakePosted();
        EXPECT_EQ(events, t == 1000 ? std::vector<LONG>{EC_COMPLETE} : std::vector<LONG>{}) << t;
        ASSERT_EQ(posted.size(), events.size()) << t;
        for (const MSG& message : posted) {
            EXPECT_EQ(message.message, WM_USER + 91u);
            EXPECT_EQ(message.lParam, 7);
        }
    }
    EXPECT_EQ(dshow_test::LastShown(window()).showCount, kMovieFrames);
}

TEST_F(GraphPlaybackTest, LatePicturesAreDroppedAndTheSoundIsNot) {
    TestGraph g = MakeGraph(WidePath("movie\\colours.avi"), window(), true, kWholeWindow);
    ASSERT_EQ(g.control->Run(), S_OK);
    Play(10);
    // The mixer takes 550 ms of sound before the next step: the pictures in between are never
    // shown, the sound went on without a gap.
    const std::vector<std::int16_t> sound = dsound_test::MixFrames(24255);
    Play(10);
    const dshow_test::ShownPicture shown = dshow_test::LastShown(window());
    EXPECT_EQ(shown.number, 5);
    EXPECT_EQ(shown.showCount, 2);
    for (int frame = 0; frame < 5; ++frame) {
        // The block began 10 ms (441 frames) into the movie.
        const std::vector<std::int16_t> part(sound.begin() + std::max(frame * 4410 - 441, 0) * 2,
                                             sound.begin() + ((frame + 1) * 4410 - 441) * 2);
        EXPECT_EQ(PeakLevel(part), 1000 * (frame + 1)) << frame;
    }
}

TEST_F(GraphPlaybackTest, VolumeStopRunAndRewind) {
    TestGraph g = MakeGraph(WidePath("movie\\colours.avi"), window(), true, kWholeWindow);
    ASSERT_EQ(g.control->Run(), S_OK);
    Play(250);

    struct Volume {
        LONG value;
        HRESULT result;
        int level;  // of frame 2 (3000 at full volume)
    };
    const Volume volumes[] = {{-600, S_OK, 1503},
                              {-10000, S_OK, 0},
                              {1, E_INVALIDARG, 0},
                              {-10001, E_INVALIDARG, 0},
                              {0, S_OK, 3000}};
    for (const Volume& v : volumes) {
        EXPECT_EQ(g.audio->put_Volume(v.value), v.result) << v.value;
        Play(10);
        EXPECT_NEAR(PeakLevel(lastMix()), v.level, 2) << v.value;
    }
    LONG volume = 1;
    EXPECT_EQ(g.audio->get_Volume(&volume), S_OK);
    EXPECT_EQ(volume, 0);

    // Stopped at 300 ms, the clock and the sound halt; run again, they go on where they were.
    ASSERT_EQ(g.control->Stop(), S_OK);
    Play(300);
    EXPECT_EQ(dshow_test::LastShown(window()).number, 3);
    EXPECT_EQ(PeakLevel(lastMix()), 0);
    ASSERT_EQ(g.control->Run(), S_OK);
    Play(150);
    EXPECT_EQ(dshow_test::LastShown(window()).number, 4);
    EXPECT_EQ(PeakLevel(lastMix()), 5000);

    // Only the start can be sought, and the stop position is left alone.
    LONGLONG position = 5;
    EXPECT_EQ(g.seeking->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr,
                                      AM_SEEKING_NoPositioning),
              E_NOTIMPL);
    EXPECT_EQ(g.seeking->SetPositions(nullptr, AM_SEEKING_AbsolutePositioning, nullptr,
                                      AM_SEEKING_NoPositioning),
              E_POINTER);
    position = 0;
    EXPECT_EQ(g.seeking->SetPositions(&position, AM_SEEKING_AbsolutePositioning, &position,
                                      AM_SEEKING_AbsolutePositioning),
              E_NOTIMPL);
    EXPECT_EQ(g.seeking->SetPositions(&position, AM_SEEKING_NoPositioning, nullptr,
                                      AM_SEEKING_NoPositioning),
              S_OK);
    EXPECT_EQ(dshow_test::LastShown(window()).number, 4);
    // Back to the start, picture and sound; after the end as well.
    ASSERT_EQ(g.seeking->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr,
                                      AM_SEEKING_NoPositioning),
              S_OK);
    Play(10);
    EXPECT_EQ(dshow_test::LastShown(window()).number, 0);
    EXPECT_EQ(PeakLevel(lastMix()), 1000);
    Play(1000);
    EXPECT_EQ(TakeEvents(g.events.get()), std::vector<LONG>{EC_COMPLETE});
    ASSERT_EQ(g.seeking->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr,
                                      AM_SEEKING_NoPositioning),
              S_OK);
    Play(110);
    EXPECT_EQ(dshow_test::LastShown(window()).number, 1);
    EXPECT_EQ(PeakLevel(lastMix()), 2000);
}

TEST_F(GraphPlaybackTest, MovieWithoutSoundFollowsTheClock) {
    TestGraph g = MakeGraph(WidePath("movie\\silent.avi"), window(), true, kWholeWindow);
    ASSERT_EQ(g.rendered, S_OK);
    LONG volume = 0;
    EXPECT_EQ(g.audio->put_Volume(-100), E_NOTIMPL);
    EXPECT_EQ(g.audio->get_Volume(&volume), E_NOTIMPL);
    ASSERT_EQ(g.control->Run(), S_OK);
    // The mixer plays nothing: the pictures follow the clock alone.
    for (int t = 10; t <= 1000; t += 10) {
        win32_test::AdvanceClockMicroseconds(10000);
        PumpMessages();
        EXPECT_EQ(dshow_test::LastShown(window()).number, FrameAt(t)) << t;
    }
    EXPECT_EQ(TakeEvents(g.events.get()), std::vector<LONG>{EC_COMPLETE});
}

TEST_F(GraphPlaybackTest, DamagedMoviesPlayUpToTheDamage) {
    const std::vector<std::uint8_t> good = ReadMovieFixture("colours.avi");
    const std::vector<std::size_t> pictures = PictureChunks(good);
    ASSERT_EQ(pictures.size(), static_cast<std::size_t>(kMovieFrames));
    std::vector<std::uint8_t> cut = good;
    cut.resize(120000);
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        int lastShown;
        LONG event;
    };
    const Case cases[] = {
        {"picture 4 damaged", Damaged(good, pictures[4] + 40, 64), 3, EC_ERRORABORT},
        {"cut off inside the sound of frame 6", cut, 6, EC_ERRORABORT},
        {"sound samples damaged: they play as they are", Damaged(good, pictures[2] + 600, 64), 9,
         EC_COMPLETE},
    };
    for (const Case& c : cases) {
        dir().writeFile("movie/bad.avi", c.bytes);
        TestGraph g = MakeGraph(WidePath("movie\\bad.avi"), window(), true, kWholeWindow);
        ASSERT_EQ(g.rendered, S_OK) << c.name;
        ASSERT_EQ(g.control->Run(), S_OK) << c.name;
        std::vector<LONG> events;
        int shown = -1;
        for (int t = 0; t < 1500 && events.empty(); t += 10) {
            Play(10);
            events = TakeEvents(g.events.get());
            shown = dshow_test::LastShown(window()).number;
        }
        EXPECT_EQ(events, std::vector<LONG>{c.event}) << c.name;
        EXPECT_EQ(shown, c.lastShown) << c.name;
        Play(300);
        EXPECT_TRUE(TakeEvents(g.events.get()).empty()) << c.name << ": told once";
    }
}

TEST_F(GraphPlaybackTest, FilesThatDoNotOpen) {
    const std::vector<std::uint8_t> good = ReadMovieFixture("colours.avi");
    dir().writeFile("movie/text.avi", std::string("this is no movie\r\n"));
    dir().writeFile("movie/empty.avi", std::string());
    dir().writeFile("movie/header.avi",
                    std::vector<std::uint8_t>(good.begin(), good.begin() + 5000));
    dir().writeFile("movie/list.avi", "ffconcat version 1.0\nfile 'colours.avi'\n");
    dir().writeFile("movie/stream.avi", "#EXTM3U\n#EXTINF:1,\ncolours.avi\n#EXT-X-ENDLIST\n");
    struct Case {
        const char* name;
        std::u16string path;
        HRESULT result;
    };
    const Case cases[] = {
        {"missing", WidePath("movie\\none.avi"), VFW_E_NOT_FOUND},
        {"a name that does not convert", WidePath("movie\\") + u"\xD800.avi", VFW_E_NOT_FOUND},
        {"text", WidePath("movie\\text.avi"), VFW_E_UNKNOWN_FILE_TYPE},
        {"empty", WidePath("movie\\empty.avi"), VFW_E_UNKNOWN_FILE_TYPE},
        {"cut inside its header", WidePath("movie\\header.avi"), VFW_E_UNKNOWN_FILE_TYPE},
        {"a list of other files", WidePath("movie\\list.avi"), VFW_E_UNKNOWN_FILE_TYPE},
        {"a playlist", WidePath("movie\\stream.avi"), VFW_E_UNKNOWN_FILE_TYPE},
    };
    for (const Case& c : cases) {
        TestGraph g = MakeGraph(c.path, window(), true, kWholeWindow);
        EXPECT_EQ(g.rendered, c.result) << c.name;
        EXPECT_EQ(g.control->Run(), VFW_E_WRONG_STATE) << c.name;
    }
    TestGraph g = MakeGraph(WidePath("movie\\colours.avi"), window(), true, kWholeWindow);
    EXPECT_EQ(g.graph->RenderFile(WidePath("movie\\colours.avi").c_str(), nullptr),
              VFW_E_WRONG_STATE);
    EXPECT_EQ(g.graph->RenderFile(nullptr, nullptr), E_POINTER);
}

}  // namespace
}  // namespace qvn::test
