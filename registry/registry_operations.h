// The six registry operations behind the exports QmEditorExists,
// QmAddEditor, QmUpdateEditor, QmRemoveEditor, QmGetEditors and
// QmGetEditor. Each is one transaction: lock, work on the list read from
// the segment, unlock with or without write-back. A failure to lock reads
// as a negative answer (false, or -1 for GetEditors).
#ifndef QMPECORE_REGISTRY_REGISTRY_OPERATIONS_H_
#define QMPECORE_REGISTRY_REGISTRY_OPERATIONS_H_

#include <cstdint>
#include <string>

#include "qmpecore/editor_map.h"

namespace qm {

// The key as the registry stores and compares it: NormalizeText, then
// NormalizeKey. A null key is the empty key.
std::u16string PrepareRegistryKey(const char16_t* key);

bool EditorExists(const char16_t* key);

// Adds (key, editorId) unless the key is present; the only operation that
// creates the registry. An editorId of 0 is refused without a lock.
bool AddEditor(const char16_t* key, int32_t editorId);

// Moves the editor to `key`: the first entry of this editor (in list order)
// whose key differs from `key` ignoring case is removed, and `key` is
// inserted unless another entry holds it. True when an entry was removed.
bool UpdateEditor(const char16_t* key, int32_t editorId);

// Removes the entry of `key` when it belongs to editorId.
bool RemoveEditor(const char16_t* key, int32_t editorId);

// Replaces *list with the registry's list; its size, or -1 (list untouched)
// when the registry cannot be read.
int32_t GetEditors(EditorMap* list);

// True when `key` is registered; its editor id goes to *editorId unless null.
bool GetEditor(const char16_t* key, int32_t* editorId);

}  // namespace qm

#endif  // QMPECORE_REGISTRY_REGISTRY_OPERATIONS_H_
