#pragma once
// Internal to the movie source: what opening a file sets up and decoding works on.

#include <deque>
#include <string>
#include <vector>

#include "platform/dshow/av_handles.h"
#include "platform/dshow/movie_source.h"

namespace dshow_detail {

struct HandleCloser {
    void operator()(void* handle) const;
};
using FilePtr = std::unique_ptr<void, HandleCloser>;

// Packets read ahead for one stream while the other stream's packets were wanted are kept up to
// this many bytes in all; a file that needs more is too badly interleaved to play.
constexpr std::size_t kMaxQueuedBytes = std::size_t{32} << 20;

struct DecodedStream {
    int index = -1;  // in the container; -1: not played
    CodecContextPtr codec;
    AVRational timeBase{1, 1};
    std::deque<PacketPtr> queue;  // read ahead, oldest first
    bool flushed = false;         // the decoder was told the input has ended
    bool ended = false;           // and has given everything
};

struct MovieSource::State {
    std::string name;  // for log lines
    FilePtr file;
    IoContextPtr io;
    FormatContextPtr format;
    DecodedStream video;
    DecodedStream audio;
    std::size_t queuedBytes = 0;
    bool inputEnded = false;  // the container has no more packets
    REFERENCE_TIME startTime = 0;
    REFERENCE_TIME frameDuration = kUnitsPerSecond / 30;
    FramePtr frame;    // scratch for the sound decoder
    FramePtr picture;  // the picture NextPicture gave last
    REFERENCE_TIME lastPictureTime = -1;
    int pictureNumber = 0;
    ScalerPtr scaler;
    ResamplerPtr resampler;
    AVChannelLayout resamplerLayout{};
    int resamplerFormat = -1;
    int resamplerRate = 0;
    std::vector<std::int16_t> sound;  // resampled and not yet handed out
    std::size_t soundOffset = 0;      // samples of `sound` already handed out
    bool soundStarted = false;

    ~State();
};

// Times of the container in 100-nanosecond units from the movie's start, kept to 0..about a
// year so that no sum of them overflows.
REFERENCE_TIME MovieTime(const MovieSource::State& state, std::int64_t timestamp,
                         AVRational timeBase);

// One line "dshow: NAME: WHAT" on the debugger output, with libav's words for `error` when it
// is not 0.
void ReportMovieProblem(const std::string& name, const char* what, int error = 0);

}  // namespace dshow_detail
