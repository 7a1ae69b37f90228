// An import of any bytes as a tag list into the fixed project's tables:
// the check never crashes, and a file it accepts, once applied, exports to
// a file that imports as no change at all, in every format. The first
// byte chooses the table and whether the import replaces it; the rest is
// the file.
#include <array>
#include <string>

#include "config/config_manager.h"
#include "exchange/exchange_test_support.h"
#include "exchange/import_preview.h"
#include "fixed_project.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qm;
  using namespace qm::fuzz;
  if (size == 0) return 0;
  static CConfigManagerEx* manager = [] {
    auto* opened = new CConfigManagerEx();
    Require(opened->Open(TheFixedProject().projectFile.u16string().c_str(), 0) == 0,
            "the fixed project opens");
    return opened;
  }();
  ConfigTableSet& working = *manager->GetTables(true);
  const int32_t table = testing::kExchangedTables[data[0] % std::size(testing::kExchangedTables)];
  const bool replace = (data[0] / std::size(testing::kExchangedTables)) % 2 == 1;
  const std::string_view file(reinterpret_cast<const char*>(data + 1), size - 1);
  const exchange::ImportPreview preview =
      exchange::CheckImport({working, table, file, u"input", replace, u"", {}});
  Require(preview.problems.empty() == (preview.edits != nullptr), "edits exactly without problems");
  if (preview.edits == nullptr) return 0;
  Require(preview.edits->StillApplies(working), "a fresh preview applies");
  preview.edits->Make(&working);
  for (exchange::FileFormat format : {exchange::FileFormat::kCsv, exchange::FileFormat::kJson,
                                      exchange::FileFormat::kJsonLines}) {
    const std::string again = testing::Exported(working, table, format);
    // JSON lines of an empty table are an empty file, which no import takes.
    if (again.empty()) continue;
    const exchange::ImportPreview same =
        exchange::CheckImport({working, table, again, u"again", true, u"", {}});
    Require(same.problems.empty(), "the export of an applied import imports without problems");
    Require(same.changes.empty(), "the export of an applied import is no change");
  }
  preview.edits->Undo(&working);
  return 0;
}
