// qmpe on a project mounted read-only: save-as onto it and a rename's
// apply fail with exit code 2 and say in words that the project is
// read-only. Skipped, with the reason, where no read-only mount can be had.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/full_disk.h"
#include "support/read_only_posix.h"
#include "support/run_command.h"
#include "support/temp_folder.h"

namespace {

using qm::testing::Quoted;

TEST(ReadOnlyCommands, SaveAsAndRenameSayTheProjectIsReadOnly) {
  qm::testing::TempFolder folder;
  const std::string project = (folder / "p" / "plant.qmp").string();
  ASSERT_EQ(qm::testing::RunQmpe("sample " + (folder / "p").string() + " --seed 5"), 0);
  std::ofstream(folder / "p" / "uses.txt") << "Run(\"Every second\");\n";
  const qm::testing::ReadOnlyProject readOnly(qm::testing::ReadOnlyWay::kMount, folder / "p",
                                              project);
  if (!readOnly.whyNot().empty()) GTEST_SKIP() << readOnly.whyNot();
  const auto before = qm::testing::FolderBytes(folder / "p");
  for (const std::string& command :
       {"save-as " + project + " " + (folder / "p" / "copy.qmp").string(),
        "save-as " + project + " " + project,
        "rename " + project + " timer " + Quoted("Every second") + " Tick --apply"}) {
    std::string output;
    EXPECT_EQ(qm::testing::RunQmpe(command, &output), 2) << command;
    EXPECT_NE(output.find("the project is read-only"), std::string::npos) << output;
  }
  EXPECT_EQ(qm::testing::FolderBytes(folder / "p"), before);
}

}  // namespace
