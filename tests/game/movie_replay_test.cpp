// Movies in the whole game: a script calls built-in function 29, the movie plays over the game
// window while the game stands aside, and the script goes on after its end, after a key or a
// click, or at once when no player can open the file.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "adventure/movie_functions.h"
#include "media/graphics/d3d_functions.h"
#include "media/movie/movie_players.h"
#include "platform/d3d9/d3d9_test.h"
#include "platform/dshow/dshow_test.h"
#include "platform/ui/ui_presentation.h"
#include "platform/win32/menu_api.h"
#include "platform/win32/menu_loop.h"
#include "platform/win32/menu_tracker.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/paint_api.h"
#include "platform/win32/shell_test_hooks.h"
#include "platform/win32/window_placement.h"
#include "replay_harness.h"
#include "script/game_hooks.h"
#include "script/script_variables.h"
#include "shell/cursor.h"
#include "shell/frame_control.h"
#include "shell/game_window.h"
#include "support/movie_test_support.h"

namespace qvn::test {
namespace {

using Kind = ReplayEvent::Kind;

// Plays the movie NAME, then sets variable 9 to 7 and waits frame after frame.
std::string MovieStart(const std::string& name) {
    return R"(
.locals 0
*top
    invoke 29 ")" +
           name + R"("
    set g9 7
@wait
    invoke 0 0 l0 l0
    jump @wait
)";
}

// The game's dispatcher with the movie functions in place of their seams.
ScriptGameHooks gameHooks;

bool MovieDispatcher(std::uint32_t number, const std::vector<ScriptValue*>& arguments,
                     float seconds) {
    switch (number) {
        case 29:
            return BuiltinMovie(ScriptArguments(arguments));
        case 30:
            return BuiltinCloseMovie(ScriptArguments(arguments));
        default:
            return gameHooks.ScriptFunctionDispatcher(number, arguments, seconds);
    }
}

class MovieReplay : public ReplayHarness {
public:
    explicit MovieReplay(const std::string& movie, DWORD fullScreen = 0) {
        PrepareGame(MovieStart(movie), fullScreen);
        SetSetting("MusicVolume", 7000);
        for (const char* name : {"colours.avi", "silent.avi"}) {
            writeMovie(name, ReadMovieFixture(name));
        }
        AddAction(1, [] {
            gameHooks = GetScriptGameHooks();
            ScriptGameHooks hooks = gameHooks;
            hooks.ScriptFunctionDispatcher = MovieDispatcher;
            InstallScriptGameHooks(hooks);
        });
        SetTickLimit(200);
    }

    void writeMovie(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        dir().writeFile("movie/" + name, bytes);
    }

    // Records at every tick whether a movie plays and what variable 9 holds.
    void Watch(int lastTick) {
        for (int tick = 1; tick <= lastTick; ++tick) {
            AddAction(tick, [this] {
                playing.push_back(MoviePlaying());
                variable9.push_back(GetVar(9));
            });
        }
    }

