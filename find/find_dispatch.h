// The find request and its dispatch: which tables and files a scope
// selects, which name lookups are rebuilt before which table, and in what
// order the searchers run.
#ifndef QMPECORE_FIND_FIND_DISPATCH_H_
#define QMPECORE_FIND_FIND_DISPATCH_H_

#include <cstdint>
#include <functional>

#include "find/find_options.h"
#include "find/result_sink.h"
#include "find/tables/name_lookups.h"
#include "qmpecore/qmpecore.h"

namespace qm {

// One find over a project. Its tables and files are read, never changed;
// only `lookups` is rebuilt.
struct FindRequest {
  // The project path and its file manager (which may be null: no files);
  // the configuration manager is not used.
  const EditorData& editor;
  // The tables searched (an editor's working set); called once, when the
  // scope first selects a table, so that a find of files alone never
  // reads them.
  std::function<const ConfigTableSet&()> tables;
  NameLookups* lookups;
  const char16_t* scope;  // may be null: selects nothing
  const char16_t* text;   // not null
  FindOptions options;
};

// Runs the find, handing each result to `sink` in find order. A pattern
// that does not compile searches nothing; one whose matching runs past the
// match limit ends the find before the next table or file.
FindStatus RunFind(const FindRequest& request, ResultSink& sink);

}  // namespace qm

#endif  // QMPECORE_FIND_FIND_DISPATCH_H_
