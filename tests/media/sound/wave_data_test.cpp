#include "media/sound/wave_data.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/sound/mpeg_header.h"
#include "platform/acm/mp3_fixtures.h"
#include "platform/winbase/file_api.h"
#include "sound_test_support.h"

namespace qvn::test {
namespace {

using WaveDataTest = SoundDeviceTest;

struct Loaded {
    DWORD size = 0;
    PCMWAVEFORMAT format{};
    std::vector<BYTE> bytes;
};

Loaded Load(const std::string& path, DWORD size) {
    Loaded loaded;
    BYTE* data = nullptr;
    loaded.size = LoadWaveData(path.c_str(), &loaded.format, &data, size);
    if (data != nullptr) {
        loaded.bytes.assign(data, data + loaded.size);
        LocalFree(data);
    }
    return loaded;
}

TEST_F(WaveDataTest, WaveDataIsCutOrPaddedToTheAskedSize) {
    std::vector<std::uint8_t> pcm(1000);
    for (std::size_t i = 0; i < pcm.size(); ++i) {
        pcm[i] = static_cast<std::uint8_t>(i * 7 + 1);
    }
    std::string path = WriteSound("sound/w.wav", WaveFile(pcm, 1, 22050, 8));
    struct Case {
        const char* name;
        DWORD size;
        DWORD expected;
    };
    const Case cases[] = {{"whole", 0, 1000}, {"cut", 300, 300}, {"padded", 4096, 4096}};
    for (const Case& c : cases) {
        Loaded loaded = Load(path, c.size);
        ASSERT_EQ(loaded.size, c.expected) << c.name;
        std::size_t kept = std::min<std::size_t>(c.expected, 1000);
        EXPECT_TRUE(std::equal(pcm.begin(), pcm.begin() + kept, loaded.bytes.begin())) << c.name;
        EXPECT_TRUE(std::all_of(loaded.bytes.begin() + kept, loaded.bytes.end(), [](BYTE b) {
            return b == 0;
        })) << c.name;
        EXPECT_EQ(loaded.format.wf.wFormatTag, WAVE_FORMAT_PCM);
        EXPECT_EQ(loaded.format.wf.nChannels, 1);
        EXPECT_EQ(loaded.format.wf.nSamplesPerSec, 22050u);
        EXPECT_EQ(loaded.format.wf.nAvgBytesPerSec, 22050u);
        EXPECT_EQ(loaded.format.wBitsPerSample, 8);
    }

    // Into the caller's buffer, and the header alone.
    std::vector<BYTE> room(2000, 0xAA);
    BYTE* into = room.data();
    EXPECT_EQ(LoadWaveData(path.c_str(), nullptr, &into, 1200), 1200u);
    EXPECT_EQ(room[999], pcm[999]);
    EXPECT_EQ(room[1199], 0);
    EXPECT_EQ(room[1200], 0xAA);
    EXPECT_EQ(LoadWaveData(path.c_str(), nullptr, nullptr, 0), 1000u);
}

TEST_F(WaveDataTest, ImpossibleHeadersAreRefusedWithALogLine) {
    std::vector<std::uint8_t> pcm(64, 1);
    std::vector<std::uint8_t> badAlign = WaveFile(pcm);
    badAlign[32] = 3;
    std::vector<std::uint8_t> zeroRate = WaveFile(pcm);
    zeroRate[24] = zeroRate[25] = zeroRate[26] = zeroRate[27] = 0;
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"empty", {}, "file too short for a wave header."},
        {"43 bytes", std::vector<std::uint8_t>(43, 1), "file too short for a wave header."},
        {"three channels", WaveFile(pcm, 3), "unsupported channel count."},
        {"no channels", WaveFile(pcm, 0), "unsupported channel count."},
        {"24 bits", WaveFile(pcm, 2, 44100, 24), "unsupported bits per sample."},
        {"wrong block align", badAlign, "wrong block align."},
        {"rate 0", zeroRate, "sample rate is 0."},
    };
    for (const Case& c : cases) {
        std::string path = WriteSound("sound/bad.wav", c.bytes);
        EXPECT_EQ(Load(path, 0).size, 0u) << c.name;
        EXPECT_EQ(LoadWaveData(path.c_str(), nullptr, nullptr, 0), 0u) << c.name;
        std::string line = std::string("dslib:Wave Error(") + path + "): " + c.reason;
        EXPECT_NE(Log().find(line), std::string::npos) << c.name << "\n" << Log();
    }
}

