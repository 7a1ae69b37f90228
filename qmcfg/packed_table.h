// A compact copy of a record table. The configuration manager keeps its
// snapshot set this way until something needs it as maps: as maps a tag
// costs a map node, its key and up to five heap texts (about 650 bytes on
// x86_64), packed it costs little more than its stored bytes.
//
// A record is one run of bytes (pack_codec.h): a flags varint, the id, the
// key when it is not RecordKey(id), then every other member in one fixed
// order: the head, the schema's columns (tables.cpp), the owner's name.
// Runs are appended in the table's key order and never span blocks, so the
// copy grows by blocks of kBlockBytes and never needs one large range of
// address space (which a 32-bit process may not have).
//
// Invariant: unpacking gives records equal to those packed (operator==,
// so every member, including those the store never saves) under the same
// keys and in the same order.
#ifndef QMPECORE_QMCFG_PACKED_TABLE_H_
#define QMPECORE_QMCFG_PACKED_TABLE_H_

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>


#include "qmcfg/pack_codec.h"
#include "qmcfg/tables.h"
#include "qmpecore/config_records.h"

namespace qm::cfg {

// Calls `visit(member)` for every member of `record` but its id, in the
// packed order. `R` is a record type or its const form.
template <class R, class Visit>
void ForEachPackedMember(R& record, Visit&& visit) {
  using Record = std::remove_const_t<R>;
  const TableSchema<Record>& schema = SchemaOf<Record>();
  visit(record.head.ownerTable);
  visit(record.head.editState);
  visit(record.head.name);
  visit(record.head.description);
  for (const Column<Record>& column : schema.columns) {
    std::visit([&](auto member) { visit(record.*member); }, column.field);
  }
  if (schema.owner) visit(record.*(schema.owner->name));
}

class PackedTable final : private PackArea {
 public:
  static constexpr size_t kBlockBytes = size_t{1} << 18;

  PackedTable() = default;
  PackedTable(const PackedTable&) = delete;
  PackedTable& operator=(const PackedTable&) = delete;
  PackedTable(PackedTable&&) = default;
  PackedTable& operator=(PackedTable&&) = default;
  ~PackedTable() = default;

  // Appends one record; keys must come in ascending order.
  template <class Record>
  void Append(const std::u16string& key, const Record& record);

  // Replaces the content with every record of `table`; when memory runs
  // out (std::bad_alloc) the content stays as it was.
  template <class Record>
  void Assign(const RecordTable<Record>& table) {
    PackedTable fresh;
    for (const auto& [key, record] : table) fresh.Append(key, record);
    *this = std::move(fresh);
  }

  // Adds every packed record to `table`; a key already present takes the
  // packed record.
  template <class Record>
  void Unpack(RecordTable<Record>* table) const;

  // Makes the copy what a table holding its records would be after erasing
  // every key of `erased` (ascending) and then inserting each record of
  // `inserted` under a key that it no longer holds: the update a save of
  // one owner's records makes, without making the table. When memory runs
  // out (std::bad_alloc) the content stays as it was.
  template <class Record>
  void EraseAndInsert(std::span<const std::u16string> erased,
                      const RecordTable<Record>& inserted);

  size_t records() const { return records_; }
  // The bytes held, blocks included whole.
  size_t capacity() const;
  void Clear();

 private:
  struct Block {
    std::unique_ptr<uint8_t[]> bytes;
    size_t size = 0;
    size_t capacity = 0;
  };
  static constexpr uint64_t kExplicitKey = 1;  // a run's flag: the key is not the id's

  // A record's run is written straight into the last block, from
  // BeginRun's position to the one given to EndRun; MakeRoom moves a run
  // that outgrows its block into a new one.
  PackWriter BeginRun();
  void EndRun(const PackWriter& out) {
    blocks_.back().size = static_cast<size_t>(out.position() - blocks_.back().bytes.get());
  }
  void MakeRoom(uint8_t** at, uint8_t** end, size_t bytes) override;
  void AddBlock(size_t capacity);
  void AppendPacked(const uint8_t* run, size_t size);
  // Calls `visit(key, run, size)` for each packed record in order; `key`
  // is only valid during the call.
  template <class Record, class Visit>
  void ForEachRun(Visit&& visit) const;

