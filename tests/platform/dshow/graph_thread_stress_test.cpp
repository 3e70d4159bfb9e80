// Run, Stop, rewinds, volume changes and the release of graphs from the caller's thread while
// their decoding threads work and another thread mixes the sound, on the manual clock and on the
// real one. Built a second time under ThreadSanitizer (tools/test-tsan) to hold the decoding
// thread to its locking rules.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "graph_test_support.h"

namespace qvn::test {
namespace {

using GraphThreadStressTest = MovieClockTest;

TEST_F(GraphThreadStressTest, CallsRaceTheDecodingThreadSafely) {
    for (const bool manualClock : {true, false}) {
        win32_test::UseManualClock(manualClock);
        std::atomic<bool> done{false};
        std::thread mixer([&done, manualClock] {
            while (!done.load()) {
                dsound_test::MixFrames(441);
                if (manualClock) {
                    win32_test::AdvanceClockMicroseconds(10000);
                } else {
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
                }
                std::this_thread::yield();
            }
        });
        for (int round = 0; round < 12; ++round) {
            const char* name = round % 3 == 2 ? "movie\\silent.avi" : "movie\\colours.avi";
            TestGraph g = MakeGraph(WidePath(name), window(), round % 2 == 0, RECT{0, 0, 800, 600});
            ASSERT_EQ(g.rendered, S_OK);
            for (int step = 0; step < 8; ++step) {
                switch ((round + step) % 4) {
                    case 0:
                        g.control->Run();
                        break;
                    case 1:
                        g.audio->put_Volume(-100 * step);
                        break;
                    case 2: {
                        LONGLONG start = 0;
                        g.seeking->SetPositions(&start, AM_SEEKING_AbsolutePositioning, nullptr,
                                                AM_SEEKING_NoPositioning);
                        break;
                    }
                    default:
                        if (round % 5 == 4) {
                            g.control->Stop();
                        }
                        break;
                }
                for (int pump = 0; pump < 5; ++pump) {
                    PumpMessages();
                    std::this_thread::yield();
                }
            }
            TakeEvents(g.events.get());
        }
        done.store(true);
        mixer.join();
        TakePosted();
    }
    win32_test::UseManualClock(true);
}

}  // namespace
}  // namespace qvn::test
