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
  // No letter, digit or connector punctuation (Unicode L, N, Pc) just
  // before or just after a match.
  kQmFindWholeWord = 2,
  // The text is a regular expression (PCRE2's syntax, matched by code
  // point; \w, \d and \b by Unicode properties), matched against the same
  // field texts and file lines as a plain text; a result's column is where
  // the first match starts.
  kQmFindRegex = 4,
};

// The answers of the finds besides a number of results.
enum QmFindErrors : int32_t {
  kQmFindBadArguments = -1,
  kQmFindCannotOpen = -2,
  kQmFindBadPattern = -3,  // the regular expression does not compile
  // Its matching ran past PCRE2's match limit: the results handed over
  // before stand, the find stopped before the next table or file.
  kQmFindMatchLimit = -4,
};

// A find's text and options prepared once, to place the match within a
// result's text (a column for a file line, a span to highlight).
typedef struct QmFindMatcher QmFindMatcher;

// Receives each result of a streamed find as it is found, in the order in
// which QmFind would append them. `result` is valid only during the call.
// Returning 0 ends the find before its next table or file; results still
// found in the current one are not delivered. The handler must not throw
// and must not call back into the library with the same editor manager.
typedef int32_t(QM_CALL* QmFindHandler)(void* context, const qm::FindResult* result);

extern "C" {

// The find of QmFind over the open editor of `manager` (its working set and
// its files, with the same scopes), with the options of `flags`, each
// result handed to `handler` instead of being appended to a list. Returns
// the number of results delivered (at most INT32_MAX), or -1: null
// manager, text or handler, nothing open, or an undefined flag; or -3 or
// -4 for a regular expression (QmFindErrors).
QMPE_API int32_t QM_CALL QmFindEach(qm::CEditorManager* manager,  // 18
                                    const char16_t* scope, const char16_t* text, int32_t flags,
                                    QmFindHandler handler, void* context);

// The same find over a project file that no editor here holds open, for a
// tool that searches once: nothing is registered, and the tables are read
// (once, into one set) only when the scope selects a table. Returns the
// number of results delivered, -1 for null arguments or an undefined flag,
// -2 when `projectPath` is not a project file that can be opened, or -3 or
// -4 for a regular expression.
QMPE_API int32_t QM_CALL QmFindInProject(const char16_t* projectPath,  // 19
                                         const char16_t* scope, const char16_t* text, int32_t flags,
                                         QmFindHandler handler, void* context);

// Checks a find's text and flags before a find: 0 when a find would
// search with them; -1 for a null text or an undefined flag; -3 when the
// text is a regular expression that does not compile, with PCRE2's message
// written to `message` (cut to `capacity` units with its terminating zero;
// may be null when `capacity` is 0) and the offset in the text where the
// fault lies to `offset` (may be null).
QMPE_API int32_t QM_CALL QmCheckFindText(const char16_t* text, int32_t flags,  // 20
                                         char16_t* message, int32_t capacity, int32_t* offset);

// The matcher of a find with `text` and `flags`, or null: a null text, an
// undefined flag, or a pattern that does not compile (QmCheckFindText says
// why). Free it with QmFreeFindMatcher. One thread at a time.
QMPE_API QmFindMatcher* QM_CALL QmCreateFindMatcher(const char16_t* text,  // 21
                                                    int32_t flags);

// Where the find's first match in subject[0, length) starts, as the find
// decides it (the column of a file result is that line's), with its length
// in `matchLength` (may be null); -1 when there is none or for bad
// arguments; kQmFindMatchLimit when the pattern's matching ran past the
// match limit.
QMPE_API int32_t QM_CALL QmFirstMatch(QmFindMatcher* matcher,  // 22
                                      const char16_t* subject, int32_t length,
                                      int32_t* matchLength);

QMPE_API void QM_CALL QmFreeFindMatcher(QmFindMatcher* matcher);  // 23

}  // extern "C"

#endif  // QMPECORE_QMPECORE_EXT_H_
