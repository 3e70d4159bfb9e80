#pragma once
// Internal to the movie graph: what a movie shows in a window. Each window keeps the last picture
// shown in it with its placement: on a screen it is drawn through the window's SDL renderer (the
// client area fitted into the window as the Direct3D presentation fits it), black around it; the
// test controls read it back (dshow_test.h). Caller's thread only (the thread of the windows).

#include <memory>

#include "platform/dshow/movie_source.h"
#include "platform/dshow/video_renderer.h"

namespace dshow_detail {

// Shows `picture` in the window of `placement`, for the movie `movie`.
void ShowPicture(const void* movie, const VideoPlacement& placement,
                 std::shared_ptr<const MoviePicture> picture);
// The movie `movie` has gone: what a window keeps of its last picture is let go.
void ForgetPictures(const void* movie);

}  // namespace dshow_detail
