// The check's export: its answers to bad arguments, and the findings of an
// open editor handed over as the check gives them, until the handler stops.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qmpecore/qmpecore_ext.h"
#include "support/run_command.h"
#include "support/temp_folder.h"

namespace {

struct Seen {
  std::vector<int32_t> kinds;
  std::vector<std::u16string> names;
  int32_t stopAfter = -1;
};

int32_t QM_CALL Keep(void* context, const QmCheckFinding* finding) {
  auto* seen = static_cast<Seen*>(context);
  seen->kinds.push_back(finding->kind);
  seen->names.push_back(finding->name);
  return static_cast<int32_t>(seen->kinds.size()) != seen->stopAfter;
}

TEST(CheckExport, AnswersBadArgumentsAndStopsWhenTold) {
  Seen seen;
  EXPECT_EQ(QmCheckProject(nullptr, Keep, &seen), -1);
  qm::CEditorManager* manager = QmCreateEditorManager();
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(QmCheckProject(manager, Keep, &seen), -1);  // nothing open
  EXPECT_EQ(QmCheckProject(manager, nullptr, &seen), -1);
  qm::testing::TempFolder folder;
  ASSERT_EQ(qm::testing::RunQmpe("sample " + folder.path().string() + "/p --seed 4"), 0);
  ASSERT_NE(QmOpenEditor(manager, folder.Text("p/plant.qmp").c_str(), 0), nullptr);
  const int32_t all = QmCheckProject(manager, Keep, &seen);
  EXPECT_EQ(all, static_cast<int32_t>(seen.kinds.size()));
  EXPECT_GT(all, 3);
  for (int32_t kind : seen.kinds) {
    EXPECT_GE(kind, kQmCheckMissingRecord);
    EXPECT_LE(kind, kQmCheckUnreadFile);
  }
  Seen first;
  first.stopAfter = 3;
  EXPECT_EQ(QmCheckProject(manager, Keep, &first), 3);
  EXPECT_EQ(first.names, std::vector<std::u16string>(seen.names.begin(), seen.names.begin() + 3));
  QmCloseEditor(manager);
  QmCloseEditorManager(manager);
}

}  // namespace
