#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "adventure/game_mode.h"
#include "foundation/app_settings.h"
#include "media/graphics/d3d_application.h"
#include "media/music/music_state.h"
#include "media/music/music_window.h"
#include "platform/d3d9/d3d9_test.h"
#include "platform/win32/colour_cursor.h"
#include "platform/win32/dialog_input.h"
#include "platform/win32/message_api.h"
#include "platform/win32/message_box.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_placement.h"
#include "platform/winbase/test_hooks.h"
#include "program_copy.h"
#include "replay_harness.h"
#include "shell/cursor.h"
#include "shell/game_window.h"
#include "shell/program.h"
#include "shell/shell_texts.h"
#include "support/golden_image.h"
#include "title/title_menu.h"

namespace {

using qvn::test::ReplayEvent;
using qvn::test::ReplayHarness;
using Kind = ReplayEvent::Kind;

using qvn::test::kReplayEndlessStart;

// Runs `frames` frames, then returns from the last script frame.
std::string CountedStart(int frames) {
    return R"(
.locals 0 0
*top
@wait
    invoke 0 0 l1 l1
    push l0
    preinc
    pop
    push l0
    push )" +
           std::to_string(frames) +
           R"(
    lt
    tjump @wait
    return
)";
}

void PrepareGame(ReplayHarness& game, const std::string& start, bool withCursor = true) {
    game.PrepareGame(start, 0, withCursor);
}

void AddShiftI(ReplayHarness& game, int tick) {
    game.Add({tick, Kind::Key, static_cast<int>(VK_SHIFT), 1});
    game.Add({tick, Kind::Key, 'I', 1});
    game.Add({tick + 1, Kind::Key, 'I', 0});
    game.Add({tick + 1, Kind::Key, static_cast<int>(VK_SHIFT), 0});
}

int CountLines(const std::vector<std::string>& lines, const std::string& part) {
    int count = 0;
    for (const std::string& line : lines) {
        count += line.find(part) != std::string::npos ? 1 : 0;
    }
    return count;
}

TEST(ReplayTest, SessionDrawsPausesSurvivesADeviceLossAndEndsOnAConfirmedClose) {
    ReplayHarness game;
    PrepareGame(game, kReplayEndlessStart);
    game.LoadTimeline("session");
    EXPECT_EQ(game.Run(), 0);

    // The system information of the replay's machine comes first, then the product and path.
    const std::vector<std::string> log = game.LogLines();
    const std::vector<std::string> opening = {
        "",
        "[Information]",
        "CPU Vendor: GenuineIntel",
        "CPU Feature: FPU MMX SSE2 ",
        "CPU ID: Type:00 Family:06 Model:0b Stepping:01",
        "CPU Detected: Intel Pentium\207V Processor",
        "OS: Linux 6.1.0 Debian GNU/Linux 12 (bookworm)",
        "Language: Japanese",
        "Memory: 2.00GB",
        "Drive List:",
        "  C: HDD 64.00GB(free: 32.00GB)",
        "DirectX: 4.9.0.1",
        "Product: qvn 1.00",
        "Path: " + game.dir().path() + "/qvn",
    };
    ASSERT_GE(log.size(), opening.size());
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + opening.size()), opening);
    EXPECT_EQ(game.windowTitle(), kWindowTitle);

    EXPECT_EQ(game.HashAt(7), game.HashAt(8)) << "a still scene draws the same frame";
    EXPECT_NE(game.HashAt(10), game.HashAt(8)) << "the frame of Shift+I shows the FPS line";
    const qvn::test::ReplayCapture* fps = game.FindCapture("fps_line");
    ASSERT_NE(fps, nullptr);
    ASSERT_TRUE(fps->drawn);
    EXPECT_EQ(fps->hash, game.HashAt(15));
    EXPECT_EQ(qvn::test::CompareImageWithGolden("shell_fps_line_and_cursor", fps->frame.width,
                                                fps->frame.height, fps->frame.argb.data(),
                                                fps->frame.width),
              "");

    EXPECT_EQ(game.FramesBetween(20, 39), 0) << "inactive in a window: paused";
    EXPECT_EQ(game.FramesBetween(40, 40), 1) << "the tick that activates it draws again";
    EXPECT_EQ(game.FramesBetween(50, 50), 0) << "no frame while the device is lost";
    EXPECT_EQ(game.FramesBetween(51, 51), 1) << "the next frame resets the device";
    EXPECT_GT(game.FramesBetween(52, 79), 0);
    EXPECT_EQ(game.HashAt(65), game.HashAt(75)) << "a still scene after the reset";
    EXPECT_TRUE(game.problems().empty());

    const auto boxes = win32_test::TakeShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kCloseQuestionText);
    EXPECT_EQ(boxes[0].caption, kConfirmCaption);
    EXPECT_EQ(boxes[0].style, 0x144u);
    EXPECT_TRUE(boxes[0].answeredByScript);
    EXPECT_FALSE(game.closedByHarness());
    EXPECT_EQ(game.ticks(), 80);
    // What the run left in the settings store on disk.
    win32_test::ForgetSettingsStore();
    EXPECT_EQ(ReadSafetyQuit(), 0u);
    RECT window{};
    ASSERT_TRUE(ReadWindowRect(&window)) << "a confirmed close in a window keeps its place";
    EXPECT_EQ(window.right - window.left, 800);
    EXPECT_EQ(window.bottom - window.top, 600 + kMenuBarHeight) << "the menu bar above the client";
}

