#include <gtest/gtest.h>

#include <cstring>

#include "cd_drive_fixture.h"
#include "platform/mci/logical_drives.h"

namespace qvn::test {
namespace {

// Three tracks of 15, 75 and 30 sectors (0.2 s, 1 s, 0.4 s).
const qvn_disc::DiscTrack kTrack1 = CountingTrack(15 * kCdFramesPerSector, 100);
const qvn_disc::DiscTrack kTrack2 = CountingTrack(75 * kCdFramesPerSector, 10000);
const qvn_disc::DiscTrack kTrack3 = CountingTrack(30 * kCdFramesPerSector, 20000);

class MciCommandTest : public CdDriveTest {
protected:
    void SetUp() override {
        CdDriveTest::SetUp();
        InsertDisc('D', {kTrack1, kTrack2, kTrack3});
    }
};

std::vector<std::int16_t> Silence(std::size_t frames) {
    return std::vector<std::int16_t>(frames * 2, 0);
}

TEST_F(MciCommandTest, DriveLettersAreCThenTheCdDrives) {
    InsertDisc('F', {kTrack1});
    EXPECT_EQ(GetLogicalDrives(), (1u << 2) | (1u << 3) | (1u << 5));
    struct Case {
        const char* root;
        UINT type;
    };
    const Case cases[] = {
        {nullptr, DRIVE_FIXED},      {"c:\\", DRIVE_FIXED},       {"C:", DRIVE_FIXED},
        {"d:\\", DRIVE_CDROM},       {"D:", DRIVE_CDROM},         {"f:\\", DRIVE_CDROM},
        {"e:\\", DRIVE_NO_ROOT_DIR}, {"a:\\", DRIVE_NO_ROOT_DIR}, {"d:\\music", DRIVE_NO_ROOT_DIR},
        {"", DRIVE_NO_ROOT_DIR},     {"1:\\", DRIVE_NO_ROOT_DIR}};
    for (const Case& c : cases) {
        EXPECT_EQ(GetDriveTypeA(c.root), c.type) << (c.root ? c.root : "null");
    }
    mci_test::UseDiscImages(true);
    EXPECT_EQ(GetLogicalDrives(), 1u << 2) << "no image, no CD drive";
}

TEST_F(MciCommandTest, OpensCdAudioOnlyOnADriveWithADisc) {
    mci_test::MapDriveImage('G', Dir().path() + "/missing.cue");
    Dir().writeFile("nobin.cue", std::string("FILE \"nobin.bin\" BINARY\n  TRACK 01 AUDIO\n"
                                             "    INDEX 01 00:00:00\n"));
    mci_test::MapDriveImage('H', Dir().path() + "/nobin.cue");
    constexpr DWORD kShared = MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_OPEN_SHAREABLE;
    struct Case {
        const char* name;
        const char* type;
        const char* element;
        DWORD flags;
        MCIERROR error;
    };
    const Case cases[] = {
        {"the type is needed", "cdaudio", "d:\\", MCI_OPEN_ELEMENT, MCIERR_DEVICE_TYPE_REQUIRED},
        {"another type", "waveaudio", "d:\\", kShared, MCIERR_INVALID_DEVICE_NAME},
        {"no type name", nullptr, "d:\\", kShared, MCIERR_INVALID_DEVICE_NAME},
        {"the drive is needed", "cdaudio", "d:\\", MCI_OPEN_TYPE, MCIERR_MISSING_PARAMETER},
        {"a flag it does not know", "cdaudio", "d:\\", kShared | MCI_NOTIFY,
         MCIERR_UNRECOGNIZED_KEYWORD},
        {"the program's drive", "cdaudio", "c:\\", kShared, MCIERR_INVALID_FILE},
        {"no such drive", "cdaudio", "e:\\", kShared, MCIERR_INVALID_FILE},
        {"a folder, not a root", "cdaudio", "d:\\music", kShared, MCIERR_INVALID_FILE},
        {"no element name", "cdaudio", nullptr, kShared, MCIERR_INVALID_FILE},
        {"an image that is not there", "cdaudio", "g:\\", kShared, MCIERR_DEVICE_NOT_READY},
        {"an image without its bin", "cdaudio", "h:\\", kShared, MCIERR_DEVICE_NOT_READY},
        {"lower case with a backslash", "cdaudio", "d:\\", kShared, 0},
        {"any case, no backslash", "CDAudio", "D:", kShared | MCI_WAIT, 0},
    };
    for (const Case& c : cases) {
        MCIDEVICEID id = 0;
        EXPECT_EQ(Open(c.element, &id, c.flags, c.type), c.error) << c.name;
    }
    EXPECT_EQ(mciSendCommandA(0, MCI_OPEN, kShared, 0), MCIERR_NULL_PARAMETER_BLOCK);

    // Devices of a drive share it only when every one of them is shareable.
    MCIDEVICEID id = 0;
    EXPECT_EQ(Open("d:\\", &id, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT), MCIERR_MUST_USE_SHAREABLE);
    MCIDEVICEID other = 0;
    ASSERT_EQ(Open("d:\\", &other), 0u);
    EXPECT_NE(other, id) << "every open gets a new id";
    MCIDEVICEID exclusive = 0;
    ASSERT_EQ(Open("f:\\", &exclusive, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT), MCIERR_INVALID_FILE);
    InsertDisc('F', {kTrack1, kTrack2});
    ASSERT_EQ(Open("f:\\", &exclusive, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT), 0u);
    EXPECT_EQ(Open("f:\\", &id), MCIERR_MUST_USE_SHAREABLE);
    Close(exclusive);
    EXPECT_EQ(Open("f:\\", &id), 0u) << "the drive is free again";
}

TEST_F(MciCommandTest, StatusSetAndErrors) {
    MCIDEVICEID id = 0;
    ASSERT_EQ(Open("d:\\", &id), 0u);
    EXPECT_EQ(Status(id, MCI_STATUS_NUMBER_OF_TRACKS), 3u);
    EXPECT_EQ(Status(id, MCI_STATUS_POSITION), MCI_MAKE_MSF(0, 2, 0)) << "MSF at first";
    MCI_SET_PARMS set{};
    set.dwTimeFormat = MCI_FORMAT_TMSF;
    ASSERT_EQ(mciSendCommandA(id, MCI_SET, MCI_SET_TIME_FORMAT, reinterpret_cast<DWORD_PTR>(&set)),
              0u);
    EXPECT_EQ(Status(id, MCI_STATUS_POSITION), MCI_MAKE_TMSF(1, 0, 0, 0));

    MCI_STATUS_PARMS status{};
    status.dwItem = 4;
    MCI_SET_PARMS milliseconds{};
    struct Case {
        const char* name;
        MCIDEVICEID device;
        UINT message;
        DWORD flags;
        void* parameters;
        MCIERROR error;
    };
    const Case cases[] = {
        {"a time format it does not know", id, MCI_SET, MCI_SET_TIME_FORMAT, &milliseconds,
         MCIERR_BAD_TIME_FORMAT},
        {"set without a time format", id, MCI_SET, 0, &set, MCIERR_MISSING_PARAMETER},
        {"set without parameters", id, MCI_SET, MCI_SET_TIME_FORMAT, nullptr,
         MCIERR_NULL_PARAMETER_BLOCK},
        {"status without an item", id, MCI_STATUS, 0, &status, MCIERR_MISSING_PARAMETER},
        {"an item it does not know", id, MCI_STATUS, MCI_STATUS_ITEM, &status,
         MCIERR_UNSUPPORTED_FUNCTION},
        {"status with a notification", id, MCI_STATUS, MCI_STATUS_ITEM | MCI_NOTIFY, &status,
         MCIERR_UNRECOGNIZED_KEYWORD},
        {"a command it does not know", id, 0x0807, 0, &status, MCIERR_UNRECOGNIZED_COMMAND},
        {"stop with a flag it does not know", id, MCI_STOP, MCI_FROM, nullptr,
         MCIERR_UNRECOGNIZED_KEYWORD},
        {"no such device", id + 100, MCI_STATUS, MCI_STATUS_ITEM, &status,
         MCIERR_INVALID_DEVICE_ID},
        {"closing no such device", id + 100, MCI_CLOSE, 0, nullptr, MCIERR_INVALID_DEVICE_ID},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mciSendCommandA(c.device, c.message, c.flags,
                                  reinterpret_cast<DWORD_PTR>(c.parameters)),
                  c.error)
            << c.name;
        char text[128] = "x";
        EXPECT_EQ(mciGetErrorStringA(c.error, text, sizeof text), TRUE) << c.name;
        EXPECT_GT(std::strlen(text), 10u) << c.name;
    }
    char text[8] = "x";
    EXPECT_EQ(mciGetErrorStringA(MCIERR_OUTOFRANGE, text, sizeof text), TRUE);
    EXPECT_EQ(std::strlen(text), 7u) << "cut to the buffer";
    EXPECT_EQ(mciGetErrorStringA(0, text, sizeof text), FALSE);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(Status(id, MCI_STATUS_POSITION), MCI_MAKE_TMSF(1, 0, 0, 0)) << "still open";
}

// One timeline: a track plays from its start to the start of the next, in time with the
// position of every device of the drive; its end notifies; a play without a range goes on from
// there to the end of the disc.
TEST_F(MciCommandTest, PlaysARangeInTimeWithThePosition) {
    const MCIDEVICEID id = OpenTmsf("d:\\");
    MCIDEVICEID msf = 0;
    ASSERT_EQ(Open("D:", &msf), 0u);
    EXPECT_EQ(mci_test::MixCdFrames('d', 10), Silence(10)) << "no play, no output";

    ASSERT_EQ(Play(id, MCI_FROM | MCI_TO | MCI_NOTIFY, MCI_MAKE_TMSF(2, 0, 0, 0),
                   MCI_MAKE_TMSF(3, 0, 0, 0)),
              0u);
    EXPECT_EQ(Status(id, MCI_STATUS_POSITION), MCI_MAKE_TMSF(2, 0, 0, 0));
    EXPECT_EQ(PlaySteps('D', 5), TrackPart(kTrack2, 0, 22050));
    EXPECT_EQ(Status(id, MCI_STATUS_POSITION), MCI_MAKE_TMSF(2, 0, 0, 37)) << "22,050 frames";
    EXPECT_EQ(Status(msf, MCI_STATUS_POSITION), MCI_MAKE_MSF(0, 2, 15 + 37))
        << "the other device sees the same place";
    EXPECT_EQ(mci_test::MixCdFrames('d', 588), TrackPart(kTrack2, 22050, 588));
    EXPECT_EQ(Status(id, MCI_STATUS_POSITION), MCI_MAKE_TMSF(2, 0, 0, 38)) << "between steps too";
    EXPECT_TRUE(Notices().empty());

    EXPECT_EQ(PlaySteps('D', 5), TrackPart(kTrack2, 22638, 22050))
        << "the last step plays silence past the end";
    EXPECT_EQ(Notices(), (std::vector<Notice>{{MCI_NOTIFY_SUCCESSFUL, static_cast<LPARAM>(id)}}));
    EXPECT_EQ(Status(id, MCI_STATUS_POSITION), MCI_MAKE_TMSF(3, 0, 0, 0));
    EXPECT_EQ(PlaySteps('D', 1), Silence(4410)) << "ended";

    ASSERT_EQ(Play(id, 0, 0, 0), 0u) << "from here to the end of the disc, without a notice";
    std::vector<std::int16_t> rest = TrackPart(kTrack3, 0, 17640);
    std::vector<std::int16_t> silence = Silence(4410 * 5 - 17640);
    rest.insert(rest.end(), silence.begin(), silence.end());
    EXPECT_EQ(PlaySteps('D', 5), rest);
    EXPECT_EQ(Status(msf, MCI_STATUS_POSITION), MCI_MAKE_MSF(0, 2 + 1, 45)) << "the lead-out";
    EXPECT_EQ(Notices().size(), 1u);
}

// A track longer than the two-second ring, mixed in uneven parts between the 100 ms steps, is
// heard exactly as the disc holds it.
TEST_F(MciCommandTest, LongTracksStreamThroughTheRing) {
    const qvn_disc::DiscTrack longTrack = CountingTrack(340 * kCdFramesPerSector, 7);
    InsertDisc('E', {longTrack, kTrack1});
    const MCIDEVICEID id = OpenTmsf("e:\\");
    ASSERT_EQ(Play(id, MCI_FROM | MCI_TO | MCI_NOTIFY, MCI_MAKE_TMSF(1, 0, 0, 0),
                   MCI_MAKE_TMSF(2, 0, 0, 0)),
              0u);
    const std::uint32_t parts[] = {1000, 4410, 7000, 588, 3333};
    std::vector<std::int16_t> heard;
    for (int step = 0; heard.size() < longTrack.samples.size() + 2 * 4410; ++step) {
        std::vector<std::int16_t> part = mci_test::MixCdFrames('E', parts[step % 5]);
        heard.insert(heard.end(), part.begin(), part.end());
        win32_test::AdvanceClockMicroseconds(100000);
        PumpMessages();
    }
    EXPECT_EQ(heard, TrackPart(longTrack, 0, heard.size() / 2));
    EXPECT_EQ(Notices(), (std::vector<Notice>{{MCI_NOTIFY_SUCCESSFUL, static_cast<LPARAM>(id)}}));
}

TEST_F(MciCommandTest, StopCloseAndNewPlaysEndTheNotification) {
    const DWORD kTrack2Range = MCI_FROM | MCI_TO | MCI_NOTIFY;
    const DWORD from = MCI_MAKE_TMSF(2, 0, 0, 0);
    const DWORD to = MCI_MAKE_TMSF(3, 0, 0, 0);
    const MCIDEVICEID keeper = OpenTmsf("d:\\");
    const MCIDEVICEID id = OpenTmsf("d:\\");
    const auto device = static_cast<LPARAM>(id);

    ASSERT_EQ(Play(id, kTrack2Range, from, to), 0u);
    PlaySteps('D', 2);
    ASSERT_EQ(mciSendCommandA(id, MCI_STOP, MCI_WAIT, 0), 0u);
    PumpMessages();
    EXPECT_EQ(Notices(), (std::vector<Notice>{{MCI_NOTIFY_ABORTED, device}}));
    EXPECT_EQ(Status(id, MCI_STATUS_POSITION), MCI_MAKE_TMSF(2, 0, 0, 15)) << "kept";
    EXPECT_EQ(PlaySteps('D', 1), Silence(4410));
    EXPECT_EQ(mciSendCommandA(id, MCI_STOP, 0, 0), 0u) << "stopping a stopped drive";

    Notices().clear();
    ASSERT_EQ(Play(id, kTrack2Range, from, to), 0u);
    ASSERT_EQ(Play(id, kTrack2Range, from, to), 0u);
    PumpMessages();
    EXPECT_EQ(Notices(), (std::vector<Notice>{{MCI_NOTIFY_SUPERSEDED, device}}));
    EXPECT_EQ(PlaySteps('D', 1), TrackPart(kTrack2, 0, 4410)) << "from the start again";

    Notices().clear();
    Close(id);
    PumpMessages();
    EXPECT_EQ(Notices(), (std::vector<Notice>{{MCI_NOTIFY_ABORTED, device}}));
    EXPECT_EQ(PlaySteps('D', 1), TrackPart(kTrack2, 4410, 4410))
        << "the drive plays on while a device is open on it";
    Close(keeper);
    EXPECT_EQ(PlaySteps('D', 1), Silence(4410)) << "the last close ends the playback";
    EXPECT_EQ(Notices().size(), 1u);
}

TEST_F(MciCommandTest, PlaysOnlyRangesOnTheDisc) {
    const MCIDEVICEID tmsf = OpenTmsf("d:\\");
    MCIDEVICEID msf = 0;
    ASSERT_EQ(Open("d:\\", &msf), 0u);
    constexpr DWORD kRange = MCI_FROM | MCI_TO;
    struct Case {
        const char* name;
        MCIDEVICEID device;
        DWORD flags;
        DWORD from;
        DWORD to;
        MCIERROR error;
    };
    const Case cases[] = {
        {"track 0", tmsf, MCI_FROM, MCI_MAKE_TMSF(0, 0, 0, 0), 0, MCIERR_OUTOFRANGE},
        {"a track past the last", tmsf, MCI_FROM, MCI_MAKE_TMSF(4, 0, 0, 0), 0, MCIERR_OUTOFRANGE},
        {"to a track past the last", tmsf, kRange, MCI_MAKE_TMSF(1, 0, 0, 0),
         MCI_MAKE_TMSF(4, 0, 0, 0), MCIERR_OUTOFRANGE},
        {"frame 75", tmsf, MCI_FROM, MCI_MAKE_TMSF(1, 0, 0, 75), 0, MCIERR_OUTOFRANGE},
        {"second 60", tmsf, MCI_FROM, MCI_MAKE_TMSF(1, 0, 60, 0), 0, MCIERR_OUTOFRANGE},
        {"past the lead-out", tmsf, MCI_FROM, MCI_MAKE_TMSF(3, 5, 0, 0), 0, MCIERR_OUTOFRANGE},
        {"backwards", tmsf, kRange, MCI_MAKE_TMSF(3, 0, 0, 0), MCI_MAKE_TMSF(2, 0, 0, 0),
         MCIERR_OUTOFRANGE},
        {"an empty range", tmsf, kRange, MCI_MAKE_TMSF(2, 0, 0, 0), MCI_MAKE_TMSF(2, 0, 0, 0),
         MCIERR_OUTOFRANGE},
        {"before the first sector", msf, MCI_FROM, MCI_MAKE_MSF(0, 1, 74), 0, MCIERR_OUTOFRANGE},
        {"waiting for the end", tmsf, MCI_FROM | MCI_WAIT, MCI_MAKE_TMSF(1, 0, 0, 0), 0,
         MCIERR_UNRECOGNIZED_KEYWORD},
        {"within a track", tmsf, kRange, MCI_MAKE_TMSF(2, 0, 0, 74), MCI_MAKE_TMSF(2, 0, 1, 0), 0},
        {"to the lead-out by its address", msf, kRange, MCI_MAKE_MSF(0, 2, 0),
         MCI_MAKE_MSF(0, 3, 45), 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Play(c.device, c.flags, c.from, c.to), c.error) << c.name;
    }
    EXPECT_EQ(mciSendCommandA(tmsf, MCI_PLAY, MCI_FROM, 0), MCIERR_NULL_PARAMETER_BLOCK);
}

TEST_F(MciCommandTest, DataTracksPlayAsSilence) {
    qvn_disc::DiscTrack data = CountingTrack(5 * kCdFramesPerSector, 1);
    data.audio = false;
    InsertDisc('E', {data, kTrack1});
    const MCIDEVICEID id = OpenTmsf("e:\\");
    ASSERT_EQ(Play(id, MCI_FROM, MCI_MAKE_TMSF(1, 0, 0, 0), 0), 0u);
    std::vector<std::int16_t> expected = Silence(5 * kCdFramesPerSector);
    std::vector<std::int16_t> audio = TrackPart(kTrack1, 0, 4410 - 5 * kCdFramesPerSector);
    expected.insert(expected.end(), audio.begin(), audio.end());
    EXPECT_EQ(PlaySteps('E', 1), expected);
}

TEST_F(MciCommandTest, PlayWithoutASoundOutputFails) {
    const MCIDEVICEID id = OpenTmsf("d:\\");
    dsound_test::SetCreateFailure(static_cast<HRESULT>(0x88780078u));
    EXPECT_EQ(Play(id, MCI_FROM | MCI_NOTIFY, MCI_MAKE_TMSF(1, 0, 0, 0), 0), MCIERR_HARDWARE);
    dsound_test::SetCreateFailure(S_OK);
    PumpMessages();
    EXPECT_TRUE(Notices().empty());
    EXPECT_EQ(Play(id, MCI_FROM, MCI_MAKE_TMSF(1, 0, 0, 0), 0), 0u) << "the next play works";
}

}  // namespace
}  // namespace qvn::test