    std::vector<bool> playing;  // [tick - 1]
    std::vector<std::uint32_t> variable9;
};

// The first tick from which `values` holds `value` on; 0 when never.
template <typename T>
int FirstTickOf(const std::vector<T>& values, T value) {
    for (std::size_t i = values.size(); i > 0; --i) {
        if (values[i - 1] != value) {
            return i == values.size() ? 0 : static_cast<int>(i) + 1;
        }
    }
    return 1;
}

TEST(MovieReplayTest, MoviePlaysAloneAndTheScriptGoesOnAtItsEnd) {
    MovieReplay game("colours");
    game.Watch(69);
    // While the movie plays: the first player, the movie volume from the music volume, a
    // repaint that draws no frame; captures of the window as the movie shows it.
    game.AddAction(10, [] {
        EXPECT_EQ(DSMovie9_IsPlaying(), 1);
        EXPECT_EQ(DSMovie_IsPlaying(), 0);
        LONG volume = 0;
        EXPECT_EQ(DSMovie9_GetVolume(&volume), 0);
        EXPECT_EQ(volume, 7000 - 10000);
        EXPECT_EQ(GetWantedCursorShape(), 0);
        InvalidateRect(MainWindow, nullptr, FALSE);
    });
    game.Add({2, Kind::Capture, 0, 0, "first"});
    game.Add({32, Kind::Capture, 0, 0, "half"});
    game.Add({70, Kind::End});
    EXPECT_EQ(game.Run(), 0);

    // The movie starts in the frame of tick 1 and its clock runs with the mixer from tick 2:
    // at tick k it is (k - 1) / 60 s.
    // (What a tick records is seen before its events and frame.)
    ASSERT_EQ(game.playing.size(), 69u);
    EXPECT_FALSE(game.playing[0]);
    EXPECT_TRUE(game.playing[1]) << "started in the frame of tick 1";
    EXPECT_TRUE(game.playing[60]);
    EXPECT_FALSE(game.playing[61]) << "over at 1 s, in the messages of tick 61";
    EXPECT_EQ(FirstTickOf(game.variable9, 7u), 62) << "the script goes on in the next frame";
    EXPECT_EQ(game.FramesBetween(1, 60), 0) << "no frame is drawn while the movie plays";
    EXPECT_EQ(game.FramesBetween(61, 69), 9);
    EXPECT_EQ(game.moviePictures(), kMovieFrames);
    for (const auto& [name, frame] : {std::pair{"first", 0}, std::pair{"half", 5}}) {
        const ReplayCapture* capture = game.FindCapture(name);
        ASSERT_NE(capture, nullptr) << name;
        ASSERT_TRUE(capture->drawn) << name;
        ASSERT_EQ(capture->frame.width, 800) << name;
        EXPECT_EQ(NearestMovieColour(capture->frame.argb[300 * 800 + 400]), frame) << name;
        EXPECT_EQ(NearestMovieColour(capture->frame.argb[5 * 800 + 5]), frame) << name;
    }
    EXPECT_EQ(DialogModeFlag, 0);
    EXPECT_EQ(DSMovie9_Play(0), 0) << "EndMovie deleted the player";
    EXPECT_TRUE(game.problems().empty());
}

TEST(MovieReplayTest, KeysAndClicksEndAMovie) {
    struct Case {
        const char* name;
        std::vector<ReplayEvent> events;
    };
    const Case cases[] = {
        {"Enter", {{20, Kind::Key, VK_RETURN, 1}, {21, Kind::Key, VK_RETURN, 0}}},
        {"Esc", {{20, Kind::Key, VK_ESCAPE, 1}, {21, Kind::Key, VK_ESCAPE, 0}}},
        {"Space", {{20, Kind::Key, VK_SPACE, 1}, {21, Kind::Key, VK_SPACE, 0}}},
        {"a click", {{20, Kind::MouseButton, 0, 1}, {21, Kind::MouseButton, 0, 0}}},
        {"a right click", {{20, Kind::MouseButton, 1, 1}, {21, Kind::MouseButton, 1, 0}}},
    };
    for (const Case& c : cases) {
        MovieReplay game("colours");
        game.Watch(25);
        for (const ReplayEvent& event : c.events) {
            game.Add(event);
        }
        game.Add({26, Kind::End});
        EXPECT_EQ(game.Run(), 0) << c.name;
        ASSERT_EQ(game.playing.size(), 25u) << c.name;
        EXPECT_TRUE(game.playing[19]) << c.name;
        EXPECT_FALSE(game.playing[20]) << c.name << ": closed at tick 20";
        EXPECT_EQ(FirstTickOf(game.variable9, 7u), 21) << c.name;
        EXPECT_EQ(game.FramesBetween(20, 25), 6) << c.name;
        EXPECT_EQ(DialogModeFlag, 0) << c.name;
    }
}

TEST(MovieReplayTest, MoviesThatCannotPlayLetTheScriptGoOn) {
    const std::vector<std::uint8_t> good = ReadMovieFixture("colours.avi");
    const std::vector<std::size_t> pictures = PictureChunks(good);
    ASSERT_EQ(pictures.size(), static_cast<std::size_t>(kMovieFrames));
    struct Case {
        const char* name;
        std::string movie;
        std::vector<std::uint8_t> bytes;  // written as the movie; empty: none
        bool rendererMissing;
        bool skipping;           // a Ctrl key held from the start
        int goesOnAt;            // the first tick that sees variable 9 at 7
        const char* firstOpen;   // a log line, or null
        const char* secondOpen;  // a log line, or null
        bool secondPlays;
    };
    const Case cases[] = {
        {"missing",
         "none",
         {},
         false,
         false,
         2,
         "DSMovie9::Open: VFW_E_NOT_FOUND",
         "DSMovie::Open: VFW_E_NOT_FOUND",
         false},
        {"not a movie",
         "text",
         {'n', 'o'},
         false,
         false,
         2,
         "DSMovie9::Open: VFW_E_UNKNOWN_FILE_TYPE",
         "DSMovie::Open: VFW_E_UNKNOWN_FILE_TYPE",
         false},
        {"skipping: not played", "colours", {}, false, true, 2, nullptr, nullptr, false},
        // Picture 4 is due at 0.4 s: the error is told then, at tick 25.
        {"damaged past its start: an error ends it", "damaged", Damaged(good, pictures[4] + 40, 64),
         false, false, 26, nullptr, nullptr, false},
        {"no mixing renderer: the second player",
         "colours",
         {},
         true,
         false,
         62,
         "DSMovie9::Open: REGDB_E_CLASSNOTREG",
         nullptr,
         true},
    };
    for (const Case& c : cases) {
        MovieReplay game(c.movie);
        if (!c.bytes.empty()) {
            game.writeMovie(c.movie + ".avi", c.bytes);
        }
        dshow_test::SetVideoMixingRendererAvailable(!c.rendererMissing);
        const int end = c.goesOnAt + 5;
        game.Watch(end - 1);
        bool secondPlayed = false;
        game.AddAction(2, [&] { secondPlayed = DSMovie_IsPlaying() != 0; });
        if (c.skipping) {
            game.Add({1, Kind::Key, VK_CONTROL, 1});
        }
        game.Add({end, Kind::End});
        EXPECT_EQ(game.Run(), 0) << c.name;
        dshow_test::SetVideoMixingRendererAvailable(true);
        EXPECT_EQ(FirstTickOf(game.variable9, 7u), c.goesOnAt) << c.name;
        const std::string log = game.Log();
        for (const char* line : {c.firstOpen, c.secondOpen}) {
            if (line != nullptr) {
                EXPECT_NE(log.find(line), std::string::npos) << c.name << ": " << line;
            }
        }
        EXPECT_EQ(secondPlayed, c.secondPlays) << c.name;
        EXPECT_EQ(game.moviePictures() > 0, c.goesOnAt > 2) << c.name << ": pictures shown";
        EXPECT_EQ(game.FramesBetween(c.goesOnAt, end - 1), 5) << c.name << ": the game goes on";
    }
}

// Menus are drawn on this headless display as on a screen, and what the game window last showed
// (a frame or a movie's picture, with the menu bar and menus) is kept.
class ShownPictures {
public:
    ShownPictures() {
        ui::InstallUiPresentation();
        ui::DrawOnHeadlessDisplay(true);
        d3d9_test::KeepPresentedPictures(true);
    }
    ~ShownPictures() {
        d3d9_test::KeepPresentedPictures(false);
        ui::DrawOnHeadlessDisplay(false);
        ui::RemoveUiPresentation();
    }
    ShownPictures(const ShownPictures&) = delete;
    ShownPictures& operator=(const ShownPictures&) = delete;
};

// What the game window showed at one moment of a movie.
struct MovieLook {
    std::string when;
    RECT destination{};
    bool barAttached = false;
    int rows = 0;                 // of the picture shown: the strip (a window's bar) and the frame
    bool barAtTop = false;        // the bar's colour at the right end of the top rows
    bool movieAtBottom = false;   // the movie's picture on the frame's last row
    bool movieUnderMenu = false;  // the movie's picture where the open popup is, or would be
    bool menuOpen = false;
};

constexpr std::uint32_t kBarColour = 0xFFF0F0F0u;

std::vector<LONG> Corners(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}
// Two movies, each to its end.
constexpr char kTwoMovies[] = R"(
.locals 0
*top
    invoke 29 "colours"
    set g9 7
    invoke 29 "colours"
    set g10 8
@wait
    invoke 0 0 l0 l0
    jump @wait
)";