TEST(ReplayTest, ShutdownTakesTheMusicWindowDownSoThatTheNextRunHasItsOwn) {
    for (int run = 0; run < 2; ++run) {
        ReplayHarness game;
        PrepareGame(game, kReplayEndlessStart);
        HWND musicWindow = nullptr;
        int ready = 0;
        game.AddAction(5, [&] {
            musicWindow = GetMusicState().window;
            ready = IsMusicReady();
        });
        game.Add({10, Kind::Close, IDYES});
        EXPECT_EQ(game.Run(), 0);
        EXPECT_NE(musicWindow, nullptr) << "run " << run;
        EXPECT_EQ(ready, 1) << "run " << run;
        EXPECT_EQ(GetMusicState().window, nullptr) << "run " << run;
        EXPECT_EQ(IsMusicReady(), 0) << "run " << run;
    }
}

TEST(ReplayTest, FullScreenWindowIsNeverTrackedSmallerThanTheScreen) {
    struct Case {
        const char* name;
        DWORD fullScreen;
        LONG expectedWidth;
        LONG expectedHeight;
    };
    const Case cases[] = {
        {"full screen", 1, 800, 600},
        {"windowed: left alone", 0, 7, 9},
    };
    for (const Case& c : cases) {
        ReplayHarness game;
        game.PrepareGame(kReplayEndlessStart, c.fullScreen);
        MINMAXINFO limits{};
        game.AddAction(5, [&] {
            limits.ptMinTrackSize = POINT{7, 9};
            EXPECT_EQ(
                SendMessageA(MainWindow, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits)), 0)
                << c.name;
        });
        game.Add({10, Kind::Close, IDYES});
        game.Run();
        EXPECT_EQ(limits.ptMinTrackSize.x, c.expectedWidth) << c.name;
        EXPECT_EQ(limits.ptMinTrackSize.y, c.expectedHeight) << c.name;
    }
}

TEST(ReplayTest, SameTimelineGivesTheSameFrames) {
    std::vector<qvn::test::ReplayFrame> first;
    {
        ReplayHarness game;
        PrepareGame(game, kReplayEndlessStart);
        game.LoadTimeline("session");
        game.Run();
        first = game.frames();
    }
    ReplayHarness game;
    PrepareGame(game, kReplayEndlessStart);
    game.LoadTimeline("session");
    game.Run();
    ASSERT_EQ(game.frames().size(), first.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(game.frames()[i].tick, first[i].tick) << i;
        EXPECT_EQ(game.frames()[i].hash, first[i].hash) << "frame " << i;
    }
}

// The adventure mode takes every key press for itself, so the Pause key works where keys pass
// on to the window: on the title screen, here an empty title menu.
void EnterTitleMode(ReplayHarness& game, int tick) {
    game.AddAction(tick, [] {
        gTitleMenu = new TitleMenu();
        GameMode = kGameModeTitleMenu;
    });
}

