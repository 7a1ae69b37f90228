#include "files/folder_scan.h"

#include <cstdint>
#include <functional>
#include <unordered_set>

#include "platform/folder_enumeration.h"
#include "platform/path_limits.h"
#include "qmshared/qmshared.h"

namespace qm {
namespace {

struct FolderIdentityHash {
  size_t operator()(const platform::FolderIdentity& id) const {
    return std::hash<uint64_t>()(id.inode * 0x9E3779B97F4A7C15ULL ^ id.device);
  }
};

struct Walk {
  std::vector<std::u16string>* files;
  std::vector<UnreadFolder>* unread;
  // Every folder entered so far. A folder is entered once per scan, by the
  // first path that reaches it: links that share targets would otherwise
  // list a tree once per path through them, which grows exponentially with
  // the depth of the links, and a link to the root would scan the disk.
  std::unordered_set<platform::FolderIdentity, FolderIdentityHash> entered;
};

// Each level holds its folder open while its subfolders are read, so the
// entries after a subfolder come from the same enumeration.
void ScanInto(std::u16string folder, Walk* walk) {
  NormalizeText(&folder, 0, 0);
  if (folder.empty()) return;
  platform::FolderReader reader;
  if (reader.Open(folder) == platform::FsStatus::kOk) {
    if (!walk->entered.insert(reader.identity()).second) return;
    platform::FolderEntry entry;
    std::u16string path;
    while (reader.Next(&entry)) {
      path.assign(folder).append(entry.name);
      if (entry.kind == platform::EntryKind::kFolder) {
        path.push_back(platform::kPathSeparator);
        ScanInto(std::move(path), walk);
      } else if (entry.kind == platform::EntryKind::kFile) {
        NormalizeText(&path, 0, 0);
        walk->files->push_back(std::move(path));
      }
      path.clear();
    }
  }
  // Its open or one of its reads failed.
  if (reader.status() != platform::FsStatus::kOk) {
    walk->unread->push_back({std::move(folder), reader.status(), reader.nativeError()});
  }
}

}  // namespace

int32_t ScanFolder(std::u16string_view folder, std::vector<std::u16string>* files,
                   std::vector<UnreadFolder>* unread) {
  std::u16string start(folder);
  NormalizeText(&start, 0, 0);
  if (start.empty()) return -1;
  Walk walk{files, unread, {}};
  ScanInto(std::move(start), &walk);
  return static_cast<int32_t>(files->size());
}

}  // namespace qm
