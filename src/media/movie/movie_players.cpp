#include "media/movie/movie_players.h"

int DSMovie_IsPlaying() {
    return 0;
}

int DSMovie9_IsPlaying() {
    return 0;
}

bool MoviePlaying() {
    return DSMovie_IsPlaying() != 0 || DSMovie9_IsPlaying() != 0;
}

void DSMovie_Close() {}
void DSMovie9_Close() {}
void DSMovie_OnGraphNotify() {}
void DSMovie9_OnGraphNotify() {}
