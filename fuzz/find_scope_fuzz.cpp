// The find's scope dispatch on the fixed project: any scope list, any
// text, any match-case value, whole words or not, plain or pattern. Each find answers with the length of its
// list, every result's text holds the needle (a file result carries it as
// its search text too), and a second find with the same request (the name
// lookups kept, as an editor keeps them) on one thread, where the first
// searched the files on three, answers alike.
#include <memory>

#include "config/config_manager.h"
#include "files/file_manager.h"
#include "find/find_dispatch.h"
#include "find/search_needle.h"
#include "fixed_project.h"
#include "fuzz_support.h"

namespace qm::fuzz {
namespace {

constexpr int32_t kFileTableNumber = 24;

struct OpenProject {
  EditorData editor;
  NameLookups lookups;
};

OpenProject& TheOpenProject() {
  static OpenProject* open = [] {
    auto* made = new OpenProject;
    made->editor.projectPath = TheFixedProject().projectFile.u16string();
    made->editor.configManager = CreateConfigManager(made->editor.projectPath);
    int32_t code = 0;
    made->editor.fileManager = CreateFileManager(made->editor.projectPath.c_str(), &code);
    Require(made->editor.configManager != nullptr && made->editor.fileManager != nullptr,
            "the fixed project opens");
    return made;
  }();
  return *open;
}

// The find reads a named file whole, and device files never end: scopes
// that could name one are left out.
bool MayNameADevice(const std::u16string& scope) {
  for (const char16_t* word : {u"dev", u"proc", u"sys"}) {
    if (scope.find(word) != std::u16string::npos) return true;
  }
  return false;
}

FindResultList Find(OpenProject& project, const std::u16string& scope, const std::u16string& text,
                    const FindOptions& options) {
  FindResultList results;
  ResultListSink sink(&results);
  ConfigTableSet* tables = project.editor.configManager->GetTables(true);
  const FindRequest request{project.editor,
                            [tables]() -> const ConfigTableSet& { return *tables; },
                            &project.lookups,
                            scope.c_str(),
                            text.c_str(),
                            options};
  RunFind(request, sink);
  return results;
}

}  // namespace
}  // namespace qm::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qm::fuzz;
  InputReader input(data, size);
  // The low bits pick the match-case value (-1 to 62), the high ones whole
  // words and patterns.
  const uint8_t flags = input.Byte();
  qm::FindOptions options = qm::FindOptions::FromMatchCase(static_cast<int32_t>(flags & 0x3F) - 1);
  options.wholeWord = (flags & 0x40) != 0;
  options.regex = (flags & 0x80) != 0;
  options.fileWorkers = 3;
  const std::u16string scope = input.UnitsToZero();
  const std::u16string text = input.UnitsToZero();
  if (MayNameADevice(scope)) return 0;
  OpenProject& project = TheOpenProject();
  const qm::FindResultList results = Find(project, scope, text, options);
  const qm::SearchNeedle needle(text, options);
  for (const qm::FindResult& result : results) {
    Require(qm::MatchField(result.matchedText, needle), "every result's text holds the needle");
    Require(result.searchText == (result.tableNumber == kFileTableNumber ? text : u""),
            "only a file result carries the search text");
  }
  qm::FindOptions oneThread = options;
  oneThread.fileWorkers = 1;
  Require(Find(project, scope, text, oneThread) == results,
          "the same find finds the same, on one thread as on several");
  return 0;
}
