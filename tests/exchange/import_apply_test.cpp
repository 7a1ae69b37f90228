// Applying an import: the table saved through the configuration manager
// and read back as the file said, or, when anything stands in the way,
// nothing changed at all.
#include <gtest/gtest.h>

#include "config/config_manager.h"
#include "exchange_test_support.h"
#include "registry/registry_operations.h"
#include "support/failing_files.h"
#include "support/stored_tables.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

using exchange::ApplyStatus;

class ImportApplyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    project_ = folder_.Text("plant.qmp");
    ASSERT_EQ(testing::WriteProjectFile(project_, testing::SampleSet(0, 4)), kCfgOk);
    ASSERT_EQ(manager_.Open(project_.c_str(), 0), 0);
    editor_.projectPath = project_;
    editor_.configManager = &manager_;
  }

  exchange::ImportPreview Check(const std::string& file, bool replace = false) {
    return exchange::CheckImport(
        {*manager_.GetTables(true), kTableIoTags, file, u"tags.csv", replace, project_, {}});
  }
  ConfigTableSet Stored() { return testing::StoredTables(project_); }

  testing::TempFolder folder_;
  std::u16string project_;
  CConfigManagerEx manager_;
  EditorData editor_;
};

const char kFile[] = "ID,Name,Address,Device ID\n1000,Tag00.Renamed,5,100\n,Fresh,7,102\n";

TEST_F(ImportApplyTest, TheTableIsSavedAsTheFileSaysAndOnlyReplaceRemoves) {
  for (bool replace : {false, true}) {
    const exchange::ImportPreview preview = Check(kFile, replace);
    ASSERT_EQ(testing::ProblemLines(preview), "");
    ASSERT_EQ(exchange::ApplyImport(preview, editor_, 0).status, ApplyStatus::kDone);
    const ConfigTableSet stored = Stored();
    EXPECT_TRUE(*stored.ioTags == *manager_.GetTables(true)->ioTags);
    EXPECT_EQ(stored.ioTags->at(RecordKey(1000)).head.name, u"Tag00.Renamed");
    EXPECT_EQ(stored.ioTags->at(RecordKey(1000)).address, 5);
    EXPECT_EQ(stored.ioTags->at(RecordKey(1004)).deviceName, u"PLC20");
    EXPECT_EQ(stored.ioTags->size(), replace ? 2u : 5u);
    // The same file again is no change.
    EXPECT_TRUE(Check(kFile, replace).changes.empty());
  }
}

TEST_F(ImportApplyTest, ARenamedDeviceGivesItsTagsTheNewName) {
  const exchange::ImportPreview preview = exchange::CheckImport(
      {*manager_.GetTables(true), kTableIoDevices, "ID,Name\n100,Gateway\n", u"d", false,
       project_, {}});
  ASSERT_EQ(exchange::ApplyImport(preview, editor_, 0).status, ApplyStatus::kDone);
  EXPECT_EQ(manager_.GetTables(true)->ioTags->at(RecordKey(1000)).deviceName, u"Gateway");
  EXPECT_EQ(manager_.GetTables(false)->ioTags->at(RecordKey(1000)).deviceName, u"Gateway");
}

TEST_F(ImportApplyTest, WhatChangedSinceThePreviewOrAFailedSaveChangesNothing) {
  const ConfigTableSet before = Stored();
  const auto expectNothingChanged = [&](const exchange::ApplyOutcome& outcome,
                                        ApplyStatus status, std::u16string_view why) {
    EXPECT_EQ(outcome.status, status);
    EXPECT_NE(outcome.message.find(why), std::u16string::npos);
    EXPECT_TRUE(testing::SameTables(Stored(), before));
  };
  {
    const exchange::ImportPreview preview = Check(kFile);
    manager_.GetTables(true)->ioTags->at(RecordKey(1000)).path = u"edited meanwhile";
    expectNothingChanged(exchange::ApplyImport(preview, editor_, 0), ApplyStatus::kRefused,
                         u"the table changed in the editor");
    manager_.GetTables(true)->ioTags->at(RecordKey(1000)).path = before.ioTags->at(RecordKey(1000)).path;
  }
  {
    const exchange::ImportPreview preview = Check(kFile);
    CConfigManagerEx other;
    ASSERT_EQ(other.Open(project_.c_str(), 0), 0);
    ASSERT_EQ(other.Save(kTableTimer, -1), 0);  // the same rows, written again
    expectNothingChanged(exchange::ApplyImport(preview, editor_, 0), ApplyStatus::kRefused,
                         u"the project file changed since the preview");
  }
  {
    ASSERT_EQ(manager_.Open(project_.c_str(), 0), 0);
    const exchange::ImportPreview preview = Check(kFile);
    ASSERT_TRUE(AddEditor(project_.c_str(), 7));
    expectNothingChanged(exchange::ApplyImport(preview, editor_, 0), ApplyStatus::kRefused,
                         u"the project is open in editor 7");
    EXPECT_EQ(exchange::ApplyImport(Check(kFile), editor_, 7).status, ApplyStatus::kDone);
    ASSERT_TRUE(RemoveEditor(project_.c_str(), 7));
  }
  {
    testing::FailingSaveManager failing(1, false);
    ASSERT_EQ(failing.Open(project_.c_str(), 0), 0);
    editor_.configManager = &failing;
    const ConfigTableSet& working = *failing.GetTables(true);
    const IoTagTable tagsBefore = *working.ioTags;
    // A text, a number, an owner with the Name it carries, a variant.
    const exchange::ImportPreview preview = exchange::CheckImport(
        {working, kTableIoTags,
         "ID,Name,Address,Device ID,Startup,Startup Type\n1001,Renamed,9,102,2.5,real64\n", u"f",
         true, project_, {}});
    ASSERT_EQ(testing::ProblemLines(preview), "");
    const exchange::ApplyOutcome outcome = exchange::ApplyImport(preview, editor_, 0);
    EXPECT_EQ(outcome.status, ApplyStatus::kFailed);
    EXPECT_TRUE(*working.ioTags == tagsBefore);
    editor_.configManager = &manager_;
  }
  const exchange::ImportPreview faulty = Check("ID,Address\n1000,x\n");
  EXPECT_EQ(exchange::ApplyImport(faulty, editor_, 0).status, ApplyStatus::kRefused);
}

}  // namespace
}  // namespace qm