TEST(ReplayTest, CloseAnsweredNoKeepsPlaying) {
    ReplayHarness game;
    PrepareGame(game, kReplayEndlessStart);
    EnterTitleMode(game, 2);
    game.LoadTimeline("close_answered_no");
    game.Run();
    EXPECT_EQ(game.FramesBetween(4, 9), 0) << "paused by the Pause key";
    EXPECT_GT(game.FramesBetween(10, 29), 0) << "the question ended the pause, No went on";
    const auto boxes = win32_test::TakeShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].answer, IDNO);
    EXPECT_EQ(boxes[1].answer, IDYES);
    EXPECT_EQ(game.ticks(), 30);
    EXPECT_EQ(ReadSafetyQuit(), 0u);
}

TEST(ReplayTest, PauseThenSpaceRunsExactlyOneFrame) {
    ReplayHarness game;
    PrepareGame(game, kReplayEndlessStart);
    EnterTitleMode(game, 2);
    game.LoadTimeline("pause_and_step");
    game.Run();
    EXPECT_EQ(game.FramesBetween(10, 39), 1);
    EXPECT_EQ(game.FramesBetween(20, 20), 1) << "the step runs in the tick of Space";
}

TEST(ReplayTest, AltEnterSwitchesToFullScreenAndBack) {
    ReplayHarness game;
    PrepareGame(game, kReplayEndlessStart);
    game.LoadTimeline("alt_enter_twice");
    game.Run();
    const std::vector<std::string> log = game.LogLines();
    EXPECT_EQ(CountLines(log, "Changed fullscreen mode: 800x600"), 1);
    EXPECT_EQ(CountLines(log, "Changed windowed mode: 800x600"), 2) << "at start and back";
    EXPECT_GT(game.FramesBetween(12, 19), 0) << "frames run in full screen";
    EXPECT_GT(game.FramesBetween(22, 29), 0) << "and in the window again";
    EXPECT_EQ(ReadSafetyQuit(), 0u);
}

TEST(ReplayTest, ReturnToTitleRestartsTheStartScriptUnlessAnsweredNo) {
    // The restart label announces itself with a call the adventure does not know yet.
    const std::string start = std::string(kReplayEndlessStart) + R"(
*restart
    call 99 0
    pop
    jump @wait
)";
    struct Case {
        const char* timeline;
        int restarts;
    };
    for (const Case& c : {Case{"return_to_title_yes", 1}, Case{"return_to_title_no", 0}}) {
        ReplayHarness game;
        PrepareGame(game, start);
        game.LoadTimeline(c.timeline);
        game.Run();
        EXPECT_EQ(CountLines(game.LogLines(), "function: error. no(99)"), c.restarts) << c.timeline;
        EXPECT_GT(game.FramesBetween(12, 19), 0) << c.timeline;
        const auto boxes = win32_test::TakeShownMessageBoxes();
        ASSERT_EQ(boxes.size(), 2u) << c.timeline;
        EXPECT_EQ(boxes[0].text, kTitleReturnQuestionText) << c.timeline;
    }
}

TEST(ReplayTest, HardwareCursorTakesTheShapesCellAndHotSpotAndFollowsThePointer) {
    ReplayHarness game;
    PrepareGame(game, kReplayEndlessStart);
    game.SetSetting("HWCursor", 1);
    game.Add({5, Kind::MouseMove, 300, 200});
    game.AddAction(10, [] {
        const auto cursor = d3d9_test::GetCursorState(D3DApp->device.get());
        EXPECT_TRUE(cursor.hasImage);
        EXPECT_TRUE(cursor.visible) << "shown by the pointer's move";
        // Screen coordinates of a window at (0, 0): its menu bar lies above the client area.
        EXPECT_EQ(cursor.x, 300);
        EXPECT_EQ(cursor.y, 200 + kMenuBarHeight);
        EXPECT_EQ(cursor.hotSpotX, 0u);
        EXPECT_EQ(SoftwareCursorTexture(), nullptr);
        SetCursorShape(2);
    });
    game.AddAction(12, [] {
        const auto cursor = d3d9_test::GetCursorState(D3DApp->device.get());
        EXPECT_EQ(cursor.hotSpotX, 12u) << "the hand points with its fingertip";
        EXPECT_EQ(cursor.hotSpotY, 0u);
        ASSERT_EQ(cursor.argb.size(), 32u * 32u);
        EXPECT_EQ(cursor.argb[5 * 32 + 12], 0xFFFFFFFFu) << "inside the hand's finger";
        EXPECT_EQ(cursor.argb[5 * 32 + 2] >> 24, 0u) << "clear beside it";
    });
    game.Add({20, Kind::Close, IDYES});
    game.Run();
}

