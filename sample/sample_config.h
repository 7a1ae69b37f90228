// The configuration half of `qmpe sample`: a plant of ports, devices and
// tags with the timers, databases, users, trends, outputs, alarms and
// scripts around it, built in memory and written as a new project file.
#ifndef QMPECORE_SAMPLE_SAMPLE_CONFIG_H_
#define QMPECORE_SAMPLE_SAMPLE_CONFIG_H_

#include <cstdint>
#include <string>

#include "qmpecore/config_records.h"

namespace qm::sample {

// How many records each table gets. Devices are spread over the ports and
// tags over the devices; a few records beyond these counts hang on owners
// that do not exist.
struct SampleConfigSize {
  uint32_t timers;
  uint32_t databases;
  uint32_t users;
  uint32_t trends;
  uint32_t ports;
  uint32_t devices;
  uint32_t tags;
  uint32_t outputs;
  uint32_t alarms;
  uint32_t scripts;
};

inline constexpr SampleConfigSize kSmallConfigSize = {16, 8, 14, 8, 8, 24, 144, 8, 64, 20};
inline constexpr SampleConfigSize kLargeConfigSize = {1000, 200,    500, 400,   100,
                                                      2000, 100000, 200, 20000, 2000};

// Renews `set` and fills every table. Every enumeration value of the grids
// (and some unlisted ones), every tag type code, and every variant type of
// the project file layout occurs, as long as the size is at least
// kSmallConfigSize. The same size and seed give the same records.
void BuildSampleConfig(const SampleConfigSize& size, uint64_t seed, ConfigTableSet* set);

// Writes `set` as the project file at `path` (UTF-8), which should not
// exist yet. Throws SampleError naming the file and the store's code.
void WriteSampleConfig(const std::string& path, const ConfigTableSet& set);

}  // namespace qm::sample

#endif  // QMPECORE_SAMPLE_SAMPLE_CONFIG_H_
