// The small project that the fuzz targets work on, made once per run in a
// fresh temporary folder (removed at exit): the sample configuration in
// plant.qmp and a few text files of the kinds the find searches.
#ifndef QMPECORE_FUZZ_FIXED_PROJECT_H_
#define QMPECORE_FUZZ_FIXED_PROJECT_H_

#include <filesystem>
#include <string>

namespace qm::fuzz {

struct FixedProject {
  std::filesystem::path folder;
  std::filesystem::path projectFile;
};

// Made on the first call; aborts when the project cannot be written.
const FixedProject& TheFixedProject();

}  // namespace qm::fuzz

#endif  // QMPECORE_FUZZ_FIXED_PROJECT_H_
