#include "find/find_dispatch.h"

#include <optional>
#include <string>
#include <vector>

#include "files/file_manager.h"
#include "find/files/file_list_search.h"
#include "find/files/file_search.h"
#include "find/files/ordered_file_pool.h"
#include "find/tables/name_lookup_builders.h"
#include "find/search_needle.h"
#include "find/searched_files.h"
#include "find/tables/table_searchers.h"
#include "platform/file_names.h"
#include "platform/text_case.h"
#include "platform/wide_integer.h"
#include "qmshared/qmshared.h"

namespace qm {
namespace {

// One running find: the request, the prepared needle and, made on first
// use, the tables and the file searcher with its reusable buffers.
class FindRun {
 public:
  FindRun(const FindRequest& request, ResultSink& sink)
      : request_(request), sink_(sink), needle_(request.text, request.options) {}

  const SearchNeedle& needle() const { return needle_; }
  bool MatchLimitReached() const { return needle_.matchLimitReached() || fileMatchLimit_; }

  void SearchEntireProject() {
    SearchAllTables();
    SearchAllFiles();
  }
  // Visits the items of a scope list; false ends the item loop.
  bool SearchItem(const std::u16string& item);

 private:
  void SearchAllTables();
  void SearchAllFiles() { SearchFiles(SearchedFileTypes()); }
  void SearchSingleTable(int32_t tableNumber);
  void SearchOwnedTable(int32_t tableNumber, int32_t ownerId);
  void SearchFiles(const PatternList& patterns);
  void SearchFilesNamedLike(const std::u16string& item);
  void SearchFileList(const std::vector<std::u16string>& fullPaths);
  void SearchFile(const std::u16string& fullPath);
  // True once no more tables or files are to be searched.
  bool Stopped() const { return sink_.Done() || MatchLimitReached(); }
  void Search(TableNumber table, int32_t ownerId = -1,
              const NameMatches* matchingTagNames = nullptr) {
    if (Stopped()) return;
    SearchGridTable(table, Tables(), *request_.lookups, ownerId, needle_, sink_,
                    matchingTagNames);
  }
  const ConfigTableSet& Tables() {
    if (tables_ == nullptr) tables_ = &request_.tables();
    return *tables_;
  }
  const std::u16string& ProjectFolder();

