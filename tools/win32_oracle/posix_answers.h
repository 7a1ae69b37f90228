// Our answers for the generated inputs: the POSIX stand-in of each Win32
// function, its answer written as the oracle writes Windows' answer.
#ifndef QMPECORE_TOOLS_WIN32_ORACLE_POSIX_ANSWERS_H_
#define QMPECORE_TOOLS_WIN32_ORACLE_POSIX_ANSWERS_H_

#include <span>
#include <string>
#include <string_view>

namespace qm::oracle {

struct PosixAnswer {
  std::string_view function;  // the Win32 function stood in for
  std::string_view standIn;   // ours, for the report
  std::string (*answer)(std::span<const std::string> inputs);
};

// Nothing when no stand-in answers for `function`.
const PosixAnswer* PosixAnswerFor(std::string_view function);

}  // namespace qm::oracle

#endif  // QMPECORE_TOOLS_WIN32_ORACLE_POSIX_ANSWERS_H_