// Records at `tick` what the window shows; `probe` is a point of the frame (below the strip).
void LookAt(MovieReplay& game, int tick, const char* when, POINT probe,
            std::vector<MovieLook>* looks) {
    game.AddAction(tick, [when, probe, looks] {
        MovieLook look;
        look.when = when;
        const dshow_test::ShownPicture movie = dshow_test::LastShown(MainWindow);
        look.destination = movie.destination;
        look.barAttached = GetMenu(MainWindow) != nullptr;
        look.menuOpen = win32_internal::ActiveMenuTracker(MainWindow) != nullptr;
        const d3d9_test::PresentedPicture shown = d3d9_test::LastPresentedPicture(CurrentDevice());
        look.rows = shown.height;
        const int strip = shown.height - 600;
        auto at = [&](int x, int y) {
            return shown.argb[static_cast<std::size_t>(y) * shown.width + x];
        };
        int width = 0;
        int height = 0;
        std::vector<std::uint32_t> movieAlone;
        if (shown.width == 800 && strip >= 0 &&
            dshow_test::CaptureWindow(MainWindow, &width, &height, &movieAlone) && width == 800 &&
            height == 600) {
            auto alone = [&](int x, int y) {
                return movieAlone[static_cast<std::size_t>(y) * width + x];
            };
            look.barAtTop = at(790, 5) == kBarColour;
            look.movieAtBottom = at(400, strip + 599) == alone(400, 599);
            look.movieUnderMenu = at(probe.x, strip + probe.y) == alone(probe.x, probe.y);
        }
        looks->push_back(look);
    });
}

