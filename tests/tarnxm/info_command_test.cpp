#include "tools/tarnxm/info_command.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/tarnxm/tarnxm.h"
#include "tools/xm_writer/mod_writer.h"
#include "tools/xm_writer/xm_file_writer.h"

namespace {

class TarnXMInfo : public testing::Test {
 protected:
  void SetUp() override {
    Folder = std::filesystem::temp_directory_path() / ("tarnxm-test-" + std::to_string(getpid()));
    std::filesystem::create_directories(Folder);
  }
  void TearDown() override { std::filesystem::remove_all(Folder); }

  std::string Write(const std::string& name, const TBytes& bytes) {
    const std::string path = (Folder / name).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  int Run(const std::vector<std::string>& args) {
    Out.str("");
    Err.str("");
    return RunTarnXM(args, Out, Err);
  }

  std::filesystem::path Folder;
  std::ostringstream Out, Err;
};

TBytes SongXM() {
  TXMWriter writer;
  writer.Title = "Say \"hi\"\\\x01\xE9";
  writer.SongLength = 2;
  writer.Orders = {0, 0};
  writer.Patterns.push_back(XMPattern(2, EmptyXMCells(8)));
  TXMInstrumentWriter instrument;
  instrument.Name = "piano";
  instrument.VolumeEnvelope = {{{0, 64}, {8, 0}}, std::nullopt, 1, 0, 0, 0x03};
  TXMSampleWriter sample;
  sample.Name = "c4";
  sample.Data = Delta16({1, 2, 3, 4, 5, 6});
  sample.Type = 0x12;
  sample.LoopStart = 2;
  sample.LoopLength = 6;
  instrument.Samples = {sample, TXMSampleWriter{}};
  writer.Instruments = {instrument, TXMInstrumentWriter{}};
  writer.Trailer = XMChunk("text", {'o', 'n', 'e', 13, 't', 'w', 'o'});
  return writer.Build();
}

TEST_F(TarnXMInfo, DescribesAnXMForAPerson) {
  const std::string path = Write("song.xm", SongXM());
  ASSERT_EQ(Run({"info", path}), 0) << Err.str();
  const std::string text = Out.str();
  for (const char* line :
       {"Format:       XM 1.04\n", "Title:        Say \"hi\"\\.\xC3\xA9\n", "Channels:     4\n", "Patterns:     1\n",
        "Song length:  2, restart at 0\n", "Orders:       0 0\n", "Speed:        6 ticks per row\n",
        "Tempo:        125 BPM\n", "Frequencies:  linear\n", "Instruments:  2\n", "Samples:      1 with data\n",
        "  instrument 1 \"piano\": fade-out 0, volume envelope 2 points, sustain at point 1, "
        "panning envelope off\n",
        "    sample 0 \"c4\": 6 frames, 16-bit mono, ping-pong loop 1-4, volume 64, panning 128, "
        "relative note 0, fine-tune 0\n",
        "Comment:\n  one\n  two\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line << "\nin\n" << text;
  EXPECT_EQ(text.find("instrument 2"), std::string::npos);
}

TEST_F(TarnXMInfo, WritesOneJSONObject) {
  const std::string path = Write("song.xm", SongXM());
  ASSERT_EQ(Run({"info", "--json", path}), 0) << Err.str();
  const std::string json = Out.str();
  EXPECT_EQ(json.rfind("{\"format\":\"XM\",\"version\":\"1.04\",\"title\":\"Say \\\"hi\\\"\\\\\\u0001\\u00E9\","
                       "\"channels\":4,\"patterns\":1,\"instruments\":2,\"samples\":1,\"song_length\":2,\"restart\":0,"
                       "\"speed\":6,\"tempo\":125,\"linear\":true,\"orders\":[0,0],\"comment\":\"one\\r\\ntwo\",",
                       0),
            0u)
      << json;
  EXPECT_NE(json.find("\"volume_envelope\":{\"enabled\":true,\"points\":[[0,64],[8,0]],\"sustain\":1,\"loop\":null}"),
            std::string::npos);
  EXPECT_NE(json.find("{\"index\":0,\"name\":\"c4\",\"length\":6,\"loop\":\"ping-pong\",\"loop_start\":1,"
                      "\"loop_length\":3,\"bits\":16,"),
            std::string::npos);
  EXPECT_EQ(json.back(), '\n');
  EXPECT_EQ(json.find('\n'), json.size() - 1);
}

// Control and non-ASCII characters are escaped, with capital hex digits, and
// text that only looks like an escape is left as it is.
TEST_F(TarnXMInfo, JSONEscapesWhatIsNotPrintableASCII) {
  TXMWriter writer;
  writer.Title =
      "a\\u00ab\tb\x7F"
      "c";
  writer.Patterns.push_back(XMPattern(2, EmptyXMCells(8)));
  const std::string path = Write("escapes.xm", writer.Build());
  ASSERT_EQ(Run({"info", "--json", path}), 0) << Err.str();
  EXPECT_NE(Out.str().find("\"title\":\"a\\\\u00ab\\tb\\u007Fc\""), std::string::npos) << Out.str();
}

TEST_F(TarnXMInfo, DescribesAMOD) {
  TMODWriter writer;
  writer.Title = "mod";
  writer.AddPattern();
  writer.Samples = {{4, 0, 40, 0, 1, std::nullopt}};
  const std::string path = Write("song.mod", writer.Build());
  ASSERT_EQ(Run({"info", "--json", path}), 0) << Err.str();
  EXPECT_EQ(
      Out.str().rfind("{\"format\":\"MOD\",\"signature\":\"M.K.\",\"title\":\"mod\",\"channels\":4,\"patterns\":1,"
                      "\"instruments\":31,\"samples\":1,\"song_length\":1,\"restart\":0,\"speed\":6,"
                      "\"tempo\":125,\"linear\":false,",
                      0),
      0u)
      << Out.str();
  ASSERT_EQ(Run({"info", path}), 0);
  EXPECT_NE(Out.str().find("Format:       MOD \"M.K.\"\n"), std::string::npos) << Out.str();
  EXPECT_NE(Out.str().find("Frequencies:  Amiga periods\n"), std::string::npos);
}

TEST_F(TarnXMInfo, FilesThatDoNotLoadFailWithTheReason) {
  EXPECT_EQ(Run({"info", (Folder / "missing.xm").string()}), 1);
  EXPECT_EQ(Err.str().rfind("tarnxm: " + (Folder / "missing.xm").string() + ": cannot read: ", 0), 0u) << Err.str();
  EXPECT_TRUE(Out.str().empty());

  const std::string text = Write("notes.txt", TBytes(2000, 'a'));
  EXPECT_EQ(Run({"info", "--json", text}), 1);
  EXPECT_EQ(Err.str(), "tarnxm: " + text + ": not an XM or MOD module\n");

  TBytes cut = SongXM();
  cut.resize(400);
  const std::string truncated = Write("cut.xm", cut);
  EXPECT_EQ(Run({"info", truncated}), 1);
  EXPECT_EQ(Err.str(), "tarnxm: " + truncated + ": truncated instrument header\n");
}

TEST_F(TarnXMInfo, UsageErrorsExitWithTwo) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {}, {"play"}, {"info"}, {"info", "--json"}, {"info", "a", "b"}, {"info", "--xml", "a"}}) {
    EXPECT_EQ(Run(args), 2) << args.size();
    EXPECT_NE(Err.str().find("usage: tarnxm"), std::string::npos);
  }
  EXPECT_EQ(Run({"--help"}), 0);
  EXPECT_NE(Out.str().find("tarnxm info"), std::string::npos);
}

}  // namespace
