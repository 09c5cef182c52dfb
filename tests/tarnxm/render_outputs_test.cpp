// tarnxm render's file kinds: WAV of three sample formats, raw samples, FLAC
// (decoded here by libFLAC), and a WAV on a pipe.
#include <FLAC/stream_decoder.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "tests/tarnxm/render_fixture.h"

namespace {

// Every sample of a FLAC file, interleaved, with its stream information.
struct TFlacDecoded {
  unsigned Channels = 0;
  unsigned Rate = 0;
  unsigned Bits = 0;
  std::uint64_t TotalFrames = 0;
  std::vector<std::int32_t> Samples;
};

FLAC__StreamDecoderWriteStatus TakeFrame(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                         const FLAC__int32* const buffer[], void* client) {
  auto& decoded = *static_cast<TFlacDecoded*>(client);
  for (unsigned k = 0; k < frame->header.blocksize; ++k)
    for (unsigned c = 0; c < frame->header.channels; ++c) decoded.Samples.push_back(buffer[c][k]);
  return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

void TakeMetadata(const FLAC__StreamDecoder*, const FLAC__StreamMetadata* metadata, void* client) {
  if (metadata->type != FLAC__METADATA_TYPE_STREAMINFO) return;
  auto& decoded = *static_cast<TFlacDecoded*>(client);
  decoded.Channels = metadata->data.stream_info.channels;
  decoded.Rate = metadata->data.stream_info.sample_rate;
  decoded.Bits = metadata->data.stream_info.bits_per_sample;
  decoded.TotalFrames = metadata->data.stream_info.total_samples;
}

void TakeError(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus status, void* client) {
  ADD_FAILURE() << FLAC__StreamDecoderErrorStatusString[status];
  static_cast<TFlacDecoded*>(client)->Samples.clear();
}

TFlacDecoded DecodeFlac(const std::string& path) {
  TFlacDecoded decoded;
  FLAC__StreamDecoder* decoder = FLAC__stream_decoder_new();
  // The encoder's checksum of the samples is checked as well.
  FLAC__stream_decoder_set_md5_checking(decoder, true);
  EXPECT_EQ(FLAC__stream_decoder_init_file(decoder, path.c_str(), TakeFrame, TakeMetadata, TakeError, &decoded),
            FLAC__STREAM_DECODER_INIT_STATUS_OK);
  EXPECT_TRUE(FLAC__stream_decoder_process_until_end_of_stream(decoder));
  EXPECT_TRUE(FLAC__stream_decoder_finish(decoder)) << "the checksum differs";
  FLAC__stream_decoder_delete(decoder);
  return decoded;
}

class TarnXMRenderOutputs : public TarnXMRenderTest {
 protected:
  void SetUp() override {
    TarnXMRenderTest::SetUp();
    Song = Write("song.xm", FourChannelSong());
  }
  std::string Song;
};

// 16 rows of 6 ticks of 882 frames.
constexpr std::size_t SongFrames = 16 * 6 * 882;

// The three formats hold the same mix: 24-bit has eight more bits below the
// 16-bit value, the float has it as a fraction of full scale.
TEST_F(TarnXMRenderOutputs, TheSampleFormatsHoldTheSameMix) {
  struct TCase {
    const char* Format;
    std::uint16_t Tag, Bits;
    double Scale;  // of the 16-bit value
  };
  ASSERT_EQ(Run({"render", Song, "-o", Path("s16.wav")}), 0) << Err.str();
  const TWavFile s16 = ReadWav(Path("s16.wav"));
  ASSERT_EQ(s16.Samples.size(), SongFrames * 2);
  EXPECT_GT(std::count_if(s16.Samples.begin(), s16.Samples.end(), [](std::int32_t v) { return std::abs(v) > 1000; }),
            static_cast<std::ptrdiff_t>(SongFrames));
  for (const TCase& test : {TCase{"s16", 1, 16, 1}, TCase{"s24", 1, 24, 256}, TCase{"f32", 3, 32, 1 / 32768.0}}) {
    const std::string out = Path(std::string(test.Format) + ".wav");
    ASSERT_EQ(Run({"render", Song, "-o", out, "--format", test.Format}), 0) << Err.str();
    const TWavFile wav = ReadWav(out);
    EXPECT_EQ(wav.Tag, test.Tag) << test.Format;
    EXPECT_EQ(wav.Bits, test.Bits) << test.Format;
    EXPECT_EQ(wav.Channels, 2u);
    EXPECT_EQ(wav.Rate, 44100u);
    EXPECT_EQ(wav.DataSize, SongFrames * 2 * test.Bits / 8) << test.Format;
    EXPECT_EQ(wav.DataBytes, wav.DataSize);
    EXPECT_EQ(wav.RiffSize, 36 + wav.DataSize);
    ASSERT_EQ(wav.Samples.size(), s16.Samples.size());
    for (std::size_t k = 0; k < s16.Samples.size(); ++k) {
      const double value = test.Tag == 3 ? std::bit_cast<float>(wav.Samples[k]) : static_cast<double>(wav.Samples[k]);
      ASSERT_NEAR(value / test.Scale, s16.Samples[k], 1.0) << test.Format << " " << k;
    }
  }
}

TEST_F(TarnXMRenderOutputs, FlacDecodesToTheWavSamples) {
  for (const char* format : {"s16", "s24"}) {
    const std::string wavPath = Path(std::string(format) + ".wav");
    const std::string flacPath = Path(std::string(format) + ".flac");
    ASSERT_EQ(Run({"render", Song, "-o", wavPath, "--format", format}), 0) << Err.str();
    ASSERT_EQ(Run({"render", Song, "-o", flacPath, "--format", format}), 0) << Err.str();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(Read(flacPath).data()), 4), "fLaC");
    const TFlacDecoded flac = DecodeFlac(flacPath);
    const TWavFile wav = ReadWav(wavPath);
    EXPECT_EQ(flac.Channels, 2u);
    EXPECT_EQ(flac.Rate, 44100u);
    EXPECT_EQ(flac.Bits, wav.Bits);
    EXPECT_EQ(flac.TotalFrames, SongFrames) << "the length is filled in at the end";
    EXPECT_EQ(flac.Samples, wav.Samples) << format;
  }
}

