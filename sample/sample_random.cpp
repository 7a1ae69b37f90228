#include "sample/sample_random.h"

namespace qm::sample {
namespace {

uint64_t SplitMix64(uint64_t* x) {
  uint64_t z = (*x += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

uint64_t RotateLeft(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

}  // namespace

SampleRandom::SampleRandom(uint64_t seed) : seed_(seed) {
  // splitmix64 never yields four zero words in a row, so the xoshiro state
  // is never the all-zero state that it cannot leave.
  uint64_t x = seed;
  for (uint64_t& word : state_) word = SplitMix64(&x);
}

SampleRandom SampleRandom::Fork(uint64_t stream) const {
  uint64_t x = seed_ ^ RotateLeft(stream * 0xD1B54A32D192ED03ull, 17);
  return SampleRandom(SplitMix64(&x));
}

uint64_t SampleRandom::Next() {
  const uint64_t result = RotateLeft(state_[1] * 5, 7) * 9;
  const uint64_t t = state_[1] << 17;
  state_[2] ^= state_[0];
  state_[3] ^= state_[1];
  state_[1] ^= state_[2];
  state_[0] ^= state_[3];
  state_[2] ^= t;
  state_[3] = RotateLeft(state_[3], 45);
  return result;
}

uint32_t SampleRandom::Below(uint32_t bound) {
  // Multiply-shift with rejection of the short first stretch, so that
  // every value is equally likely (no modulo bias).
  const uint32_t threshold = static_cast<uint32_t>(-bound) % bound;
  for (;;) {
    const uint64_t product = (Next() >> 32) * bound;
    if (static_cast<uint32_t>(product) >= threshold) return static_cast<uint32_t>(product >> 32);
  }
}

int32_t SampleRandom::Between(int32_t low, int32_t high) {
  const uint64_t span = static_cast<uint64_t>(static_cast<int64_t>(high) - low) + 1;
  const uint64_t offset = span > UINT32_MAX ? Next() % span : Below(static_cast<uint32_t>(span));
  return static_cast<int32_t>(static_cast<int64_t>(low) + static_cast<int64_t>(offset));
}

bool SampleRandom::OneIn(uint32_t n) { return Below(n) == 0; }

double SampleRandom::Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

}  // namespace qm::sample
