// One found place and the caller's list of them.
#ifndef QMPECORE_FIND_RESULT_H_
#define QMPECORE_FIND_RESULT_H_

#include <cstdint>
#include <string>
#include <vector>

namespace qm {

// A table hit names a record field; a file hit (tableNumber 24) names a
// line: recordId is then the line number and column the offset of the match
// in the whole normalised file text.
struct FindResult {
  int32_t tableNumber = -1;
  std::u16string location;
  int32_t recordId = 0;
  int32_t column = -1;
  std::u16string columnName;
  std::u16string label;
  std::u16string matchedText;
  std::u16string searchText;
  int32_t parentId = 0;

  friend bool operator==(const FindResult&, const FindResult&) = default;
};

// Owned by the caller; a find only appends to it.
using FindResultList = std::vector<FindResult>;

}  // namespace qm

#endif  // QMPECORE_FIND_RESULT_H_
