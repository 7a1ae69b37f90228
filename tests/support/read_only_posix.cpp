#include "support/read_only_posix.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace qm::testing {
namespace {

constexpr char kModesDoNotBind[] =
    "file modes do not stop this process's writes (it runs as root, or as root in a user "
    "namespace)";

// True when this process can still make a file in `folder`.
bool CanCreateIn(const std::filesystem::path& folder) {
  const std::string probe = (folder / ".probe").string();
  const int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  close(fd);
  unlink(probe.c_str());
  return true;
}

}  // namespace

const char* NameOf(ReadOnlyWay way) {
  switch (way) {
    case ReadOnlyWay::kFileMode:
      return "a read-only project file";
    case ReadOnlyWay::kFolderMode:
      return "a read-only folder";
    case ReadOnlyWay::kMount:
      return "a read-only mount";
  }
  return "?";
}

ReadOnlyProject::ReadOnlyProject(ReadOnlyWay way, const std::filesystem::path& folder,
                                 const std::filesystem::path& file)
    : way_(way), folder_(folder), file_(file) {
  switch (way) {
    case ReadOnlyWay::kFileMode: {
      chmod(file.c_str(), 0444);
      const int fd = open(file.c_str(), O_WRONLY | O_CLOEXEC);
      if (fd >= 0) {
        close(fd);
        whyNot_ = kModesDoNotBind;
      }
      break;
    }
    case ReadOnlyWay::kFolderMode:
      chmod(folder.c_str(), 0555);
      if (CanCreateIn(folder)) whyNot_ = kModesDoNotBind;
      break;
    case ReadOnlyWay::kMount:
      if (std::getenv("QM_OWN_MOUNT_NAMESPACE") == nullptr) {
        whyNot_ = "not in a mount namespace of its own (see tests/support/private_registry.sh)";
      } else if (mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0) {
        whyNot_ = std::string("cannot bind-mount the folder: ") + std::strerror(errno);
      } else {
        mounted_ = true;
        if (mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) !=
            0) {
          whyNot_ = std::string("cannot make the mount read-only: ") + std::strerror(errno);
        }
      }
      break;
  }
}

ReadOnlyProject::~ReadOnlyProject() {
  if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
  if (way_ == ReadOnlyWay::kFileMode) chmod(file_.c_str(), 0644);
  if (way_ == ReadOnlyWay::kFolderMode) chmod(folder_.c_str(), 0755);
}

}  // namespace qm::testing
