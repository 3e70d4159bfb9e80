// Opening a movie file: the reader over the Windows layer's file calls, the container, and the
// decoders of its first picture and sound streams.

#include <algorithm>
#include <mutex>

#include "platform/dshow/movie_source_state.h"
#include "platform/winbase/debug_output.h"
#include "platform/winbase/file_api.h"

extern "C" {
#include <libavutil/opt.h>
}

namespace dshow_detail {
namespace {

constexpr int kReadBufferBytes = 32768;
// The container formats a movie may have. Formats that name further files (playlists,
// concatenation lists, image sequences) are not among them.
constexpr const char* kMovieFormats = "avi,mpeg,mov,mp4,m4a,3gp,3g2,mj2,matroska,webm,asf";
constexpr int kMaxChannels = 8;
constexpr int kMaxSampleRate = 384000;

int ReadPacket(void* opaque, std::uint8_t* buffer, int size) {
    auto* state = static_cast<MovieSource::State*>(opaque);
    DWORD got = 0;
    if (size <= 0 ||
        !ReadFile(state->file.get(), buffer, static_cast<DWORD>(size), &got, nullptr)) {
        return AVERROR(EIO);
    }
    return got == 0 ? AVERROR_EOF : static_cast<int>(got);
}

std::int64_t SeekFile(void* opaque, std::int64_t offset, int whence) {
    auto* state = static_cast<MovieSource::State*>(opaque);
    if ((whence & AVSEEK_SIZE) != 0) {
        LARGE_INTEGER size{};
        return GetFileSizeEx(state->file.get(), &size) ? size.QuadPart : AVERROR(EIO);
    }
    DWORD method = FILE_BEGIN;
    switch (whence & ~AVSEEK_FORCE) {
        case SEEK_SET:
            method = FILE_BEGIN;
            break;
        case SEEK_CUR:
            method = FILE_CURRENT;
            break;
        case SEEK_END:
            method = FILE_END;
            break;
        default:
            return AVERROR(EINVAL);
    }
    LARGE_INTEGER distance{};
    distance.QuadPart = offset;
    LARGE_INTEGER position{};
    if (!SetFilePointerEx(state->file.get(), distance, &position, method)) {
        return AVERROR(EIO);
    }
    return position.QuadPart;
}

// A container that names another file or address gets nothing.
int RefuseNestedOpen(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**) {
    return AVERROR(EPERM);
}

// libav's own errors go to the debugger output; its notes and warnings are dropped.
void ForwardLibavLog(void* object, int level, const char* format, va_list arguments) {
    if (level > AV_LOG_ERROR) {
        return;
    }
    char line[512];
    int prefix = 1;
    av_log_format_line(object, level, format, arguments, line, sizeof line, &prefix);
    std::string text = std::string("dshow: libav: ") + line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    OutputDebugStringA((text + "\n").c_str());
}

void RouteLibavLog() {
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_callback(ForwardLibavLog); });
}

bool AttachedPicture(const AVStream& stream) {
    return (stream.disposition & AV_DISPOSITION_ATTACHED_PIC) != 0;
}

// Opens the decoder of the best stream of `type`; false when the file has none that opens.
bool OpenStream(MovieSource::State& state, AVMediaType type, DecodedStream* stream) {
    const int index = av_find_best_stream(state.format.get(), type, -1, -1, nullptr, 0);
    if (index < 0 || AttachedPicture(*state.format->streams[index])) {
        return false;
    }
    const AVStream& found = *state.format->streams[index];
    const AVCodec* decoder = avcodec_find_decoder(found.codecpar->codec_id);
    if (decoder == nullptr) {
        ReportMovieProblem(state.name, "no decoder for a stream");
        return false;
    }
    CodecContextPtr codec(avcodec_alloc_context3(decoder));
    if (!codec || avcodec_parameters_to_context(codec.get(), found.codecpar) < 0) {
        return false;
    }
    // One thread, exact results, and damage reported rather than hidden.
    codec->thread_count = 1;
    codec->flags |= AV_CODEC_FLAG_BITEXACT;
    codec->err_recognition |= AV_EF_EXPLODE;
    codec->pkt_timebase = found.time_base;
    if (const int error = avcodec_open2(codec.get(), decoder, nullptr); error < 0) {
        ReportMovieProblem(state.name, "a stream's decoder does not open", error);
        return false;
    }
    if (type == AVMEDIA_TYPE_VIDEO &&
        (codec->width < 0 || codec->height < 0 || codec->width > kMaxPictureSide ||
         codec->height > kMaxPictureSide)) {
        ReportMovieProblem(state.name, "the picture size is out of range");
        return false;
    }
    if (type == AVMEDIA_TYPE_AUDIO &&
        (codec->ch_layout.nb_channels < 1 || codec->ch_layout.nb_channels > kMaxChannels ||
         codec->sample_rate < 1 || codec->sample_rate > kMaxSampleRate)) {
        ReportMovieProblem(state.name, "the sound format is out of range");
        return false;
    }
    stream->index = index;
    stream->timeBase = found.time_base;
    stream->codec = std::move(codec);
    return true;
}

