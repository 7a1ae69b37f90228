// qmpe find writes its JSON one piece at a time; a reader must get exactly
// the bytes that the JSON library dumps for the same strings.
#include "cli/json_text.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <random>
#include <string>

#include "platform/utf_conversion.h"

namespace qm::cli {
namespace {

std::string Dumped(const std::u16string& text) {
  std::string utf8;
  platform::AppendUtf16AsUtf8(text, &utf8);
  return nlohmann::json(utf8).dump();
}

TEST(JsonText, StringsReadAsTheJsonLibraryDumpsThem) {
  // Quotes, backslashes, control characters, DEL, non-ASCII, pairs and
  // lone halves of them, at every position.
  const char16_t pool[] = {u'a',  u'"',  u'\\',  u'/',   0x00,   0x01,   u'\b',
                           u'\t', u'\n', 0x0B,   u'\f',  u'\r',  0x1F,   0x7F,
                           0xE9,  0x416, 0xFFFD, 0xD83D, 0xDE00, 0x20AC, u' '};
  std::mt19937 random(7);
  for (int round = 0; round < 20000; ++round) {
    // Plain runs, long enough at times to go through in blocks, between
    // runs of the others.
    std::u16string text;
    for (size_t run = 0, runs = 1 + random() % 4; run < runs; ++run) {
      text.append(random() % 40, u'x');
      for (size_t i = 0, mixed = random() % 6; i < mixed; ++i) {
        text += pool[random() % std::size(pool)];
      }
    }
    std::string written;
    AppendJsonString(text, &written);
    ASSERT_EQ(written, Dumped(text)) << ::testing::PrintToString(text);
  }
}

TEST(JsonText, FieldsInBothLayouts) {
  std::string compact = "{";
  JsonFields fields(&compact, 0);
  fields.Number("n", -2147483648LL);
  fields.String("s", u"a\"b");
  compact += "}";
  EXPECT_EQ(compact, R"({"n":-2147483648,"s":"a\"b"})");

  std::string indented;
  JsonFields lines(&indented, 4);
  lines.Number("n", 7);
  lines.String("s", u"");
  EXPECT_EQ(indented, "    \"n\": 7,\n    \"s\": \"\"");
}

}  // namespace
}  // namespace qm::cli
