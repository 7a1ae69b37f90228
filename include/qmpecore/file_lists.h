// The containers of a file request: the sorted answer and the pattern lists.
#ifndef QMPECORE_FILE_LISTS_H_
#define QMPECORE_FILE_LISTS_H_

#include <set>
#include <string>
#include <vector>

namespace qm {

// Unique paths ordered code unit by code unit as unsigned 16-bit numbers
// (so an astral character, stored as surrogates, sorts before U+E000).
using FileNameSet = std::set<std::u16string>;

// Wildcard patterns ("*" any run, "?" one character, case-blind).
using PatternList = std::vector<std::u16string>;

}  // namespace qm

#endif  // QMPECORE_FILE_LISTS_H_
