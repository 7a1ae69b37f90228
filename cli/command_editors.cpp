// qmpe editors [--json] | get KEY | exists KEY | add KEY ID | update KEY ID |
// remove KEY ID: the machine-wide editor registry through its six exports.
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "qmpecore/qmpecore.h"

namespace qm::cli {
namespace {

constexpr char kLifetimeNote[] =
    "The registry lives only while some process holds it: it appears with the first "
    "editor added and is gone when the last process holding it ends. A change made "
    "here therefore lasts only beside a running editor (for instance `qmpe open "
    "PROJECT_FILE --editor-id N --wait` in another shell); on its own, qmpe makes the "
    "registry, changes it and takes it away again when it exits.";

struct EditorsOptions {
  bool json = false;
  std::string key;
  int32_t editorId = 0;
};

// Registry keys are project paths, made absolute as the editor gives them.
std::u16string KeyText(const std::string& key) { return PathText(AbsolutePath(key)); }

void ListEditors(const EditorsOptions& options) {
  EditorMap editors;
  const int32_t count = QmGetEditors(&editors);
  if (options.json) {
    nlohmann::json list = nlohmann::json::array();
    for (const auto& [path, editorId] : editors) {
      list.push_back({{"projectPath", ToUtf8(path)}, {"editorId", editorId}});
    }
    std::printf("%s\n", list.dump(2).c_str());
  } else {
    for (const auto& [path, editorId] : editors) {
      std::printf("%d\t%s\n", editorId, PathBytes(path).c_str());
    }
  }
  if (count < 0) {
    std::fprintf(stderr,
                 "qmpe: no editor registry to read (no process holds one, or it is busy)\n");
  }
  ExitWith(count < 0 ? kExitNo : kExitSuccess);
}

void GetEditor(const EditorsOptions& options) {
  int32_t editorId = 0;
  const bool found = QmGetEditor(KeyText(options.key).c_str(), &editorId);
  if (found) std::printf("%d\n", editorId);
  ExitWith(found ? kExitSuccess : kExitNo);
}

void EditorExists(const EditorsOptions& options) {
  ExitWith(QmEditorExists(KeyText(options.key).c_str()) ? kExitSuccess : kExitNo);
}

using Change = bool (*)(const char16_t*, int32_t);

void ChangeEditor(const EditorsOptions& options, Change change) {
  ExitWith(change(KeyText(options.key).c_str(), options.editorId) ? kExitSuccess : kExitNo);
}

CLI::App* AddKeyCommand(CLI::App* editors, const char* name, const char* help,
                        EditorsOptions* options) {
  auto* command = editors->add_subcommand(name, help);
  command->add_option("KEY", options->key, "The project path (made absolute)")->required();
  return command;
}

void AddChangeCommand(CLI::App* editors, const char* name, const char* help, Change change,
                      const std::shared_ptr<EditorsOptions>& options) {
  auto* command = AddKeyCommand(editors, name, help, options.get());
  command->add_option("ID", options->editorId, "The editor id (a 32-bit number)")->required();
  command->footer(kLifetimeNote);
  command->callback([options, change] { ChangeEditor(*options, change); });
}

}  // namespace

void AddEditorsCommand(CLI::App& app) {
  auto* editors = app.add_subcommand(
      "editors",
      "Show or change the editor registry, the machine-wide list of running editors "
      "(project path and editor id). Without a sub-command: print each entry as "
      "\"ID<TAB>PATH\" (exit 0; 1 when there is no registry)");
  editors->require_subcommand(0, 1);
  editors->footer(kLifetimeNote);
  auto options = std::make_shared<EditorsOptions>();
  editors->add_flag("--json", options->json, "Print the list as JSON");
  editors->callback([editors, options] {
    if (editors->get_subcommands().empty()) ListEditors(*options);
  });
  AddKeyCommand(editors, "get", "Print the id of the editor of KEY (exit 0; 1 when none)",
                options.get())
      ->callback([options] { GetEditor(*options); });
  AddKeyCommand(editors, "exists", "Exit 0 when KEY is registered, 1 when not",
                options.get())
      ->callback([options] { EditorExists(*options); });
  AddChangeCommand(editors, "add",
                   "Register editor ID under KEY (exit 0; 1 when KEY is taken, ID is 0 or "
                   "the registry is busy)",
                   QmAddEditor, options);
  AddChangeCommand(editors, "update",
                   "Move editor ID to KEY (exit 0; 1 when the editor is not registered or "
                   "already has KEY)",
                   QmUpdateEditor, options);
  AddChangeCommand(editors, "remove",
                   "Take editor ID off KEY (exit 0; 1 when KEY is not registered to ID)",
                   QmRemoveEditor, options);
}

}  // namespace qm::cli
