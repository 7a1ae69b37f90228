// Exports added after the seventeen, from ordinal 18 on. They follow the
// same conventions: null-terminated UTF-16 texts, a fixed answer to bad
// arguments, no exception across the boundary.
#ifndef QMPECORE_QMPECORE_EXT_H_
#define QMPECORE_QMPECORE_EXT_H_

#include <cstdint>

#include "qmpecore/qmpecore.h"

// The options of a streamed find, or-ed together. A bit that is not
// defined here makes the find fail, so that a caller written for a later
// library never gets a find that silently ignores what it asked for.
enum QmFindFlags : int32_t {
  kQmFindMatchCase = 1,  // letter case must match exactly
};

// Receives each result of a streamed find as it is found, in the order in
// which QmFind would append them. `result` is valid only during the call.
// Returning 0 ends the find before its next table or file; results still
// found in the current one are not delivered. The handler must not throw
// and must not call back into the library with the same editor manager.
typedef int32_t(QM_CALL* QmFindHandler)(void* context, const qm::FindResult* result);

extern "C" {

// The find of QmFind over the open editor of `manager` (its working set and
// its files, with the same scopes), each result handed to `handler`
// instead of being appended to a list. Returns the number of results
// delivered (at most INT32_MAX), or -1: null manager, text or handler,
// nothing open, or an undefined flag.
QMPE_API int32_t QM_CALL QmFindEach(qm::CEditorManager* manager,  // 18
                                    const char16_t* scope, const char16_t* text, int32_t flags,
                                    QmFindHandler handler, void* context);

// The same find over a project file that no editor here holds open, for a
// tool that searches once: nothing is registered, and the tables are read
// (once, into one set) only when the scope selects a table. Returns the
// number of results delivered, -1 for null arguments or an undefined flag,
// or -2 when `projectPath` is not a project file that can be opened.
QMPE_API int32_t QM_CALL QmFindInProject(const char16_t* projectPath,  // 19
                                         const char16_t* scope, const char16_t* text, int32_t flags,
                                         QmFindHandler handler, void* context);

}  // extern "C"

#endif  // QMPECORE_QMPECORE_EXT_H_
