#include "core/project_find.h"

#include <memory>
#include <optional>
#include <string>

#include "config/config_manager.h"
#include "core/unread_folders.h"
#include "qmcfg/qmcfg.h"
#include "files/file_manager.h"
#include "find/find_dispatch.h"
#include "qmshared/qmshared.h"

namespace qm {
namespace {

// The store's handle, closed on every way out.
class StoreHandle {
 public:
  explicit StoreHandle(const std::u16string& path) : handle_(CfgOpenConfig(path.c_str(), 0)) {}
  ~StoreHandle() {
    if (handle_ != 0) CfgCloseConfig(handle_);
  }
  StoreHandle(const StoreHandle&) = delete;
  StoreHandle& operator=(const StoreHandle&) = delete;
  ConfigHandle get() const { return handle_; }

 private:
  ConfigHandle handle_;
};

struct FileManagerCloser {
  void operator()(CFileManager* files) const {
    files->Close();
    delete files;
  }
};

}  // namespace

ProjectFindStatus FindInProject(const char16_t* projectPath, const char16_t* scope,
                                const char16_t* text, const FindOptions& options,
                                ResultSink& sink, QmUnreadFolderHandler folderHandler,
                                void* folderContext) {
  if (text == nullptr) return ProjectFindStatus::kNoText;
  EditorData project;
  project.projectPath = projectPath ? projectPath : u"";
  NormalizeText(&project.projectPath, 0, 0);
  if (project.projectPath.empty()) return ProjectFindStatus::kCannotOpen;

  // Opening the store checks that the file is a project before anything is
  // searched; its tables wait for the first table the scope selects.
  const StoreHandle store(project.projectPath);
  if (store.get() == 0) return ProjectFindStatus::kCannotOpen;
  int32_t code = 0;
  std::unique_ptr<CFileManager, FileManagerCloser> files(
      CreateFileManager(project.projectPath.c_str(), &code));
  if (files == nullptr) return ProjectFindStatus::kCannotOpen;
  project.fileManager = files.get();
  if (folderHandler != nullptr) DeliverUnreadFolders(*files, folderHandler, folderContext);

  std::optional<ConfigTableSet> tables;
  NameLookups lookups;
  const FindRequest request{project,
                            [&]() -> const ConfigTableSet& {
                              LoadTableSet(store.get(), &tables.emplace());
                              return *tables;
                            },
                            &lookups,
                            scope,
                            text,
                            options};
  switch (RunFind(request, sink)) {
    case FindStatus::kDone:
      return ProjectFindStatus::kDone;
    case FindStatus::kBadPattern:
      return ProjectFindStatus::kBadPattern;
    case FindStatus::kMatchLimit:
      return ProjectFindStatus::kMatchLimit;
  }
  return ProjectFindStatus::kDone;
}

}  // namespace qm
