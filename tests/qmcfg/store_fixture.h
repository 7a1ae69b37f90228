// Shared pieces of the store's tests: a temporary folder per test, the
// sample configuration (support/sample_config.h), and direct SQLite access to look into (and tamper with) the files the store writes.
#ifndef QMPECORE_TESTS_QMCFG_STORE_FIXTURE_H_
#define QMPECORE_TESTS_QMCFG_STORE_FIXTURE_H_

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "qmcfg/qmcfg.h"
#include "support/config_sets.h"
#include "support/sample_config.h"
#include "support/sql.h"
#include "support/temp_folder.h"

namespace qm::test {

using testing::Add;
using testing::EveryVariant;
using testing::MakeVariant;
using testing::SampleSet;
using testing::Widen;

using testing::SameTables;

// Every table read through a fresh handle on `path`; `code` gets the
// read's result (kCfgBadHandle when the open failed).
inline ConfigTableSet ReadBack(const std::u16string& path, int32_t* code) {
  ConfigTableSet set;
  set.Renew();
  const ConfigHandle handle = CfgOpenConfig(path.c_str(), 0);
  *code = CfgReadAllTables(handle, &set, 115);
  CfgCloseConfig(handle);
  return set;
}

using testing::ReadFileBytes;

using testing::Sql;

// A fresh folder per test, removed afterwards; `file_` is a project path
// in it that does not exist yet.
class StoreTest : public ::testing::Test {
 protected:
  qm::testing::TempFolder folder_;
  std::filesystem::path file_ = folder_ / "plant.qmp";
  std::u16string path_ = folder_.Text("plant.qmp");

  // Writes `set` to a new handle on the project path; the write's code.
  int32_t WriteAll(const ConfigTableSet& set) { return testing::WriteProjectFile(path_, set); }
};

}  // namespace qm::test

#endif  // QMPECORE_TESTS_QMCFG_STORE_FIXTURE_H_
