// The path string: value semantics, growth, and the prefixes paths are cut at.
#include "base/bytestring.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

TEST(ByteStringTest, CopiesAreIndependentAndMovesLeaveAnEmptyString) {
  ByteString a("E:\\");
  ByteString b = a;
  b += "setup.exe";
  EXPECT_STREQ(a.c_str(), "E:\\");
  EXPECT_STREQ(b.c_str(), "E:\\setup.exe");
  ByteString c = std::move(b);
  EXPECT_STREQ(c.c_str(), "E:\\setup.exe");
  EXPECT_STREQ(b.c_str(), "");
  a = c;
  a = a;
  EXPECT_TRUE(a == c);
  EXPECT_EQ(ByteString().Length(), 0u);
  EXPECT_STREQ(ByteString(nullptr).c_str(), "");
}

TEST(ByteStringTest, GrowsPastAnyFixedSizeAndKeepsEmbeddedBytes) {
  ByteString s;
  std::string expected;
  for (int i = 0; i < 1000; ++i) {
    s += "abc\\";
    expected += "abc\\";
  }
  EXPECT_EQ(std::string(s.c_str(), s.Length()), expected);
  ByteString z("a\0b", 3);
  EXPECT_EQ(z.Length(), 3u);
  EXPECT_EQ((z + z).Length(), 6u);
}

TEST(ByteStringTest, FindsAndCuts) {
  ByteString p("C:\\Temp\\start.exe");
  EXPECT_EQ(p.Find('\\'), 2);
  EXPECT_EQ(p.FindLast('\\'), 7);
  EXPECT_EQ(ByteString("start.exe").FindLast('\\'), -1);
  EXPECT_STREQ(p.Left(8).c_str(), "C:\\Temp\\");
  EXPECT_STREQ(p.Left(100).c_str(), p.c_str());
  EXPECT_STREQ(p.Left(0).c_str(), "");
}

TEST(StringListTest, KeepsItemsInOrderAcrossGrowth) {
  StringList list;
  for (int i = 0; i < 20; ++i) list.Add(ByteString(std::to_string(i).c_str()));
  ASSERT_EQ(list.Count(), 20u);
  for (int i = 0; i < 20; ++i) EXPECT_STREQ(list[i].c_str(), std::to_string(i).c_str());
}

} // namespace
