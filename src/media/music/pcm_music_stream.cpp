#include "media/music/pcm_music_stream.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <system_error>

#include "foundation/log.h"
#include "media/sound/direct_sound.h"
#include "media/sound/ds_sound.h"
#include "media/sound/wave_data.h"
#include "platform/d3dx/com_ptr.h"
#include "platform/winbase/file_api.h"
#include "platform/winbase/time_api.h"

namespace {

constexpr DWORD kRingMask = kMusicRingBytes - 1;

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using FileHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

// The thread holds the stream sound's only reference; letting it go stops the sound.
using StreamSoundPtr = d3dx::ComPtr<DSSound>;

// A plain file opened for reading; music inside a pack archive cannot be streamed.
FileHandle OpenPlainFile(const char* name) {
    HANDLE handle = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    return FileHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

bool SeekToData(HANDLE file, DWORD offset) {
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(kWaveDataOffset) + offset;
    return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) != FALSE;
}

// The files being streamed and where reading stands in them.
class StreamSource {
public:
    StreamSource(FileHandle file, DWORD dataSize, DWORD readPosition, DWORD loopMode)
        : current_(std::move(file)),
          currentSize_(dataSize),
          readPosition_(readPosition),
          loopMode_(loopMode) {}

    void SetLoopFile(FileHandle file, DWORD dataSize) {
        loop_ = std::move(file);
        loopSize_ = dataSize;
    }

    // Fills `bytes` with the next PCM: wrapping to the start of the data (or on to the loop
    // file) as often as needed, and silence once the music has ended or where the file holds
    // less than its header said.
    void Fill(BYTE* out, DWORD bytes) {
        while (bytes > 0) {
            if (ended_) {
                std::memset(out, 0, bytes);
                return;
            }
            DWORD left = currentSize_ - readPosition_;
            if (left == 0) {
                Wrap();
                continue;
            }
            DWORD wanted = std::min(bytes, left);
            DWORD got = 0;
            if (!ReadFile(current_.get(), out, wanted, &got, nullptr)) {
                got = 0;
            }
            if (got < wanted) {
                std::memset(out + got, 0, wanted - got);
                SeekToData(current_.get(), readPosition_ + wanted);
            }
            readPosition_ += wanted;
            out += wanted;
            bytes -= wanted;
        }
    }

private:
    void Wrap() {
        if (loopMode_ == 0) {
            ended_ = true;
            return;
        }
        if (loopMode_ == 2 && loop_ != nullptr) {
            current_ = std::move(loop_);
            currentSize_ = loopSize_;
        }
        // A loop file without data ends the music rather than spinning on it.
        if (currentSize_ == 0 || !SeekToData(current_.get(), 0)) {
            ended_ = true;
            return;
        }
        readPosition_ = 0;
    }

