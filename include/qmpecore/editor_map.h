// The editor registry's list: project path to editor id.
#ifndef QMPECORE_EDITOR_MAP_H_
#define QMPECORE_EDITOR_MAP_H_

#include <cstdint>
#include <map>
#include <string>

namespace qm {

struct EditorEntry {
  std::u16string projectPath;
  int32_t editorId = 0;
};

// Ordered by projectPath code unit by code unit as unsigned 16-bit numbers
// (std::u16string's own order), exact and case-sensitive.
using EditorMap = std::map<std::u16string, int32_t>;

}  // namespace qm

#endif  // QMPECORE_EDITOR_MAP_H_
