// The registry's record block parser on any bytes of any length: it never
// reads past the block, and whatever list it reads is written as a whole
// block that reads back as the same list.
#include <string>

#include "fuzz_support.h"
#include "registry/editor_map_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using qm::fuzz::Require;
  qm::RegistryLock lock;
  const bool parsed = qm::ParseEditorMap(data, size, &lock);
  Require(parsed == (size >= qm::kSmallestBlock), "only a block below 9 bytes is refused");
  const bool whole = qm::IsWholeBlock(data, size);
  if (!parsed) {
    Require(!whole, "a refused block is not whole");
    return 0;
  }
  std::string block;
  Require(qm::SerializeEditorMap(&lock, &block), "the list is written");
  const auto* written = reinterpret_cast<const uint8_t*>(block.data());
  Require(qm::IsWholeBlock(written, block.size()), "a written block is whole");
  qm::RegistryLock again;
  Require(qm::ParseEditorMap(written, block.size(), &again), "a written block is read");
  Require(again.editors == lock.editors, "a written list reads back the same");
  return 0;
}
