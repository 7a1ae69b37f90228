// The kernel objects behind the registry on Windows: their names and
// rights, and a create that the system refuses.
#include <windows.h>

#include "platform/named_object_windows.h"
#include "qmpecore/qmpecore.h"
#include "registry/registry_lock.h"
#include "registry/registry_test_support.h"

namespace qm::testing {
namespace {

using Objects = RegistryTest;

TEST_F(Objects, TheSegmentAndMutexAreNamedKernelObjectsOpenToTheirUser) {
  ASSERT_TRUE(QmAddEditor(u"/p", 1));
  const HANDLE mapping = ::OpenFileMappingW(
      FILE_MAP_ALL_ACCESS, FALSE, platform::KernelObjectName(kRegistrySegmentName).c_str());
  ASSERT_NE(mapping, nullptr) << ::GetLastError();
  const HANDLE mutex = ::OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE,
                                    platform::KernelObjectName(kRegistryMutexName).c_str());
  ASSERT_NE(mutex, nullptr) << ::GetLastError();
  // While this thread holds the mutex, another process's call gives up
  // after its one wait (a call of this thread would enter: it is recursive).
  ASSERT_EQ(::WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
  EXPECT_EQ(Helper(registry()).Ask("exists /p"), "0");
  ASSERT_TRUE(::ReleaseMutex(mutex));
  EXPECT_EQ(Helper(registry()).Ask("exists /p"), "1");
  ::CloseHandle(mutex);
  ::CloseHandle(mapping);
}

// Where the user may not create objects in the global namespace, the
// create of the segment fails (access denied); a name that the kernel
// refuses takes the same way, which is what wine lets a test show.
TEST_F(Objects, ASegmentTheSystemWillNotCreateFailsTheCall) {
  JoinPrivateRegistry(registry() + "no\\such\\namespace\\");
  EXPECT_FALSE(QmAddEditor(u"/p", 1));
  EXPECT_FALSE(QmEditorExists(u"/p"));
  EditorMap list;
  EXPECT_EQ(QmGetEditors(&list), -1);
  JoinPrivateRegistry(registry());
  EXPECT_TRUE(QmAddEditor(u"/p", 1));
}

}  // namespace
}  // namespace qm::testing
