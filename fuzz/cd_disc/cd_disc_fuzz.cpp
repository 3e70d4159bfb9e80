// Makes a .cue sheet for drive D: (beside a .bin of 40 sectors) from the input: up to 12 tracks,
// audio or data, each with its first sector, and perhaps a pregap and an index 0, anywhere on
// or off the disc, in any order. Then drives the CD audio device the way the music player does:
// open, the track count, plays of the first and the last track with a few steps of the stream,
// the position, close. Every track table must be refused or played safely. The sheets are well
// formed: libcdio's own reading of malformed sheets is not ours to test.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "foundation/byte_reader.h"
#include "platform/dsound/dsound_test.h"
#include "platform/mci/mci.h"
#include "platform/mci/mci_test.h"
#include "platform/win32/message_api.h"
#include "platform/winbase/test_hooks.h"

#include "fuzz_program_dir.h"

namespace {

constexpr std::size_t kBinSectors = 40;

bool WriteFile(const std::string& path, const void* data, std::size_t size) {
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        return false;
    }
    std::fwrite(data, 1, size, out);
    std::fclose(out);
    return true;
}

const std::string& Folder() {
    static const std::string folder = [] {
        const std::string& dir = FuzzProgramDirectory("cd_disc");
        std::vector<std::uint8_t> bin(kBinSectors * 2352);
        for (std::size_t i = 0; i < bin.size(); ++i) {
            bin[i] = static_cast<std::uint8_t>(i * 7);
        }
        WriteFile(dir + "/disc.bin", bin.data(), bin.size());
        win32_test::UseManualClock(true);
        dsound_test::UseNullDevice(true);
        return dir;
    }();
    return folder;
}

std::string Msf(int minute, int second, int frame) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", minute, second, frame);
    return text;
}

std::string MsfFrom(ByteReader& in) {
    return Msf(in.U8() % 100, in.U8() % 60, in.U8() % 75);
}

std::string SheetFrom(const std::uint8_t* data, std::size_t size) {
    ByteReader in(data, size);
    std::string sheet = "FILE \"disc.bin\" BINARY\n";
    const int tracks = 1 + in.U8() % 12;
    for (int track = 1; track <= tracks; ++track) {
        const std::uint8_t flags = in.U8();
        char header[32];
        std::snprintf(header, sizeof header, "  TRACK %02d %s\n", track,
                      (flags & 1) != 0 ? "MODE1/2352" : "AUDIO");
        sheet += header;
        if ((flags & 2) != 0) {
            sheet += "    PREGAP " + MsfFrom(in) + "\n";
        }
        if ((flags & 4) != 0) {
            sheet += "    INDEX 00 " + MsfFrom(in) + "\n";
        }
        sheet += "    INDEX 01 " + MsfFrom(in) + "\n";
    }
    return sheet;
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&message);
    }
}

void PlaySteps(MCIDEVICEID id, DWORD track) {
    MCI_PLAY_PARMS play{};
    play.dwFrom = MCI_MAKE_TMSF(track, 0, 0, 0);
    play.dwTo = MCI_MAKE_TMSF(track + 1, 0, 0, 0);
    mciSendCommandA(id, MCI_PLAY, MCI_FROM | MCI_TO, reinterpret_cast<DWORD_PTR>(&play));
    mciSendCommandA(id, MCI_PLAY, MCI_FROM, reinterpret_cast<DWORD_PTR>(&play));
    for (int step = 0; step < 3; ++step) {
        mci_test::MixCdFrames('D', 4410);
        win32_test::AdvanceClockMicroseconds(100000);
        PumpMessages();
    }
    MCI_STATUS_PARMS status{};
    status.dwItem = MCI_STATUS_POSITION;
    mciSendCommandA(id, MCI_STATUS, MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&status));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string cue = Folder() + "/disc.cue";
    const std::string sheet = SheetFrom(data, size);
    if (!WriteFile(cue, sheet.data(), sheet.size())) {
        return 0;
    }
    mci_test::MapDriveImage('D', cue);
    MCI_OPEN_PARMSA open{};
    open.lpstrDeviceType = "cdaudio";
    open.lpstrElementName = "d:\\";
    if (mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_OPEN_SHAREABLE,
                        reinterpret_cast<DWORD_PTR>(&open)) != 0) {
        return 0;
    }
    MCI_SET_PARMS set{};
    set.dwTimeFormat = MCI_FORMAT_TMSF;
    mciSendCommandA(open.wDeviceID, MCI_SET, MCI_SET_TIME_FORMAT,
                    reinterpret_cast<DWORD_PTR>(&set));
    MCI_STATUS_PARMS status{};
    status.dwItem = MCI_STATUS_NUMBER_OF_TRACKS;
    if (mciSendCommandA(open.wDeviceID, MCI_STATUS, MCI_STATUS_ITEM,
                        reinterpret_cast<DWORD_PTR>(&status)) == 0) {
        PlaySteps(open.wDeviceID, 1);
        PlaySteps(open.wDeviceID, static_cast<DWORD>(status.dwReturn));
    }
    mciSendCommandA(open.wDeviceID, MCI_CLOSE, 0, 0);
    return 0;
}
