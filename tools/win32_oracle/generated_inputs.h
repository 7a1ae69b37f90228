// The inputs of every function under test, generated from a seed: the
// oracle generates them to ask Windows, the comparer generates them again
// to check that it reads the same cases the oracle asked.
#ifndef QMPECORE_TOOLS_WIN32_ORACLE_GENERATED_INPUTS_H_
#define QMPECORE_TOOLS_WIN32_ORACLE_GENERATED_INPUTS_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tools/win32_oracle/case_random.h"

namespace qm::oracle {

// The escaped input fields of one case (case_text.h).
using CaseInputs = std::vector<std::string>;

struct FunctionInputs {
  std::string_view function;  // the Win32 name, the first field of each line
  size_t inputCount;
  CaseInputs (*make)(CaseRandom& random);
};

// Every function, in the order the oracle asks them.
std::span<const FunctionInputs> AllFunctionInputs();

// The inputs of each function come from their own engine, so that one
// function's cases do not change when another's do.
uint32_t FunctionSeed(uint32_t seed, size_t functionIndex);

// The oracle's output opens with "seed<TAB>S<TAB>N" (N cases per function)
// and closes with "end<TAB>total", so that a cut stream is noticed.
inline constexpr std::string_view kSeedTag = "seed";
inline constexpr std::string_view kEndTag = "end";
inline constexpr uint32_t kDefaultSeed = 20261206;
inline constexpr uint32_t kDefaultCasesPerFunction = 5000;

}  // namespace qm::oracle

#endif  // QMPECORE_TOOLS_WIN32_ORACLE_GENERATED_INPUTS_H_
