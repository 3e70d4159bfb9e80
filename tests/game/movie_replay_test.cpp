// Movies in the whole game: a script calls built-in function 29, the movie plays over the game
// window while the game stands aside, and the script goes on after its end, after a key or a
// click, or at once when no player can open the file.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "adventure/movie_functions.h"
#include "media/movie/movie_players.h"
#include "platform/win32/message_keys.h"
#include "platform/win32/paint_api.h"
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
    explicit MovieReplay(const std::string& movie) {
        PrepareGame(MovieStart(movie));
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
