// A folder of the project that cannot be read never passes for an empty
// one: every command that lists or searches the project's files warns of
// it on standard error, and still does its work.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/run_command.h"
#include "support/temp_folder.h"

namespace {

using qm::testing::Quoted;

TEST(UnreadFolders, EveryCommandThatListsOrSearchesFilesWarnsOfEach) {
  const qm::testing::TempFolder folder;
  ASSERT_EQ(qm::testing::RunQmpe("sample " + Quoted(folder / "p") + " --seed 5"), 0);
  std::ofstream(folder / "p" / "timer_uses.txt") << "Run(\"Every second\");\n";
  // The walk holds a descriptor for each level it is in, so a chain of
  // folders deeper than the descriptors qmpe is left (root or not) cannot
  // be read to its end.
  std::filesystem::path deep = folder / "p";
  for (int level = 0; level < 80; ++level) deep /= "d";
  std::filesystem::create_directories(deep);
  const std::string project = Quoted(folder / "p" / "plant.qmp");
  const std::string warning = "qmpe: warning: cannot read folder " + (folder / "p" / "d/d").string();
  for (const std::string& arguments :
       {"files " + project, "find " + project + " Pump", "open " + project + " --editor-id 79",
        "usages " + project + " timer " + Quoted("Every second"),
        "rename " + project + " timer " + Quoted("Every second") + " Tick"}) {
    std::string output;
    EXPECT_EQ(qm::testing::RunCommand("ulimit -n 40 && " + qm::testing::QmpeCommand(arguments),
                                      &output),
              0)
        << arguments << "\n" << output;
    const size_t at = output.find(warning);
    ASSERT_NE(at, std::string::npos) << arguments << "\n" << output;
    EXPECT_NE(output.find(": too many open files (system error 24)\n", at), std::string::npos)
        << output;
  }
}

}  // namespace
