#include <bit>
#include <cstdint>

#include "platform/processor_count.h"
#include "platform/windows_api.h"

namespace qm::platform {

size_t UsableProcessorCount() {
  DWORD_PTR process = 0;
  DWORD_PTR system = 0;
  if (GetProcessAffinityMask(GetCurrentProcess(), &process, &system) && process != 0) {
    return static_cast<size_t>(std::popcount(static_cast<uintptr_t>(process)));
  }
  // The threads of a process run in one processor group unless told
  // otherwise; this counts the processors of the process's group.
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwNumberOfProcessors > 0 ? info.dwNumberOfProcessors : 1;
}

}  // namespace qm::platform
