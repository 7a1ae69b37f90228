#include "registry/editor_map_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace qm {
namespace {

// A block with a zero writer handle and the given entry text.
std::string Block(const std::string& text) { return std::string(8, '\0') + text; }

std::string Serialize(const EditorMap& editors) {
  RegistryLock lock;
  lock.editors = editors;
  std::string block;
  EXPECT_TRUE(SerializeEditorMap(&lock, &block));
  return block;
}

EditorMap Parse(const std::string& block) {
  RegistryLock lock;
  lock.editors = {{u"stale", 1}};
  EXPECT_TRUE(ParseEditorMap(reinterpret_cast<const uint8_t*>(block.data()), block.size(), &lock));
  return lock.editors;
}

bool Whole(const std::string& block) {
  return IsWholeBlock(reinterpret_cast<const uint8_t*>(block.data()), block.size());
}

TEST(EditorMapFormat, WritesTheWorkedExampleByteForByte) {
  EXPECT_EQ(Serialize({{u"X:\\p", 1234}}), Block("\n1234\n\nX:\\p\r"));
  EXPECT_EQ(Serialize({{u"X:\\q", -5}, {u"X:\\p", 1234}}),
            Block("\n1234\n\nX:\\p\n-5\n\nX:\\q\r"));
  EXPECT_EQ(Serialize({}), Block("\r"));
  EXPECT_TRUE(Parse(Block("\r")).empty());
}

TEST(EditorMapFormat, ReadsBackWhatItWrites) {
  const EditorMap editors = {{u"/proj/caf\u00e9/\u65e5\u672c/\U0001D11E", INT32_MIN},
                             {u"/max", INT32_MAX},
                             {u"/zero", 0},
                             {u"", 7}};
  const std::string block = Serialize(editors);
  EXPECT_NE(block.find("\n-2147483648\n"), std::string::npos);
  EXPECT_EQ(Parse(block), editors);
  EXPECT_TRUE(Whole(block));
}

TEST(EditorMapFormat, ReadsIdsAsSixtyFourBitsCutToThirtyTwo) {
  const std::pair<std::string, int32_t> cases[] = {
      {"4294967297", 1},         {"2147483648", INT32_MIN},
      {" \t-12abc", -12},        {"+7", 7},
      {"abc", 0},                {"", 0},
      {"-", 0},                  {"99999999999999999999", -1},  // saturates at INT64_MAX
      {"-99999999999999999999", 0},                           // and at INT64_MIN
      {"-9223372036854775808", 0},
  };
  for (const auto& [text, id] : cases) {
    EXPECT_EQ(Parse(Block("\n" + text + "\n\n/k\r")), (EditorMap{{u"/k", id}})) << text;
  }
}

TEST(EditorMapFormat, ReadsMalformedBlocksAsEmptyAndRepeatedKeysOnce) {
  EXPECT_TRUE(Parse(Block("x1\n\n/k\r")).empty());
  EXPECT_TRUE(Parse(Block("\n1\n\n/a\nb\r")).empty());  // an LF inside a key
  EXPECT_TRUE(Parse(Block("\n1\n\r")).empty());
  EXPECT_TRUE(Parse(Block("\n")).empty());
  // A key that brings two more LFs keeps the count in threes.
  EXPECT_EQ(Parse(Block("\n1\n\n/a\n2\n\n/b\r")), (EditorMap{{u"/a", 1}, {u"/b", 2}}));
  // Of two entries with one key, the first is kept.
  EXPECT_EQ(Parse(Block("\n1\n\n/k\n2\n\n/k\r")), (EditorMap{{u"/k", 1}}));

  RegistryLock lock;
  const std::string shortBlock = Block("");
  EXPECT_FALSE(ParseEditorMap(reinterpret_cast<const uint8_t*>(shortBlock.data()), 8, &lock));
  EXPECT_FALSE(ParseEditorMap(nullptr, 9, &lock));
  EXPECT_FALSE(SerializeEditorMap(nullptr, nullptr));
}

TEST(EditorMapFormat, TellsWholeBlocksFromTornOnes) {
  const std::string block = Serialize({{u"/a", 1}, {u"/caf\u00e9", 2}});
  EXPECT_TRUE(Whole(block));
  EXPECT_FALSE(Whole(block.substr(0, block.size() - 1)));       // no CR
  EXPECT_FALSE(Whole(block.substr(0, block.size() - 2) + "\r"));  // a UTF-8 sequence cut
  EXPECT_FALSE(Whole(Block("\n1\n\r")));                        // tokens not in threes
  EXPECT_FALSE(Whole(Block("\rjunk\r")));
  EXPECT_FALSE(Whole(Block("")));
}

}  // namespace
}  // namespace qm
