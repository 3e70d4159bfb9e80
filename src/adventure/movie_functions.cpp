#include "adventure/movie_functions.h"

#include "adventure/adventure_frame.h"
#include "adventure/face.h"
#include "adventure/scene.h"
#include "adventure/stand.h"
#include "foundation/app_settings.h"
#include "foundation/path.h"
#include "media/movie/movie_players.h"
#include "shell/cursor.h"

namespace {

// Ends the movie and starts it playing at the movie volume, through either player's functions.
template <typename Callback, typename Play, typename Volume>
void StartMovie(Callback setCallback, Play play, Volume setVolume) {
    setCallback(EndMovie);
    play(0);
    setVolume(static_cast<LONG>(MusicVolume) - 10000);
}

}  // namespace

bool BuiltinMovie(const ScriptArguments& arguments) {
    ClearStands();
    ClearFace();
    ReleaseBasePlane();
    if (SkipActive != 0) {
        return true;
    }
    char path[kPathLength];
    FormatPath(path, PathKind::Movie, arguments.String(0));
    if (SUCCEEDED(DSMovie9_Open(path, nullptr, nullptr))) {
        StartMovie(DSMovie9_SetEventCallback, DSMovie9_Play, DSMovie9_SetVolume);
    } else if (SUCCEEDED(DSMovie_Open(path, nullptr, nullptr))) {
        StartMovie(DSMovie_SetEventCallback, DSMovie_Play, DSMovie_SetVolume);
    } else {
        return true;
    }
    SkipActive = 0;
    SetCursorShape(0);
    return false;
}

bool BuiltinCloseMovie(const ScriptArguments&) {
    DSMovie_Close();
    DSMovie9_Close();
    return false;
}
