#include "qmcfg/packed_table.h"

#include <algorithm>
#include <cstring>

namespace qm::cfg {

PackWriter PackedTable::BeginRun() {
  if (blocks_.empty()) AddBlock(kBlockBytes);
  Block& last = blocks_.back();
  runStart_ = last.bytes.get() + last.size;
  return PackWriter(this, runStart_, last.bytes.get() + last.capacity);
}

void PackedTable::MakeRoom(uint8_t** at, uint8_t** end, size_t bytes) {
  const size_t written = static_cast<size_t>(*at - runStart_);
  const size_t capacity = std::max(kBlockBytes, written + bytes);
  // A block holding nothing but this run is replaced rather than kept.
  std::unique_ptr<uint8_t[]> emptied;
  if (blocks_.back().size == 0) {
    emptied = std::move(blocks_.back().bytes);
    blocks_.pop_back();
  }
  AddBlock(capacity);
  uint8_t* moved = blocks_.back().bytes.get();
  std::memcpy(moved, runStart_, written);
  runStart_ = moved;
  *at = moved + written;
  *end = moved + capacity;
}

void PackedTable::AddBlock(size_t capacity) {
  Block block;
  block.bytes = std::make_unique_for_overwrite<uint8_t[]>(capacity);
  block.capacity = capacity;
  blocks_.push_back(std::move(block));
}

void PackedTable::AppendPacked(const uint8_t* run, size_t size) {
  uint8_t* at = BeginRun().position();
  uint8_t* end = blocks_.back().bytes.get() + blocks_.back().capacity;
  if (static_cast<size_t>(end - at) < size) MakeRoom(&at, &end, size);
  std::memcpy(at, run, size);
  blocks_.back().size = static_cast<size_t>(at + size - blocks_.back().bytes.get());
  ++records_;
}

size_t PackedTable::capacity() const {
  size_t total = 0;
  for (const Block& block : blocks_) total += block.capacity;
  return total;
}

void PackedTable::Clear() {
  blocks_.clear();
  records_ = 0;
}

}  // namespace qm::cfg
