// Replace across a project on disk: the preview, round trips, the Name
// rules, refusals, and failures injected at each write and at the save.
#include "replace/project_replace.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>

#include "config/config_manager.h"
#include "core/editor_manager.h"
#include "registry/registry_operations.h"
#include "support/config_sets.h"
#include "support/failing_files.h"
#include "support/native_path.h"
#include "support/stored_tables.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

using testing::AddRecord;
using testing::FailingFiles;
using testing::FailingSaveManager;

constexpr FindOptions kMatchCase{true, false, false};

std::string Narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

class ProjectReplaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ConfigTableSet set;
    set.Renew();
    (*set.general)[std::u16string(kGeneralProjectId)] = u"Pump station";
    AddRecord(*set.ioPorts, 1, u"Line1");
    AddRecord(*set.ioDevices, 2, u"Pump.PLC").portId = 1;
    AddRecord(*set.ioTags, 3, u"Pump.Speed").deviceId = 2;
    AddRecord(*set.ioTags, 4, u"Pump.Level").deviceId = 2;
    AlarmRecord& alarm = AddRecord(*set.alarms, 5, u"high");
    alarm.tagId = 3;
    alarm.message = u"Pump.Speed high, Pump.Speed!";
    ASSERT_EQ(testing::WriteProjectFile(folder_.Text("plant.qmp"), set), kCfgOk);
    Write("pages/crlf.htm", "<b>Pump.Speed</b>\r\nno pump\r\n\r\nPump.Level=Pump.Speed\r\n");
    Write("pages/bom.html", "\xEF\xBB\xBFPump.Speed\rnext\r");
    Write("bad.txt", "\xff\xfePump.Speed\xc3\n\xc3\xa9Pump.Level\n");
    Write("zero.css", std::string("a{Pump.Speed}\0Pump.Speed", 24));
    project_ = folder_.Text("plant.qmp");
    Open();
  }

  void Write(const std::string& name, const std::string& bytes) {
    testing::WriteFileBytes(folder_ / name, bytes);
  }
  void Open() {
    manager_.CloseEditor();
    ASSERT_NE(manager_.OpenEditor(project_.c_str(), 0), nullptr);
  }
  ConfigTableSet& Working() { return *manager_.editorData()->configManager->GetTables(true); }
  ReplacePreview Preview(std::u16string text, std::u16string replacement,
                         FindOptions options = kMatchCase) {
    const ReplaceRequest request{*manager_.editorData(), text, std::move(replacement), options,
                                 [this, text, options](ResultSink& sink) {
                                   return *manager_.Find(u"Entire Project", text.c_str(),
                                                         options, sink);
                                 }};
    return PreviewReplace(request);
  }
  // Previews and applies; the outcome of whichever stopped.
  ReplaceOutcome Replace(std::u16string text, std::u16string replacement,
                         FindOptions options = kMatchCase, FileOperations* files = nullptr) {
    ReplacePreview preview = Preview(std::move(text), std::move(replacement), options);
    if (preview.status != ReplaceStatus::kDone) return {preview.status, preview.message};
    return ApplyReplace(&preview, *manager_.editorData(), 0, files);
  }
  ConfigTableSet Stored() { return testing::StoredTables(project_); }
  void ExpectUnchanged(const std::map<std::string, std::string>& files) {
    EXPECT_EQ(testing::ProjectTextFiles(folder_.path()), files);
    const ConfigTableSet stored = Stored();
    for (const ConfigTableSet* set : {static_cast<const ConfigTableSet*>(&Working()), &stored}) {
      EXPECT_EQ(set->ioTags->at(RecordKey(3)).head.name, u"Pump.Speed");
      EXPECT_EQ(set->alarms->at(RecordKey(5)).message, u"Pump.Speed high, Pump.Speed!")
          << (set == &stored ? "stored" : "working");
    }
  }

  testing::TempFolder folder_;
  std::u16string project_;
  CEditorManager manager_;
};

