// The check of an import: each fault of a file named by line, position
// and column, and what a file that passes plans (merge, match by Name, new
// ids, --replace).
#include <gtest/gtest.h>

#include "exchange_test_support.h"

namespace qm {
namespace {

using testing::Checked;
using testing::ProblemLines;

struct BadFile {
  const char* what;
  int32_t table;
  std::string bytes;
  std::string firstProblem;  // the start of the first line of ProblemLines
};

// SampleSet(0, 4): tags 1000 to 1003 named Tag00 to Tag30 on devices 100
// to 103 (PLC00 to PLC30), databases by Group ID 7 ("History 0").
const BadFile kBadFiles[] = {
    {"text in a number", kTableIoTags, "ID,Name,Address\n1000,Tag00,abc\n",
     "2:3: Address: \"abc\" is not a whole number"},
    {"a number out of range", kTableIoTags, "ID,Address\r\n1000,99999999999\r\n",
     "2:2: Address: 99999999999 is out of range"},
    {"an unknown column", kTableIoTags, "ID,Name,Colour\n", "1:3: Colour: unknown column"},
    {"a column twice", kTableIoTags, "ID,Name, name \n", "1:3:  name : the column is given twice"},
    {"an ID twice", kTableIoTags, "ID,Name\n1000,A\n1000,B\n",
     "3:1: ID: names the same record as line 2"},
    {"one record by ID and by Name", kTableIoTags, "ID,Name\n1000,X\n,Tag10\n1001,Y\n",
     "4:1: ID: names the same record as line 3"},
    {"an ID that is no id", kTableIoTags, "ID,Name\n0,A\n", "2:1: ID: 0 is out of range"},
    {"a short row", kTableIoTags, "ID,Name\n1000\n", "2:2: : the row has 1 cells"},
    {"a quote that does not end", kTableIoTags, "ID,Name\n1000,\"abc\n",
     "2:0: : a quoted cell begun on this line does not end"},
    {"a line break in a cell, then a fault", kTableIoTags,
     "ID,Description,Address\n1000,\"two\nlines\",1\n\n1001,x,bad\n",
     "5:3: Address: \"bad\" is not a whole number"},
    {"semicolons", kTableIoTags, "\xEF\xBB\xBFID;Name;Address\n1000;Tag00;x\n", "2:3: Address"},
    {"invalid UTF-8", kTableIoTags, "ID,Description\n1000,A\xFF\x42\n",
     "2:2: Description: is not valid UTF-8"},
    {"an enumeration text that is none", kTableIoTags, "ID,Type\n1000,float\n",
     "2:2: Type: \"float\" is none of: int8"},
    {"an enumeration number that is none", kTableIoTags, "ID,Type\n1000,7\n",
     "2:2: Type: \"7\" is none of"},
    {"a value not of its type", kTableIoTags, "ID,Startup,Startup Type\n1000,abc,int16\n",
     "2:2: Startup: \"abc\" is not a whole number"},
    {"a value out of its type's range", kTableIoTags, "ID,Startup,Startup Type\n1000,300,uint8\n",
     "2:2: Startup: 300 is out of range (0 to 255)"},
    {"a type that is none", kTableIoTags, "ID,Startup Type\n1000,float\n",
     "2:2: Startup Type: \"float\" is not a value type"},
    {"a reference to no Name", kTableIoTags, "ID,Log\n1000,Nope\n",
     "2:2: Log: no database (by Group ID) is named Nope"},
    {"a reference to no number", kTableIoTags, "ID,Log ID\n1000,5\n",
     "2:2: Log ID: no database (by Group ID) has the number 5"},
    {"a Name and a number that disagree", kTableIoTags, "ID,Device,Device ID\n1000,PLC10,100\n",
     "2:2: Device: does not name IO device 100 (that is PLC00)"},
    {"a new record without its owner", kTableIoTags, "ID,Name\n,New\n",
     "2:0: : a new record needs its Device: give Device or Device ID\n"},
    {"a new Name that another record keeps", kTableIoTags, "ID,Name\n1000,Tag10\n",
     "2:0: Name: the Name Tag10 is record 1001's, which keeps it"},
    {"one new Name twice", kTableIoTags, "Name,Device ID\nA,100\nA,101\n",
     "3:0: Name: the Name A is also given on line 2"},
    {"a new record without a Name", kTableIoTags, "ID,Name,Device ID\n,,100\n",
     "2:2: Name: a record needs a Name"},
    {"a date that is none", kTableUser, "ID,Expire\n4,31/02/2024\n", "2:2: Expire: \"31/02/2024\""},
    {"a triggerer where Auto has none", kTableScript, "ID,Trigger By,Triggerer\n40,Auto,Shift 0\n",
     "2:3: Triggerer: names a record, but this Trigger By refers to none"},
    {"a number set with a word", kTableTimer, "ID,Hour\n1,\"1, two\"\n", "2:2: Hour: \"1, two\""},
    {"JSON that is no array of objects", kTableIoTags, "[{\"ID\":1000,\"Name\":{\"a\":1}}]",
     "1:0: : the file must be one array of objects"},
    {"JSON cut short", kTableIoTags, "[{\"ID\":1000,\n\"Name\":",
     "2:0: : the JSON cannot be read here"},
    {"a JSON key twice", kTableIoTags, "[{\"ID\":1000,\"Name\":\"a\",\"Name\":\"b\"}]",
     "1:3: Name: the column is given twice"},
    {"JSON lines with a bad line", kTableIoTags, "{\"ID\":1000}\n\n{\"ID\":1001,\"Address\":\"x\"}\n",
     "3:2: Address: \"x\" is not a whole number"},
    {"no header at all", kTableIoTags, "", "1:0: : the file holds no header line"},
};

TEST(ImportCheck, EveryFaultIsNamedWhereItIsAndNothingIsPlanned) {
  const ConfigTableSet set = testing::SampleSet(0, 4);
  for (const BadFile& file : kBadFiles) {
    SCOPED_TRACE(file.what);
    const exchange::ImportPreview preview = Checked(set, file.table, file.bytes);
    const std::string problems = ProblemLines(preview);
    EXPECT_EQ(problems.substr(0, file.firstProblem.size()), file.firstProblem) << problems;
    EXPECT_TRUE(preview.changes.empty());
    EXPECT_EQ(preview.edits, nullptr);
  }
}

TEST(ImportCheck, AFileMergesByIdOrNameAndRemovesOnlyWhenItReplaces) {
  const ConfigTableSet set = testing::SampleSet(0, 4);
  const std::string file =
      "Name,ID,Address,Device ID\n"
      "Tag00,,5,100\n"          // by Name: only the Address changes
      ",1001,40002,101\n"       // by ID, as it is
      "Fresh,,\"7\",102\n";     // new: the next id, the defaults, its owner by number
  for (bool replace : {false, true}) {
    ConfigTableSet working = testing::SampleSet(0, 4);
    const exchange::ImportPreview preview = Checked(working, kTableIoTags, file, replace);
    ASSERT_EQ(ProblemLines(preview), "");
    ASSERT_EQ(preview.changes.size(), replace ? 4u : 2u);
    const exchange::RecordChange& changed = preview.changes[0];
    EXPECT_EQ(changed.kind, exchange::ChangeKind::kChanged);
    EXPECT_EQ(changed.id, 1000);
    EXPECT_FALSE(changed.renamed);
    // The columns read the same before the edits are made and after.
    for (bool made : {false, true}) {
      if (made) preview.edits->Make(&working);
      std::vector<exchange::FieldChange> fields;
      preview.edits->ReadChangedColumns(working)->Next(&fields);
      ASSERT_EQ(fields.size(), 1u);
      EXPECT_EQ(fields[0].column, u"Address");
      EXPECT_EQ(fields[0].before, u"40001");
      EXPECT_EQ(fields[0].after, u"5");
    }
    EXPECT_EQ(preview.changes[1].kind, exchange::ChangeKind::kAdded);
    EXPECT_EQ(preview.changes[1].id, 1004);
    EXPECT_EQ(preview.unchanged, 1);
    if (replace) {
      EXPECT_EQ(preview.changes[2].kind, exchange::ChangeKind::kRemoved);
      EXPECT_EQ(preview.changes[2].id, 1002);
      EXPECT_EQ(preview.changes[3].id, 1003);
    }
  }
}

// A cell that shows what the record holds is taken as it is, whatever it
// holds: a reference to no record, a number no list names.
TEST(ImportCheck, CellsThatShowTheRecordAsItIsAreNotReadAgain) {
  ConfigTableSet set = testing::SampleSet(0, 4);
  set.ioTags->at(RecordKey(1000)).type = 99;
  const std::string file = testing::Exported(set, kTableIoTags, exchange::FileFormat::kCsv);
  const exchange::ImportPreview preview = Checked(set, kTableIoTags, file);
  EXPECT_EQ(ProblemLines(preview), "");
  EXPECT_TRUE(preview.changes.empty());
}

}  // namespace
}  // namespace qm
