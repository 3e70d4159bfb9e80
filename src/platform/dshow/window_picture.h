#pragma once
// Internal to the movie graph: what a movie shows in a window. Each window keeps the last picture
// shown in it with its placement; on a screen it is shown as the window's device shows its frames
// (d3d9's foreign_picture.h: the menu bar, menus and dialogs stay over it), and shown again
// whenever the window is painted while the movie runs. The test controls read it back
// (dshow_test.h). Caller's thread only (the thread of the windows).

#include <memory>

#include "platform/dshow/movie_source.h"
#include "platform/dshow/video_renderer.h"

namespace dshow_detail {

// Shows `picture` in the window of `placement`, for the movie `movie`.
void ShowPicture(const void* movie, const VideoPlacement& placement,
                 std::shared_ptr<const MoviePicture> picture);
// The movie `movie` stopped: its last picture stays (for the test controls) but is no longer
// shown again over the window's own frames.
void HoldPictures(const void* movie);
// The movie `movie` has gone: what a window keeps of its last picture is let go.
void ForgetPictures(const void* movie);

}  // namespace dshow_detail
