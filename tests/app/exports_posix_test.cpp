// The shared object's dynamic symbol table, as the loader sees it (the
// Windows DLLs' tables are checked by scripts/check-windows-exports.sh).
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "support/run_command.h"

namespace {

TEST(Exports, ExactlyTheSeventeenAndTheAdditionsUnmangled) {
  std::string listing;
  ASSERT_EQ(qm::testing::RunCommand(std::string("nm -D --defined-only ") + QM_QMPECORE_PATH +
                                        " | awk '$2 ~ /^[TWDBV]$/ {print $3}'",
                                    &listing),
            0);
  std::set<std::string> exported;
  std::istringstream names(listing);
  for (std::string name; names >> name;) exported.insert(name);
  const std::set<std::string> expected = {
      "QmEditorExists",      "QmAddEditor",      "QmUpdateEditor",  "QmRemoveEditor",
      "QmGetEditors",        "QmGetEditor",      "QmCreateEditorManager",
      "QmCloseEditorManager", "QmOpenEditor",    "QmCloseEditor",   "QmGetEditorData",
      "QmGetAllFiles",       "QmGetAllTables",   "QmGetConfigHandleEx",
      "QmSaveConfigEx",      "QmSaveAsConfigEx", "QmFind",
      "QmFindEach",          "QmFindInProject",  "QmCheckFindText", "QmCreateFindMatcher",
      "QmFirstMatch",        "QmFreeFindMatcher", "QmFindRecordId",  "QmFindUsages",
      "QmRenameRecord",      "QmGetUnreadFolders", "QmFindInProjectEx",
      "QmExportTable",       "QmCheckImport",    "QmGetImportCounts", "QmGetImportProblems",
      "QmGetImportChanges",  "QmApplyImport",    "QmFreeImportPreview",
      "QmPreviewReplace",    "QmGetReplaceChanges", "QmApplyReplace", "QmFreeReplacePreview",
      "QmCheckProject",      "QmReadFileLines",  "QmFindUsagesEx"};
  EXPECT_EQ(exported, expected);
}

}  // namespace
