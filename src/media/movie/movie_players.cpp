#include "media/movie/movie_players.h"

bool MoviePlaying() {
    return DSMovie_IsPlaying() != 0 || DSMovie9_IsPlaying() != 0;
}