TEST_F(WaveDataTest, DataSizeBeyondTheFileIsCutToWhatItHolds) {
    std::vector<std::uint8_t> pcm(100, 9);
    std::string path = WriteSound("sound/t.wav", WaveFile(pcm, 2, 44100, 16, 0xFFFFFF00));
    Loaded loaded = Load(path, 0);
    EXPECT_EQ(loaded.size, 100u);
    EXPECT_NE(Log().find("cut to the 100 bytes the file holds"), std::string::npos);
    // The header alone still reports the field, as the music streamer reads it.
    EXPECT_EQ(LoadWaveData(path.c_str(), nullptr, nullptr, 0), 0xFFFFFF00u);
}

TEST_F(WaveDataTest, Mp3DecodesToTheReferenceSamples) {
    for (const acm_testing::ReferenceDecode& reference : acm_testing::ReadReferenceDecodes()) {
        std::string path =
            WriteSound("voice/" + reference.file, acm_testing::ReadFixture(reference.file));
        Loaded loaded = Load(path, 0);
        ASSERT_GT(loaded.size, 0u) << reference.file;
        int channels = loaded.format.wf.nChannels;
        EXPECT_EQ(loaded.format.wBitsPerSample, 16) << reference.file;
        EXPECT_EQ(static_cast<std::int64_t>(loaded.size / (2 * channels)), reference.frames)
            << reference.file;
        EXPECT_EQ(acm_testing::Fnv1a64(loaded.bytes), reference.digest) << reference.file;
    }
}

TEST_F(WaveDataTest, Mp3VoicePlaysItsDecodedSamples) {
    std::string path = WriteSound("voice/v.mp3", acm_testing::ReadFixture("tone_stereo_44k.mp3"));
    Loaded loaded = Load(path, 0);
    ASSERT_EQ(PlaySE(path.c_str(), 0, nullptr, DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN), S_OK);
    std::vector<std::int16_t> out = Mix(loaded.size / 4);
    EXPECT_EQ(std::memcmp(out.data(), loaded.bytes.data(), loaded.bytes.size()), 0);
}

TEST_F(WaveDataTest, DamagedMp3GivesNoSoundAndOneLogLine) {
    std::vector<std::uint8_t> noFrames = {0xFF, 0xFB, 0x90, 0x44};
    noFrames.resize(300, 0);
    std::string path = WriteSound("voice/bad.mp3", noFrames);
    EXPECT_EQ(Load(path, 0).size, 0u);
    EXPECT_NE(Log().find("dslib:ACM Error(" + path + "): "), std::string::npos) << Log();

    std::vector<std::uint8_t> reservedRate = {0xFF, 0xFB, 0x9C, 0x44};
    reservedRate.resize(300, 0);
    std::string quiet = WriteSound("voice/rate.mp3", reservedRate);
    std::string before = Log();
    EXPECT_EQ(Load(quiet, 0).size, 0u);
    EXPECT_EQ(Log(), before);
}

