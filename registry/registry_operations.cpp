#include "registry/registry_operations.h"

#include <utility>

#include "platform/text_case.h"
#include "registry/registry_lock.h"
#include "qmshared/qmshared.h"

namespace qm {
namespace {

// One operation's hold on the registry. Whatever way the operation leaves,
// an exception included, the lock's own destructor gives up a hold that
// Unlock did not (registry_lock.h).
class RegistryTransaction {
 public:
  explicit RegistryTransaction(bool create) : locked_(LockRegistry(&lock_, create)) {}
  RegistryTransaction(const RegistryTransaction&) = delete;
  RegistryTransaction& operator=(const RegistryTransaction&) = delete;

  bool locked() const { return locked_; }
  EditorMap& editors() { return lock_.editors; }

  void Unlock(bool writeBack) { UnlockRegistry(&lock_, writeBack); }

 private:
  RegistryLock lock_;
  const bool locked_;  // what LockRegistry answered
};

// The frame of the read-only operations: lock, unlock at once, and work on
// the copy. The list is taken only after the unlock, which decides by its
// size whether to keep the handles.
bool ReadRegistry(EditorMap* editors) {
  RegistryTransaction registry(false);
  if (!registry.locked()) return false;
  registry.Unlock(false);
  *editors = std::move(registry.editors());
  return true;
}

}  // namespace

std::u16string PrepareRegistryKey(const char16_t* key) {
  std::u16string prepared = key != nullptr ? key : u"";
  NormalizeText(&prepared, 0, 0);
  NormalizeKey(&prepared, -1);
  return prepared;
}

bool EditorExists(const char16_t* key) {
  EditorMap editors;
  if (!ReadRegistry(&editors) || editors.empty()) return false;
  return editors.contains(PrepareRegistryKey(key));
}

bool AddEditor(const char16_t* key, int32_t editorId) {
  if (editorId == 0) return false;
  RegistryTransaction registry(true);
  if (!registry.locked()) return false;
  const bool added = registry.editors().emplace(PrepareRegistryKey(key), editorId).second;
  registry.Unlock(added);
  return added;
}

bool UpdateEditor(const char16_t* key, int32_t editorId) {
  if (editorId == 0) return false;
  RegistryTransaction registry(false);
  if (!registry.locked()) return false;
  const std::u16string prepared = PrepareRegistryKey(key);
  EditorMap& editors = registry.editors();
  bool changed = false;
  for (auto entry = editors.begin(); entry != editors.end(); ++entry) {
    if (entry->second != editorId) continue;
    // The editor already names this project: not a change, and not a stop.
    if (platform::CompareTextIgnoreCase(prepared, entry->first) == 0) continue;
    editors.erase(entry);
    editors.emplace(prepared, editorId);  // kept out when another entry holds it
    changed = true;
    break;
  }
  registry.Unlock(changed);
  return changed;
}

bool RemoveEditor(const char16_t* key, int32_t editorId) {
  RegistryTransaction registry(false);
  if (!registry.locked()) return false;
  EditorMap& editors = registry.editors();
  const auto entry = editors.find(PrepareRegistryKey(key));
  const bool removed = entry != editors.end() && entry->second == editorId;
  if (removed) editors.erase(entry);
  registry.Unlock(removed);
  return removed;
}

int32_t GetEditors(EditorMap* list) {
  if (list == nullptr) return -1;
  EditorMap editors;
  if (!ReadRegistry(&editors)) return -1;
  *list = std::move(editors);
  return static_cast<int32_t>(list->size());
}

bool GetEditor(const char16_t* key, int32_t* editorId) {
  EditorMap editors;
  if (!ReadRegistry(&editors) || editors.empty()) return false;
  const auto entry = editors.find(PrepareRegistryKey(key));
  if (entry == editors.end()) return false;
  if (editorId != nullptr) *editorId = entry->second;
  return true;
}

}  // namespace qm
