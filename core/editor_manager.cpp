#include "core/editor_manager.h"

#include <memory>

#include "config/config_manager.h"
#include "files/file_manager.h"
#include "find/find_dispatch.h"
#include "platform/event.h"
#include "qmshared/qmshared.h"

namespace qm {
namespace {

// Releases what a half-made open editor holds.
void DestroyEditorData(EditorData* data) {
  if (data == nullptr) return;
  if (data->configManager != nullptr) {
    data->configManager->Close();
    delete data->configManager;
    data->configManager = nullptr;
  }
  if (data->fileManager != nullptr) {
    data->fileManager->Close();
    delete data->fileManager;
    data->fileManager = nullptr;
  }
  delete data;
}

}  // namespace

CEditorManager::~CEditorManager() { CloseEditor(); }

EventHandle CEditorManager::OpenEditor(const char16_t* projectPath, int32_t editorId) {
  if (editorData_ != nullptr) return nullptr;
  std::u16string path = projectPath ? projectPath : u"";
  NormalizeText(&path, 0, 0);
  if (path.empty()) return nullptr;

  // Each step runs only when the ones before succeeded; any failure undoes
  // all of them.
  std::unique_ptr<EditorData, void (*)(EditorData*)> data(new EditorData(), DestroyEditorData);
  EventHandle event = nullptr;
  data->configManager = CreateConfigManager(path);
  if (data->configManager != nullptr) {
    int32_t code = 0;
    data->fileManager = CreateFileManager(path.c_str(), &code);
  }
  if (data->fileManager != nullptr) event = platform::CreateUnnamedEvent();
  if (event == nullptr) return nullptr;
  data->projectPath = std::move(path);

  // The registry is told with the path exactly as the caller gave it; the
  // editor is open whatever the registry answers.
  QmUpdateEditor(projectPath, editorId);

  editorData_ = data.release();
  editorId_ = editorId;
  event_ = event;
  return event_;
}

void CEditorManager::CloseEditor() {
  DestroyEditorData(editorData_);
  editorData_ = nullptr;
  editorId_ = 0;
  platform::CloseEvent(event_);
  event_ = nullptr;
}

int32_t CEditorManager::Find(FindResultList* results, const char16_t* scope,
                             const char16_t* text, int32_t matchCase) {
  if (results == nullptr) return -1;
  ResultListSink sink(results);
  if (!Find(scope, text, FindOptions::FromMatchCase(matchCase), sink)) return -1;
  return static_cast<int32_t>(results->size());
}

std::optional<FindStatus> CEditorManager::Find(const char16_t* scope, const char16_t* text,
                                               const FindOptions& options, ResultSink& sink) {
  if (text == nullptr || editorData_ == nullptr || editorData_->configManager == nullptr) {
    return std::nullopt;
  }
  ConfigTableSet* working = editorData_->configManager->GetTables(true);
  if (working == nullptr) return std::nullopt;
  const FindRequest request{*editorData_,
                            [working]() -> const ConfigTableSet& { return *working; },
                            &lookups_,
                            scope,
                            text,
                            options};
  return RunFind(request, sink);
}

std::optional<UsagesStatus> CEditorManager::FindUsages(int32_t table, int32_t recordId,
                                                       uint32_t fileWorkers, ResultSink& sink) {
  if (editorData_ == nullptr || editorData_->configManager == nullptr) return std::nullopt;
  const ConfigTableSet* working = editorData_->configManager->GetTables(true);
  if (working == nullptr) return std::nullopt;
  return qm::FindUsages({*editorData_, *working, &lookups_, table, recordId, fileWorkers}, sink);
}

}  // namespace qm
