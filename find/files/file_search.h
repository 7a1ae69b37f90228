// The search of project text files: each file read into memory up to its
// first zero byte, its text taken as UTF-8, and one result given per line
// that holds the search text.
//
// A file result (table number 24) carries: the line number (from 1) as the
// record id; as column, the offset of the line's first occurrence in the
// whole text once decoded and with every line break made CR LF, in UTF-16
// units (each break counting two; see find/line_breaks.h); the line without
// its break as matched text; the search text; the full path as label; and
// as location the path relative to the project folder.
//
// Two choices of this implementation:
// - A text without any line break is one line, tested as line 1, as users
//   expect a one-line file to be searched.
// - A file outside the project folder (an absolute scope item elsewhere)
//   has its full path as location: nothing is cut from a path that does not
//   start with the folder.
// Offsets and line numbers beyond the 32-bit range (a file near 4 GB) are
// reported as INT32_MAX.
#ifndef QMPECORE_FIND_FILES_FILE_SEARCH_H_
#define QMPECORE_FIND_FILES_FILE_SEARCH_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "find/files/converter_reading.h"
#include "find/files/file_text_matcher.h"
#include "platform/file_read.h"
#include "find/result_sink.h"

namespace qm {

// One searcher serves one find, file after file, and keeps its buffers
// between them. One thread at a time.
class FileSearcher {
 public:
  // `matchCase` exactly 1 asks for a case-sensitive search, any other value
  // for a case-blind one (the platform's fold per code point). An
  // empty needle matches nothing. `sliceBytes` tunes the decoded search
  // (tests make it tiny); results never depend on it.
  FileSearcher(std::u16string_view needle, int32_t matchCase,
               size_t sliceBytes = FileTextMatcher::kDefaultSliceBytes)
      : FileSearcher(SearchNeedle(needle, matchCase), sliceBytes) {}
  // The same for a needle with any options.
  explicit FileSearcher(const SearchNeedle& needle,
                        size_t sliceBytes = FileTextMatcher::kDefaultSliceBytes);
  FileSearcher(const FileSearcher&) = delete;
  FileSearcher& operator=(const FileSearcher&) = delete;

  // Hands to `sink` the results of the file at `fullPath`. A file that
  // cannot be opened, read or held in memory whole is skipped silently.
  void SearchFile(std::u16string_view fullPath, std::u16string_view projectFolder,
                  ResultSink& sink);

  // The same for file bytes already in memory, as read from `fullPath`
  // (their text ends at their first zero byte).
  void SearchBytes(std::string_view bytes, std::u16string_view fullPath,
                   std::u16string_view projectFolder, ResultSink& sink);

  // True once a pattern's matching ran past the match limit in any file
  // this searcher searched.
  bool matchLimitReached() const { return needle_.matchLimitReached(); }

 private:
  // Searches `text`, which holds no zero byte.
  void SearchText(std::string_view text, std::u16string_view fullPath,
                  std::u16string_view projectFolder, ResultSink& sink);

  const SearchNeedle needle_;
  FileTextMatcher matcher_;
  platform::FileBuffer buffer_;
  ConverterReading converterReading_;
  // Filled with the fields common to all results of one file, and handed
  // over once per matching line.
  FindResult result_;
};

}  // namespace qm

#endif  // QMPECORE_FIND_FILES_FILE_SEARCH_H_
