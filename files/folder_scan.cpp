#include "files/folder_scan.h"

#include <algorithm>

#include "platform/folder_enumeration.h"
#include "platform/path_limits.h"
#include "shared_lib/qmshared.h"

namespace qm {
namespace {

struct Walk {
  std::vector<std::u16string>* files;
  // The folders from the top down to the one being read. Only these guard
  // against cycles: a folder seen elsewhere in the tree is entered again.
  std::vector<platform::FolderIdentity> openFolders;
};

// Each level holds its folder open while its subfolders are read, so the
// entries after a subfolder come from the same enumeration.
void ScanInto(std::u16string folder, Walk* walk) {
  NormalizeText(&folder, 0, 0);
  if (folder.empty()) return;
  platform::FolderReader reader;
  if (reader.Open(folder) != platform::FsStatus::kOk) return;
  const auto& onPath = walk->openFolders;
  if (std::find(onPath.begin(), onPath.end(), reader.identity()) != onPath.end()) return;
  walk->openFolders.push_back(reader.identity());

  platform::FolderEntry entry;
  std::u16string path;
  while (reader.Next(&entry)) {
    path.assign(folder).append(entry.name);
    if (entry.isDirectory) {
      path.push_back(platform::kPathSeparator);
      ScanInto(std::move(path), walk);
    } else {
      NormalizeText(&path, 0, 0);
      walk->files->push_back(std::move(path));
    }
    path.clear();
  }
  walk->openFolders.pop_back();
}

}  // namespace

int32_t ScanFolder(std::u16string_view folder, std::vector<std::u16string>* files) {
  std::u16string start(folder);
  NormalizeText(&start, 0, 0);
  if (start.empty()) return -1;
  Walk walk{files, {}};
  ScanInto(std::move(start), &walk);
  return static_cast<int32_t>(files->size());
}

}  // namespace qm
