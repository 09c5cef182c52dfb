#include "player/stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(Stream, GrowsInWholeStepsStrictlyAboveTheSize) {
  TTarnXMStream stream;
  stream.SetSize(65536);
  EXPECT_EQ(stream.GetCapacity(), 131072);
  stream.SetSize(0);
  EXPECT_EQ(stream.GetCapacity(), 65536);
  stream.Clear();
  EXPECT_EQ(stream.GetCapacity(), 0);
  EXPECT_EQ(stream.GetMemory(), nullptr);
}

TEST(Stream, SeekPastTheEndZeroFills) {
  TTarnXMStream stream;
  EXPECT_EQ(stream.Seek(10), 10);
  EXPECT_EQ(stream.GetSize(), 10);
  for (int k = 0; k < 10; ++k) EXPECT_EQ(stream.GetMemory()[k], 0);
  EXPECT_EQ(stream.Seek(-5), 0);
}

TEST(Stream, WriteOverwritesInPlaceThenAppends) {
  TTarnXMStream stream;
  stream.Write("abcdefgh", 8);
  stream.Seek(4);
  EXPECT_EQ(stream.Write("0123456789", 10), 10);
  EXPECT_EQ(stream.GetSize(), 14);
  EXPECT_EQ(stream.GetPosition(), 14);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.GetMemory()), 14), "abcd0123456789");
}

TEST(Stream, ReadsStopAtTheEnd) {
  TTarnXMStream stream;
  stream.Write("hello", 5);
  char buffer[8] = {};
  EXPECT_EQ(stream.ReadAt(3, buffer, 8), 2);
  EXPECT_EQ(std::string(buffer, 2), "lo");
  EXPECT_EQ(stream.Read(buffer, 8), 0);
  EXPECT_EQ(stream.ReadAt(1, buffer, 3), 3);
  EXPECT_EQ(std::string(buffer, 3), "ell");
}

}  // namespace
