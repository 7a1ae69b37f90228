// The find request and its dispatch: which tables and files a scope
// selects, which name lookups are rebuilt before which table, and in what
// order the searchers run.
#ifndef QMPECORE_FIND_FIND_DISPATCH_H_
#define QMPECORE_FIND_FIND_DISPATCH_H_

#include <cstdint>

#include "find/tables/name_lookups.h"
#include "qmpecore/qmpecore.h"

namespace qm {

// One find over an open editor. The editor's tables and files are read,
// never changed; only `lookups` is rebuilt and `results` appended to.
struct FindRequest {
  const EditorData& editor;
  const ConfigTableSet& tables;  // the working set
  NameLookups* lookups;
  FindResultList* results;
  const char16_t* scope;  // may be null: selects nothing
  const char16_t* text;   // not null
  int32_t matchCase;      // exactly 1: case-sensitive
};

// Runs the find; returns the length of the whole results list.
int32_t RunFind(const FindRequest& request);

}  // namespace qm

#endif  // QMPECORE_FIND_FIND_DISPATCH_H_
