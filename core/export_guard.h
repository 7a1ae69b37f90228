// The C boundary: an export never lets an exception escape. The standard
// containers may throw (exhausted memory, a length beyond max_size); an
// export then answers with its failure value.
#ifndef QMPECORE_CORE_EXPORT_GUARD_H_
#define QMPECORE_CORE_EXPORT_GUARD_H_

#include <utility>

namespace qm {

template <class Result, class Body>
Result GuardExport(Result onFailure, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    return onFailure;
  }
}

template <class Body>
void GuardExport(Body&& body) noexcept {
  try {
    std::forward<Body>(body)();
  } catch (...) {
  }
}

}  // namespace qm

#endif  // QMPECORE_CORE_EXPORT_GUARD_H_
