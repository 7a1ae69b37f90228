// CEditorManager: what the application creates first. It holds at most one
// open editor (an EditorData tying a project path to its configuration
// manager and file manager), that editor's event, and the four name
// lookups that every find rebuilds.
//
// Not thread-safe: the application uses one manager from one thread.
#ifndef QMPECORE_CORE_EDITOR_MANAGER_H_
#define QMPECORE_CORE_EDITOR_MANAGER_H_

#include <cstdint>
#include <optional>

#include "find/find_options.h"
#include "find/result_sink.h"
#include "find/tables/name_lookups.h"
#include "find/usages/record_usages.h"
#include "qmpecore/qmpecore.h"

namespace qm {

class CEditorManager {
 public:
  // Idle: no EditorData, no event, editorId 0, empty lookups.
  CEditorManager() = default;
  CEditorManager(const CEditorManager&) = delete;
  CEditorManager& operator=(const CEditorManager&) = delete;

  // The only virtual operation. Closes an editor that is still open.
  virtual ~CEditorManager();

  // Opens the project and moves the application's registry entry to it.
  // Returns the event, or null when the manager is not idle or any part of
  // the open fails; a failed open leaves the manager idle with nothing
  // allocated.
  EventHandle OpenEditor(const char16_t* projectPath, int32_t editorId);
  // Destroys the open editor (the registry is not touched). Harmless when
  // idle.
  void CloseEditor();

  EditorData* editorData() const { return editorData_; }
  int32_t editorId() const { return editorId_; }

  // Appends the places that hold `text` within `scope` to `results`;
  // returns the list's length, or -1 (no text, no list, nothing open).
  int32_t Find(FindResultList* results, const char16_t* scope, const char16_t* text,
               int32_t matchCase);
  // The same find with any options, each result handed to `sink`; nothing
  // (and nothing found) when there is no text or nothing open.
  std::optional<FindStatus> Find(const char16_t* scope, const char16_t* text,
                                 const FindOptions& options, ResultSink& sink);
  // The usages of a record of the working set (find/usages/record_usages.h);
  // nothing when nothing is open.
  std::optional<UsagesStatus> FindUsages(int32_t table, int32_t recordId, uint32_t fileWorkers,
                                         ResultSink& sink);

 private:
  EditorData* editorData_ = nullptr;
  EventHandle event_ = nullptr;
  int32_t editorId_ = 0;
  NameLookups lookups_;  // timerNames, databaseNames, outputNames, tagNames
};

}  // namespace qm

#endif  // QMPECORE_CORE_EDITOR_MANAGER_H_
