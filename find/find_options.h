// What a find asks of each match besides its text.
#ifndef QMPECORE_FIND_FIND_OPTIONS_H_
#define QMPECORE_FIND_FIND_OPTIONS_H_

#include <cstdint>

namespace qm {

struct FindOptions {
  bool matchCase = false;  // else case-blind, by the platform's fold
  bool wholeWord = false;  // no word character just before or just after
  bool regex = false;      // the text is a PCRE2 pattern

  // The option of QmFind: exactly 1 asks for a case-sensitive find.
  static FindOptions FromMatchCase(int32_t matchCase) { return {matchCase == 1, false, false}; }
  bool plain() const { return !wholeWord && !regex; }
};

// How a find ended.
enum class FindStatus {
  kDone,
  kBadPattern,  // the regular expression does not compile: nothing searched
  kMatchLimit,  // its matching ran past the match limit: the find stopped there
};

}  // namespace qm

#endif  // QMPECORE_FIND_FIND_OPTIONS_H_
