#include "platform/acm/mpeg_audio_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "mp3_fixtures.h"

namespace acm_testing {
namespace {

struct PipeClose {
    void operator()(FILE* pipe) const { pclose(pipe); }
};

// What `mpg123 -s` writes for a file, or nothing when the program is not installed.
std::optional<std::vector<BYTE>> CommandLineDecode(const std::string& path) {
    if (std::system("command -v mpg123 > /dev/null 2>&1") != 0) {
        return std::nullopt;
    }
    const std::string command = "mpg123 -s -q '" + path + "'";
    std::unique_ptr<FILE, PipeClose> pipe(popen(command.c_str(), "r"));
    if (!pipe) {
        return std::nullopt;
    }
    std::vector<BYTE> bytes;
    BYTE chunk[4096];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, pipe.get())) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    return bytes;
}

TEST(MpegAudioDecoderTest, DecodesExactlyWhatTheLibraryReportsAndTheCommandLineWrites) {
    const std::vector<ReferenceDecode> references = ReadReferenceDecodes();
    ASSERT_EQ(references.size(), 3u);
    for (const ReferenceDecode& reference : references) {
        SCOPED_TRACE(reference.file);
        const std::vector<BYTE> file = ReadFixture(reference.file);
        ASSERT_FALSE(file.empty());
        std::string error;
        const std::optional<DecodedPcm> pcm = DecodeMpegAudio(file.data(), file.size(), {}, &error);
        ASSERT_TRUE(pcm) << error;
        EXPECT_EQ(pcm->format.wFormatTag, WAVE_FORMAT_PCM);
        EXPECT_EQ(pcm->format.wBitsPerSample, 16);
        EXPECT_EQ(pcm->format.nBlockAlign, pcm->format.nChannels * 2);
        const std::int64_t frames =
            static_cast<std::int64_t>(pcm->data.size() / pcm->format.nBlockAlign);
        EXPECT_EQ(frames, reference.frames);
        EXPECT_EQ(MpegAudioLength(file.data(), file.size()), frames);
        EXPECT_EQ(Fnv1a64(pcm->data), reference.digest);

        const std::optional<std::vector<BYTE>> commandLine =
            CommandLineDecode(FixturePath(reference.file));
        if (commandLine) {
            EXPECT_TRUE(*commandLine == pcm->data) << "differs from mpg123 -s";
        }
    }
}

TEST(MpegAudioDecoderTest, FormatsOfTheFixtures) {
    struct Case {
        const char* file;
        DWORD rate;
        WORD channels;
    };
    for (const Case& c :
         {Case{"tone_mono_22k.mp3", 22050, 1}, Case{"tone_mono_22k_tagged.mp3", 22050, 1},
          Case{"tone_stereo_44k.mp3", 44100, 2}}) {
        SCOPED_TRACE(c.file);
        const std::vector<BYTE> file = ReadFixture(c.file);
        const std::optional<DecodedPcm> pcm = DecodeMpegAudio(file.data(), file.size());
        ASSERT_TRUE(pcm);
        EXPECT_EQ(pcm->format.nSamplesPerSec, c.rate);
        EXPECT_EQ(pcm->format.nChannels, c.channels);
        EXPECT_EQ(pcm->format.nAvgBytesPerSec, c.rate * c.channels * 2u);
    }
}

TEST(MpegAudioDecoderTest, MonoCanBeWidenedToStereo) {
    const std::vector<BYTE> file = ReadFixture("tone_mono_22k.mp3");
    const std::optional<DecodedPcm> mono = DecodeMpegAudio(file.data(), file.size());
    const std::optional<DecodedPcm> stereo =
        DecodeMpegAudio(file.data(), file.size(), PcmTarget{22050, 2});
    ASSERT_TRUE(mono && stereo);
    ASSERT_EQ(stereo->format.nChannels, 2);
    ASSERT_EQ(stereo->data.size(), mono->data.size() * 2);
    for (std::size_t frame = 0; frame < mono->data.size() / 2; ++frame) {
        ASSERT_EQ(stereo->data[4 * frame], mono->data[2 * frame]);
        ASSERT_EQ(stereo->data[4 * frame + 1], mono->data[2 * frame + 1]);
        ASSERT_EQ(stereo->data[4 * frame + 2], mono->data[2 * frame]);
        ASSERT_EQ(stereo->data[4 * frame + 3], mono->data[2 * frame + 1]);
    }
}

