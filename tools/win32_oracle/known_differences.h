// The differences between Windows' answers and ours that are known and
// kept, each with the reason it is kept beside its entry.
#ifndef QMPECORE_TOOLS_WIN32_ORACLE_KNOWN_DIFFERENCES_H_
#define QMPECORE_TOOLS_WIN32_ORACLE_KNOWN_DIFFERENCES_H_

#include <span>
#include <string>
#include <string_view>

namespace qm::oracle {

struct Difference {
  std::string_view function;
  std::span<const std::string> inputs;  // escaped, as in the oracle's line
  std::string_view windows;
  std::string_view ours;
};

struct KnownDifference {
  std::string_view function;
  std::string_view kind;  // what the report calls it
  bool (*explains)(const Difference& difference);
};

// The first known difference that explains `difference`, or nothing.
const KnownDifference* ExplainDifference(const Difference& difference);

}  // namespace qm::oracle

#endif  // QMPECORE_TOOLS_WIN32_ORACLE_KNOWN_DIFFERENCES_H_
