// Tests write paths with "/"; these give them as the platform writes them.
#ifndef QMPECORE_TESTS_SUPPORT_NATIVE_PATH_H_
#define QMPECORE_TESTS_SUPPORT_NATIVE_PATH_H_

#include <algorithm>
#include <string>

#include "platform/path_limits.h"

namespace qm::testing {

inline std::u16string Native(std::u16string path) {
  std::replace(path.begin(), path.end(), u'/', platform::kPathSeparator);
  return path;
}

}  // namespace qm::testing

#endif  // QMPECORE_TESTS_SUPPORT_NATIVE_PATH_H_
