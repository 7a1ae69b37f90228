// The snapshot set is the same whenever the application first asks for it:
// a manager asked at once (its set made at every load, read through the
// address it gave out) and one asked only at the end (its tables packed
// meanwhile) go through the same edits and saves on two copies of one
// project, and their sets must agree after every step.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "config/config_manager.h"
#include "support/sample_config.h"
#include "support/config_sets.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

using testing::TempFolder;

using testing::SameTables;

struct Step {
  const char* what;
  std::function<int32_t(CConfigManagerEx&, const std::u16string& folder)> run;
};

// Edits that each kind of save must carry into the snapshot, or not.
const std::vector<Step>& Steps() {
  static const std::vector<Step> steps = {
      {"edit the working set only",
       [](CConfigManagerEx& m, const std::u16string&) {
         ConfigTableSet& w = *m.GetTables(true);
         w.ioTags->begin()->second.head.name = u"unsaved";
         (*w.general)[u"theme"] = u"unsaved";
         w.alarms->clear();
         return 0;
       }},
      {"save one device's tags",
       [](CConfigManagerEx& m, const std::u16string&) {
         ConfigTableSet& w = *m.GetTables(true);
         IoTagRecord& tag = w.ioTags->rbegin()->second;
         tag.head.description = u"saved with its device";
         return m.Save(kTableIoTags, tag.deviceId);
       }},
      {"save one port's devices",
       [](CConfigManagerEx& m, const std::u16string&) {
         ConfigTableSet& w = *m.GetTables(true);
         IoDeviceRecord& device = w.ioDevices->begin()->second;
         device.driver = u"changed";
         return m.Save(kTableIoDevices, device.portId);
       }},
      {"save the whole tag table",
       [](CConfigManagerEx& m, const std::u16string&) {
         ConfigTableSet& w = *m.GetTables(true);
         testing::AddRecord(*w.ioTags, 77777, u"added").deviceId = 100;
         return m.Save(kTableIoTags, -1);
       }},
      {"save a table of its own",
       [](CConfigManagerEx& m, const std::u16string&) {
         m.GetTables(true)->scripts->begin()->second.fileName = u"other.js";
         return m.Save(kTableScript, 0);
       }},
      {"save General",
       [](CConfigManagerEx& m, const std::u16string&) {
         (*m.GetTables(true)->general)[u"project-id"] = u"renamed";
         return m.Save(kTableGeneral, 0);
       }},
      {"save everything",
       [](CConfigManagerEx& m, const std::u16string&) {
         m.GetTables(true)->timers->clear();
         return m.Save(kAllTables, 0);
       }},
      {"save as",
       [](CConfigManagerEx& m, const std::u16string& folder) {
         m.GetTables(true)->users->begin()->second.security = 9;
         return m.SaveAs((folder + u"/moved.qmp").c_str());
       }},
      {"close", [](CConfigManagerEx& m, const std::u16string&) { return m.Close(); }},
  };
  return steps;
}

// For each step, a fresh pair of managers runs the steps up to it; the lazy
// one asks for its snapshot only after that step.
TEST(SnapshotSet, TheSameWhetherAskedForAtOnceOrOnlyLater) {
  TempFolder original;
  ASSERT_EQ(testing::WriteProjectFile(original.Text("plant.qmp"), testing::SampleSet()), kCfgOk);
  for (size_t last = 0; last < Steps().size(); ++last) {
    SCOPED_TRACE(std::string("asked after: ") + Steps()[last].what);
    TempFolder early, late;
    std::filesystem::copy_file(original / "plant.qmp", early / "plant.qmp");
    std::filesystem::copy_file(original / "plant.qmp", late / "plant.qmp");
    CConfigManagerEx eager, lazy;
    ASSERT_EQ(eager.Open(early.Text("plant.qmp").c_str(), 0), 0);
    ASSERT_EQ(lazy.Open(late.Text("plant.qmp").c_str(), 0), 0);
    const ConfigTableSet* handedOut = eager.GetTables(false);
    ASSERT_NE(handedOut, nullptr);
    ASSERT_TRUE(SameTables(*handedOut, *eager.GetTables(true)));
    for (size_t step = 0; step <= last; ++step) {
      ASSERT_EQ(Steps()[step].run(eager, early.Text()), 0) << Steps()[step].what;
      ASSERT_EQ(Steps()[step].run(lazy, late.Text()), 0) << Steps()[step].what;
    }
    EXPECT_TRUE(SameTables(*eager.GetTables(true), *lazy.GetTables(true)));
    const ConfigTableSet* snapshot = lazy.GetTables(false);
    ASSERT_NE(snapshot, nullptr);
    EXPECT_TRUE(SameTables(*handedOut, *snapshot));  // read through the early address
    EXPECT_EQ(eager.GetTables(false), handedOut);
  }
}

}  // namespace
}  // namespace qm
