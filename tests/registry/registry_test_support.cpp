#include "registry/registry_test_support.h"

#include "qmpecore/qmpecore.h"

namespace qm::testing {

void RegistryTest::SetUp() {
  registry_ = MakePrivateRegistry();
  JoinPrivateRegistry(registry_);
}

void RegistryTest::TearDown() { RemovePrivateRegistry(registry_); }

EditorMap RegistryTest::Editors() {
  EditorMap list;
  EXPECT_GE(QmGetEditors(&list), 0);
  return list;
}

Helper::Helper(const std::string& registry) : process_({kHelperFlag, registry}) {}

void Helper::Send(const std::string& command) {
  ASSERT_TRUE(process_.Write(command + "\n")) << "the helper is gone";
}

std::string Helper::ReadLine() {
  size_t end;
  while ((end = buffered_.find('\n')) == std::string::npos) {
    char chunk[4096];
    const size_t got = process_.Read(chunk, sizeof chunk);
    if (got == 0) return std::exchange(buffered_, {});
    buffered_.append(chunk, got);
  }
  std::string line = buffered_.substr(0, end);
  buffered_.erase(0, end + 1);
  if (!line.empty() && line.back() == '\r') line.pop_back();  // text-mode output
  return line;
}

}  // namespace qm::testing
