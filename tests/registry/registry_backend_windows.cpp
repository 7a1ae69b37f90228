// What the registry tests need of the Windows backend: a private registry
// is a tag on the kernel names of the named objects; they vanish with their
// last handle, so nothing is left to remove.
#include <windows.h>

#include <random>

#include "platform/named_object_windows.h"
#include "registry/registry_lock.h"
#include "registry/registry_test_support.h"

namespace qm::testing {

std::string MakePrivateRegistry() {
  return "qmpe-test-" + std::to_string(std::random_device()()) + ".";
}

void JoinPrivateRegistry(const std::string& token) {
  platform::SetNamedObjectTag(std::u16string(token.begin(), token.end()));
}

void RemovePrivateRegistry(const std::string&) {}

bool RegistrySegmentExists(const std::string& token) {
  JoinPrivateRegistry(token);
  const HANDLE mapping = ::OpenFileMappingW(
      FILE_MAP_READ, FALSE, platform::KernelObjectName(kRegistrySegmentName).c_str());
  if (mapping == nullptr) return false;
  ::CloseHandle(mapping);
  return true;
}

// Running as another user needs that user's password here; the objects'
// default security, which keeps other users out, is the system's own.
bool BecomeUser(uint32_t) { return false; }

bool AbandonedLocksAreHandedOn() { return true; }  // an abandoned mutex

}  // namespace qm::testing