TEST(MpegAudioDecoderTest, DamagedInputFailsCleanlyOrKeepsWhatDecodes) {
    const std::vector<BYTE> good = ReadFixture("tone_stereo_44k.mp3");
    std::vector<BYTE> noise(4000);
    std::uint32_t state = 12345;
    for (BYTE& byte : noise) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<BYTE>(state >> 24);
        if (byte == 0xFF) {
            byte = 0;  // no frame sync anywhere
        }
    }
    const std::vector<BYTE> tagOnly = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, 10,
                                       0,   0,   0,   0, 0, 0, 0, 0, 0, 0};
    const std::vector<BYTE> syncOnly = {0xFF, 0xFB, 0x90, 0x44};
    struct FailCase {
        const char* name;
        std::vector<BYTE> bytes;
    };
    for (const FailCase& c : {FailCase{"empty", {}}, FailCase{"noise", noise},
                              FailCase{"an ID3v2 tag and nothing else", tagOnly},
                              FailCase{"a frame header and nothing else", syncOnly}}) {
        SCOPED_TRACE(c.name);
        std::string error;
        EXPECT_FALSE(DecodeMpegAudio(c.bytes.data(), c.bytes.size(), {}, &error));
        EXPECT_FALSE(error.empty());
    }

    const std::optional<DecodedPcm> whole = DecodeMpegAudio(good.data(), good.size());
    ASSERT_TRUE(whole);
    const std::vector<BYTE> firstHalf(good.begin(), good.begin() + good.size() / 2);
    const std::optional<DecodedPcm> half = DecodeMpegAudio(firstHalf.data(), firstHalf.size());
    ASSERT_TRUE(half);
    EXPECT_GT(half->data.size(), 0u);
    EXPECT_LT(half->data.size(), whole->data.size());

    std::vector<BYTE> holed = good;
    std::fill(holed.begin() + 1200, holed.begin() + 1800, BYTE{0x55});
    const std::optional<DecodedPcm> patched = DecodeMpegAudio(holed.data(), holed.size());
    ASSERT_TRUE(patched);
    EXPECT_EQ(patched->data.size() % 4, 0u);

    // Rates are never converted: a target rate other than the stream's decodes nothing, at once
    // even when the stream's Info frame claims four billion frames (the library's resampler
    // counted through them for half a minute).
    std::vector<BYTE> boasting = good;
    const BYTE tag[] = {'I', 'n', 'f', 'o'};
    const auto info = std::search(boasting.begin(), boasting.end(), tag, tag + 4);
    ASSERT_NE(info, boasting.end());
    std::fill(info + 8, info + 12, BYTE{0xFF});
    for (const std::vector<BYTE>& stream : {good, boasting}) {
        for (const DWORD rate : {32000u, 22050u}) {
            std::string error;
            EXPECT_FALSE(DecodeMpegAudio(stream.data(), stream.size(), PcmTarget{rate, 2}, &error))
                << rate;
            EXPECT_FALSE(error.empty());
        }
    }
    EXPECT_TRUE(DecodeMpegAudio(boasting.data(), boasting.size(), PcmTarget{44100, 2}));
}

TEST(MpegAudioDecoderTest, OutputLimitIsKept) {
    const std::vector<BYTE> file = ReadFixture("tone_stereo_44k.mp3");
    std::string error;
    EXPECT_FALSE(DecodeMpegAudio(file.data(), file.size(), {}, &error, 1000));
    EXPECT_EQ(error, "the decoded sound is too long");
    EXPECT_TRUE(DecodeMpegAudio(file.data(), file.size(), {}, nullptr, 17640 * 4));
}

}  // namespace
}  // namespace acm_testing