TEST(MpegHeaderTest, FrameHeadersAndSourceFormats) {
    struct Case {
        const char* name;
        BYTE bytes[4];
        MpegVersion version;
        int layer;
        DWORD kbps;
        DWORD rate;
        WORD channels;
        WORD blockSize;
    };
    const Case cases[] = {
        {"MPEG-1 Layer III joint stereo",
         {0xFF, 0xFB, 0x90, 0x44},
         MpegVersion::Mpeg1,
         3,
         128,
         44100,
         2,
         417},
        {"MPEG-1 Layer III mono 48k",
         {0xFF, 0xFB, 0x54, 0xC0},
         MpegVersion::Mpeg1,
         3,
         64,
         48000,
         1,
         192},
        {"MPEG-1 Layer II", {0xFF, 0xFD, 0x90, 0x00}, MpegVersion::Mpeg1, 2, 160, 44100, 2, 522},
        {"MPEG-1 Layer I", {0xFF, 0xFF, 0x90, 0x00}, MpegVersion::Mpeg1, 1, 288, 44100, 2, 940},
        {"MPEG-2 Layer III 22k",
         {0xFF, 0xF3, 0x40, 0xC4},
         MpegVersion::Mpeg2,
         3,
         32,
         22050,
         1,
         208},
        {"MPEG-2 Layer I 24k", {0xFF, 0xF7, 0x44, 0x00}, MpegVersion::Mpeg2, 1, 64, 24000, 2, 384},
        {"MPEG-2.5 8k", {0xFF, 0xE3, 0x18, 0x00}, MpegVersion::Mpeg25, 3, 8, 8000, 2, 144},
        {"bad bitrate index", {0xFF, 0xFB, 0xF0, 0x00}, MpegVersion::Mpeg1, 3, 0, 44100, 2, 0},
        {"reserved rate", {0xFF, 0xFB, 0x9C, 0x00}, MpegVersion::Mpeg1, 3, 128, 0, 2, 0},
    };
    for (const Case& c : cases) {
        MpegFrameHeader header;
        ASSERT_TRUE(ParseMpegFrameHeader(c.bytes, 4, &header)) << c.name;
        EXPECT_EQ(header.version, c.version) << c.name;
        EXPECT_EQ(header.layer, c.layer) << c.name;
        EXPECT_EQ(header.bitrateKbps, c.kbps) << c.name;
        EXPECT_EQ(header.sampleRate, c.rate) << c.name;
        EXPECT_EQ(header.channels, c.channels) << c.name;
        MPEGLAYER3WAVEFORMAT format = MpegSourceFormat(header);
        EXPECT_EQ(format.nBlockSize, c.blockSize) << c.name;
        EXPECT_EQ(format.wfx.nAvgBytesPerSec, c.kbps * 1000 / 8) << c.name;
        EXPECT_EQ(format.wfx.cbSize, 12);
        EXPECT_EQ(format.nCodecDelay, 1393);
    }
    const BYTE wave[4] = {'R', 'I', 'F', 'F'};
    const BYTE almost[4] = {0xFF, 0xC0, 0, 0};
    MpegFrameHeader unused;
    EXPECT_FALSE(ParseMpegFrameHeader(wave, 4, &unused));
    EXPECT_FALSE(ParseMpegFrameHeader(almost, 4, &unused));
    EXPECT_FALSE(ParseMpegFrameHeader(almost, 3, &unused));
}

TEST(MpegHeaderTest, Id3v2TagLengths) {
    const BYTE tag[] = {'I', 'D', '3', 3, 0, 0, 0, 0, 1, 0x10};           // 128 + 16
    const BYTE footer[] = {'I', 'D', '3', 4, 0, 0x10, 0, 0, 0, 5};        // with a footer
    const BYTE notSynchsafe[] = {'I', 'D', '3', 3, 0, 0, 0, 0, 0x80, 0};  // not a tag
    EXPECT_EQ(Id3v2TagLength(tag, 1000), 10u + 144u);
    EXPECT_EQ(Id3v2TagLength(tag, 50), 50u);
    EXPECT_EQ(Id3v2TagLength(footer, 1000), 25u);
    EXPECT_EQ(Id3v2TagLength(notSynchsafe, 1000), 0u);
    EXPECT_EQ(Id3v2TagLength(tag, 9), 0u);
}

TEST(MpegHeaderTest, AcmErrorTexts) {
    EXPECT_STREQ(AcmErrorText(1), "unspecified error.");
    EXPECT_STREQ(AcmErrorText(11), "invalid parameter passed.");
    EXPECT_STREQ(AcmErrorText(20), "driver does not call DriverCallback.");
    EXPECT_STREQ(AcmErrorText(0), "unknown error.");
    EXPECT_STREQ(AcmErrorText(512), "unknown error.");
}

}  // namespace
}  // namespace qvn::test