TEST(MovieReplayTest, TheMenuBarAndItsMenusAreDrawnOverAMovieThatKeepsItsPlace) {
    const RECT whole{0, 0, 800, 600};
    {
        // Full screen: the bar comes over the playing movie and goes again; the second movie
        // opens under the bar, left up after a pass through the menu, as after File > Load.
        ShownPictures pictures;
        MovieReplay game("colours", 1);
        game.WriteScript("start", kTwoMovies);
        std::vector<MovieLook> looks;
        const POINT middle{400, 300};
        LookAt(game, 5, "before the bar", middle, &looks);
        game.Add({6, Kind::MouseMove, 400, 0});
        LookAt(game, 8, "under the bar", middle, &looks);
        game.Add({10, Kind::MouseMove, 400, 300});
        LookAt(game, 12, "after the bar", middle, &looks);
        game.Add({50, Kind::MouseMove, 400, 0});
        game.AddAction(66, [] { Win32ChooseMenuCommand(MainWindow, 0, 0); });
        LookAt(game, 72, "opened under the bar", middle, &looks);
        game.Add({74, Kind::MouseMove, 400, 300});
        LookAt(game, 76, "opened under the bar, after it", middle, &looks);
        std::vector<std::uint32_t> results;
        game.AddAction(140, [&] { results = {GetVar(9), GetVar(10)}; });
        game.Add({141, Kind::End});
        EXPECT_EQ(game.Run(), 0);
        EXPECT_EQ(results, (std::vector<std::uint32_t>{7, 8})) << "both movies played";
        const bool barUp[] = {false, true, false, true, false};
        ASSERT_EQ(looks.size(), std::size(barUp));
        for (std::size_t i = 0; i < looks.size(); ++i) {
            const MovieLook& look = looks[i];
            EXPECT_EQ(Corners(look.destination), Corners(whole)) << look.when;
            EXPECT_EQ(look.barAttached, barUp[i]) << look.when;
            EXPECT_EQ(look.rows, 600) << look.when << ": the bar lies over the frame";
            EXPECT_EQ(look.barAtTop, barUp[i]) << look.when;
            EXPECT_TRUE(look.movieAtBottom) << look.when;
            EXPECT_TRUE(look.movieUnderMenu) << look.when;
        }
        EXPECT_TRUE(game.problems().empty());
    }
    {
        // In a window: the bar above the movie; a click on "File" opens its menu over the
        // movie, which plays on; Escape twice closes it.
        ShownPictures pictures;
        MovieReplay game("colours");
        std::vector<MovieLook> looks;
        const POINT underFile{60, 40};  // in the "File" popup
        LookAt(game, 8, "in a window", underFile, &looks);
        game.AddAction(10, [] {
            win32_test::InjectMouseButton(MainWindow, 0, true, 20, -kMenuBarHeight / 2);
            win32_test::InjectMouseButton(MainWindow, 0, false, 20, -kMenuBarHeight / 2);
        });
        LookAt(game, 14, "with File open", underFile, &looks);
        for (int tick : {16, 18}) {
            game.Add({tick, Kind::Key, VK_ESCAPE, 1});
            game.Add({tick, Kind::Key, VK_ESCAPE, 0});
        }
        LookAt(game, 20, "with File closed", underFile, &looks);
        game.Watch(69);
        game.Add({70, Kind::End});
        EXPECT_EQ(game.Run(), 0);
        const bool menuOpen[] = {false, true, false};
        ASSERT_EQ(looks.size(), std::size(menuOpen));
        for (std::size_t i = 0; i < looks.size(); ++i) {
            const MovieLook& look = looks[i];
            EXPECT_EQ(Corners(look.destination), Corners(whole)) << look.when;
            EXPECT_EQ(look.rows, 600 + kMenuBarHeight) << look.when << ": the bar above";
            EXPECT_TRUE(look.barAtTop) << look.when;
            EXPECT_TRUE(look.movieAtBottom) << look.when;
            EXPECT_EQ(look.menuOpen, menuOpen[i]) << look.when;
            EXPECT_EQ(look.movieUnderMenu, !menuOpen[i]) << look.when;
        }
        EXPECT_TRUE(game.playing[19]) << "the clicks on the menu bar did not end the movie";
        EXPECT_EQ(FirstTickOf(game.variable9, 7u), 62) << "and it played to its end";
        EXPECT_TRUE(game.problems().empty());
    }
}

}  // namespace
}  // namespace qvn::test