// The hardware cursor is the desktop's own pointer, so it follows the mouse with no frame
// presented: while paused by the Pause key and under a dialog it is still the one pointer shown.
TEST(ReplayTest, HardwareCursorIsTheDesktopsPointerWhilePausedAndUnderADialog) {
    using Shown = win32_test::ShownPointer::Kind;
    ReplayHarness game;
    PrepareGame(game, kReplayEndlessStart);
    game.SetSetting("HWCursor", 1);
    EnterTitleMode(game, 2);  // where the Pause key pauses
    const struct {
        int tick;
        const char* when;
    } moments[] = {{8, "after a move"}, {14, "paused"}, {24, "under the preferences"}};
    std::vector<win32_test::ShownPointer> shown(std::size(moments));
    for (std::size_t i = 0; i < std::size(moments); ++i) {
        game.AddAction(moments[i].tick,
                       [&shown, i] { shown[i] = win32_test::CurrentShownPointer(); });
    }
    std::string timeline =
        "5 move 300 200\n10 key PAUSE down\n11 key PAUSE up\n12 move 320 210\n"
        "16 key PAUSE down\n17 key PAUSE up\n20 command 40077\n22 move 330 220\n"
        "26 dialog 1\n30 end\n";
    std::string error;
    ASSERT_TRUE(game.AddTimeline(timeline, &error)) << error;
    int framesWhilePaused = -1;
    game.AddAction(16, [&] { framesWhilePaused = game.FramesBetween(12, 15); });
    game.Run();
    EXPECT_EQ(framesWhilePaused, 0);
    for (std::size_t i = 0; i < std::size(moments); ++i) {
        EXPECT_EQ(shown[i].kind, Shown::kColour) << moments[i].when;
        EXPECT_EQ(shown[i].size, 32) << moments[i].when << ": the picture is not scaled";
    }
}

TEST(ReplayTest, SoftwareCursorIsDrawnAtThePointerLessTheHotSpot) {
    ReplayHarness game;
    PrepareGame(game, kReplayEndlessStart);
    game.Add({5, Kind::MouseMove, 300, 200});
    game.AddAction(10, [] { SetCursorShape(2); });
    game.CaptureTick(15);
    game.Add({20, Kind::Close, IDYES});
    game.Run();
    ASSERT_EQ(game.capturedWidth(), 800);
    const auto pixel = [&](int x, int y) { return game.captured()[y * 800 + x] & 0xFFFFFFu; };
    EXPECT_EQ(pixel(300, 205), 0xFFFFFFu) << "the fingertip column at the pointer";
    EXPECT_EQ(pixel(312, 205), 0u) << "nothing where an unshifted hand would be";
}

// The 64 x 64 pixels around the software cursor at (300, 200) of a capture; empty when none.
std::vector<std::uint32_t> PixelsAroundCursor(const qvn::test::ReplayCapture* capture) {
    std::vector<std::uint32_t> pixels;
    if (capture == nullptr || capture->frame.width != 800 || capture->frame.height != 600) {
        return pixels;
    }
    for (int y = 184; y < 248; ++y) {
        for (int x = 284; x < 348; ++x) {
            pixels.push_back(capture->frame.argb[y * 800 + x]);
        }
    }
    return pixels;
}

