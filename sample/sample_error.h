// What the sample generator throws when it cannot write the project: the
// message names the file and the cause.
#ifndef QMPECORE_SAMPLE_SAMPLE_ERROR_H_
#define QMPECORE_SAMPLE_SAMPLE_ERROR_H_

#include <stdexcept>

namespace qm::sample {

class SampleError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace qm::sample

#endif  // QMPECORE_SAMPLE_SAMPLE_ERROR_H_