REFERENCE_TIME NominalFrameDuration(MovieSource::State& state) {
    if (state.video.index < 0) {
        return kUnitsPerSecond / 30;
    }
    const AVRational rate =
        av_guess_frame_rate(state.format.get(), state.format->streams[state.video.index], nullptr);
    if (rate.num <= 0 || rate.den <= 0) {
        return kUnitsPerSecond / 30;
    }
    const REFERENCE_TIME duration = av_rescale(kUnitsPerSecond, rate.den, rate.num);
    return std::clamp<REFERENCE_TIME>(duration, kUnitsPerSecond / 1000, kUnitsPerSecond);
}

HRESULT OpenContainer(MovieSource::State& state) {
    auto* buffer = static_cast<std::uint8_t*>(av_malloc(kReadBufferBytes));
    if (buffer == nullptr) {
        return E_OUTOFMEMORY;
    }
    state.io.reset(
        avio_alloc_context(buffer, kReadBufferBytes, 0, &state, ReadPacket, nullptr, SeekFile));
    if (!state.io) {
        av_free(buffer);
        return E_OUTOFMEMORY;
    }
    AVFormatContext* format = avformat_alloc_context();
    if (format == nullptr) {
        return E_OUTOFMEMORY;
    }
    format->pb = state.io.get();
    format->flags |= AVFMT_FLAG_CUSTOM_IO;
    format->io_open = RefuseNestedOpen;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "format_whitelist", kMovieFormats, 0);
    // On failure libav frees the context itself.
    const int opened = avformat_open_input(&format, nullptr, nullptr, &options);
    av_dict_free(&options);
    if (opened < 0) {
        ReportMovieProblem(state.name, "not a movie of a known format", opened);
        return VFW_E_UNKNOWN_FILE_TYPE;
    }
    state.format.reset(format);
    if (const int error = avformat_find_stream_info(format, nullptr); error < 0) {
        ReportMovieProblem(state.name, "the streams cannot be read", error);
        return VFW_E_INVALID_FILE_FORMAT;
    }
    return S_OK;
}

}  // namespace

void HandleCloser::operator()(void* handle) const {
    CloseHandle(handle);
}

MovieSource::State::~State() {
    av_channel_layout_uninit(&resamplerLayout);
}

REFERENCE_TIME MovieTime(const MovieSource::State& state, std::int64_t timestamp,
                         AVRational timeBase) {
    constexpr REFERENCE_TIME kLatest = kUnitsPerSecond * 60 * 60 * 24 * 365;
    if (timestamp == AV_NOPTS_VALUE || timeBase.num <= 0 || timeBase.den <= 0) {
        return 0;
    }
    const REFERENCE_TIME time =
        av_rescale_q(timestamp, timeBase, AVRational{1, static_cast<int>(kUnitsPerSecond)});
    if (time == AV_NOPTS_VALUE) {
        return 0;
    }
    return std::clamp<REFERENCE_TIME>(time - state.startTime, 0, kLatest);
}

void ReportMovieProblem(const std::string& name, const char* what, int error) {
    std::string line = "dshow: " + name + ": " + what;
    if (error != 0) {
        char words[AV_ERROR_MAX_STRING_SIZE] = {};
        av_strerror(error, words, sizeof words);
        line += std::string(" (") + words + ")";
    }
    OutputDebugStringA((line + "\n").c_str());
}

HRESULT MovieSource::Open(const std::string& path, std::unique_ptr<MovieSource>* source) {
    source->reset();
    RouteLibavLog();
    auto state = std::make_unique<State>();
    state->name = path;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ReportMovieProblem(state->name, "the file cannot be opened");
        return VFW_E_NOT_FOUND;
    }
    state->file.reset(file);
    if (const HRESULT opened = OpenContainer(*state); FAILED(opened)) {
        return opened;
    }
    const bool video = OpenStream(*state, AVMEDIA_TYPE_VIDEO, &state->video);
    const bool audio = OpenStream(*state, AVMEDIA_TYPE_AUDIO, &state->audio);
    if (!video && !audio) {
        ReportMovieProblem(state->name, "no stream that decodes");
        return VFW_E_CANNOT_RENDER;
    }
    const AVFormatContext& format = *state->format;
    if (format.start_time != AV_NOPTS_VALUE) {
        state->startTime = av_rescale(format.start_time, kUnitsPerSecond, AV_TIME_BASE);
    }
    state->frameDuration = NominalFrameDuration(*state);
    state->frame.reset(av_frame_alloc());
    state->picture.reset(av_frame_alloc());
    if (!state->frame || !state->picture) {
        return E_OUTOFMEMORY;
    }
    source->reset(new MovieSource(std::move(state)));
    return S_OK;
}

MovieSource::MovieSource(std::unique_ptr<State> state) : state_(std::move(state)) {}

MovieSource::~MovieSource() = default;

bool MovieSource::hasVideo() const {
    return state_->video.index >= 0;
}

bool MovieSource::hasAudio() const {
    return state_->audio.index >= 0;
}

SIZE MovieSource::videoSize() const {
    if (!hasVideo()) {
        return SIZE{0, 0};
    }
    return SIZE{state_->video.codec->width, state_->video.codec->height};
}

}  // namespace dshow_detail
