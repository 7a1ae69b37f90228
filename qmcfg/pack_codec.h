// The byte forms of a packed record (packed_table.h): integers as zigzag
// varints (small magnitudes of either sign take one byte), reals as their
// eight bytes, texts as a varint of (units << 1 | wide) and then one byte a
// unit when every unit is below 0x100, two bytes a unit otherwise. Most
// texts of a project are ASCII, so they cost half of what they do in
// memory and need no conversion to come back.
#ifndef QMPECORE_QMCFG_PACK_CODEC_H_
#define QMPECORE_QMCFG_PACK_CODEC_H_

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "qmcfg/text_codec.h"

namespace qm::cfg {

// Where a PackWriter writes: it asks for room before each value, and the
// area may move the bytes written so far to give it.
class PackArea {
 public:
  // Makes at least `bytes` bytes writable at `*at` (a position this area
  // gave), moving what was written since the run began along with it;
  // updates `*at` and `*end`.
  virtual void MakeRoom(uint8_t** at, uint8_t** end, size_t bytes) = 0;

 protected:
  ~PackArea() = default;
};

class PackWriter {
 public:
  PackWriter(PackArea* area, uint8_t* at, uint8_t* end) : area_(area), at_(at), end_(end) {}

  uint8_t* position() const { return at_; }

  void Unsigned(uint64_t value) {
    Need(10);
    while (value >= 0x80) {
      *at_++ = static_cast<uint8_t>(value | 0x80);
      value >>= 7;
    }
    *at_++ = static_cast<uint8_t>(value);
  }
  void Signed(int64_t value) {
    Unsigned((static_cast<uint64_t>(value) << 1) ^ static_cast<uint64_t>(value >> 63));
  }
  void Real(double value) {
    Need(sizeof value);
    std::memcpy(at_, &value, sizeof value);
    at_ += sizeof value;
  }
  void Text(std::u16string_view text) {
    char16_t widest = 0;
    for (char16_t unit : text) widest |= unit;
    const bool wide = widest > 0xFF;
    Unsigned((static_cast<uint64_t>(text.size()) << 1) | (wide ? 1 : 0));
    const size_t bytes = text.size() * (wide ? sizeof(char16_t) : 1);
    Need(bytes);
    if (wide) {
      std::memcpy(at_, text.data(), bytes);
    } else {
      for (size_t i = 0; i < text.size(); ++i) at_[i] = static_cast<uint8_t>(text[i]);
    }
    at_ += bytes;
  }

 private:
  void Need(size_t bytes) {
    if (static_cast<size_t>(end_ - at_) < bytes) area_->MakeRoom(&at_, &end_, bytes);
  }

  PackArea* area_;
  uint8_t* at_;
  uint8_t* end_;
};

// Reads what a PackWriter wrote. The bytes come from this process's own
// packing, so a reader trusts them and checks no bounds.
class PackReader {
 public:
  explicit PackReader(const uint8_t* at) : at_(at) {}

  const uint8_t* position() const { return at_; }

  uint64_t Unsigned() {
    uint64_t value = 0;
    for (int shift = 0;; shift += 7) {
      const uint8_t byte = *at_++;
      value |= static_cast<uint64_t>(byte & 0x7F) << shift;
      if (byte < 0x80) return value;
    }
  }
  int64_t Signed() {
    const uint64_t zigzag = Unsigned();
    return static_cast<int64_t>(zigzag >> 1) ^ -static_cast<int64_t>(zigzag & 1);
  }
  double Real() {
    double value;
    std::memcpy(&value, at_, sizeof value);
    at_ += sizeof value;
    return value;
  }
  void SkipReal() { at_ += sizeof(double); }
  void SkipText() {
    const uint64_t header = Unsigned();
    at_ += static_cast<size_t>(header >> 1) * (header & 1 ? sizeof(char16_t) : 1);
  }
  void Text(std::u16string* out) {
    const uint64_t header = Unsigned();
    const size_t units = static_cast<size_t>(header >> 1);
    SizeText(out, units);
    if (header & 1) {
      std::memcpy(out->data(), at_, units * sizeof(char16_t));
      at_ += units * sizeof(char16_t);
    } else {
      char16_t* dest = out->data();
      for (size_t i = 0; i < units; ++i) dest[i] = at_[i];
      at_ += units;
    }
  }

 private:
  const uint8_t* at_;
};

}  // namespace qm::cfg

#endif  // QMPECORE_QMCFG_PACK_CODEC_H_