namespace qvn::test {
namespace {

std::vector<std::uint8_t> DemoMovie(const char* name) {
    std::ifstream in(std::string(QVN_DEMO_DIR) + "/movie/" + name, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

TEST(MovieReplayTest, DemoMoviesPlayTheOneToItsEndTheOtherUntilAClick) {
    MovieReplay game("opening");
    game.WriteScript("start", R"(
.locals 0
*top
    invoke 29 "opening"
    set g9 7
    invoke 29 "railway"
    set g10 8
@wait
    invoke 0 0 l0 l0
    jump @wait
)");
    game.writeMovie("opening.avi", DemoMovie("opening.avi"));
    game.writeMovie("railway.avi", DemoMovie("railway.avi"));
    std::vector<std::uint32_t> results;
    game.AddAction(330, [&] { results = {GetVar(9), GetVar(10)}; });
    game.Add({121, Kind::Capture, 0, 0, "opening"});
    game.Add({300, Kind::Capture, 0, 0, "railway"});
    game.Add({320, Kind::MouseButton, 0, 1});
    game.Add({321, Kind::MouseButton, 0, 0});
    game.Add({331, Kind::End});
    game.SetTickLimit(400);
    EXPECT_EQ(game.Run(), 0);
    EXPECT_EQ(results, (std::vector<std::uint32_t>{7, 8}));
    // The 4:3 movie fills the window; the 16:9 one is letter-boxed.
    const ReplayCapture* opening = game.FindCapture("opening");
    const ReplayCapture* railway = game.FindCapture("railway");
    ASSERT_TRUE(opening != nullptr && opening->drawn);
    ASSERT_TRUE(railway != nullptr && railway->drawn);
    auto pixel = [](const ReplayCapture* c, int x, int y) {
        return c->frame.argb[static_cast<std::size_t>(y) * c->frame.width + x] & 0xFFFFFFu;
    };
    EXPECT_GT(pixel(opening, 1, 1), 0xE0E0E0u) << "the white border at the window's corner";
    EXPECT_EQ(pixel(railway, 400, 74), 0u) << "the bar above";
    EXPECT_EQ(pixel(railway, 400, 525), 0u) << "the bar below";
    EXPECT_GT(pixel(railway, 400, 76), 0xE0E0E0u) << "the picture's white border";
    EXPECT_TRUE(game.problems().empty());
}

}  // namespace
}  // namespace qvn::test
