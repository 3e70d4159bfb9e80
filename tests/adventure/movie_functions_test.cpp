// Functions 29 and 30 without a movie that plays: the scene they clear and what they answer
// (the movies that play are the replay tests').

#include <string>
#include <vector>

#include "adventure/adventure_frame.h"
#include "adventure/movie_functions.h"
#include "adventure/scene.h"
#include "adventure_fixture.h"
#include "media/movie/movie_players.h"
#include "platform/winbase/com_init.h"

namespace adventure_tests {
namespace {

using MovieFunctionsTest = AdventureTest;

TEST_F(MovieFunctionsTest, MovieClearsTheSceneAndGoesOnWhenNothingPlays) {
    struct Case {
        const char* name;
        int skipping;
        const char* logged;  // null: no player was asked
    };
    const Case cases[] = {
        {"skipping: no movie", 1, nullptr},
        {"a movie neither player opens", 0, "DSMovie::Open: VFW_E_NOT_FOUND"},
    };
    for (const Case& c : cases) {
        Restart();
        StartDevice(800, 600);
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        ASSERT_EQ(LoadBasePlane(nullptr), D3D_OK);
        SkipActive = c.skipping;
        ScriptValue name = ScriptValue::MakeString("none");
        std::vector<ScriptValue*> arguments{&name};
        EXPECT_TRUE(BuiltinMovie(ScriptArguments(arguments))) << c.name;
        EXPECT_EQ(BasePlane, nullptr) << c.name << ": BASE released";
        EXPECT_EQ(SkipActive, c.skipping) << c.name;
        EXPECT_FALSE(MoviePlaying()) << c.name;
        const std::vector<std::string> lines = LogLines();
        const bool asked =
            std::find(lines.begin(), lines.end(), "DSMovie9::Open: VFW_E_NOT_FOUND") != lines.end();
        EXPECT_EQ(asked, c.logged != nullptr) << c.name;
        if (c.logged != nullptr) {
            EXPECT_EQ(std::count(lines.begin(), lines.end(), std::string(c.logged)), 1) << c.name;
        }
        EXPECT_FALSE(BuiltinCloseMovie(ScriptArguments({}))) << c.name;
        CoUninitialize();
    }
}

}  // namespace
}  // namespace adventure_tests
