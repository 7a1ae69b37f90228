// What the fuzz targets share: reading an input piece by piece, and the
// check whose failure libFuzzer reports as a crash with the input saved.
#ifndef QMPECORE_FUZZ_FUZZ_SUPPORT_H_
#define QMPECORE_FUZZ_FUZZ_SUPPORT_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace qm::fuzz {

inline void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "broken: %s\n", what);
  std::abort();
}

// An input taken from the front: bytes, and UTF-16 units of two bytes
// each (low byte first). What runs out reads as zero or empty.
class InputReader {
 public:
  InputReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }

  // Up to `count` units.
  std::u16string Units(size_t count) {
    std::u16string units;
    while (units.size() < count && at_ + 1 < size_) {
      units.push_back(static_cast<char16_t>(data_[at_] | (data_[at_ + 1] << 8)));
      at_ += 2;
    }
    return units;
  }

  // The units up to a zero unit (which is dropped) or the end.
  std::u16string UnitsToZero() {
    std::u16string units;
    while (at_ + 1 < size_) {
      const char16_t unit = static_cast<char16_t>(data_[at_] | (data_[at_ + 1] << 8));
      at_ += 2;
      if (unit == 0) break;
      units.push_back(unit);
    }
    return units;
  }

  std::string_view Rest() {
    const std::string_view rest(reinterpret_cast<const char*>(data_) + at_, size_ - at_);
    at_ = size_;
    return rest;
  }

  size_t left() const { return size_ - at_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

}  // namespace qm::fuzz

#endif  // QMPECORE_FUZZ_FUZZ_SUPPORT_H_