  const FindRequest& request_;
  ResultSink& sink_;
  SearchNeedle needle_;
  const ConfigTableSet* tables_ = nullptr;
  std::optional<FileSearcher> fileSearcher_;
  std::optional<std::u16string> projectFolder_;
  // Set when a file searched by the workers, who have needles of their
  // own, ran past the match limit.
  bool fileMatchLimit_ = false;
};

void FindRun::SearchAllTables() {
  const ConfigTableSet& tables = Tables();
  NameLookups& lookups = *request_.lookups;
  BuildTimerNames(tables, &lookups.timerNames);
  BuildDatabaseNames(tables, &lookups.databaseNames);
  BuildOutputNames(tables, &lookups.outputNames);
  const TagWalk tagWalk = WalkTags(tables, &lookups, needle_);
  const NameMatches* matchingTagNames =
      tagWalk.matchingNames ? &*tagWalk.matchingNames : nullptr;
  for (TableNumber table : {kTableGeneral, kTableTimer, kTableDatabase, kTableOutput,
                            kTableAlarm, kTableUser, kTableScript, kTableIo,
                            kTableIoDevices}) {
    Search(table, -1, matchingTagNames);
  }
  if (!Stopped()) SearchTags(tagWalk, lookups, needle_, sink_);
}

// A single table, with the lookups that its searcher reads rebuilt first.
void FindRun::SearchSingleTable(int32_t tableNumber) {
  const ConfigTableSet& tables = Tables();
  NameLookups& lookups = *request_.lookups;
  switch (tableNumber) {
    case kTableGeneral:
    case kTableTimer:
    case kTableIo:
    case kTableUser:
    case kTableOutput:
      break;
    case kTableDatabase:
      BuildTimerNames(tables, &lookups.timerNames);
      break;
    case kTableAlarm:
      BuildDatabaseNames(tables, &lookups.databaseNames);
      BuildOutputNames(tables, &lookups.outputNames);
      BuildTagNames(tables, &lookups.tagNames);
      break;
    case kTableScript:
      BuildTimerNames(tables, &lookups.timerNames);
      BuildTagNames(tables, &lookups.tagNames);
      break;
    default:
      return;  // not a grid table: selects nothing
  }
  Search(static_cast<TableNumber>(tableNumber));
}

void FindRun::SearchOwnedTable(int32_t tableNumber, int32_t ownerId) {
  if (tableNumber == kTableIoDevices) {
    BuildTimerNames(Tables(), &request_.lookups->timerNames);
  } else if (tableNumber == kTableIoTags) {
    BuildDatabaseNames(Tables(), &request_.lookups->databaseNames);
  } else {
    return;
  }
  Search(static_cast<TableNumber>(tableNumber), ownerId);
}

bool FindRun::SearchItem(const std::u16string& item) {
  if (item.find(u'|') != std::u16string::npos) {
    std::vector<std::u16string> parts;
    SplitText(&parts, item, u"|", 0);
    if (parts.size() == 1) {
      SearchSingleTable(platform::ReadWideInteger(parts[0]));
    } else if (parts.size() == 2) {
      SearchOwnedTable(platform::ReadWideInteger(parts[0]), platform::ReadWideInteger(parts[1]));
    }
  } else if (item == u"All Grid Tables") {
    SearchAllTables();
  } else if (item == u"All Files") {
    SearchAllFiles();
  } else if (item.find(u"*.") != std::u16string::npos) {
    SearchFiles(PatternList{item});
    return false;  // a file pattern ends the list
  } else if (platform::IsRelativePath(item)) {
    SearchFilesNamedLike(item);
  } else {
    SearchFile(item);
  }
  return true;
}

const std::u16string& FindRun::ProjectFolder() {
  if (!projectFolder_) projectFolder_ = ProjectFolderOf(request_.editor.projectPath);
  return *projectFolder_;
}

void FindRun::SearchFiles(const PatternList& patterns) {
  if (patterns.empty()) return;
  FileNameSet names;
  if (request_.editor.fileManager != nullptr) {
    request_.editor.fileManager->GetAllFiles(&names, &patterns, nullptr, 0);
  }
  std::vector<std::u16string> fullPaths;
  fullPaths.reserve(names.size());
  for (const std::u16string& name : names) {
    FormatText(&fullPaths.emplace_back(), u"%s%s", ProjectFolder(), name);
  }
  SearchFileList(fullPaths);
}

// A relative item selects the project files of its extension whose
// relative name holds the item, ignoring case.
void FindRun::SearchFilesNamedLike(const std::u16string& item) {
  size_t dot = item.find(u'.');
  if (dot == std::u16string::npos) return;
  std::u16string pattern;
  FormatText(&pattern, u"*%s", std::u16string_view(item).substr(dot));
  FileNameSet names;
  if (request_.editor.fileManager != nullptr) {
    PatternList include{pattern};
    request_.editor.fileManager->GetAllFiles(&names, &include, nullptr, 0);
  }
  std::vector<std::u16string> selected;
  for (const std::u16string& name : names) {
    if (platform::FindTextIgnoreCase(name, item) == std::u16string::npos) continue;
    std::u16string fullPath;
    FormatText(&fullPath, u"%s%s", ProjectFolder(), name);
    NormalizeText(&fullPath, 0, 0);
    selected.push_back(std::move(fullPath));
  }
  SearchFileList(selected);
}

void FindRun::SearchFileList(const std::vector<std::u16string>& fullPaths) {
  if (Stopped()) return;
  const size_t workers =
      OrderedFilePool::WidthFor(request_.options.fileWorkers, fullPaths.size());
  if (workers <= 1) {
    for (const std::u16string& fullPath : fullPaths) SearchFile(fullPath);
    return;
  }
  if (qm::SearchFileList(needle_, fullPaths, ProjectFolder(), workers, sink_) ==
      FileListStatus::kMatchLimit) {
    fileMatchLimit_ = true;
  }
}

void FindRun::SearchFile(const std::u16string& fullPath) {
  if (Stopped()) return;
  if (!fileSearcher_) fileSearcher_.emplace(needle_);
  fileSearcher_->SearchFile(fullPath, ProjectFolder(), sink_);
}

bool IsWholeScope(const std::u16string& scope) {
  return scope == u" " || scope == u"*.*" || scope == u"Entire Project";
}

}  // namespace

FindStatus RunFind(const FindRequest& request, ResultSink& sink) {
  FindRun run(request, sink);
  if (run.needle().patternError() != nullptr) return FindStatus::kBadPattern;
  std::u16string scope = request.scope ? request.scope : u"";
  NormalizeText(&scope, 0, 0);
  if (IsWholeScope(scope)) {
    run.SearchEntireProject();
  } else {
    // Items come from the scope as the caller gave it, not the normalised
    // copy, and are never trimmed.
    std::u16string list;
    FormatText(&list, u"%s", request.scope ? request.scope : u"");
    std::vector<std::u16string> items;
    SplitText(&items, list, u",", 0);
    for (const std::u16string& item : items) {
      if (!run.SearchItem(item)) break;
    }
  }
  return run.MatchLimitReached() ? FindStatus::kMatchLimit : FindStatus::kDone;
}

}  // namespace qm
