#include <sched.h>
#include <unistd.h>

#include "platform/processor_count.h"

namespace qm::platform {

size_t UsableProcessorCount() {
  cpu_set_t allowed;
  CPU_ZERO(&allowed);
  if (::sched_getaffinity(0, sizeof allowed, &allowed) == 0) {
    const int count = CPU_COUNT(&allowed);
    if (count > 0) return static_cast<size_t>(count);
  }
  // A machine with more processors than the set holds refuses the call.
  const long online = ::sysconf(_SC_NPROCESSORS_ONLN);
  return online > 0 ? static_cast<size_t>(online) : 1;
}

}  // namespace qm::platform
