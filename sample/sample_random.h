// The random source of `qmpe sample`: xoshiro256** seeded through
// splitmix64, with its own range helpers. Standard library distributions
// are not used on purpose: their output may change between library
// versions, and a sample must be the same bytes for the same seed on every
// build. Not thread-safe; cheap to copy.
#ifndef QMPECORE_SAMPLE_SAMPLE_RANDOM_H_
#define QMPECORE_SAMPLE_SAMPLE_RANDOM_H_

#include <cstddef>
#include <cstdint>
#include <span>

namespace qm::sample {

class SampleRandom {
 public:
  explicit SampleRandom(uint64_t seed);

  // An independent generator for sub-stream `stream` of this one's seed;
  // this generator is not advanced, so the order in which streams are
  // taken does not change what they produce.
  SampleRandom Fork(uint64_t stream) const;

  uint64_t Next();
  // Uniform in [0, bound); bound must be at least 1.
  uint32_t Below(uint32_t bound);
  // Uniform in [low, high], both included; low <= high.
  int32_t Between(int32_t low, int32_t high);
  // True with probability 1/n; n must be at least 1.
  bool OneIn(uint32_t n);
  // Uniform in [0, 1) with 53 random bits.
  double Unit();

  template <class T>
  const T& Pick(std::span<const T> items) {
    return items[Below(static_cast<uint32_t>(items.size()))];
  }
  template <class T, size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Below(static_cast<uint32_t>(N))];
  }

 private:
  uint64_t seed_;
  uint64_t state_[4];
};

}  // namespace qm::sample

#endif  // QMPECORE_SAMPLE_SAMPLE_RANDOM_H_
