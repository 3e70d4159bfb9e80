#include "platform/acm/acm.h"

#include <gtest/gtest.h>

#include <vector>

#include "mp3_fixtures.h"
#include "platform/acm/mpeg_audio_decoder.h"

namespace acm_testing {
namespace {

// The source format as a caller builds it from the first frame header.
MPEGLAYER3WAVEFORMAT Layer3Format(WORD channels, DWORD rate, DWORD kbps) {
    MPEGLAYER3WAVEFORMAT format{};
    format.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    format.wfx.nChannels = channels;
    format.wfx.nSamplesPerSec = rate;
    format.wfx.nAvgBytesPerSec = kbps * 1000 / 8;
    format.wfx.nBlockAlign = 1;
    format.wfx.wBitsPerSample = 0;
    format.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
    format.wID = MPEGLAYER3_ID_MPEG;
    format.fdwFlags = MPEGLAYER3_FLAG_PADDING_OFF;
    format.nBlockSize = static_cast<WORD>(144000 * kbps / rate);
    format.nFramesPerBlock = 1;
    format.nCodecDelay = 1393;
    return format;
}

WAVEFORMATEX SuggestPcm(MPEGLAYER3WAVEFORMAT& source) {
    WAVEFORMATEX destination{};
    destination.wFormatTag = WAVE_FORMAT_PCM;
    EXPECT_EQ(acmFormatSuggest(nullptr, &source.wfx, &destination, sizeof destination,
                               ACM_FORMATSUGGESTF_WFORMATTAG),
              MMSYSERR_NOERROR);
    return destination;
}

ACMSTREAMHEADER Header(std::vector<BYTE>& source, std::vector<BYTE>& destination) {
    ACMSTREAMHEADER header{};
    header.cbStruct = sizeof header;
    header.pbSrc = source.data();
    header.cbSrcLength = static_cast<DWORD>(source.size());
    header.pbDst = destination.data();
    header.cbDstLength = static_cast<DWORD>(destination.size());
    return header;
}

TEST(AcmStreamTest, WholeFileConversionDeliversTheExactDecodedLength) {
    struct Case {
        const char* file;
        WORD channels;
        DWORD rate;
        DWORD kbps;
    };
    for (const Case& c : {Case{"tone_stereo_44k.mp3", 2, 44100, 64},
                          Case{"tone_mono_22k_tagged.mp3", 1, 22050, 32}}) {
        SCOPED_TRACE(c.file);
        std::vector<BYTE> file = ReadFixture(c.file);
        const std::optional<DecodedPcm> expected = DecodeMpegAudio(file.data(), file.size());
        ASSERT_TRUE(expected);

        MPEGLAYER3WAVEFORMAT source = Layer3Format(c.channels, c.rate, c.kbps);
        WAVEFORMATEX destination = SuggestPcm(source);
        EXPECT_EQ(destination.nChannels, c.channels);
        EXPECT_EQ(destination.nSamplesPerSec, c.rate);
        EXPECT_EQ(destination.wBitsPerSample, 16);
        EXPECT_EQ(destination.nBlockAlign, c.channels * 2);

        HACMSTREAM stream = nullptr;
        ASSERT_EQ(acmStreamOpen(&stream, nullptr, &source.wfx, &destination, nullptr, 0, 0,
                                ACM_STREAMOPENF_NONREALTIME),
                  MMSYSERR_NOERROR);
        DWORD size = 0;
        ASSERT_EQ(
            acmStreamSize(stream, static_cast<DWORD>(file.size()), &size, ACM_STREAMSIZEF_SOURCE),
            MMSYSERR_NOERROR);
        EXPECT_GE(size, expected->data.size());
        std::vector<BYTE> pcm(size);
        ACMSTREAMHEADER header = Header(file, pcm);
        ASSERT_EQ(acmStreamPrepareHeader(stream, &header, 0), MMSYSERR_NOERROR);
        ASSERT_EQ(acmStreamConvert(stream, &header, 0), MMSYSERR_NOERROR);
        EXPECT_NE(header.fdwStatus & ACMSTREAMHEADER_STATUSF_DONE, 0u);
        EXPECT_EQ(header.cbSrcLengthUsed, file.size());
        ASSERT_EQ(header.cbDstLengthUsed, expected->data.size());
        pcm.resize(header.cbDstLengthUsed);
        EXPECT_TRUE(pcm == expected->data);
        EXPECT_EQ(acmStreamUnprepareHeader(stream, &header, 0), MMSYSERR_NOERROR);
        EXPECT_EQ(acmStreamClose(stream, 0), MMSYSERR_NOERROR);
    }
}

TEST(AcmStreamTest, OutputThatDoesNotFitWaitsForTheNextConversion) {
    std::vector<BYTE> file = ReadFixture("tone_mono_22k.mp3");
    const std::optional<DecodedPcm> expected = DecodeMpegAudio(file.data(), file.size());
    ASSERT_TRUE(expected);
    MPEGLAYER3WAVEFORMAT source = Layer3Format(1, 22050, 32);
    WAVEFORMATEX destination = SuggestPcm(source);
    HACMSTREAM stream = nullptr;
    ASSERT_EQ(acmStreamOpen(&stream, nullptr, &source.wfx, &destination, nullptr, 0, 0, 0),
              MMSYSERR_NOERROR);

    std::vector<BYTE> part(10001);  // rounds down to whole frames
    ACMSTREAMHEADER header = Header(file, part);
    ASSERT_EQ(acmStreamPrepareHeader(stream, &header, 0), MMSYSERR_NOERROR);
    ASSERT_EQ(acmStreamConvert(stream, &header, 0), MMSYSERR_NOERROR);
    ASSERT_EQ(header.cbDstLengthUsed, 10000u);
    std::vector<BYTE> joined(part.begin(), part.begin() + header.cbDstLengthUsed);

    header.cbSrcLength = 0;
    ASSERT_EQ(acmStreamConvert(stream, &header, ACM_STREAMCONVERTF_END), MMSYSERR_NOERROR);
    EXPECT_EQ(header.cbSrcLengthUsed, 0u);
    joined.insert(joined.end(), part.begin(), part.begin() + header.cbDstLengthUsed);
    EXPECT_TRUE(joined == expected->data);
    ASSERT_EQ(acmStreamConvert(stream, &header, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(header.cbDstLengthUsed, 0u);
    EXPECT_EQ(acmStreamClose(stream, 0), MMSYSERR_NOERROR);
}

TEST(AcmStreamTest, RefusalsAndFailures) {
    MPEGLAYER3WAVEFORMAT source = Layer3Format(2, 44100, 128);
    WAVEFORMATEX destination = SuggestPcm(source);

    // Formats the codec cannot take.
    MPEGLAYER3WAVEFORMAT oddRate = Layer3Format(2, 44000, 128);
    WAVEFORMATEX pcmSource = destination;
    WAVEFORMATEX eightBit = destination;
    eightBit.wBitsPerSample = 8;
    eightBit.nBlockAlign = 2;
    WAVEFORMATEX otherRate = destination;
    otherRate.nSamplesPerSec = 22050;
    HACMSTREAM stream = nullptr;
    EXPECT_EQ(acmStreamOpen(&stream, nullptr, &oddRate.wfx, &destination, nullptr, 0, 0, 0),
              ACMERR_NOTPOSSIBLE);
    EXPECT_EQ(acmStreamOpen(&stream, nullptr, &pcmSource, &destination, nullptr, 0, 0, 0),
              ACMERR_NOTPOSSIBLE);
    EXPECT_EQ(acmStreamOpen(&stream, nullptr, &source.wfx, &eightBit, nullptr, 0, 0, 0),
              ACMERR_NOTPOSSIBLE);
    EXPECT_EQ(acmStreamOpen(&stream, nullptr, &source.wfx, &otherRate, nullptr, 0, 0, 0),
              ACMERR_NOTPOSSIBLE);
    EXPECT_EQ(acmStreamOpen(&stream, nullptr, &source.wfx, &destination, nullptr, 0, 0, 0x100),
              MMSYSERR_INVALFLAG);
    EXPECT_EQ(stream, nullptr);
    EXPECT_EQ(acmStreamOpen(nullptr, nullptr, &source.wfx, &destination, nullptr, 0, 0,
                            ACM_STREAMOPENF_QUERY),
              MMSYSERR_NOERROR);
    WAVEFORMATEX suggestion{};
    EXPECT_EQ(acmFormatSuggest(nullptr, &pcmSource, &suggestion, sizeof suggestion, 0),
              ACMERR_NOTPOSSIBLE);
    EXPECT_EQ(acmFormatSuggest(nullptr, &source.wfx, &suggestion, 15, 0), MMSYSERR_INVALPARAM);

    ASSERT_EQ(acmStreamOpen(&stream, nullptr, &source.wfx, &destination, nullptr, 0, 0, 0),
              MMSYSERR_NOERROR);
    DWORD size = 0;
    EXPECT_EQ(acmStreamSize(stream, 0xFFFFFFFFu, &size, ACM_STREAMSIZEF_SOURCE),
              ACMERR_NOTPOSSIBLE);
    EXPECT_EQ(acmStreamSize(stream, 176400, &size, ACM_STREAMSIZEF_DESTINATION), MMSYSERR_NOERROR);
    EXPECT_EQ(size, 16000u);  // one second at 128 kbit/s

    std::vector<BYTE> noise(2000, 0x42);
    std::vector<BYTE> pcm(65536);
    ACMSTREAMHEADER header = Header(noise, pcm);
    EXPECT_EQ(acmStreamConvert(stream, &header, 0), ACMERR_UNPREPARED);
    ASSERT_EQ(acmStreamPrepareHeader(stream, &header, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(acmStreamConvert(stream, &header, 0), MMSYSERR_ERROR);
    EXPECT_EQ(acmStreamUnprepareHeader(stream, &header, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(acmStreamUnprepareHeader(stream, &header, 0), ACMERR_UNPREPARED);
    EXPECT_EQ(acmStreamClose(stream, 0), MMSYSERR_NOERROR);

    // A closed stream is no stream.
    EXPECT_EQ(acmStreamClose(stream, 0), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(acmStreamSize(stream, 100, &size, ACM_STREAMSIZEF_SOURCE), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(acmStreamConvert(stream, &header, 0), MMSYSERR_INVALHANDLE);
}

}  // namespace
}  // namespace acm_testing
