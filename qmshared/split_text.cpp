// Splitting at any of a set of delimiter characters. The narrow form keeps
// every token (the registry's records have empty fields); the wide form
// drops empty parts (a scope item "3|" names one table).
#include <string>
#include <string_view>
#include <vector>

#include "qmshared/qmshared.h"

namespace qm {
namespace {

template <class Char, class Keep>
void SplitAt(std::basic_string_view<Char> source, std::basic_string_view<Char> delimiters,
             Keep keep) {
  // One delimiter is the common case (the registry splits at LF alone):
  // find() scans for it directly, where find_first_of tests each character
  // against the whole delimiter set.
  const bool single = delimiters.size() == 1;
  size_t start = 0;
  for (;;) {
    size_t end = single ? source.find(delimiters[0], start) : source.find_first_of(delimiters, start);
    if (end == std::basic_string_view<Char>::npos) end = source.size();
    keep(source.substr(start, end - start));
    if (end == source.size()) return;
    start = end + 1;
  }
}

}  // namespace

void QM_CALL SplitNarrowText(std::vector<std::string>* tokens, const std::string& source,
                             const std::string& delimiters, int32_t) {
  if (tokens == nullptr) return;
  tokens->clear();
  SplitAt<char>(source, delimiters, [tokens](std::string_view token) { tokens->emplace_back(token); });
}

void QM_CALL SplitText(std::vector<std::u16string>* parts, const std::u16string& source,
                       const std::u16string& delimiters, int32_t) {
  if (parts == nullptr) return;
  parts->clear();
  SplitAt<char16_t>(source, delimiters, [parts](std::u16string_view part) {
    if (!part.empty()) parts->emplace_back(part);
  });
}

}  // namespace qm
