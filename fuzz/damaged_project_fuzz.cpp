// Opening a damaged project: the fixed project file with bytes flipped or
// cut as the input says. The store and the configuration manager must open
// it or fail with a code, never crash, and never change the file.
//
// The input is a list of flips, five bytes each (a little-endian offset
// into the file, taken modulo its size, and a mask XORed into that byte);
// one to four bytes left over give the length the file is cut to, modulo
// its size.
#include <fstream>
#include <string>

#include "config/config_manager.h"
#include "qmcfg/qmcfg.h"
#include "fixed_project.h"
#include "fuzz_support.h"
#include "support/temp_folder.h"

namespace qm::fuzz {
namespace {

uint32_t LittleEndian(InputReader& input, size_t bytes) {
  uint32_t value = 0;
  for (size_t i = 0; i < bytes; ++i) value |= uint32_t{input.Byte()} << (8 * i);
  return value;
}

std::string Damaged(std::string file, InputReader& input) {
  while (input.left() >= 5) {
    const uint32_t offset = LittleEndian(input, 4);
    file[offset % file.size()] ^= static_cast<char>(input.Byte());
  }
  if (input.left() > 0) file.resize(LittleEndian(input, input.left()) % file.size());
  return file;
}

void OpenThroughTheStore(const std::u16string& path) {
  const ConfigHandle handle = CfgOpenConfig(path.c_str(), 0);
  if (handle == 0) return;
  ConfigTableSet set;
  set.Renew();
  CfgReadAllTables(handle, &set, 115);
  Require(CfgCloseConfig(handle) == kCfgOk, "an open handle closes");
}

void OpenThroughTheManager(const std::u16string& path) {
  CConfigManagerEx* manager = CreateConfigManager(path);
  if (manager == nullptr) return;
  manager->Close();
  delete manager;
}

}  // namespace
}  // namespace qm::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qm::fuzz;
  static const std::string intact = qm::testing::ReadFileBytes(TheFixedProject().projectFile);
  static const std::filesystem::path damagedFile = TheFixedProject().folder / "damaged.qmp";
  InputReader input(data, size);
  const std::string damaged = Damaged(intact, input);
  // SQLite's files beside it go too, so that each run starts alike.
  for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
    std::filesystem::remove(damagedFile.string() + suffix);
  }
  {
    std::ofstream out(damagedFile, std::ios::binary);
    out.write(damaged.data(), static_cast<std::streamsize>(damaged.size()));
    Require(out.good(), "the damaged file is written");
  }
  OpenThroughTheStore(damagedFile.u16string());
  Require(qm::testing::ReadFileBytes(damagedFile) == damaged,
          "the store leaves the file as it was");
  OpenThroughTheManager(damagedFile.u16string());
  Require(qm::testing::ReadFileBytes(damagedFile) == damaged,
          "the manager leaves the file as it was");
  return 0;
}
