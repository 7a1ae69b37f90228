// count_tables PROJECT_FILE: opens the project through the library's
// exports, as the editor application does, and prints how many tables it
// holds and how many records they hold together.
#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

#include "qmpecore/qmpecore.h"
#include "qmpecore/version.h"

namespace {

struct Counts {
  int tables = 0;
  size_t records = 0;
};

template <class Table>
void Add(const std::unique_ptr<Table>& table, Counts* counts) {
  if (!table) return;
  ++counts->tables;
  counts->records += table->size();
}

Counts CountOf(const qm::ConfigTableSet& set) {
  Counts counts;
  Add(set.general, &counts);
  Add(set.timers, &counts);
  Add(set.databases, &counts);
  Add(set.users, &counts);
  Add(set.trends, &counts);
  Add(set.ioPorts, &counts);
  Add(set.ioDevices, &counts);
  Add(set.ioTags, &counts);
  Add(set.outputs, &counts);
  Add(set.alarms, &counts);
  Add(set.scripts, &counts);
  return counts;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: count_tables PROJECT_FILE\n");
    return 2;
  }
  // The library takes UTF-16; this program takes ASCII paths only, so it
  // needs no converter.
  const std::string path = argv[1];
  std::u16string path16;
  for (unsigned char c : path) {
    if (c >= 0x80) {
      std::fprintf(stderr, "count_tables: give an ASCII path\n");
      return 2;
    }
    path16.push_back(c);
  }
  qm::CEditorManager* manager = QmCreateEditorManager();
  if (manager == nullptr || QmOpenEditor(manager, path16.c_str(), 0) == nullptr) {
    std::fprintf(stderr, "count_tables: cannot open %s\n", path.c_str());
    QmCloseEditorManager(manager);
    return 1;
  }
  const qm::EditorData* editor = QmGetEditorData(manager);
  const qm::ConfigTableSet* set = QmGetAllTables(editor->configManager, 1);
  const Counts counts = set != nullptr ? CountOf(*set) : Counts();
  std::printf("qmpecore %s: %d tables, %zu records\n", QMPECORE_VERSION, counts.tables,
              counts.records);
  QmCloseEditor(manager);
  QmCloseEditorManager(manager);
  return set != nullptr ? 0 : 1;
}
