#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "cd_drive_fixture.h"
#include "platform/mci/mixer.h"

namespace qvn::test {
namespace {

class MixerTest : public CdDriveTest {
protected:
    void TearDown() override {
        mci_test::SetMixerPresent(true);
        SetLevels(1, {65535});
        CdDriveTest::TearDown();
    }

    static MMRESULT SetLevels(DWORD channels, std::vector<DWORD> levels,
                              DWORD control = kVolumeId) {
        std::vector<MIXERCONTROLDETAILS_UNSIGNED> values;
        for (DWORD level : levels) {
            values.push_back({level});
        }
        MIXERCONTROLDETAILS details = Details(channels, values.data(), control);
        return mixerSetControlDetails(nullptr, &details, MIXER_SETCONTROLDETAILSF_VALUE);
    }

    static std::vector<DWORD> Levels(DWORD channels) {
        std::vector<MIXERCONTROLDETAILS_UNSIGNED> values(channels, {12345});
        MIXERCONTROLDETAILS details = Details(channels, values.data(), kVolumeId);
        EXPECT_EQ(mixerGetControlDetailsA(nullptr, &details, MIXER_GETCONTROLDETAILSF_VALUE),
                  MMSYSERR_NOERROR);
        std::vector<DWORD> levels;
        for (const MIXERCONTROLDETAILS_UNSIGNED& value : values) {
            levels.push_back(value.dwValue);
        }
        return levels;
    }

    static MIXERCONTROLDETAILS Details(DWORD channels, MIXERCONTROLDETAILS_UNSIGNED* values,
                                       DWORD control) {
        MIXERCONTROLDETAILS details{};
        details.cbStruct = sizeof details;
        details.dwControlID = control;
        details.cChannels = channels;
        details.cbDetails = sizeof(MIXERCONTROLDETAILS_UNSIGNED);
        details.paDetails = values;
        return details;
    }

    static constexpr DWORD kVolumeId = 1;
};

// The lines a program finds by walking the mixer: speakers, their CD source, its volume.
TEST_F(MixerTest, OneSpeakersLineWithACdSource) {
    ASSERT_EQ(mixerGetNumDevs(), 1u);
    MIXERCAPSA caps{};
    ASSERT_EQ(mixerGetDevCapsA(0, &caps, sizeof caps), MMSYSERR_NOERROR);
    EXPECT_STREQ(caps.szPname, "Software Mixer");
    EXPECT_EQ(caps.cDestinations, 1u);

    MIXERLINEA speakers{};
    speakers.cbStruct = sizeof speakers;
    ASSERT_EQ(mixerGetLineInfoA(nullptr, &speakers, MIXER_GETLINEINFOF_DESTINATION),
              MMSYSERR_NOERROR);
    EXPECT_EQ(speakers.dwComponentType, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS);
    EXPECT_EQ(speakers.cConnections, 1u);
    MIXERLINEA cd{};
    cd.cbStruct = sizeof cd;
    ASSERT_EQ(mixerGetLineInfoA(nullptr, &cd, MIXER_GETLINEINFOF_SOURCE), MMSYSERR_NOERROR);
    EXPECT_EQ(cd.dwComponentType, MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC);
    EXPECT_EQ(cd.cChannels, 2u);
    EXPECT_EQ(cd.cControls, 1u);

    MIXERCONTROLA control{};
    MIXERLINECONTROLSA controls{};
    controls.cbStruct = sizeof controls;
    controls.dwLineID = cd.dwLineID;
    controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof control;
    controls.pamxctrl = &control;
    ASSERT_EQ(mixerGetLineControlsA(nullptr, &controls, MIXER_GETLINECONTROLSF_ONEBYTYPE),
              MMSYSERR_NOERROR);
    EXPECT_EQ(control.dwControlID, kVolumeId);
    EXPECT_EQ(control.Bounds.dwMinimum, 0u);
    EXPECT_EQ(control.Bounds.dwMaximum, 65535u);

    struct Case {
        const char* name;
        MMRESULT result;
        MMRESULT expected;
    };
    MIXERLINEA second = speakers;
    second.cbStruct = sizeof second;
    second.dwDestination = 1;
    MIXERLINEA small = speakers;
    small.cbStruct = 8;
    MIXERLINECONTROLSA speakerControls = controls;
    speakerControls.dwLineID = speakers.dwLineID;
    MIXERLINECONTROLSA unknownLine = controls;
    unknownLine.dwLineID = 77;
    MIXERLINECONTROLSA mute = controls;
    mute.dwControlType = 0x20010002u;
    const Case cases[] = {
        {"a second destination", mixerGetLineInfoA(nullptr, &second, 0), MMSYSERR_INVALPARAM},
        {"a short record", mixerGetLineInfoA(nullptr, &small, 0), MMSYSERR_INVALPARAM},
        {"a line by id", mixerGetLineInfoA(nullptr, &cd, 2), MMSYSERR_NOTSUPPORTED},
        {"mixer 1", mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(1), &cd, 0),
         MMSYSERR_BADDEVICEID},
        {"a handle never opened",
         mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(0xDEAD), &cd, MIXER_OBJECTF_HMIXER),
         MMSYSERR_INVALHANDLE},
        {"another kind of object", mixerGetLineInfoA(nullptr, &cd, 0x10000000u),
         MMSYSERR_INVALFLAG},
        {"the speakers have no control",
         mixerGetLineControlsA(nullptr, &speakerControls, MIXER_GETLINECONTROLSF_ONEBYTYPE),
         MIXERR_INVALCONTROL},
        {"no such line",
         mixerGetLineControlsA(nullptr, &unknownLine, MIXER_GETLINECONTROLSF_ONEBYTYPE),
         MIXERR_INVALLINE},
        {"no mute control", mixerGetLineControlsA(nullptr, &mute, MIXER_GETLINECONTROLSF_ONEBYTYPE),
         MIXERR_INVALCONTROL},
        {"all controls", mixerGetLineControlsA(nullptr, &controls, 0), MMSYSERR_NOTSUPPORTED},
        {"no caps record", mixerGetDevCapsA(0, nullptr, 0), MMSYSERR_INVALPARAM},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.result, c.expected) << c.name;
    }
}