TEST_F(ProjectReplaceTest, PreviewListsFieldsSkippedFieldsAndLinesAndWritesNothing) {
  const auto files = testing::ProjectTextFiles(folder_.path());
  // The files are planned on a pool: the same list whatever its width.
  for (const uint32_t workers : {1u, 2u, 8u}) {
    FindOptions options = kMatchCase;
    options.fileWorkers = workers;
    const ReplacePreview preview = Preview(u"Speed", u"Rpm", options);
    ASSERT_EQ(preview.status, ReplaceStatus::kDone) << Narrow(preview.message);
    using Row = std::tuple<ReplaceChange::Kind, int32_t, std::u16string, std::u16string, int32_t>;
    std::vector<Row> rows;
    ForEachChange(preview, [&](const ReplaceChange& change) {
      rows.emplace_back(change.kind, change.recordId, change.column,
                        change.kind == ReplaceChange::Kind::kSkipped ? change.before : change.after,
                        change.occurrences);
      return true;
    });
    using K = ReplaceChange::Kind;
    const std::vector<Row> expected = {
        {K::kField, 5, u"Message", u"Pump.Rpm high, Pump.Rpm!", 2},
        {K::kSkipped, 5, u"Tag Name", u"Pump.Speed", 0},
        {K::kField, 3, u"Name", u"Pump.Rpm", 1},
        // Ill-formed bytes read as U+FFFD and stay as they are.
        {K::kFileLine, 1, u"", u"\uFFFD\uFFFDPump.Rpm\uFFFD", 1},
        {K::kFileLine, 1, u"", u"\uFEFFPump.Rpm", 1},
        {K::kFileLine, 1, u"", u"<b>Pump.Rpm</b>", 1},
        {K::kFileLine, 4, u"", u"Pump.Level=Pump.Rpm", 1},
        {K::kFileLine, 1, u"", u"a{Pump.Rpm}", 1},  // only before the zero byte
    };
    EXPECT_EQ(rows, expected) << workers;
    EXPECT_EQ(preview.replaced, 8);
  }
  ExpectUnchanged(files);
}

TEST_F(ProjectReplaceTest, RoundTripGivesBackEveryByteAndTheTables) {
  const auto files = testing::ProjectTextFiles(folder_.path());
  const ConfigTableSet stored = Stored();
  const FindOptions regex{true, false, true};
  ASSERT_EQ(Replace(u"Pump\\.(\\w+)", u"Kessel.$1", regex).status, ReplaceStatus::kDone);
  const auto replaced = testing::ProjectTextFiles(folder_.path());
  EXPECT_EQ(replaced.at("pages/crlf.htm"),
            "<b>Kessel.Speed</b>\r\nno pump\r\n\r\nKessel.Level=Kessel.Speed\r\n");
  EXPECT_EQ(replaced.at("bad.txt"), "\xff\xfeKessel.Speed\xc3\n\xc3\xa9Kessel.Level\n");
  EXPECT_EQ(replaced.at("zero.css"), std::string("a{Kessel.Speed}\0Pump.Speed", 26));
  EXPECT_EQ(replaced.size(), files.size());  // no file left behind
  const ConfigTableSet renamed = Stored();
  EXPECT_EQ(renamed.ioDevices->at(RecordKey(2)).head.name, u"Kessel.PLC");
  EXPECT_EQ(renamed.ioTags->at(RecordKey(4)).deviceName, u"Kessel.PLC");
  // The device's tags carry its new Name in memory as well.
  EXPECT_EQ(Working().ioTags->at(RecordKey(4)).deviceName, u"Kessel.PLC");

  Open();
  ASSERT_EQ(Replace(u"Kessel\\.(\\w+)", u"Pump.$1", regex).status, ReplaceStatus::kDone);
  EXPECT_EQ(testing::ProjectTextFiles(folder_.path()), files);
  const ConfigTableSet back = Stored();
  EXPECT_EQ(*back.ioTags, *stored.ioTags);
  EXPECT_EQ(*back.ioDevices, *stored.ioDevices);
  EXPECT_EQ(*back.alarms, *stored.alarms);
  EXPECT_EQ(*back.general, *stored.general);
}

TEST_F(ProjectReplaceTest, NamesThatCannotBeAreRefusedWhole) {
  const auto files = testing::ProjectTextFiles(folder_.path());
  const FindOptions regex{true, false, true};
  const std::tuple<std::u16string, std::u16string, FindOptions, std::u16string> cases[] = {
      {u"Speed", u"Level", kMatchCase, u"the same Name Pump.Level"},
      {u"Level|Speed", u"X", regex, u"the same Name Pump.X"},
      {u"^Pump\\.Speed$", u"", regex, u"empty"},
      {u"Speed", u"a\nb", kMatchCase, u"line break"},
      {u"(x", u"y", regex, u"missing closing parenthesis"},
  };
  for (const auto& [text, replacement, options, message] : cases) {
    const ReplaceOutcome outcome = Replace(text, replacement, options);
    EXPECT_NE(outcome.status, ReplaceStatus::kDone) << Narrow(text);
    EXPECT_NE(outcome.message.find(message), std::u16string::npos)
        << Narrow(outcome.message);
  }
  ExpectUnchanged(files);
  // Two records that shared a Name before may keep it.
  AddRecord(*Working().ioTags, 9, u"Pump.Level").deviceId = 2;
  EXPECT_EQ(Preview(u"Level", u"Level").status, ReplaceStatus::kDone);
}

