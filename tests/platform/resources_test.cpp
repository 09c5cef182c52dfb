#include <gtest/gtest.h>

#include "platform/resources.h"
#include "platform/win_types.h"

using namespace platform;

namespace {
const std::uint8_t Bytes[] = {1, 2, 3};
}

TEST(ResourcesTest, LookupIgnoresCaseOfNameAndTypeAndHonoursTheChosenSet) {
  const TResourceSet set{{"LOGO", "JPEG", Bytes}, {"MSX", NumericResourceType(RT_RCDATA), Bytes}};
  SetResources(&set);
  ASSERT_NE(FindResource("logo", "jpeg"), nullptr);
  EXPECT_EQ(FindResource("Logo", "JPEG")->Data.size(), 3u);
  EXPECT_NE(FindResource("msx", "#10"), nullptr);
  EXPECT_EQ(FindResource("msx", "JPEG"), nullptr);
  EXPECT_EQ(FindResource("LOG", "JPEG"), nullptr);
  EXPECT_EQ(FindResource("FONT", "BMP"), nullptr);
  SetResources(nullptr);
  EXPECT_EQ(FindResource("logo", "JPEG"), FindResourceInSet(EmbeddedResources(), "LOGO", "JPEG"));
  EXPECT_NE(FindResource("logo", "JPEG"), nullptr);
}
