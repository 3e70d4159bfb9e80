#pragma once
// Internal to the movie graph: one movie file opened for decoding. The first picture stream is
// decoded into pictures in display order and converted to A8R8G8B8 at its native size; the first
// sound stream is decoded and resampled to 16-bit stereo at kSoundRate. Times are counted from
// the movie's start in 100-nanosecond units. The file is read through the Windows layer's file
// calls and nothing else: the readers of container formats that name further files or addresses
// are not used, and such a reference is refused.
//
// Decoding is exact on every machine (libav's bit-exact paths), so that a picture can be held to
// a golden image. A damaged stream is an error (kFailed), not something to hide.
//
// One thread at a time; the source keeps no lock of its own.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/dshow/dshow.h"

namespace dshow_detail {

constexpr int kSoundRate = 44100;  // frames a second of the sound handed out, 16-bit stereo
constexpr REFERENCE_TIME kUnitsPerSecond = 10000000;
// Larger pictures are refused as damaged: one would need more than 64 MiB.
constexpr int kMaxPictureSide = 4096;

struct MoviePicture {
    REFERENCE_TIME time = 0;
    REFERENCE_TIME duration = 0;
    int number = 0;  // the picture's place in the movie, from 0
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;  // opaque A8R8G8B8, rows of `width` pixels, top first
};

enum class DecodeStatus { kOk, kEnd, kFailed };

class MovieSource {
public:
    // What decoding works on (movie_source_state.h).
    struct State;

    // Opens the movie at `path` (the game's form: Shift-JIS, backslashes). Fails with
    // VFW_E_NOT_FOUND (no such file, or unreadable), VFW_E_UNKNOWN_FILE_TYPE (not a movie of a
    // known format), VFW_E_INVALID_FILE_FORMAT (a known format too damaged to read) or
    // VFW_E_CANNOT_RENDER (no stream that decodes), with one line on the debugger output.
    static HRESULT Open(const std::string& path, std::unique_ptr<MovieSource>* source);
    ~MovieSource();
    MovieSource(const MovieSource&) = delete;
    MovieSource& operator=(const MovieSource&) = delete;

    bool hasVideo() const;
    bool hasAudio() const;
    // The picture stream's size as the file gives it; 0 x 0 without one.
    SIZE videoSize() const;

    // Up to `frames` stereo frames of sound into `out` (2 samples a frame); *got tells how many.
    // kEnd once the sound has ended (*got may still be above 0), kFailed on a damaged stream.
    DecodeStatus ReadSound(std::int16_t* out, std::size_t frames, std::size_t* got);
    // Decodes the next picture and tells its time, duration and number; ConvertPicture then
    // gives its pixels (a picture that will not be shown is never converted).
    DecodeStatus NextPicture(REFERENCE_TIME* time, REFERENCE_TIME* duration, int* number);
    // The pixels of the picture NextPicture gave last; false when they cannot be made (kFailed).
    bool ConvertPicture(MoviePicture* picture);
    // The sound stream is not played: its packets are no longer kept and hasAudio is false.
    void DiscardSound();
    // Back to the start: the decoders are emptied and the sound starts again at time 0. False
    // when the file cannot be read from its start any more.
    bool Rewind();

private:
    explicit MovieSource(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

}  // namespace dshow_detail
