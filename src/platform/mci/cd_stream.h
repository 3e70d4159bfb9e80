#pragma once
// Internal to the CD audio device: the audio of one drive playing through our sound mixer as a
// 44.1 kHz 16-bit stereo stream. The stream has a sound device of its own, as a CD drive's
// audio reaches the speakers beside the program's sounds, and a two-second ring that a window
// timer of the creating thread refills every 100 ms. The position heard follows the ring's play
// cursor, so it stays in time with what the mixer has played.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/dsound/dsound.h"
#include "platform/mci/cd_disc.h"

namespace mci_detail {

constexpr UINT kCdStreamStepMs = 100;
constexpr std::uint32_t kCdRingSectors = 150;  // 2 s
constexpr std::uint32_t kCdReadSectors = 15;   // read from the disc at a time

class CdStream {
public:
    // Called by the step that ends a play: true when the play reached its end, false when the
    // sound output failed.
    using EndHandler = std::function<void(bool reachedEnd)>;

    // A stream over `disc`, which must outlive it; null when no sound output can be opened.
    static std::unique_ptr<CdStream> Create(CdDisc& disc, EndHandler onEnd);
    ~CdStream();
    CdStream(const CdStream&) = delete;
    CdStream& operator=(const CdStream&) = delete;

    // Plays the sectors [from, to) (from < to) from the start, replacing any play; false when
    // the sound output fails.
    bool Play(std::int32_t from, std::int32_t to);
    // Stops at once; the position stays where the playback was.
    void Stop();
    bool Playing() const { return playing_; }
    // The sector now heard; the end of the play once it has ended; the first track's start
    // before the first play.
    std::int32_t Position() const;

    // Applies the CD line's levels (0..65535 a channel) to the stream.
    void ApplyLineLevels(DWORD left, DWORD right);
    IDirectSound8* SoundDevice() const { return device_; }

    // One step of the timer: counts what was played, ends the play at its end, refills the ring.
    void Step();

private:
    CdStream(CdDisc& disc, EndHandler onEnd);
    bool Open();
    // The next `bytes` of the play: the disc's sectors up to its end, then silence.
    void Fill(std::uint8_t* out, std::uint32_t bytes);
    std::uint64_t FramesPlayed(DWORD playCursor) const;
    void End(bool reachedEnd);

    CdDisc& disc_;
    EndHandler onEnd_;
    HWND window_ = nullptr;  // the timer's, and the sound device's cooperative level
    IDirectSound8* device_ = nullptr;
    IDirectSoundBuffer* buffer_ = nullptr;

    bool playing_ = false;
    std::int32_t from_ = 0;
    std::int32_t to_ = 0;
    std::int32_t stoppedAt_ = 0;
    std::uint64_t totalFrames_ = 0;
    std::uint64_t playedFrames_ = 0;  // up to lastCursor_
    DWORD lastCursor_ = 0;            // bytes
    DWORD writeCursor_ = 0;           // bytes

    std::int32_t nextSector_ = 0;  // the next to read from the disc
    std::vector<std::uint8_t> pending_;
    std::size_t pendingOffset_ = 0;
};

// The CD line's levels, 0..65535 a channel (65535 at start); setting them applies them to
// every stream at once.
void SetCdLineLevels(DWORD left, DWORD right);
void GetCdLineLevels(DWORD& left, DWORD& right);

}  // namespace mci_detail
