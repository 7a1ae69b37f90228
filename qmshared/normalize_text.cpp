// Lexical path normalisation: NormalizeText and NormalizeKey. Neither
// touches the file system, so both are deterministic and idempotent.
#include <string>
#include <string_view>
#include <vector>

#include "platform/path_limits.h"
#include "platform/text_case.h"
#include "qmshared/qmshared.h"

namespace qm {
namespace {

using platform::IsPathSeparator;
using platform::kPathSeparator;

// Rewrites `text` in place (the write index never passes the read index):
// every separator becomes the platform's, and a separator right after
// another is dropped, except the second of a leading pair where a leading
// pair names a network share.
void CollapseSeparators(std::u16string* text) {
  size_t write = 0;
  for (size_t read = 0; read < text->size(); ++read) {
    char16_t c = (*text)[read];
    if (IsPathSeparator(c)) {
      const bool afterSeparator = write > 0 && (*text)[write - 1] == kPathSeparator;
      const bool networkPrefix = platform::kPathsHaveNetworkPrefix && write == 1;
      if (afterSeparator && !networkPrefix) continue;
      c = kPathSeparator;
    }
    (*text)[write++] = c;
  }
  text->resize(write);
}

// The part of a collapsed path that ".." never climbs above: the leading
// separators, after a drive where paths have drives.
size_t RootLength(std::u16string_view path) {
  size_t length = 0;
  if constexpr (platform::kPathsHaveDrives) {
    if (path.size() >= 2 && path[1] == u':') length = 2;
  }
  while (length < path.size() && path[length] == kPathSeparator) ++length;
  return length;
}

// Splits the path after its root into its segments, with "." dropped and
// ".." resolved against the segment before it; a ".." with nothing to
// resolve (or only ".." segments before it) is kept.
std::vector<std::u16string_view> ResolveSegments(std::u16string_view rest) {
  std::vector<std::u16string_view> segments;
  size_t start = 0;
  while (start < rest.size()) {
    size_t end = rest.find(kPathSeparator, start);
    if (end == std::u16string_view::npos) end = rest.size();
    std::u16string_view segment = rest.substr(start, end - start);
    start = end + 1;
    if (segment.empty() || segment == u".") continue;
    if (segment == u".." && !segments.empty() && segments.back() != u"..") {
      segments.pop_back();
    } else {
      segments.push_back(segment);
    }
  }
  return segments;
}

}  // namespace

void QM_CALL NormalizeText(std::u16string* text, int32_t, int32_t) {
  if (text != nullptr) CollapseSeparators(text);
}

// The root stays, then the resolved segments joined by the separator, then
// the trailing separator if the text had one. A text that resolves to
// nothing becomes "." so that a non-empty text never becomes empty.
void QM_CALL NormalizeKey(std::u16string* key, int32_t) {
  if (key == nullptr || key->empty()) return;
  CollapseSeparators(key);
  const std::u16string_view path(*key);
  const size_t rootLength = RootLength(path);
  const bool trailing = path.size() > rootLength && path.back() == kPathSeparator;
  std::u16string result(path.substr(0, rootLength));
  const std::vector<std::u16string_view> segments = ResolveSegments(path.substr(rootLength));
  for (size_t i = 0; i < segments.size(); ++i) {
    if (i > 0) result.push_back(kPathSeparator);
    result.append(segments[i]);
  }
  if (result.empty()) result.push_back(u'.');
  if (trailing && result.back() != kPathSeparator) result.push_back(kPathSeparator);
  if constexpr (platform::kPathsFoldCase) {
    std::u16string folded;
    platform::AppendFolded(result, &folded);
    result.swap(folded);
  }
  key->swap(result);
}

}  // namespace qm