TEST_F(TarnXMRenderOutputs, ContainersFollowTheExtensionUnlessNamed) {
  struct TCase {
    std::vector<std::string> Extra;
    const char* Name;
    const char* Magic;  // empty: raw samples
    std::size_t Bytes;
  };
  const std::size_t pcm = SongFrames * 4;
  for (const TCase& test :
       {TCase{{}, "a.raw", "", pcm}, TCase{{}, "a.out", "RIFF", 44 + pcm},
        TCase{{"--container", "raw"}, "b.wav", "", pcm}, TCase{{"--container", "wav"}, "c.flac", "RIFF", 44 + pcm},
        TCase{{"--container", "flac"}, "d.wav", "fLaC", 0}}) {
    std::vector<std::string> args = {"render", Song, "-o", Path(test.Name)};
    args.insert(args.end(), test.Extra.begin(), test.Extra.end());
    ASSERT_EQ(Run(args), 0) << Err.str();
    const TBytes bytes = Read(Path(test.Name));
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + std::strlen(test.Magic)), test.Magic) << test.Name;
    if (test.Bytes) {
      EXPECT_EQ(bytes.size(), test.Bytes) << test.Name;
    }
  }
  // Raw samples are the WAV's data.
  ASSERT_EQ(Run({"render", Song, "-o", Path("e.wav")}), 0);
  const TBytes wav = Read(Path("e.wav"));
  EXPECT_EQ(TBytes(wav.begin() + 44, wav.end()), Read(Path("a.raw")));
}

// On a pipe the WAV cannot be gone back to: both sizes say 0xFFFFFFFF and
// the samples run to the end, the same as in the file.
TEST_F(TarnXMRenderOutputs, AWavOnAPipeStreams) {
  ASSERT_TRUE(std::filesystem::exists(Tool())) << Tool() << " is not built";
  ASSERT_EQ(Run({"render", Song, "-o", Path("file.wav")}), 0) << Err.str();
  for (const char* format : {"s16", "f32"}) {
    const std::string command = Tool().string() + " render " + Song + " -o - --format " + format + " 2>" + Path("err");
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    TBytes bytes;
    std::uint8_t block[65536];
    for (std::size_t got; (got = std::fread(block, 1, sizeof block, pipe)) > 0;)
      bytes.insert(bytes.end(), block, block + got);
    EXPECT_EQ(pclose(pipe), 0) << format;
    TWavFile streamed;
    ASSERT_TRUE(ParseWav(bytes, streamed)) << format;
    EXPECT_EQ(streamed.RiffSize, 0xFFFFFFFFu);
    EXPECT_EQ(streamed.DataSize, 0xFFFFFFFFu);
    EXPECT_EQ(streamed.DataBytes, SongFrames * 2 * streamed.Bits / 8) << format;
    if (std::string(format) == "s16") {
      EXPECT_EQ(streamed.Samples, ReadWav(Path("file.wav")).Samples);
    }
    const TBytes err = Read(Path("err"));
    EXPECT_EQ(std::string(err.begin(), err.end()).rfind("tarnxm: -: 0:01.920 of audio in ", 0), 0u);
  }
  // In this process the samples go to the output stream.
  ASSERT_EQ(Run({"render", Song, "-o", "-", "--container", "raw"}), 0) << Err.str();
  EXPECT_EQ(Out.str().size(), SongFrames * 4);
}

}  // namespace