  std::vector<Block> blocks_;
  size_t records_ = 0;
  uint8_t* runStart_ = nullptr;
};

// The packed forms of the member types.
struct MemberPacker {
  PackWriter& out;
  void operator()(int32_t value) const { out.Signed(value); }
  void operator()(uint16_t value) const { out.Unsigned(value); }
  void operator()(double value) const { out.Real(value); }
  void operator()(const std::u16string& text) const { out.Text(text); }
  void operator()(const ValueSet& values) const {
    out.Unsigned(values.size());
    for (uint16_t value : values) out.Unsigned(value);
  }
  // A variant packs every member, not only the one its type uses, so that
  // what the application left in the others survives too; a mask says
  // which are not zero.
  void operator()(const Variant& value) const {
    out.Unsigned(value.type);
    const bool integer = value.integer != 0;
    const bool real = value.real != 0.0 || std::signbit(value.real);
    const bool text = !value.text.empty();
    out.Unsigned((integer ? 1u : 0u) | (real ? 2u : 0u) | (text ? 4u : 0u));
    if (integer) out.Signed(value.integer);
    if (real) out.Real(value.real);
    if (text) out.Text(value.text);
  }
};

struct MemberUnpacker {
  PackReader& in;
  void operator()(int32_t& value) const { value = static_cast<int32_t>(in.Signed()); }
  void operator()(uint16_t& value) const { value = static_cast<uint16_t>(in.Unsigned()); }
  void operator()(double& value) const { value = in.Real(); }
  void operator()(std::u16string& text) const { in.Text(&text); }
  void operator()(ValueSet& values) const {
    values.clear();
    for (uint64_t count = in.Unsigned(); count > 0; --count) {
      values.insert(values.end(), static_cast<uint16_t>(in.Unsigned()));
    }
  }
  void operator()(Variant& value) const {
    value.type = static_cast<uint16_t>(in.Unsigned());
    const uint64_t mask = in.Unsigned();
    value.integer = mask & 1 ? in.Signed() : 0;
    value.real = mask & 2 ? in.Real() : 0.0;
    if (mask & 4) {
      in.Text(&value.text);
    } else {
      value.text.clear();
    }
  }
};

// Steps over a member without making it.
struct MemberSkipper {
  PackReader& in;
  void operator()(int32_t) const { in.Unsigned(); }
  void operator()(uint16_t) const { in.Unsigned(); }
  void operator()(double) const { in.SkipReal(); }
  void operator()(const std::u16string&) const { in.SkipText(); }
  void operator()(const ValueSet&) const {
    for (uint64_t count = in.Unsigned(); count > 0; --count) in.Unsigned();
  }
  void operator()(const Variant&) const {
    in.Unsigned();
    const uint64_t mask = in.Unsigned();
    if (mask & 1) in.Unsigned();
    if (mask & 2) in.SkipReal();
    if (mask & 4) in.SkipText();
  }
};

// The packed form of one member, to compare a member with what it held.
template <class Member>
std::vector<uint8_t> PackedMember(const Member& member) {
  struct VectorArea final : PackArea {
    std::vector<uint8_t> bytes;
    void MakeRoom(uint8_t** at, uint8_t** end, size_t needed) override {
      const size_t used = static_cast<size_t>(*at - bytes.data());
      bytes.resize(std::max(bytes.size() * 2, used + needed));
      *at = bytes.data() + used;
      *end = bytes.data() + bytes.size();
    }
  } area;
  area.bytes.resize(32);
  PackWriter out(&area, area.bytes.data(), area.bytes.data() + area.bytes.size());
  MemberPacker{out}(member);
  area.bytes.resize(static_cast<size_t>(out.position() - area.bytes.data()));
  return std::move(area.bytes);
}

template <class Record>
void PackedTable::Append(const std::u16string& key, const Record& record) {
  PackWriter out = BeginRun();
  const bool explicitKey = !IsRecordKeyOf(key, record.head.id);
  out.Unsigned(explicitKey ? kExplicitKey : 0);
  out.Signed(record.head.id);
  if (explicitKey) out.Text(key);
  ForEachPackedMember(record, MemberPacker{out});
  EndRun(out);
  ++records_;
}

template <class Record>
void PackedTable::Unpack(RecordTable<Record>* table) const {
  std::u16string key;
  for (const Block& block : blocks_) {
    PackReader in(block.bytes.get());
    const uint8_t* end = block.bytes.get() + block.size;
    while (in.position() < end) {
      const uint64_t flags = in.Unsigned();
      const auto id = static_cast<int32_t>(in.Signed());
      // Records come in key order: the hint is exact for a table that holds
      // none of these keys yet, as the snapshot's tables do.
      const size_t before = table->size();
      auto placed = table->end();
      if (flags & kExplicitKey) {
        in.Text(&key);
        placed = table->try_emplace(table->end(), key);
      } else {
        placed = table->try_emplace(table->end(), RecordKey(id));
      }
      Record& record = placed->second;
      if (table->size() == before) record = Record();
      record.head.id = id;
      ForEachPackedMember(record, MemberUnpacker{in});
    }
  }
}

template <class Record, class Visit>
void PackedTable::ForEachRun(Visit&& visit) const {
  static const Record kShape;  // only its members' types are used
  std::u16string key;
  for (const Block& block : blocks_) {
    PackReader in(block.bytes.get());
    const uint8_t* end = block.bytes.get() + block.size;
    while (in.position() < end) {
      const uint8_t* run = in.position();
      const uint64_t flags = in.Unsigned();
      const auto id = static_cast<int32_t>(in.Signed());
      if (flags & kExplicitKey) {
        in.Text(&key);
      } else {
        key = RecordKey(id);
      }
      ForEachPackedMember(kShape, MemberSkipper{in});
      visit(key, run, static_cast<size_t>(in.position() - run));
    }
  }
}

// A merge of three ascending sequences: the packed runs, the erased keys
// and the inserted records. A run stays unless its key is erased; an
// inserted record goes in where no run stays under its key.
template <class Record>
void PackedTable::EraseAndInsert(std::span<const std::u16string> erased,
                                 const RecordTable<Record>& inserted) {
  PackedTable fresh;
  auto gone = erased.begin();
  auto added = inserted.begin();
  ForEachRun<Record>([&](const std::u16string& key, const uint8_t* run, size_t size) {
    for (; added != inserted.end() && added->first < key; ++added) {
      fresh.Append(added->first, added->second);
    }
    while (gone != erased.end() && *gone < key) ++gone;
    const bool erasedHere = gone != erased.end() && *gone == key;
    if (!erasedHere) fresh.AppendPacked(run, size);
    if (added != inserted.end() && added->first == key) {
      if (erasedHere) fresh.Append(added->first, added->second);
      ++added;
    }
  });
  for (; added != inserted.end(); ++added) fresh.Append(added->first, added->second);
  *this = std::move(fresh);
}

}  // namespace qm::cfg

#endif  // QMPECORE_QMCFG_PACKED_TABLE_H_
