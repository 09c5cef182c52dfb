// Frames drawn through the Win32 window and context, read back and compared
// with the Linux build's frames at the same scene time. Windows' GLU scales
// the pictures to mipmaps in its own way, so a few texels differ a little.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/offscreen_context.h"
#include "scene/frame.h"
#include "tests/platform/win32/win32_window_fixture.h"

namespace {

constexpr int Width = 800;
constexpr int Height = 600;

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

}  // namespace

TEST_F(Win32WindowTest, FramesMatchTheLinuxBuildsFramesAtTheSameSceneTime) {
  const char* folder = std::getenv("DRIFTLOW_REFERENCE_FRAMES");
  ASSERT_NE(folder, nullptr) << "DRIFTLOW_REFERENCE_FRAMES names the folder of the Linux build's frames";
  ExpectScreen(Width, Height);
  ASSERT_TRUE(CreateRenderWindow(Width, Height, true, 32));
  for (const std::int32_t time : {2000, 9000}) {
    SCOPED_TRACE(time);
    const std::string name = std::string(folder) + "/frame-" + std::to_string(time);
    const std::vector<std::uint8_t> reference = ReadFile(name + ".rgb");
    ASSERT_EQ(reference.size(), static_cast<std::size_t>(Width) * Height * 3) << name << ".rgb";
    SceneTime = time;
    DrawScene(FrameInput());
    const std::vector<std::uint8_t> windows = platform::ReadBackBuffer(Width, Height);
    // Two black frames would match as well.
    EXPECT_GT(std::count_if(windows.begin(), windows.end(), [](std::uint8_t v) { return v > 32; }),
              static_cast<std::ptrdiff_t>(windows.size() / 20));
    std::uint64_t total = 0;
    std::size_t outliers = 0;
    for (std::size_t k = 0; k < windows.size(); ++k) {
      const int difference = std::abs(windows[k] - reference[k]);
      total += static_cast<std::uint64_t>(difference);
      if (difference > 24) ++outliers;
    }
    const double mean = static_cast<double>(total) / static_cast<double>(windows.size());
    std::printf("frame at %d ms: mean difference %.3f, %zu of %zu values off by more than 24\n", time, mean, outliers,
                windows.size());
    EXPECT_LT(mean, 1.0);
    EXPECT_LT(outliers, windows.size() / 200);
    if (HasFailure()) {
      std::ofstream file(name + "-windows.rgb", std::ios::binary);
      file.write(reinterpret_cast<const char*>(windows.data()), static_cast<std::streamsize>(windows.size()));
    }
  }
}
