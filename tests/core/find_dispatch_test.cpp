// The find over an open editor: which scope selects what, in which order
// the tables and files are searched, and what the result count is.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/config_manager.h"
#include "core/editor_manager.h"
#include "support/config_sets.h"
#include "support/native_path.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

using testing::AddRecord;
using testing::Native;
using testing::TempFolder;

// A project in which the text "zeta" stands once in every grid table and
// in files of several types.
void WriteProject(const TempFolder& folder) {
  ConfigTableSet set;
  set.Renew();
  (*set.general)[u"project-id"] = u"zeta-project";
  AddRecord(*set.timers, 1, u"zeta timer");
  DatabaseRecord& database = AddRecord(*set.databases, 2, u"zeta db");
  database.groupId = 70;
  database.logTimerId = 1;
  AddRecord(*set.users, 3, u"zeta user");
  AddRecord(*set.ioPorts, 4, u"zeta port");
  AddRecord(*set.ioPorts, 7, u"Port7");
  AddRecord(*set.ioDevices, 5, u"zeta device").portId = 7;
  AddRecord(*set.ioDevices, 6, u"zeta far device").portId = 4;
  AddRecord(*set.ioTags, 8, u"zeta tag").deviceId = 5;
  AddRecord(*set.outputs, 9, u"zeta output").outputNo = 3;
  AlarmRecord& alarm = AddRecord(*set.alarms, 10, u"zeta alarm");
  alarm.triggerBy = 2;
  alarm.tagId = 8;
  AddRecord(*set.scripts, 11, u"zeta script");
  ASSERT_EQ(testing::WriteProjectFile(folder.Text("plant.qmp"), set), kCfgOk);

  testing::WriteFileBytes(folder / "pages/Main.htm", "<p>zeta</p>\n");
  testing::WriteFileBytes(folder / "pages/other.htm", "zeta\n");
  testing::WriteFileBytes(folder / "scripts/app.js", "var zeta = 1;\r\nzeta++;\n");
  testing::WriteFileBytes(folder / "data.json", "{\"zeta\": 1}\n");
}

class FindDispatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteProject(folder_);
    project_ = folder_.Text("plant.qmp");
    ASSERT_NE(manager_.OpenEditor(project_.c_str(), 0), nullptr);
  }

  // The table numbers of the results of one find, in order.
  std::vector<int32_t> Tables(const char16_t* scope, const char16_t* text = u"zeta") {
    FindResultList results;
    int32_t count = manager_.Find(&results, scope, text, 0);
    EXPECT_EQ(count, static_cast<int32_t>(results.size()));
    std::vector<int32_t> tables;
    for (const FindResult& result : results) tables.push_back(result.tableNumber);
    last_ = results;
    return tables;
  }

  TempFolder folder_;
  std::u16string project_;
  CEditorManager manager_;
  FindResultList last_;
};

TEST_F(FindDispatchTest, EntireProjectSearchesTablesInFixedOrderThenFiles) {
  // Database hits twice: its name and its Log timer's name; so does the
  // alarm: its name and its tag's.
  const std::vector<int32_t> expected = {0,  1,  3,  3,  5,  6,  6,  4,  7,
                                         2, 20, 20, 21, 24, 24, 24, 24};
  EXPECT_EQ(Tables(u"Entire Project"), expected);
  EXPECT_EQ(Tables(u" "), expected);
  EXPECT_EQ(Tables(u"*.*"), expected);
  // The files come in the file set's ascending order, not grouped by type.
  EXPECT_EQ(last_[13].location, Native(u"pages/Main.htm"));
  EXPECT_EQ(last_[14].location, Native(u"pages/other.htm"));
  EXPECT_EQ(last_[15].location, Native(u"scripts/app.js"));
  EXPECT_EQ(last_[16].recordId, 2);
}

TEST_F(FindDispatchTest, ScopeTextsAreExactAndItemsAreNotTrimmed) {
  EXPECT_TRUE(Tables(u"entire project").empty());
  EXPECT_TRUE(Tables(u" All Files").empty());
  EXPECT_TRUE(Tables(u"").empty());
  EXPECT_TRUE(Tables(nullptr).empty());
  EXPECT_EQ(Tables(u"All Files"), (std::vector<int32_t>{24, 24, 24, 24}));
  EXPECT_EQ(Tables(u"All Grid Tables").size(), 13u);
}