    FileHandle current_;
    FileHandle loop_;
    DWORD currentSize_;
    DWORD loopSize_ = 0;
    DWORD readPosition_;
    DWORD loopMode_;
    bool ended_ = false;
};

bool StopRequested() {
    return GetMusicState().stopRequested.load();
}

void CopyName(char (&destination)[kMusicNameLength], const std::string& name) {
    std::size_t length = std::min(name.size(), kMusicNameLength - 1);
    std::memcpy(destination, name.data(), length);
    destination[length] = '\0';
}

// One refill step; false when the ring cannot be locked (the stream then ends).
bool RefillStep(DSSound& sound, StreamSource& source, DWORD& writeCursor) {
    DWORD status = 0;
    DWORD playCursor = 0;
    if (FAILED(sound.GetStatus(&status)) || (status & DSBSTATUS_PLAYING) == 0) {
        return true;
    }
    if (FAILED(sound.GetCurrentPosition(&playCursor, nullptr))) {
        return true;
    }
    DWORD free = (playCursor - writeCursor) & kRingMask;
    if (free < kMusicMinimumFill) {
        return true;
    }
    void* part1 = nullptr;
    void* part2 = nullptr;
    DWORD bytes1 = 0;
    DWORD bytes2 = 0;
    if (FAILED(sound.Buffer()->Lock(writeCursor, free, &part1, &bytes1, &part2, &bytes2, 0))) {
        return false;
    }
    source.Fill(static_cast<BYTE*>(part1), bytes1);
    if (part2 != nullptr) {
        source.Fill(static_cast<BYTE*>(part2), bytes2);
    }
    sound.Buffer()->Unlock(part1, bytes1, part2, bytes2);
    writeCursor = playCursor;
    return true;
}

void PcmMusicThread(std::string name, DWORD loopMode) {
    MusicState& state = GetMusicState();
    if (StopRequested()) {
        return;
    }
    DWORD dataSize = LoadWaveData(name.c_str(), nullptr, nullptr, 0);
    if (dataSize == 0 || StopRequested()) {
        return;
    }
    DWORD ringSize = loopMode == 2 ? kMusicRingBytes : std::min(dataSize, kMusicRingBytes);
    DSSound* created = nullptr;
    if (FAILED(CreateSound(name.c_str(), &created, DSBCAPS_CTRLVOLUME, ringSize))) {
        return;
    }
    StreamSoundPtr sound(created);
    bool loopPlay = loopMode == 0 ? dataSize > ringSize : true;
    DWORD readPosition = std::min(dataSize, ringSize);
    DWORD writeCursor = readPosition < kMusicRingBytes ? readPosition : 0;

    FileHandle file = OpenPlainFile(name.c_str());
    if (file == nullptr || !SeekToData(file.get(), readPosition)) {
        return;
    }
    StreamSource source(std::move(file), dataSize, readPosition, loopMode);
    std::string currentName = name;
    if (loopMode == 2) {
        MakeLoopFileName(currentName.data());
        FileHandle loopFile = OpenPlainFile(currentName.c_str());
        if (loopFile != nullptr) {
            DWORD loopSize = LoadWaveData(currentName.c_str(), nullptr, nullptr, 0);
            source.SetLoopFile(std::move(loopFile), loopSize);
        }
    }
    bool streams = dataSize >= kMusicRingBytes || loopMode == 2;

    {
        std::lock_guard lock(state.streamMutex);
        if (StopRequested()) {
            return;
        }
        state.streamSound = sound.get();
        state.loopPlay = loopPlay;
        sound->SetVolume(MusicVolumeToDecibels(state.currentVolume.load()));
        if (state.paused.load() == 0) {
            sound->Play(loopPlay ? DSBPLAY_LOOPING : 0);
            state.startTime.store(timeGetTime());
        }
        CopyName(state.currentName, currentName);
        CopyName(state.requestedName, name);
        state.playing.store(1);
    }

    while (!StopRequested()) {
        if (streams && !RefillStep(*sound, source, writeCursor)) {
            break;
        }
        SleepUnless(kMusicStreamStepMs, state.stopRequested);
    }

    {
        std::lock_guard lock(state.streamMutex);
        state.streamSound = nullptr;
    }
    sound.reset();
    state.playing.store(0);
}

}  // namespace

MusicState& GetMusicState() {
    static MusicState* state = new MusicState;
    return *state;
}

LONG MusicVolumeToDecibels(DWORD volume) {
    LONG percent = static_cast<LONG>(std::min<DWORD>(volume, 10000) * 100 / 10000);
    return percent > 0 ? (percent - 100) * 50 : DSBVOLUME_MIN;
}

void MakeLoopFileName(char* name) {
    char* dot = std::strrchr(name, '.');
    if (dot != nullptr && dot != name) {
        ++dot[-1];
    }
}

void StartPcmMusicStream(const char* name, DWORD loopMode) {
    StopPcmMusicStream();
    MusicState& state = GetMusicState();
    state.stopRequested.store(false);
    try {
        state.thread =
            std::thread(PcmMusicThread, std::string(name != nullptr ? name : ""), loopMode);
    } catch (const std::system_error& error) {
        LogPrintf("PcmMusicThread: %s", error.what());
    }
}

void StopPcmMusicStream() {
    MusicState& state = GetMusicState();
    if (!state.thread.joinable()) {
        return;
    }
    state.stopRequested.store(true);
    // The thread sleeps through the program's clock, which may be one that only this thread
    // moves (a replay): the request wakes it, whatever the clock.
    WakeSleepers();
    state.thread.join();
    state.playing.store(0);
}

bool HasPcmMusicStream() {
    return GetMusicState().thread.joinable();
}
