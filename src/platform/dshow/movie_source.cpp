// Decoding a movie: packets read for one stream and kept for the other, pictures in display order
// converted to A8R8G8B8, sound resampled to 16-bit stereo, and the way back to the start.

#include "platform/dshow/movie_source.h"

#include <algorithm>
#include <cstring>

#include "platform/dshow/movie_source_state.h"

namespace dshow_detail {
namespace {

// A sound stream that starts later than the movie gets silence up to its start, at most this
// much.
constexpr REFERENCE_TIME kMaxLeadingSilence = kUnitsPerSecond * 60;

using State = MovieSource::State;

// The next packet of `wanted`: one read ahead earlier, else read from the container, keeping
// the other played stream's packets on the way. kEnd at the end of the file.
DecodeStatus FetchPacket(State& state, DecodedStream& wanted, PacketPtr* packet) {
    if (!wanted.queue.empty()) {
        *packet = std::move(wanted.queue.front());
        wanted.queue.pop_front();
        state.queuedBytes -= static_cast<std::size_t>((*packet)->size);
        return DecodeStatus::kOk;
    }
    DecodedStream& other = &wanted == &state.video ? state.audio : state.video;
    while (!state.inputEnded) {
        PacketPtr read(av_packet_alloc());
        if (!read) {
            return DecodeStatus::kFailed;
        }
        const int result = av_read_frame(state.format.get(), read.get());
        if (result == AVERROR_EOF) {
            state.inputEnded = true;
            break;
        }
        if (result < 0) {
            ReportMovieProblem(state.name, "the file cannot be read on", result);
            return DecodeStatus::kFailed;
        }
        if (read->stream_index == wanted.index) {
            *packet = std::move(read);
            return DecodeStatus::kOk;
        }
        if (read->stream_index == other.index && !other.ended) {
            state.queuedBytes += static_cast<std::size_t>(read->size);
            if (state.queuedBytes > kMaxQueuedBytes) {
                ReportMovieProblem(state.name, "the streams are too far apart in the file");
                return DecodeStatus::kFailed;
            }
            other.queue.push_back(std::move(read));
        }
    }
    return DecodeStatus::kEnd;
}

// The next decoded frame of `stream` into `frame`.
DecodeStatus DecodeFrame(State& state, DecodedStream& stream, AVFrame* frame) {
    for (;;) {
        if (stream.ended) {
            return DecodeStatus::kEnd;
        }
        int result = avcodec_receive_frame(stream.codec.get(), frame);
        if (result == 0) {
            return DecodeStatus::kOk;
        }
        if (result == AVERROR_EOF) {
            stream.ended = true;
            return DecodeStatus::kEnd;
        }
        if (result != AVERROR(EAGAIN)) {
            ReportMovieProblem(state.name, "a stream does not decode", result);
            return DecodeStatus::kFailed;
        }
        if (stream.flushed) {
            stream.ended = true;
            return DecodeStatus::kEnd;
        }
        PacketPtr packet;
        const DecodeStatus fetched = FetchPacket(state, stream, &packet);
        if (fetched == DecodeStatus::kFailed) {
            return fetched;
        }
        if (fetched == DecodeStatus::kEnd) {
            stream.flushed = true;
            result = avcodec_send_packet(stream.codec.get(), nullptr);
        } else {
            result = avcodec_send_packet(stream.codec.get(), packet.get());
        }
        if (result < 0 && result != AVERROR_EOF) {
            ReportMovieProblem(state.name, "a stream does not decode", result);
            return DecodeStatus::kFailed;
        }
    }
}

bool SameLayout(const AVChannelLayout& a, const AVChannelLayout& b) {
    return av_channel_layout_compare(&a, &b) == 0;
}

// Makes the resampler for frames like `frame` when it has none for them yet.
bool PrepareResampler(State& state, const AVFrame& frame) {
    if (state.resampler && frame.format == state.resamplerFormat &&
        frame.sample_rate == state.resamplerRate &&
        SameLayout(frame.ch_layout, state.resamplerLayout)) {
        return true;
    }
    if (frame.sample_rate < 1 || frame.ch_layout.nb_channels < 1 ||
        frame.ch_layout.nb_channels > 8) {
        return false;
    }
    AVChannelLayout input{};
    if (frame.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
        av_channel_layout_default(&input, frame.ch_layout.nb_channels);
    } else if (av_channel_layout_copy(&input, &frame.ch_layout) < 0) {
        return false;
    }
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    SwrContext* made = nullptr;
    const int result = swr_alloc_set_opts2(&made, &stereo, AV_SAMPLE_FMT_S16, kSoundRate, &input,
                                           static_cast<AVSampleFormat>(frame.format),
                                           frame.sample_rate, 0, nullptr);
    av_channel_layout_uninit(&input);
    ResamplerPtr resampler(made);
    if (result < 0 || swr_init(resampler.get()) < 0) {
        return false;
    }
    state.resampler = std::move(resampler);
    state.resamplerFormat = frame.format;
    state.resamplerRate = frame.sample_rate;
    av_channel_layout_uninit(&state.resamplerLayout);
    return av_channel_layout_copy(&state.resamplerLayout, &frame.ch_layout) >= 0;
}

// Resamples `count` input frames (null: what the resampler still holds) onto `state.sound`.
bool Resample(State& state, const std::uint8_t** input, int count) {
    const int room = swr_get_out_samples(state.resampler.get(), count);
    if (room < 0) {
        return false;
    }
    const std::size_t start = state.sound.size();
    state.sound.resize(start + static_cast<std::size_t>(room) * 2);
    auto* out = reinterpret_cast<std::uint8_t*>(state.sound.data() + start);
    const int made = swr_convert(state.resampler.get(), &out, room, input, count);
    if (made < 0) {
        state.sound.resize(start);
        return false;
    }
    state.sound.resize(start + static_cast<std::size_t>(made) * 2);
    return true;
}

// Decodes the next sound frame onto `state.sound`.
DecodeStatus DecodeSound(State& state) {
    AVFrame* frame = state.frame.get();
    const DecodeStatus status = DecodeFrame(state, state.audio, frame);
    if (status == DecodeStatus::kEnd) {
        if (state.resampler && !Resample(state, nullptr, 0)) {
            ReportMovieProblem(state.name, "the sound cannot be converted");
            return DecodeStatus::kFailed;
        }
        return DecodeStatus::kEnd;
    }
    if (status == DecodeStatus::kFailed) {
        return status;
    }
    if (!PrepareResampler(state, *frame)) {
        ReportMovieProblem(state.name, "the sound cannot be converted");
        av_frame_unref(frame);
        return DecodeStatus::kFailed;
    }
    if (!state.soundStarted) {
        state.soundStarted = true;
        const REFERENCE_TIME start =
            std::min(MovieTime(state, frame->best_effort_timestamp, state.audio.timeBase),
                     kMaxLeadingSilence);
        state.sound.resize(
            state.sound.size() + static_cast<std::size_t>(start * kSoundRate / kUnitsPerSecond) * 2,
            0);
    }
    const bool converted =
        Resample(state, const_cast<const std::uint8_t**>(frame->extended_data), frame->nb_samples);
    av_frame_unref(frame);
    if (!converted) {
        ReportMovieProblem(state.name, "the sound cannot be converted");
        return DecodeStatus::kFailed;
    }
    return DecodeStatus::kOk;
}

void Empty(DecodedStream& stream) {
    stream.queue.clear();
    stream.flushed = false;
    stream.ended = false;
    if (stream.codec) {
        avcodec_flush_buffers(stream.codec.get());
    }
}

}  // namespace

DecodeStatus MovieSource::ReadSound(std::int16_t* out, std::size_t frames, std::size_t* got) {
    State& state = *state_;
    *got = 0;
    if (!hasAudio()) {
        return DecodeStatus::kEnd;
    }
    while (*got < frames) {
        const std::size_t held = (state.sound.size() - state.soundOffset) / 2;
        if (held > 0) {
            const std::size_t take = std::min(held, frames - *got);
            std::memcpy(out + *got * 2, state.sound.data() + state.soundOffset,
                        take * 2 * sizeof(std::int16_t));
            state.soundOffset += take * 2;
            *got += take;
            continue;
        }
        state.sound.clear();
        state.soundOffset = 0;
        if (state.audio.ended) {
            return DecodeStatus::kEnd;
        }
        if (DecodeSound(state) == DecodeStatus::kFailed) {
            return DecodeStatus::kFailed;
        }
    }
    return DecodeStatus::kOk;
}

DecodeStatus MovieSource::NextPicture(REFERENCE_TIME* time, REFERENCE_TIME* duration, int* number) {
    State& state = *state_;
    if (!hasVideo()) {
        return DecodeStatus::kEnd;
    }
    AVFrame* picture = state.picture.get();
    av_frame_unref(picture);
    const DecodeStatus status = DecodeFrame(state, state.video, picture);
    if (status != DecodeStatus::kOk) {
        return status;
    }
    REFERENCE_TIME at = MovieTime(state, picture->best_effort_timestamp, state.video.timeBase);
    if (picture->best_effort_timestamp == AV_NOPTS_VALUE && state.lastPictureTime >= 0) {
        at = state.lastPictureTime + state.frameDuration;
    }
    REFERENCE_TIME length = state.frameDuration;
    if (picture->pkt_duration > 0 && state.video.timeBase.num > 0 && state.video.timeBase.den > 0) {
        length = std::clamp<REFERENCE_TIME>(
            av_rescale_q(picture->pkt_duration, state.video.timeBase,
                         AVRational{1, static_cast<int>(kUnitsPerSecond)}),
            1, kUnitsPerSecond * 10);
    }
    state.lastPictureTime = at;
    *time = at;
    *duration = length;
    *number = state.pictureNumber++;
    return DecodeStatus::kOk;
}

bool MovieSource::ConvertPicture(MoviePicture* out) {
    State& state = *state_;
    const AVFrame& picture = *state.picture;
    const auto format = static_cast<AVPixelFormat>(picture.format);
    if (picture.width < 1 || picture.height < 1 || picture.width > kMaxPictureSide ||
        picture.height > kMaxPictureSide || sws_isSupportedInput(format) == 0) {
        ReportMovieProblem(state.name, "a picture has no size or format to convert");
        return false;
    }
    state.scaler.reset(sws_getCachedContext(state.scaler.release(), picture.width, picture.height,
                                            format, picture.width, picture.height, AV_PIX_FMT_BGRA,
                                            SWS_BILINEAR | SWS_ACCURATE_RND | SWS_BITEXACT, nullptr,
                                            nullptr, nullptr));
    if (!state.scaler) {
        ReportMovieProblem(state.name, "a picture cannot be converted");
        return false;
    }
    out->width = picture.width;
    out->height = picture.height;
    out->argb.resize(static_cast<std::size_t>(picture.width) * picture.height);
    std::uint8_t* planes[4] = {reinterpret_cast<std::uint8_t*>(out->argb.data()), nullptr, nullptr,
                               nullptr};
    const int strides[4] = {picture.width * 4, 0, 0, 0};
    const int rows = sws_scale(state.scaler.get(), picture.data, picture.linesize, 0,
                               picture.height, planes, strides);
    if (rows != picture.height) {
        ReportMovieProblem(state.name, "a picture cannot be converted");
        return false;
    }
    return true;
}

void MovieSource::DiscardSound() {
    State& state = *state_;
    for (const PacketPtr& packet : state.audio.queue) {
        state.queuedBytes -= static_cast<std::size_t>(packet->size);
    }
    state.audio = DecodedStream{};
}

bool MovieSource::Rewind() {
    State& state = *state_;
    AVFormatContext* format = state.format.get();
    const std::int64_t start = format->start_time != AV_NOPTS_VALUE ? format->start_time : 0;
    if (av_seek_frame(format, -1, start, AVSEEK_FLAG_BACKWARD) < 0 &&
        avformat_seek_file(format, -1, INT64_MIN, start, start, 0) < 0) {
        ReportMovieProblem(state.name, "the movie cannot go back to its start");
        return false;
    }
    Empty(state.video);
    Empty(state.audio);
    state.queuedBytes = 0;
    state.inputEnded = false;
    state.lastPictureTime = -1;
    state.pictureNumber = 0;
    state.sound.clear();
    state.soundOffset = 0;
    state.soundStarted = false;
    state.resampler.reset();
    return true;
}

}  // namespace dshow_detail