TEST(ReplayTest, SoftwareCursorIsDrawnTheSameAfterADeviceReset) {
    ReplayHarness game;
    PrepareGame(game, kReplayEndlessStart);
    game.LoadTimeline("cursor_device_reset");
    game.Run();
    const std::vector<std::uint32_t> before = PixelsAroundCursor(game.FindCapture("before_loss"));
    ASSERT_EQ(before.size(), 64u * 64u);
    // The cell's square starts at the pointer (16, 16 of the area); where the image is clear,
    // as in its bottom-right corner, the frame shows as it does beside the square.
    EXPECT_EQ(before[(16 + 31) * 64 + 16 + 31], before[8 * 64 + 8]);
    for (const char* name : {"reset", "after_reset"}) {
        const std::vector<std::uint32_t> after = PixelsAroundCursor(game.FindCapture(name));
        ASSERT_EQ(after.size(), before.size()) << name;
        int differing = 0;
        for (std::size_t i = 0; i < before.size(); ++i) {
            differing += after[i] != before[i] ? 1 : 0;
        }
        EXPECT_EQ(differing, 0) << name << ": pixels unlike the frame before the loss";
    }
    EXPECT_EQ(game.FramesBetween(30, 30), 0) << "no frame while the device is lost";
}

TEST(ReplayTest, ProgramEndsWithItsLastScriptFrame) {
    ReplayHarness game;
    PrepareGame(game, CountedStart(30));
    game.Run();
    EXPECT_FALSE(game.closedByHarness());
    EXPECT_EQ(game.frames().size(), 31u) << "30 waits, then the frame that returns";
    EXPECT_EQ(ReadSafetyQuit(), 0u);
    EXPECT_EQ(CountLines(game.LogLines(), "function:"), 0) << "every wait is a known call";
}

// A cursor that cannot be built, for want of its image or because the device refuses its
// texture, is logged once with the image's name and tried again only after a reset or a dialog.
TEST(ReplayTest, ACursorThatCannotBeBuiltIsLoggedOnceAndTriedAgainOnlyAfterAResetOrADialog) {
    struct Case {
        const char* name;
        bool withImage;
        std::uint64_t textureMemory;  // 0: the default table
        const char* line;
    };
    // Just the back buffer's bytes: no room is left for the cursor's texture.
    const std::uint64_t backBufferOnly = 800u * 600u * 4u;
    const Case cases[] = {
        {"missing image", false, 0, "UpdateCursor: cursor.png: "},
        {"refused by the device", true, backBufferOnly,
         "UpdateCursor: cursor.png: D3DERR_OUTOFVIDEOMEMORY"},
    };
    for (const Case& c : cases) {
        ReplayHarness game;
        PrepareGame(game, kReplayEndlessStart, c.withImage);
        if (c.textureMemory != 0) {
            d3d9_test::AdapterTable table = d3d9_test::DefaultAdapterTable();
            table.textureMemoryBytes = c.textureMemory;
            d3d9_test::SetAdapterTable(table);
        }
        game.Add({10, Kind::LoseDevice});
        game.Add({15, Kind::RestoreDevice});
        game.Add({30, Kind::Close, IDYES});
        game.Run();
        // The first frame, the reset, and both edges of the close question's dialog mode.
        EXPECT_EQ(CountLines(game.LogLines(), c.line), 4) << c.name;
        EXPECT_GT(game.frames().size(), 20u) << c.name;
    }
}

// Every frame starts from black, also while a script runs: the cursor after five moves and the
// FPS line after it was switched off leave nothing behind.
TEST(ReplayTest, FramesLeaveNoTrailOfTheCursorOrTheFpsLine) {
    ReplayHarness game;
    PrepareGame(game, kReplayEndlessStart);
    for (int i = 0; i < 5; ++i) {
        game.Add({5 + i, Kind::MouseMove, 100 + 100 * i, 100 + 50 * i});
    }
    AddShiftI(game, 12);
    AddShiftI(game, 20);
    game.CaptureTick(30);
    game.Add({40, Kind::Close, IDYES});
    game.Run();
    ASSERT_EQ(game.capturedWidth(), 800);
    int outside = 0;
    int inside = 0;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            const bool lit = (game.captured()[y * 800 + x] & 0xFFFFFFu) != 0;
            const bool inCursor = x >= 500 && x < 532 && y >= 300 && y < 332;
            (inCursor ? inside : outside) += lit ? 1 : 0;
        }
    }
    EXPECT_EQ(outside, 0) << "pixels lit outside the cursor at its last place";
    EXPECT_GT(inside, 0) << "the cursor at its last place";
}

