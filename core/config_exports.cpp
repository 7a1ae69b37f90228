// The configuration exports: thin wrappers over CConfigManagerEx.
#include "config/config_manager.h"
#include "core/export_guard.h"
#include "qmpecore/qmpecore.h"

using qm::CConfigManagerEx;
using qm::GuardExport;

extern "C" {

QMPE_API qm::ConfigTableSet* QM_CALL QmGetAllTables(CConfigManagerEx* config, uint32_t working) {
  if (config == nullptr) return nullptr;
  const bool useWorking = (working & 0xFFu) != 0;  // only the low byte is the flag
  return GuardExport<qm::ConfigTableSet*>(nullptr,
                                          [&] { return config->GetTables(useWorking); });
}

QMPE_API qm::ConfigHandle QM_CALL QmGetConfigHandleEx(CConfigManagerEx* config) {
  if (config == nullptr) return 0;
  return config->GetConfigHandle();
}

QMPE_API int32_t QM_CALL QmSaveConfigEx(CConfigManagerEx* config, int32_t tableNumber,
                                        int32_t subId) {
  if (config == nullptr) return -1;
  return GuardExport<int32_t>(-1, [&] { return config->Save(tableNumber, subId); });
}

QMPE_API int32_t QM_CALL QmSaveAsConfigEx(CConfigManagerEx* config, const char16_t* newPath) {
  if (config == nullptr) return -1;
  return GuardExport<int32_t>(-1, [&] { return config->SaveAs(newPath); });
}

}  // extern "C"
