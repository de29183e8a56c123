#include "logdata/text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace qv {
namespace {

TEST(Text, KeepsBytesInlineAndOnTheHeapAcrossCopiesAndMoves) {
  const std::string fullInline("2004/01/02 03:04:05.250");  // 23 bytes: the most that fits inline
  const std::string shortBytes = fullInline + "X";            // one past inline
  const std::string longBytes = std::string("C:\\Program Files\\App\\a\0b.exe", 28) + std::string(300, 'x');
  for (const std::string& bytes : {std::string(), std::string("192.168.0.1"), fullInline, shortBytes, longBytes}) {
    Text original(bytes);
    Text copy = original;
    Text moved = std::move(copy);
    Text assigned;
    assigned = moved;
    EXPECT_EQ(original.view(), bytes);
    EXPECT_EQ(moved.view(), bytes);
    EXPECT_EQ(assigned.view(), bytes);
    EXPECT_EQ(assigned.data()[assigned.size()], '\0');
    EXPECT_TRUE(copy.empty());
  }
}

TEST(Text, SharedBlockOutlivesTheOriginal) {
  std::vector<Text> copies;
  {
    Text original(std::string(100, 'a'));
    for (int i = 0; i < 4; ++i) copies.push_back(original);
  }
  copies.erase(copies.begin());
  for (const Text& copy : copies) EXPECT_EQ(copy.view(), std::string(100, 'a'));
  copies[0] = copies[0];  // self-assignment keeps the text
  EXPECT_EQ(copies[0].size(), 100u);
}

TEST(Text, OrdersBytesUnsigned) {
  EXPECT_LT(Text("A"), Text("B"));
  EXPECT_LT(Text("AB"), Text("ABC"));
  EXPECT_LT(Text("z"), Text("\xE9"));  // 0xE9 sorts after ASCII, as unsigned bytes do
  EXPECT_EQ(Text("abc"), "abc");
}

}  // namespace
}  // namespace qv
