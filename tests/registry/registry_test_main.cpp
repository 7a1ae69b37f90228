// The registry tests' main: run as a helper (see RunRegistryHelper) when
// asked, else run the tests.
#include <chrono>
#include <cstring>
#include <iostream>
#include <set>
#include <sstream>

#include "qmpecore/qmpecore.h"
#include "registry/editor_map_format.h"
#include "registry/registry_lock.h"
#include "registry/registry_test_support.h"

namespace qm::testing {
namespace {

std::u16string Wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

std::string Truth(bool value) { return value ? "1" : "0"; }

// Leaves the segment as a write-back killed after `cut` block bytes would,
// and dies holding the mutex. With `lengthFirst` the full length is already
// stored (a writer that stores it first); without, the length reads 0 (as
// our own writer leaves it).
[[noreturn]] void TearAndDie(RegistryLock* lock, size_t cut, bool lengthFirst) {
  lock->editors.emplace(u"torn---" + std::u16string(200, u'k'), 9);
  std::string block;
  SerializeEditorMap(lock, &block);
  const uint64_t length = lengthFirst ? block.size() : 0;
  std::memcpy(lock->view, &length, sizeof length);
  std::memcpy(lock->view + kBlockOffset, block.data(), std::min(cut, block.size()));
  CrashThisProcess();
}

// Adds and removes its own keys until the time is up; answers with the
// keys that it left registered, as far as the answers it got tell.
std::string Churn(const std::string& prefix, int32_t editorId, int milliseconds) {
  std::set<std::string> left;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  for (int i = 0; std::chrono::steady_clock::now() < end; ++i) {
    const std::string key = prefix + "-" + std::to_string(i);
    if (QmAddEditor(Wide(key).c_str(), editorId)) left.insert(key);
    const std::string previous = prefix + "-" + std::to_string(i - 1);
    if (i % 2 == 1 && QmRemoveEditor(Wide(previous).c_str(), editorId)) left.erase(previous);
  }
  std::string reply;
  for (const std::string& key : left) reply += key + " ";
  return reply;
}

[[noreturn]] void ReadForever() {
  std::cout << "ready" << std::endl;
  for (EditorMap list;;) {
    QmEditorExists(u"p");
    QmGetEditors(&list);
  }
}

}  // namespace

// Commands, one a line, each answered with one line:
//   add|remove KEY ID, exists KEY, count: the exports' answers
//   lock, lock-create, unlock: LockRegistry and UnlockRegistry (no write);
//   unlock keep: as unlock, keeping the handles as a non-empty list does
//   tear-zero CUT, tear-length CUT: see TearAndDie (no answer)
//   churn PREFIX ID MILLISECONDS: see Churn
//   read-loop: "ready", then reads until killed
//   become UID: drops to that user and group
int RunRegistryHelper(const std::string& token) {
  JoinPrivateRegistry(token);
  RegistryLock lock;
  std::string line;
  while (std::getline(std::cin, line)) {
    std::istringstream in(line);
    std::string verb, key;
    int32_t id = 0;
    in >> verb;
    std::string reply;
    if (verb == "add" || verb == "remove") {
      in >> key >> id;
      reply = Truth((verb == "add" ? QmAddEditor : QmRemoveEditor)(Wide(key).c_str(), id));
    } else if (verb == "exists") {
      in >> key;
      reply = Truth(QmEditorExists(Wide(key).c_str()));
    } else if (verb == "count") {
      EditorMap list;
      reply = std::to_string(QmGetEditors(&list));
    } else if (verb == "lock" || verb == "lock-create") {
      reply = Truth(LockRegistry(&lock, verb == "lock-create"));
    } else if (verb == "unlock") {
      in >> key;
      if (key == "keep") lock.editors.emplace(u"kept", 1);
      reply = Truth(UnlockRegistry(&lock, false));
    } else if (verb == "tear-zero" || verb == "tear-length") {
      size_t cut = 0;
      in >> cut;
      TearAndDie(&lock, cut, verb == "tear-length");
    } else if (verb == "churn") {
      int milliseconds = 0;
      in >> key >> id >> milliseconds;
      reply = Churn(key, id, milliseconds);
    } else if (verb == "read-loop") {
      ReadForever();
    } else if (verb == "become") {
      in >> id;
      reply = Truth(BecomeUser(static_cast<uint32_t>(id)));
    } else {
      reply = "unknown command: " + line;
    }
    std::cout << reply << std::endl;
  }
  return 0;
}

}  // namespace qm::testing

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], qm::testing::kHelperFlag) == 0) {
    return qm::testing::RunRegistryHelper(argv[2]);
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
