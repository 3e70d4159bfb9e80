#pragma once
// The two movie players as the shell and the adventure see them: DSMovie9 (ds_movie9.h) and its
// fallback DSMovie (ds_movie.h). While either plays, the rest of the game stands aside.

#include "media/movie/ds_movie.h"
#include "media/movie/ds_movie9.h"

// Either player is playing a movie.
bool MoviePlaying();
