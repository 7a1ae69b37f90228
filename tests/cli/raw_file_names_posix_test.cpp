// qmpe with names that are no UTF-8 (POSIX names are bytes), in the
// project folder's own name and in the files below it: every command
// reaches the files, and prints their paths as they stand on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/file_names.h"
#include "support/config_sets.h"
#include "support/run_command.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

namespace fs = std::filesystem;
using testing::Quoted;

TEST(QmpeRawFileNames, FilesFindUsagesAndRenamePrintAndReachTheBytesOnDisk) {
  testing::TempFolder temp;
  const fs::path folder = temp.path() / "plant\xff";
  fs::create_directories(folder / "d\xfe");
  ConfigTableSet set;
  set.Renew();
  testing::AddRecord(*set.ioTags, 3, u"Pump.Speed");
  const std::string project = (folder / "plant.qmp").string();
  ASSERT_EQ(testing::WriteProjectFile(platform::NativeNameToText(project), set), kCfgOk);
  std::ofstream(folder / "a\xff.js", std::ios::binary) << "x = Pump.Speed;\n";
  std::ofstream(folder / "d\xfe/\xc3(.htm", std::ios::binary) << "Pump.Speed\n";

  std::string output;
  ASSERT_EQ(testing::RunQmpe("files " + Quoted(project), &output), 0);
  EXPECT_EQ(output, "a\xff.js\nd\xfe/\xc3(.htm\n");

  ASSERT_EQ(testing::RunQmpe("find " + Quoted(project) + " Pump.Speed --scope " + Quoted("All Files"),
                             &output),
            0);
  EXPECT_EQ(output, "a\xff.js:1:5: x = Pump.Speed;\nd\xfe/\xc3(.htm:1:1: Pump.Speed\n2 results\n");
  // A file's full path as the scope: the file it names.
  ASSERT_EQ(testing::RunQmpe("find " + Quoted(project) + " Pump.Speed --scope " +
                                 Quoted(folder / "d\xfe/\xc3(.htm"),
                             &output),
            0);
  EXPECT_EQ(output, "d\xfe/\xc3(.htm:1:1: Pump.Speed\n1 result\n");

  ASSERT_EQ(testing::RunQmpe("usages " + Quoted(project) + " io_tags Pump.Speed", &output), 0);
  EXPECT_NE(output.find("a\xff.js:1:5: x = Pump.Speed;\n"), std::string::npos) << output;

  ASSERT_EQ(testing::RunQmpe("rename " + Quoted(project) + " io_tags Pump.Speed Pump.Rpm --apply",
                             &output),
            0);
  EXPECT_NE(output.find("\nd\xfe/\xc3(.htm:1: + Pump.Rpm\n"), std::string::npos) << output;
  EXPECT_EQ(testing::ReadFileBytes(folder / "a\xff.js"), "x = Pump.Rpm;\n");
  EXPECT_EQ(testing::ReadFileBytes(folder / "d\xfe/\xc3(.htm"), "Pump.Rpm\n");
}

}  // namespace
}  // namespace qm