TEST_F(MixerTest, HandlesLevelsAndAMissingMixer) {
    HMIXER mixer = nullptr;
    ASSERT_EQ(mixerOpen(&mixer, 0, 0, 0, MIXER_OBJECTF_MIXER), MMSYSERR_NOERROR);
    MIXERCAPSA caps{};
    EXPECT_EQ(mixerGetDevCapsA(reinterpret_cast<UINT_PTR>(mixer), &caps, sizeof caps),
              MMSYSERR_NOERROR);
    EXPECT_EQ(Levels(2), (std::vector<DWORD>{65535, 65535})) << "full at first";

    MIXERCONTROLDETAILS_UNSIGNED values[2] = {{1000}, {2000}};
    MIXERCONTROLDETAILS details = Details(2, values, kVolumeId);
    ASSERT_EQ(mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(mixer), &details,
                                     MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE),
              MMSYSERR_NOERROR);
    EXPECT_EQ(Levels(2), (std::vector<DWORD>{1000, 2000}));
    EXPECT_EQ(Levels(1), (std::vector<DWORD>{1000})) << "one channel reads the first";
    EXPECT_EQ(SetLevels(1, {70000}), MMSYSERR_NOERROR);
    EXPECT_EQ(Levels(2), (std::vector<DWORD>{65535, 65535})) << "one for all, held at the bound";

    EXPECT_EQ(SetLevels(3, {1, 2, 3}), MMSYSERR_INVALPARAM);
    EXPECT_EQ(SetLevels(2, {1, 2}, 9), MIXERR_INVALCONTROL);
    MIXERCONTROLDETAILS noValues = Details(2, nullptr, kVolumeId);
    EXPECT_EQ(mixerGetControlDetailsA(nullptr, &noValues, 0), MMSYSERR_INVALPARAM);
    EXPECT_EQ(mixerGetControlDetailsA(nullptr, &details, 1), MMSYSERR_NOTSUPPORTED);
    EXPECT_EQ(Levels(2), (std::vector<DWORD>{65535, 65535})) << "failures change nothing";

    EXPECT_EQ(mixerOpen(&mixer, 1, 0, 0, MIXER_OBJECTF_MIXER), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(mixerOpen(&mixer, 0, 0, 0, 0x00030000u), MMSYSERR_INVALFLAG);
    EXPECT_EQ(mixerOpen(nullptr, 0, 0, 0, MIXER_OBJECTF_MIXER), MMSYSERR_INVALPARAM);
    HMIXER second = nullptr;
    ASSERT_EQ(mixerOpen(&second, 0, 0, 0, MIXER_OBJECTF_MIXER), MMSYSERR_NOERROR);
    EXPECT_NE(second, mixer);
    EXPECT_EQ(mixerClose(second), MMSYSERR_NOERROR);
    EXPECT_EQ(mixerClose(second), MMSYSERR_INVALHANDLE);

    mci_test::SetMixerPresent(false);
    EXPECT_EQ(mixerGetNumDevs(), 0u);
    EXPECT_EQ(mixerOpen(&second, 0, 0, 0, MIXER_OBJECTF_MIXER), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(mixerGetDevCapsA(0, &caps, sizeof caps), MMSYSERR_BADDEVICEID);
}

// The CD line is the gain of the CD stream: each channel scales its side of the disc's audio,
// at once, during a play.
TEST_F(MixerTest, TheCdLineScalesTheDiscAudio) {
    const qvn_disc::DiscTrack loud = CountingTrack(75 * kCdFramesPerSector, 20000);
    InsertDisc('D', {loud, loud});
    const MCIDEVICEID id = OpenTmsf("d:\\");
    ASSERT_EQ(Play(id, MCI_FROM, MCI_MAKE_TMSF(1, 0, 0, 0), 0), 0u);
    struct Case {
        DWORD left;
        DWORD right;
    };
    const Case cases[] = {{65535, 65535}, {32768, 32768}, {65535, 0},
                          {6554, 65535},  {0, 0},         {65535, 65535}};
    std::size_t frame = 0;
    for (const Case& c : cases) {
        ASSERT_EQ(SetLevels(2, {c.left, c.right}), MMSYSERR_NOERROR);
        std::vector<std::int16_t> heard = mci_test::MixCdFrames('D', 100);
        std::vector<std::int16_t> disc = TrackPart(loud, frame, 100);
        frame += 100;
        for (std::size_t i = 0; i < heard.size(); ++i) {
            const double level = (i % 2 == 0 ? c.left : c.right) / 65535.0;
            EXPECT_NEAR(heard[i], disc[i] * level, 1.0 + std::abs(disc[i]) * 0.001)
                << c.left << "/" << c.right << " sample " << i;
        }
    }
}

}  // namespace
}  // namespace qvn::test