TEST_F(FindDispatchTest, SingleTablesAndOwnedTables) {
  EXPECT_EQ(Tables(u"3|,6|"), (std::vector<int32_t>{3, 3, 6, 6}));
  EXPECT_EQ(Tables(u"9|"), std::vector<int32_t>{});
  EXPECT_EQ(Tables(u"20|-1"), (std::vector<int32_t>{20, 20}));
  EXPECT_EQ(Tables(u"20|7"), (std::vector<int32_t>{20}));
  EXPECT_EQ(last_[0].parentId, 7);
  EXPECT_EQ(last_[0].location, u"Grid Table: Port7");
  EXPECT_EQ(Tables(u"21|5"), (std::vector<int32_t>{21}));
  EXPECT_EQ(Tables(u"22|5"), std::vector<int32_t>{});
  EXPECT_EQ(Tables(u"|2|"), (std::vector<int32_t>{2}));  // empty parts are dropped
  EXPECT_EQ(Tables(u"*.js|"), (std::vector<int32_t>{0}));  // "|" is tested first
  EXPECT_EQ(Tables(u"1|,1|"), (std::vector<int32_t>{1, 1}));  // repeated items repeat
}

TEST_F(FindDispatchTest, FilePatternEndsTheItemList) {
  EXPECT_EQ(Tables(u"*.js,All Grid Tables"), (std::vector<int32_t>{24, 24}));
  std::vector<int32_t> tablesThenFiles = Tables(u"All Grid Tables,*.js");
  EXPECT_EQ(tablesThenFiles.size(), 15u);
  EXPECT_EQ(tablesThenFiles.back(), 24);
  // Inside a list, *.* is a pattern over every file, whatever its type.
  std::vector<int32_t> everything = Tables(u"1|,*.*");
  EXPECT_EQ(everything, (std::vector<int32_t>{1, 24, 24, 24, 24, 24}));
  EXPECT_EQ(last_[1].location, u"data.json");
}

TEST_F(FindDispatchTest, RelativeAndAbsoluteFileItems) {
  ASSERT_EQ(Tables(Native(u"PAGES/main.htm").c_str()), (std::vector<int32_t>{24}));
  EXPECT_EQ(last_[0].location, Native(u"pages/Main.htm"));
  EXPECT_TRUE(Tables(u"pages").empty());  // no "." in the item
  std::u16string absolute = folder_.Text("scripts/app.js");
  EXPECT_EQ(Tables(absolute.c_str()), (std::vector<int32_t>{24, 24}));
  EXPECT_EQ(last_[1].recordId, 2);
  EXPECT_EQ(last_[1].column, 15);  // "var zeta = 1;" and its break come first
}

TEST_F(FindDispatchTest, ResultCountIncludesWhatTheListHeld) {
  FindResultList results(3);
  EXPECT_EQ(manager_.Find(&results, u"1|,5|", u"zeta", 0), 5);
  EXPECT_EQ(manager_.Find(&results, u"1|", nullptr, 0), -1);
  EXPECT_EQ(results.size(), 5u);
  EXPECT_EQ(manager_.Find(nullptr, u"1|", u"zeta", 0), -1);
  EXPECT_EQ(manager_.Find(&results, u"1|", u"", 0), 5);  // an empty text matches nothing
}

TEST_F(FindDispatchTest, LookupsFollowEditsBetweenFinds) {
  ConfigTableSet& working = *manager_.editorData()->configManager->GetTables(true);
  EXPECT_EQ(Tables(u"3|", u"zeta timer"), (std::vector<int32_t>{3}));  // the Log column
  working.timers->at(RecordKey(1)).head.name = u"renamed";
  EXPECT_TRUE(Tables(u"3|", u"zeta timer").empty());
  EXPECT_EQ(Tables(u"3|", u"renamed"), (std::vector<int32_t>{3}));
  // A whole-table find takes the tag names from its walk of the tags.
  EXPECT_EQ(Tables(u"All Grid Tables", u"zeta tag"), (std::vector<int32_t>{6, 21}));
  working.ioTags->at(RecordKey(8)).head.name = u"renamed tag";
  EXPECT_TRUE(Tables(u"All Grid Tables", u"zeta tag").empty());
  EXPECT_EQ(Tables(u"All Grid Tables", u"renamed tag"), (std::vector<int32_t>{6, 21}));
  EXPECT_EQ(Tables(u"6|", u"renamed tag"), (std::vector<int32_t>{6}));
}

TEST(FindWithoutEditor, AnswersMinusOne) {
  CEditorManager manager;
  FindResultList results;
  EXPECT_EQ(manager.Find(&results, u"Entire Project", u"x", 0), -1);
}

}  // namespace
}  // namespace qm
