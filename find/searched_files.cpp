#include "find/searched_files.h"

#include <memory>

#include "qmshared/qmshared.h"

namespace qm {

const PatternList& SearchedFileTypes() {
  static const PatternList types = {u"*.htm", u"*.html", u"*.bat", u"*.js",
                                    u"*.svg", u"*.txt",  u"*.css"};
  return types;
}

std::u16string ProjectFolderOf(const std::u16string& projectPath) {
  std::u16string folder;
  auto parts = std::make_unique<PathParts>();
  if (SetPathPartsPath(parts.get(), projectPath) && SplitPath(parts.get())) {
    FormatText(&folder, u"%s%s", parts->drive, parts->directory);
  }
  return folder;
}

}  // namespace qm
