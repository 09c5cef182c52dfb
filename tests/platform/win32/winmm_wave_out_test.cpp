// The intro's music through the system's waveform audio. The test runs with
// a private sound configuration that routes the default device into a file
// (DRIFTLOW_ALSA_FILE), so that what the system played can be compared with
// the offline render, byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "platform/resources.h"
#include "platform/wave_out.h"
#include "platform/win32/windows_api.h"
#include "player/output/player.h"

using namespace platform;

namespace {

constexpr std::size_t BytesPerSecond = 44100 * 4;

std::unique_ptr<TTarnXM> IntroPlayer() {
  std::unique_ptr<TTarnXM> player = TTarnXM::Create(44100, 2048, true);
  player->Renderer.SetInterpolation(TTarnXMInterpolation::Sinc);
  player->Renderer.SetClipping(true);
  player->Renderer.SetMasterVolume(128);
  player->LoadFromResource("msx", NumericResourceType(RT_RCDATA));
  return player;
}

// The sound sink behind the system's mixer takes the sound faster than real
// time, so the mixer runs dry now and then, and plays a period of silence
// (10 ms) before the next buffer. What was played must be the render's bytes
// in order, with nothing else between them than such periods.
constexpr std::size_t SilencePeriod = 441 * 4;

struct TPlayedStream {
  std::size_t Matched = 0;  // bytes of the render found, in order
  std::size_t Gaps = 0;     // periods of silence between them
  bool Parted = false;      // a byte that is neither the render's nor silence
};

bool Silent(const std::vector<std::uint8_t>& played, std::size_t at) {
  return at + SilencePeriod <= played.size() &&
         std::all_of(played.begin() + static_cast<std::ptrdiff_t>(at),
                     played.begin() + static_cast<std::ptrdiff_t>(at + SilencePeriod),
                     [](std::uint8_t b) { return b == 0; });
}

// Follows the render through what was played from `start`, stepping over a
// period of silence where the two part. A period may begin where the render
// itself is silent: the step then goes back over the zeros both had.
TPlayedStream FollowRender(const std::vector<std::uint8_t>& played, std::size_t start, const std::uint8_t* render,
                           std::size_t renderBytes) {
  TPlayedStream stream;
  std::size_t p = start;
  std::size_t q = 0;
  std::size_t zerosBehind = 0;
  std::size_t silences = 0;
  while (p < played.size() && q < renderBytes) {
    if (played[p] == render[q]) {
      zerosBehind = played[p] == 0 ? zerosBehind + 1 : 0;
      stream.Gaps += silences;
      silences = 0;
      ++p;
      ++q;
      continue;
    }
    std::size_t back = (p - start) % 4;
    while (back <= zerosBehind && !Silent(played, p - back)) back += 4;
    if (back > zerosBehind) {
      stream.Parted = true;
      break;
    }
    p = p - back + SilencePeriod;
    q -= back;
    zerosBehind = 0;
    ++silences;
  }
  stream.Matched = q;
  return stream;
}

}  // namespace

TEST(WinmmWaveOutTest, TheSystemPlaysExactlyTheBytesOfTheOfflineRender) {
  const char* path = std::getenv("DRIFTLOW_ALSA_FILE");
  ASSERT_NE(path, nullptr) << "DRIFTLOW_ALSA_FILE names the file the sound configuration writes";

  SetWaveOutFactory(CreateWinmmWaveOut);
  {
    std::unique_ptr<TTarnXM> player = IntroPlayer();
    ASSERT_EQ(player->OpenResult, MMSYSERR_NOERROR);
    ASSERT_TRUE(player->Play());
    Sleep(1500);
    player->Stop();
    // Stopping lets the queued buffers play out.
    Sleep(300);
  }
  SetWaveOutFactory(CreateNullWaveOut);

  std::ifstream file(path, std::ios::binary);
  const std::vector<std::uint8_t> played{std::istreambuf_iterator<char>(file), {}};
  ASSERT_GT(played.size(), BytesPerSecond);

  std::unique_ptr<TTarnXM> offline = IntroPlayer();
  ASSERT_TRUE(offline->Play());
  std::vector<std::int16_t> rendered(2048 * 2 * 160);
  for (std::size_t k = 0; k < rendered.size(); k += 2048 * 2) offline->RenderBuffer(rendered.data() + k);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(rendered.data());
  const std::size_t renderedBytes = rendered.size() * 2;

  // The song's first sound, found in what was played, lines the two up.
  const std::size_t first =
      static_cast<std::size_t>(std::find_if(bytes, bytes + renderedBytes, [](std::uint8_t b) { return b != 0; }) -
                               bytes) &
      ~std::size_t{3};
  ASSERT_LT(first + 1024, renderedBytes);
  const auto found = std::search(played.begin(), played.end(), bytes + first, bytes + first + 1024);
  ASSERT_NE(found, played.end()) << "the song's first sound is not in what was played";
  const std::size_t foundAt = static_cast<std::size_t>(found - played.begin());
  ASSERT_GE(foundAt, first);
  const std::size_t start = foundAt - first;
  EXPECT_TRUE(std::all_of(played.begin(), played.begin() + static_cast<std::ptrdiff_t>(start), [](std::uint8_t b) {
    return b == 0;
  })) << "sound before the song began";

  const TPlayedStream stream = FollowRender(played, start, bytes, renderedBytes);
  std::printf(
      "played %zu bytes; the song begins at byte %zu; %zu bytes (%.2f s) are the render's, in order, "
      "with %zu gaps of the system's silence between\n",
      played.size(), start, stream.Matched, static_cast<double>(stream.Matched) / BytesPerSecond, stream.Gaps);
  EXPECT_FALSE(stream.Parted) << "at byte " << stream.Matched << " of the render";
  EXPECT_GE(stream.Matched, BytesPerSecond);
}
