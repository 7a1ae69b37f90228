// What the registry tests need of the POSIX backend: a private registry is
// a fresh folder under /dev/shm for the named objects.
#include <grp.h>
#include <stdlib.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <filesystem>

#include "platform/named_object_files.h"
#include "registry/registry_lock.h"
#include "registry/registry_test_support.h"

namespace qm::testing {

std::string MakePrivateRegistry() {
  char pattern[] = "/dev/shm/qmpe-test-XXXXXX";
  EXPECT_NE(mkdtemp(pattern), nullptr);
  return pattern;
}

void JoinPrivateRegistry(const std::string& token) { platform::SetNamedObjectFolder(token); }

void RemovePrivateRegistry(const std::string& token) {
  std::error_code ignored;
  std::filesystem::remove_all(token, ignored);
}

bool RegistrySegmentExists(const std::string& token) {
  return std::filesystem::exists(
      token + "/" +
      platform::NamedObjectFileName(platform::NamedObjectKind::kMapping, kRegistrySegmentName));
}

bool AbandonedLocksAreHandedOn() {
  void* head = nullptr;
  size_t length = 0;
  return syscall(SYS_get_robust_list, 0, &head, &length) == 0;
}

bool BecomeUser(uint32_t id) {
  return setgroups(0, nullptr) == 0 && setresgid(id, id, id) == 0 && setresuid(id, id, id) == 0;
}

}  // namespace qm::testing
