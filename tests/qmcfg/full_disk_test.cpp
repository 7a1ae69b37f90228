// Saves on a disk that fills at each of their writes, syncs and
// truncations in turn (support/full_disk.h): whole, one table, one owner's
// records, to a new file and over another project. Every disturbed save
// answers a code and leaves every file of the folder byte for byte as it
// was, with nothing beside them; the undisturbed one lands whole.
#include "full_disk_fixture.h"

namespace qm::test {
namespace {

using testing::Fill;

const Save kSaves[] = {
    {"whole", "plant.qmp", [](ConfigHandle h, const ConfigTableSet& s) {
       return CfgWriteAllTables(h, &s, 0);
     }, true},
    {"general", "plant.qmp", [](ConfigHandle h, const ConfigTableSet& s) {
       return CfgWriteGeneral(h, s.general.get(), 0);
     }, false},
    {"timers", "plant.qmp", [](ConfigHandle h, const ConfigTableSet& s) {
       return CfgWriteTimers(h, s.timers.get(), 1);
     }, false},
    {"tags of one device", "plant.qmp", [](ConfigHandle h, const ConfigTableSet& s) {
       return CfgWriteIoTags(h, s.ioTags.get(), 101, 1);
     }, false},
    {"save-as to a new file", "new.qmp", [](ConfigHandle h, const ConfigTableSet& s) {
       return CfgWriteAllTables(h, &s, 0);
     }, true},
    {"save-as over another project", "other.qmp", [](ConfigHandle h, const ConfigTableSet& s) {
       return CfgWriteAllTables(h, &s, 0);
     }, true},
};

TEST_F(FullDiskTest, EverySaveAnswersACodeAndLeavesEveryFileAsItWas) {
  testing::SweepFigures total;
  size_t lost = 0;
  for (const Save& save : kSaves) {
    for (const Fill fill : {Fill::kOnce, Fill::kStaysFull}) {
      SCOPED_TRACE(std::string(save.name) + (fill == Fill::kOnce ? ", once" : ", stays full"));
      total += SweepSave(save, fill, &lost);
    }
  }
  EXPECT_EQ(lost, 0u);
  Report("SQLite write, sync and truncation", total, lost);
}

}  // namespace
}  // namespace qm::test
