#include "replace/file_replace.h"

#include <string_view>

#include "find/files/line_walk.h"
#include "platform/unicode_units.h"
#include "platform/utf_conversion.h"

namespace qm {
namespace {

constexpr size_t kWithinCharacter = SIZE_MAX;

// A line decoded to UTF-16, with the byte offset (in the line) where each
// unit's character starts; the second unit of a pair has none.
struct DecodedLine {
  std::u16string text;
  std::vector<size_t> byteOf;  // text.size() + 1 entries, the last the line's length

  void Decode(std::string_view bytes) {
    text.clear();
    byteOf.clear();
    const auto* begin = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = begin + bytes.size();
    for (const unsigned char* p = begin; p < end;) {
      const platform::Utf8Step step = platform::DecodeUtf8Step(p, end);
      byteOf.push_back(static_cast<size_t>(p - begin));
      if (step.codePoint >= 0x10000) {
        text.push_back(static_cast<char16_t>(0xD7C0 + (step.codePoint >> 10)));
        text.push_back(static_cast<char16_t>(0xDC00 | (step.codePoint & 0x3FF)));
        byteOf.push_back(kWithinCharacter);
      } else {
        text.push_back(static_cast<char16_t>(step.codePoint));
      }
      p += step.length;
    }
    byteOf.push_back(bytes.size());
  }
};

}  // namespace

FileReplaceStatus PlanFileReplace(std::string bytes, const std::vector<int32_t>& lines,
                                  TextReplacer& replacer, FileChangePlan* plan,
                                  std::u16string* error) {
  const std::string_view whole(bytes);
  LineWalk walk(whole.substr(0, whole.find('\0')));
  DecodedLine decoded;
  std::u16string replaced;
  std::vector<ReplacedSpan> spans;
  std::vector<ByteEdit> edits;
  for (int32_t number : lines) {
    if (!walk.MoveToLine(number)) break;
    const size_t start = walk.start();
    decoded.Decode(walk.bytes());
    if (replacer.Replace(decoded.text, &replaced, &spans) < 0) {
      *error = replacer.error();
      return FileReplaceStatus::kFailed;
    }
    for (const ReplacedSpan& span : spans) {
      const std::u16string_view with(replaced.data() + span.resultFrom,
                                     span.resultTo - span.resultFrom);
      const std::u16string_view matched(decoded.text.data() + span.from, span.to - span.from);
      if (with == matched) continue;
      const size_t from = decoded.byteOf[span.from];
      const size_t to = decoded.byteOf[span.to];
      if (from == kWithinCharacter || to == kWithinCharacter) {
        const std::string digits = std::to_string(number);
        *error = u"a match on line " + std::u16string(digits.begin(), digits.end()) +
                 u" splits the bytes of a character";
        return FileReplaceStatus::kFailed;
      }
      ByteEdit edit{start + from, to - from, {}};
      platform::AppendUtf16AsUtf8(with, &edit.bytes);
      edits.push_back(std::move(edit));
    }
  }
  if (!PlanFileEdits(std::move(bytes), std::move(edits), plan)) return FileReplaceStatus::kUnchanged;
  return FileReplaceStatus::kChanged;
}

}  // namespace qm
