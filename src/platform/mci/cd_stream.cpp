#include "platform/mci/cd_stream.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/win32/message_api.h"
#include "platform/win32/timer_api.h"
#include "platform/win32/window_api.h"

namespace mci_detail {
namespace {

constexpr const char* kStreamWindowClass = "QvnCdAudioStream";
constexpr UINT_PTR kStepTimer = 1;
constexpr DWORD kFrameBytes = 4;
constexpr DWORD kRingBytes = kCdRingSectors * kSectorBytes;
constexpr DWORD kLineMaximum = 65535;

struct LineLevels {
    DWORD left = kLineMaximum;
    DWORD right = kLineMaximum;
    std::vector<CdStream*> streams;  // every live stream
};

LineLevels& Line() {
    static LineLevels* line = new LineLevels;
    return *line;
}

LRESULT StreamWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kStepTimer) {
        if (auto* stream = reinterpret_cast<CdStream*>(GetWindowLongPtrA(window, GWLP_USERDATA))) {
            stream->Step();
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateStreamWindow() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = StreamWindowProc;
    windowClass.lpszClassName = kStreamWindowClass;
    RegisterClassExA(&windowClass);  // fails harmlessly when the class is there already
    return CreateWindowExA(0, kStreamWindowClass, kStreamWindowClass, 0, 0, 0, 0, 0, nullptr,
                           nullptr, nullptr, nullptr);
}

// Hundredths of a decibel of a line level: 20 log10(level / 65535), silent at 0.
LONG LevelToHundredthsDb(DWORD level) {
    if (level == 0) {
        return DSBVOLUME_MIN;
    }
    double ratio = static_cast<double>(std::min(level, kLineMaximum)) / kLineMaximum;
    return std::max<LONG>(DSBVOLUME_MIN,
                          static_cast<LONG>(std::lround(2000.0 * std::log10(ratio))));
}

}  // namespace

std::unique_ptr<CdStream> CdStream::Create(CdDisc& disc, EndHandler onEnd) {
    std::unique_ptr<CdStream> stream(new CdStream(disc, std::move(onEnd)));
    if (!stream->Open()) {
        return nullptr;
    }
    return stream;
}

CdStream::CdStream(CdDisc& disc, EndHandler onEnd)
    : disc_(disc), onEnd_(std::move(onEnd)), stoppedAt_(disc.Tracks().Start(1)) {}

CdStream::~CdStream() {
    std::erase(Line().streams, this);
    if (buffer_ != nullptr) {
        buffer_->Stop();
        buffer_->Release();
    }
    if (device_ != nullptr) {
        device_->Release();
    }
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

bool CdStream::Open() {
    window_ = CreateStreamWindow();
    if (window_ == nullptr) {
        return false;
    }
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (FAILED(DirectSoundCreate8(nullptr, &device_, nullptr)) ||
        FAILED(device_->SetCooperativeLevel(window_, DSSCL_NORMAL))) {
        return false;
    }
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 44100;
    format.wBitsPerSample = 16;
    format.nBlockAlign = kFrameBytes;
    format.nAvgBytesPerSec = format.nSamplesPerSec * kFrameBytes;
    DSBUFFERDESC description{};
    description.dwSize = sizeof(description);
    description.dwFlags =
        DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN | DSBCAPS_GETCURRENTPOSITION2 | DSBCAPS_GLOBALFOCUS;
    description.dwBufferBytes = kRingBytes;
    description.lpwfxFormat = &format;
    if (FAILED(device_->CreateSoundBuffer(&description, &buffer_, nullptr))) {
        return false;
    }
    LineLevels& line = Line();
    ApplyLineLevels(line.left, line.right);
    line.streams.push_back(this);
    return true;
}

bool CdStream::Play(std::int32_t from, std::int32_t to) {
    buffer_->Stop();
    KillTimer(window_, kStepTimer);
    playing_ = false;
    from_ = from;
    to_ = to;
    stoppedAt_ = from;
    totalFrames_ = static_cast<std::uint64_t>(to - from) * kFramesPerSector;
    playedFrames_ = 0;
    lastCursor_ = 0;
    writeCursor_ = 0;
    nextSector_ = from;
    pending_.clear();
    pendingOffset_ = 0;

    void* part = nullptr;
    DWORD bytes = 0;
    if (FAILED(buffer_->SetCurrentPosition(0)) ||
        FAILED(buffer_->Lock(0, 0, &part, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER))) {
        return false;
    }
    Fill(static_cast<std::uint8_t*>(part), bytes);
    buffer_->Unlock(part, bytes, nullptr, 0);
    if (FAILED(buffer_->Play(0, 0, DSBPLAY_LOOPING))) {
        return false;
    }
    playing_ = true;
    SetTimer(window_, kStepTimer, kCdStreamStepMs, nullptr);
    return true;
}

void CdStream::Stop() {
    if (!playing_) {
        return;
    }
    stoppedAt_ = Position();
    buffer_->Stop();
    KillTimer(window_, kStepTimer);
    playing_ = false;
}

std::uint64_t CdStream::FramesPlayed(DWORD playCursor) const {
    DWORD advanced = (playCursor + kRingBytes - lastCursor_) % kRingBytes;
    return std::min(totalFrames_, playedFrames_ + advanced / kFrameBytes);
}

std::int32_t CdStream::Position() const {
    if (!playing_) {
        return stoppedAt_;
    }
    DWORD playCursor = lastCursor_;
    buffer_->GetCurrentPosition(&playCursor, nullptr);
    return from_ + static_cast<std::int32_t>(FramesPlayed(playCursor) / kFramesPerSector);
}

void CdStream::ApplyLineLevels(DWORD left, DWORD right) {
    const LONG leftDb = LevelToHundredthsDb(left);
    const LONG rightDb = LevelToHundredthsDb(right);
    // The louder side sets the volume; the pan takes the other side down.
    buffer_->SetVolume(std::max(leftDb, rightDb));
    buffer_->SetPan(rightDb - leftDb);
}

void CdStream::Step() {
    if (!playing_) {
        return;
    }
    DWORD status = 0;
    DWORD playCursor = 0;
    if (FAILED(buffer_->GetStatus(&status)) || (status & DSBSTATUS_PLAYING) == 0 ||
        FAILED(buffer_->GetCurrentPosition(&playCursor, nullptr))) {
        End(false);
        return;
    }
    playedFrames_ = FramesPlayed(playCursor);
    lastCursor_ = playCursor;
    if (playedFrames_ >= totalFrames_) {
        End(true);
        return;
    }
    DWORD free = (playCursor + kRingBytes - writeCursor_) % kRingBytes;
    if (free == 0) {
        return;
    }
    void* part1 = nullptr;
    void* part2 = nullptr;
    DWORD bytes1 = 0;
    DWORD bytes2 = 0;
    if (FAILED(buffer_->Lock(writeCursor_, free, &part1, &bytes1, &part2, &bytes2, 0))) {
        End(false);
        return;
    }
    Fill(static_cast<std::uint8_t*>(part1), bytes1);
    if (part2 != nullptr) {
        Fill(static_cast<std::uint8_t*>(part2), bytes2);
    }
    buffer_->Unlock(part1, bytes1, part2, bytes2);
    writeCursor_ = playCursor;
}

void CdStream::Fill(std::uint8_t* out, std::uint32_t bytes) {
    while (bytes > 0) {
        if (pendingOffset_ == pending_.size()) {
            if (nextSector_ >= to_) {
                std::memset(out, 0, bytes);
                return;
            }
            auto count = std::min(kCdReadSectors, static_cast<std::uint32_t>(to_ - nextSector_));
            pending_.resize(static_cast<std::size_t>(count) * kSectorBytes);
            disc_.ReadAudio(nextSector_, count, pending_.data());
            nextSector_ += static_cast<std::int32_t>(count);
            pendingOffset_ = 0;
        }
        std::size_t take = std::min<std::size_t>(bytes, pending_.size() - pendingOffset_);
        std::memcpy(out, pending_.data() + pendingOffset_, take);
        pendingOffset_ += take;
        out += take;
        bytes -= static_cast<std::uint32_t>(take);
    }
}

void CdStream::End(bool reachedEnd) {
    stoppedAt_ = reachedEnd ? to_ : Position();
    buffer_->Stop();
    KillTimer(window_, kStepTimer);
    playing_ = false;
    if (onEnd_) {
        onEnd_(reachedEnd);
    }
}

void SetCdLineLevels(DWORD left, DWORD right) {
    LineLevels& line = Line();
    line.left = std::min(left, kLineMaximum);
    line.right = std::min(right, kLineMaximum);
    for (CdStream* stream : line.streams) {
        stream->ApplyLineLevels(line.left, line.right);
    }
}

void GetCdLineLevels(DWORD& left, DWORD& right) {
    LineLevels& line = Line();
    left = line.left;
    right = line.right;
}

}  // namespace mci_detail