// A copy started while another runs leaves the running copy's log and "SafetyQuit" (1 while it
// runs) alone: no notice, its settings dialog first, and its end after that dialog, however it
// is left.
TEST(ReplayTest, SecondCopyLeavesTheFirstAloneAndEndsAfterItsSettingsDialog) {
    const std::string firstLog = "[Information]\r\nProduct: qvn 1.00\r\n";
    for (const int button : {1, 2}) {
        ReplayHarness game;
        PrepareGame(game, kReplayEndlessStart);
        game.SetSetting("SafetyQuit", 1);
        game.dir().writeFile("qvn.log", firstLog);
        // The first copy's window: the program's class name and title.
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "qvn";
        ASSERT_NE(RegisterClassExA(&windowClass), 0);
        HWND first = CreateWindowExA(0, "qvn", kWindowTitle, 0, 0, 0, 64, 64, nullptr, nullptr,
                                     nullptr, nullptr);
        ASSERT_NE(first, nullptr);
        WORD dialog = 0;
        game.AddAction(1, [&] { dialog = Win32DialogResource(Win32ActiveModalDialog()); });
        game.Add({1, Kind::DialogClick, button});

        EXPECT_EQ(game.Run(), 0) << button;
        EXPECT_EQ(dialog, 109) << button << ": the settings dialog, no notice";
        EXPECT_TRUE(game.frames().empty()) << button;
        win32_test::ForgetSettingsStore();
        EXPECT_EQ(ReadSafetyQuit(), 1u) << button << ": the first copy's marker";
        EXPECT_EQ(game.Log(), firstLog) << button << ": its lines went to standard error only";
        EXPECT_TRUE(IsWindow(first)) << button << ": the first copy's window is left alone";
        DestroyWindow(first);
        UnregisterClassA("qvn", nullptr);
    }
}

TEST(ReplayTest, SecondProcessLeavesTheRunningGamesLogAndMarkerAlone) {
    ReplayHarness game;
    PrepareGame(game, kReplayEndlessStart);
    const std::string copy = qvn::test::CopyProgramInto(game.dir());
    ASSERT_FALSE(copy.empty());
    struct Copy {
        const char* name;
        bool display;
        int expectedStatus;
        // What the copy left: its status and standard error, the log and the marker after it.
        int status = -1;
        std::string errors;
        std::string log;
        DWORD marker = 0;
    };
    Copy copies[] = {
        {"with a desktop", true, 0},
        {"without a desktop", false, kExitStartFailed},
    };
    std::string logBefore;
    game.AddAction(10, [&] {
        logBefore = game.Log();
        for (Copy& c : copies) {
            c.status =
                qvn::test::RunProgramCopy(copy, game.dir().path() + "/stderr.txt", c.display);
            c.errors = game.dir().readFile("stderr.txt");
            c.log = game.Log();
            win32_test::ForgetSettingsStore();
            c.marker = ReadSafetyQuit();
        }
    });
    game.Add({20, Kind::Close, IDYES});
    game.Run();
    EXPECT_GT(game.FramesBetween(11, 19), 0) << "the first copy plays on";
    ASSERT_FALSE(logBefore.empty());
    for (const Copy& c : copies) {
        EXPECT_EQ(c.status, c.expectedStatus) << c.name;
        EXPECT_EQ(c.marker, 1u) << c.name << ": the running game's marker";
        EXPECT_EQ(c.log, logBefore) << c.name << ": the running game's log, kept whole";
        EXPECT_NE(c.errors.find("start: the game is already running"), std::string::npos)
            << c.name << "\n"
            << c.errors;
    }
    // The copy with a desktop: no notice (whose missing advice file would have been logged), the
    // report of this machine, and no sound device.
    const std::string& lines = copies[0].errors;
    EXPECT_EQ(lines.find("emergency.txt"), std::string::npos) << lines;
    EXPECT_NE(lines.find("Product: qvn 1.00"), std::string::npos) << lines;
    EXPECT_EQ(lines.find("[DirectSound]"), std::string::npos) << lines;
    EXPECT_EQ(ReadSafetyQuit(), 0u) << "the first copy's own normal end";
}

}  // namespace
