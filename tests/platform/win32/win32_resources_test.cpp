// The executable's own resources through the system's lookup, and whole-file
// reads through the system's file calls.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/file_read.h"
#include "platform/resources.h"
#include "platform/win32/windows_api.h"

using namespace platform;

namespace {

bool StartsWith(const TResource* resource, const char* prefix) {
  const std::size_t length = std::strlen(prefix);
  return resource && resource->Data.size() >= length && std::memcmp(resource->Data.data(), prefix, length) == 0;
}

}  // namespace

TEST(Win32ResourcesTest, TheIntrosResourcesAreFoundByNameAndTypeWithoutRegardToCase) {
  EXPECT_TRUE(StartsWith(FindResource("LOGO", "JPEG"), "\xFF\xD8\xFF"));
  EXPECT_TRUE(StartsWith(FindResource("logo", "jpeg"), "\xFF\xD8\xFF"));
  EXPECT_TRUE(StartsWith(FindResource("Font", "bmp"), "BM"));
  EXPECT_TRUE(StartsWith(FindResource("text", "Text"), ""));
  EXPECT_GT(FindResource("TEXT", "TEXT")->Data.size(), 4u);
  EXPECT_TRUE(StartsWith(FindResource("msx", NumericResourceType(RT_RCDATA)), "Extended Module: "));
  // The same resource is handed out once, however it was asked for.
  EXPECT_EQ(FindResource("LOGO", "JPEG"), FindResource("logo", "jpeg"));

  EXPECT_EQ(FindResource("MSX", "JPEG"), nullptr);
  EXPECT_EQ(FindResource("LOG", "JPEG"), nullptr);
  EXPECT_EQ(FindResource("LOGO", "#11"), nullptr);
}

TEST(Win32ResourcesTest, AChosenSetIsSearchedInsteadUntilItIsPutAway) {
  const std::uint8_t bytes[] = {1, 2, 3};
  const TResourceSet set{{"LOGO", "JPEG", bytes}};
  SetResources(&set);
  EXPECT_EQ(FindResource("logo", "jpeg")->Data.size(), 3u);
  EXPECT_EQ(FindResource("FONT", "BMP"), nullptr);
  EXPECT_NE(FindProgramResource("FONT", "BMP"), nullptr);
  SetResources(nullptr);
  EXPECT_TRUE(StartsWith(FindResource("logo", "jpeg"), "\xFF\xD8\xFF"));
}

TEST(Win32FileReadTest, WholeFilesAreReadAndMissingOrOversizedOnesReported) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("driftlow-file-" + std::to_string(GetCurrentProcessId()));
  std::vector<std::uint8_t> written(70000);
  for (std::size_t k = 0; k < written.size(); ++k) written[k] = static_cast<std::uint8_t>(k * 7);
  {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(written.data()), static_cast<std::streamsize>(written.size()));
  }
  std::vector<std::uint8_t> read;
  EXPECT_EQ(ReadWholeFile(path.string(), written.size(), read), TFileRead::Ok);
  EXPECT_EQ(read, written);
  EXPECT_EQ(ReadWholeFile(path.string(), written.size() - 1, read), TFileRead::Unreadable);
  std::filesystem::remove(path);
  EXPECT_EQ(ReadWholeFile(path.string(), written.size(), read), TFileRead::NotOpened);
}
