// The record block: the byte form of the editor list in the registry
// segment, read and written by every process, byte for byte:
//
//   8 bytes   the writer's mapping handle, sign-extended, little-endian
//             (meaningful only to the writer; readers skip it)
//   per entry LF, the id in decimal (at most 11 characters), LF, LF (an
//             empty field between them), the key in UTF-8
//   1 byte    CR
//
// So an empty list is 9 bytes, and each entry adds 3 + the id's digits +
// the key's UTF-8 length.
#ifndef QMPECORE_REGISTRY_EDITOR_MAP_FORMAT_H_
#define QMPECORE_REGISTRY_EDITOR_MAP_FORMAT_H_

#include <cstdint>
#include <string>

#include "registry/registry_lock.h"

namespace qm {

inline constexpr uint64_t kSmallestBlock = 9;

// Appends the block of lock->editors (with lock->mapping as the writer
// handle) to `block`. False when either is null.
bool SerializeEditorMap(const RegistryLock* lock, std::string* block);

// Replaces lock->editors with the list in the `length` bytes at `bytes`.
// False only when a pointer is null or length is below 9. A malformed block
// (first text byte neither CR nor LF, or a token count that is not a
// multiple of 3) reads as an empty list; of two entries with one key the
// first stays; an id reads like _atoi64 and keeps its low 32 bits.
bool ParseEditorMap(const uint8_t* bytes, uint64_t length, RegistryLock* lock);

// True when the block is what a complete write leaves: at least 9 bytes,
// ending with CR, its tokens in threes and its keys valid UTF-8.
bool IsWholeBlock(const uint8_t* bytes, uint64_t length);

}  // namespace qm

#endif  // QMPECORE_REGISTRY_EDITOR_MAP_FORMAT_H_
