// What a find asks of each match besides its text, and how many threads
// search its files.
#ifndef QMPECORE_FIND_FIND_OPTIONS_H_
#define QMPECORE_FIND_FIND_OPTIONS_H_

#include <cstdint>

namespace qm {

struct FindOptions {
  bool matchCase = false;  // else case-blind, by the platform's fold
  bool wholeWord = false;  // no word character just before or just after
  bool regex = false;      // the text is a PCRE2 pattern
  // Threads that search the files; 0 for one per usable processor. The
  // results and their order never depend on it.
  uint32_t fileWorkers = 0;

  // The option of QmFind: exactly 1 asks for a case-sensitive find.
  static FindOptions FromMatchCase(int32_t matchCase) { return {matchCase == 1, false, false, 0}; }
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
