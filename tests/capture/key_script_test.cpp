// Reading a key script and applying it to the intro's key state frame by frame.
#include "tools/capture/key_script.h"

#include <gtest/gtest.h>

#include "platform/win_types.h"
#include "shell/shell_state.h"

using namespace platform;

namespace {

class KeyScriptTest : public ::testing::Test {
 protected:
  void SetUp() override { Keys.fill(false); }
  void TearDown() override { Keys.fill(false); }
};

TEST_F(KeyScriptTest, ReadsTimesKeysAndHoldsInTimeOrder) {
  TKeyScript script;
  std::string error;
  ASSERT_TRUE(TKeyScript::Parse("45000:f5-hold-1000,30000:space,40000:down-hold-2000,30000:up", script, error))
      << error;
  ASSERT_EQ(script.Presses().size(), 4u);
  const auto& p = script.Presses();
  EXPECT_EQ(p[0].Time, 30000);
  EXPECT_EQ(p[0].Key, VK_SPACE);  // equal times keep the script's order
  EXPECT_EQ(p[0].Hold, 0);
  EXPECT_EQ(p[1].Key, VK_UP);
  EXPECT_EQ(p[2].Time, 40000);
  EXPECT_EQ(p[2].Key, VK_DOWN);
  EXPECT_EQ(p[2].Hold, 2000);
  EXPECT_EQ(p[3].Key, VK_F5);
  EXPECT_EQ(p[3].Hold, 1000);

  ASSERT_TRUE(TKeyScript::Parse("", script, error));
  EXPECT_TRUE(script.Presses().empty());
}

TEST_F(KeyScriptTest, RefusesWhatItCannotReadAndKeepsTheScriptItHad) {
  TKeyScript script;
  std::string error;
  ASSERT_TRUE(TKeyScript::Parse("100:down", script, error));
  for (const char* bad :
       {"space", "x:space", "-5:space", "100:escape", "100:SPACE", "100:", "100:down-hold-", "100:down-hold-0",
        "100:down-hold-x", "3000000000:space", "100:space,,200:up", "100:down-hold-99999999999"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(TKeyScript::Parse(bad, script, error));
    EXPECT_NE(error.find("bad key press"), std::string::npos);
  }
  ASSERT_EQ(script.Presses().size(), 1u);
  EXPECT_EQ(script.Presses()[0].Key, VK_DOWN);
}

TEST_F(KeyScriptTest, APressIsDownForOneFrameAndAHoldUntilItsTimeHasPassed) {
  TKeyScript script({{1000, VK_SPACE, 0}, {1000, VK_DOWN, 50}});
  script.Apply(990);
  EXPECT_FALSE(Keys[VK_SPACE]);
  EXPECT_FALSE(Keys[VK_DOWN]);
  // The frame after the due time gets the press, however late it is.
  script.Apply(1007);
  EXPECT_TRUE(Keys[VK_SPACE]);
  EXPECT_TRUE(Keys[VK_DOWN]);
  script.Apply(1024);
  EXPECT_FALSE(Keys[VK_SPACE]);
  EXPECT_TRUE(Keys[VK_DOWN]);
  script.Apply(1049);
  EXPECT_TRUE(Keys[VK_DOWN]);
  script.Apply(1050);
  EXPECT_FALSE(Keys[VK_DOWN]);
  // Nothing is pressed twice.
  script.Apply(5000);
  EXPECT_FALSE(Keys[VK_SPACE]);
  EXPECT_FALSE(Keys[VK_DOWN]);
}

TEST_F(KeyScriptTest, AReleaseAndTheNextPressOfTheKeyOnOneFrameLeaveItDown) {
  TKeyScript script({{100, VK_UP, 0}, {116, VK_UP, 0}});
  script.Apply(100);
  EXPECT_TRUE(Keys[VK_UP]);
  script.Apply(116);
  EXPECT_TRUE(Keys[VK_UP]);
  script.Apply(132);
  EXPECT_FALSE(Keys[VK_UP]);
}

TEST_F(KeyScriptTest, AHoldNearTheEndOfTimeEndsWithoutOverflow) {
  TKeyScript script({{2000000000, VK_F5, 2000000000}});
  script.Apply(2000000000);
  EXPECT_TRUE(Keys[VK_F5]);
  script.Apply(2147483647);
  EXPECT_TRUE(Keys[VK_F5]);
}

}  // namespace