TEST_F(ProjectReplaceTest, AnApplyThatNoLongerFitsIsRefusedAndChangesNothing) {
  const auto files = testing::ProjectTextFiles(folder_.path());
  {
    ReplacePreview preview = Preview(u"Speed", u"Rpm");
    ASSERT_TRUE(AddEditor(project_.c_str(), 77));
    const ReplaceOutcome outcome = ApplyReplace(&preview, *manager_.editorData(), 0);
    RemoveEditor(project_.c_str(), 77);
    EXPECT_NE(outcome.message.find(u"editor 77"), std::u16string::npos);
  }
  {
    ReplacePreview preview = Preview(u"Speed", u"Rpm");
    Working().alarms->at(RecordKey(5)).message = u"edited";
    const ReplaceOutcome outcome = ApplyReplace(&preview, *manager_.editorData(), 0);
    EXPECT_NE(outcome.message.find(u"tables changed"), std::u16string::npos);
    Working().alarms->at(RecordKey(5)).message = u"Pump.Speed high, Pump.Speed!";
  }
  {
    ReplacePreview preview = Preview(u"Speed", u"Rpm");
    AddRecord(*Working().ioTags, 9, u"Pump.Rpm").deviceId = 2;  // taken since
    EXPECT_NE(ApplyReplace(&preview, *manager_.editorData(), 0).message.find(u"same Name"),
              std::u16string::npos);
    Working().ioTags->erase(RecordKey(9));
  }
  ExpectUnchanged(files);
  FailingFiles changing;
  changing.onFirstWrite = [&] { Write("pages/bom.html", "edited elsewhere\n"); };
  const ReplaceOutcome changed = Replace(u"Speed", u"Rpm", kMatchCase, &changing);
  EXPECT_EQ(changed.status, ReplaceStatus::kRefused);
  EXPECT_NE(changed.message.find(u"changed on disk"), std::u16string::npos);
  auto expected = files;
  expected["pages/bom.html"] = "edited elsewhere\n";
  ExpectUnchanged(expected);

  ReplacePreview once = Preview(u"Speed", u"Rpm");
  ASSERT_EQ(ApplyReplace(&once, *manager_.editorData(), 0).status, ReplaceStatus::kDone);
  EXPECT_EQ(ApplyReplace(&once, *manager_.editorData(), 0).status, ReplaceStatus::kRefused);
}

TEST_F(ProjectReplaceTest, AFailureAtAnyWriteOrSaveLeavesEverythingAsItWas) {
  const auto before = testing::ProjectTextFiles(folder_.path());
  for (int n = 1; n <= 4; ++n) {
    FailingFiles failWrite;
    failWrite.failWrite = n;
    EXPECT_EQ(Replace(u"Speed", u"Rpm", kMatchCase, &failWrite).status, ReplaceStatus::kFailed) << n;
    ExpectUnchanged(before);
    FailingFiles failReplace;
    failReplace.failReplace = n;
    EXPECT_EQ(Replace(u"Speed", u"Rpm", kMatchCase, &failReplace).status,
              ReplaceStatus::kFailed);
    ExpectUnchanged(before);
  }
  // Two tables change (alarms, then tags); each save fails in turn, before
  // or after it writes, and the tables saved before it get their texts back.
  EditorData& editor = *manager_.editorData();
  CConfigManagerEx* const own = editor.configManager;
  for (const int failAt : {1, 2}) {
    for (const bool writeFirst : {false, true}) {
      FailingSaveManager failing(failAt, writeFirst);
      ASSERT_EQ(failing.Open(project_.c_str(), 0), 0);
      editor.configManager = &failing;
      const ReplaceOutcome outcome = Replace(u"Speed", u"Rpm");
      EXPECT_EQ(outcome.status, ReplaceStatus::kFailed) << failAt << writeFirst << Narrow(outcome.message);
      EXPECT_NE(outcome.message.find(u"cannot save table"), std::u16string::npos);
      EXPECT_EQ(failing.GetTables(true)->ioTags->at(RecordKey(3)).head.name, u"Pump.Speed");
      editor.configManager = own;
      ExpectUnchanged(before);
    }
  }
}

}  // namespace
}  // namespace qm
