// The search of one file's text for the lines that hold a find's search
// text, in stages: find a candidate, confirm it, and only then count the
// line number and the UTF-16 column up to it and make the line's text.
#ifndef QMPECORE_FIND_FILES_FILE_TEXT_MATCHER_H_
#define QMPECORE_FIND_FILES_FILE_TEXT_MATCHER_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "find/files/file_match_plan.h"
#include "find/files/text_stretch.h"
#include "find/search_needle.h"

namespace qm {

// Receives the matching lines of a text, in order.
class LineSink {
 public:
  // `lineNumber` counts from 1; `column` is the offset of the line's first
  // occurrence in the whole normalised text (see find/line_breaks.h), in
  // UTF-16 units; `line` is the line without its break, valid for the
  // call only.
  virtual void OnLine(uint64_t lineNumber, uint64_t column, std::u16string_view line) = 0;

 protected:
  ~LineSink() = default;
};

// Searches texts for one search text, reusing its buffers from text to
// text: in the steady state it allocates nothing. One thread at a time.
//
// What it reports is what searching the normalised, decoded text line by
// line would report: every line that holds the search text once or more
// (case-blind: once both are folded per code point), with its first
// occurrence. A text without any line break is one line.
//
// A whole-word or pattern needle is searched as below for the text that
// each of its matches holds (SearchNeedle::requiredText), and each line
// found is confirmed by the needle's own rule (SearchNeedle::FindIn); a
// pattern without such a text has every decoded line tested.
//
// Where the plan allows, the UTF-8 bytes are searched as they are, and a
// hit alone pays for counting lines and units and for decoding its line; a
// line holding a foreign case variant of a needle letter is decoded and
// searched folded instead. Otherwise the whole text is decoded (and
// folded) slice by slice: each slice ends just after a line break, so no
// match or line straddles two; a slice holds about `sliceBytes` bytes,
// more when one line is longer.
class FileTextMatcher {
 public:
  static constexpr size_t kDefaultSliceBytes = 32 * 1024;

  // `needle` must outlive the matcher.
  explicit FileTextMatcher(const SearchNeedle& needle, size_t sliceBytes = kDefaultSliceBytes);
  FileTextMatcher(const FileTextMatcher&) = delete;
  FileTextMatcher& operator=(const FileTextMatcher&) = delete;

  // `text` is UTF-8 (ill-formed bytes decode to U+FFFD) and is taken whole;
  // the caller ends it where the file's text ends.
  void Search(std::string_view text, LineSink* sink);

 private:
  // Where a walk stands: the number of the line it is in and the
  // normalised offset it has reached.
  struct Place {
    uint64_t line = 1;
    uint64_t offset = 0;
  };
  static void Move(Place* place, const Stretch& over) {
    place->line += over.breaks;
    place->offset += over.units;
  }

  void SearchBytes(std::string_view text, LineSink* sink);
  void SearchDecoded(std::string_view text, LineSink* sink);
  void SearchLines(std::string_view text, LineSink* sink);
  void TestLines(std::u16string_view slice, bool isLast, Place* place, LineSink* sink);
  size_t SliceEnd(std::string_view text, size_t start) const;

  template <class Char>
  void Walk(const MaskedPattern<Char>& pattern, const Char* searched, const Char* shown,
            size_t size, bool carryOn, Place* place, LineSink* sink);
  size_t NextForeignVariant(const char* text, size_t from, size_t size);
  size_t NextForeignVariant(const char16_t*, size_t, size_t) { return SIZE_MAX; }
  const char16_t* Folded(std::u16string_view text);  // into folded_
  size_t FindFolded(std::u16string_view line);
  std::u16string_view LineText(const char* text, size_t start, size_t hit, size_t end,
                               size_t* hitUnits);
  std::u16string_view LineText(const char16_t* text, size_t start, size_t hit, size_t end,
                               size_t* hitUnits);

  const SearchNeedle& needle_;
  const FileMatchPlan plan_;
  const bool confirm_;  // each line found is tested by the needle's rule
  const size_t sliceBytes_;
  std::vector<size_t> foreignNext_;  // per foreign variant: its next start
  // Buffers that grow as needed and never shrink.
  std::vector<char16_t> decoded_;  // a slice decoded
  std::vector<char16_t> folded_;   // a slice, or a line, folded
  std::vector<char16_t> line_;     // a line decoded from bytes
};

}  // namespace qm

#endif  // QMPECORE_FIND_FILES_FILE_TEXT_MATCHER_H_
