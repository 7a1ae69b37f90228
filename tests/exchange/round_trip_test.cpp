// A table exported and imported again: no change at all against the set
// it came from, and the same records when the table is made anew from the
// file, for every table and every format.
#include <gtest/gtest.h>

#include "exchange/table_edits.h"
#include "exchange_test_support.h"
#include "find/tables/record_tables.h"

namespace qm {
namespace {

using exchange::FileFormat;

constexpr FileFormat kFormats[] = {FileFormat::kCsv, FileFormat::kJson, FileFormat::kJsonLines};

class RoundTripTest : public ::testing::TestWithParam<FileFormat> {};

TEST_P(RoundTripTest, EveryTableComesBackUnchangedAndWholeFromItsFile) {
  for (uint32_t seed = 1; seed <= 3; ++seed) {
    const ConfigTableSet set = testing::RandomSet(seed, 12);
    for (int32_t table : testing::kExchangedTables) {
      SCOPED_TRACE("table " + std::to_string(table) + ", seed " + std::to_string(seed));
      const std::string bytes = testing::Exported(set, table, GetParam());

      const exchange::ImportPreview same = testing::Checked(set, table, bytes, true);
      EXPECT_EQ(testing::ProblemLines(same), "");
      EXPECT_TRUE(same.changes.empty());
      EXPECT_EQ(same.unchanged, same.rows);

      // Made anew, every cell is read: nothing may rest on the shortcut
      // for cells that show what the record holds.
      ConfigTableSet emptied = testing::RandomSet(seed, 12);
      WithRecordTable(table, emptied, [](auto* records, const auto&) { records->clear(); });
      const exchange::ImportPreview anew = testing::Checked(emptied, table, bytes);
      ASSERT_EQ(testing::ProblemLines(anew), "");
      ASSERT_NE(anew.edits, nullptr);
      anew.edits->Make(&emptied);
      WithRecordTable(table, emptied, [&](auto* made, const auto&) {
        WithRecordTable(table, set, [&](auto* original, const auto&) {
          if constexpr (std::is_same_v<decltype(made), decltype(original)>) {
            // ownerTable is the application's, set for the records made.
            for (auto& [key, record] : *made) record.head.ownerTable = 0;
            EXPECT_TRUE(*made == *original);
          }
        });
      });
      EXPECT_EQ(testing::Exported(emptied, table, GetParam()), bytes);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, RoundTripTest, ::testing::ValuesIn(kFormats));

}  // namespace
}  // namespace qm
