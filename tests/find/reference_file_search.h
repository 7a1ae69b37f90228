// The file search done the plain way: the platform's decoding and folding
// called directly (reference_text.h), the four line-break replacements done
// literally, one string per line, each tested by reference_match.h. What the fast search is checked against.
#ifndef QMPECORE_TESTS_FIND_REFERENCE_FILE_SEARCH_H_
#define QMPECORE_TESTS_FIND_REFERENCE_FILE_SEARCH_H_

#include <cstdint>
#include <string>

#include "qmpecore/find_result.h"
#include "reference_match.h"
#include "reference_text.h"

namespace qm::testing {

// The results of `bytes`, read from `path` in the project `folder`.
inline void ReferenceSearch(std::string bytes, const std::u16string& needle,
                            const FindOptions& options, const std::u16string& path,
                            const std::u16string& folder, FindResultList* results) {
  bytes = bytes.substr(0, bytes.find('\0'));
  const std::u16string text = FourReplacements(ReferenceDecode(bytes));
  if (needle.empty()) return;
  FindResult result;
  result.tableNumber = 24;
  result.location = path.rfind(folder, 0) == 0 ? path.substr(folder.size()) : path;
  result.label = path;
  result.searchText = needle;
  size_t lineStart = 0;
  for (int32_t number = 1;; ++number) {
    const size_t lineEnd = text.find(u"\r\n", lineStart);
    const std::u16string line = text.substr(lineStart, lineEnd - lineStart);
    const size_t at = ReferenceFirstMatch(line, needle, options);
    if (at != line.npos) {
      result.recordId = number;
      result.column = static_cast<int32_t>(lineStart + at);
      result.matchedText = line;
      results->push_back(result);
    }
    if (lineEnd == text.npos) break;
    lineStart = lineEnd + 2;
  }
}

}  // namespace qm::testing

#endif  // QMPECORE_TESTS_FIND_REFERENCE_FILE_SEARCH_H_
