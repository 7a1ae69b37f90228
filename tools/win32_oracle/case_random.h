// The random source of the generated inputs. The engine's raw outputs are
// fixed by the C++ standard, but the standard distributions are not (each
// standard library maps them differently), so every choice here is made
// from the raw outputs alone and the inputs come out the same from the
// Windows and the Linux build. For the same reason no expression draws
// twice: the order in which its operands are evaluated is unspecified.
#ifndef QMPECORE_TOOLS_WIN32_ORACLE_CASE_RANDOM_H_
#define QMPECORE_TOOLS_WIN32_ORACLE_CASE_RANDOM_H_

#include <cstddef>
#include <cstdint>
#include <random>
#include <span>

namespace qm::oracle {

class CaseRandom {
 public:
  explicit CaseRandom(uint32_t seed) : engine_(seed) {}

  uint32_t Next() { return static_cast<uint32_t>(engine_()); }
  // 0 to bound - 1 (bound > 0); the slight bias of the modulo is harmless.
  uint32_t Below(uint32_t bound) { return Next() % bound; }
  bool OneIn(uint32_t n) { return Below(n) == 0; }

  template <class T>
  const T& Pick(std::span<const T> items) {
    return items[Below(static_cast<uint32_t>(items.size()))];
  }

 private:
  std::mt19937 engine_;
};

}  // namespace qm::oracle

#endif  // QMPECORE_TOOLS_WIN32_ORACLE_CASE_RANDOM_H_
