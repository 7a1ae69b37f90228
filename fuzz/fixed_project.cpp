#include "fixed_project.h"

#include <fstream>

#include "fuzz_support.h"
#include "support/sample_config.h"
#include "support/temp_folder.h"

namespace qm::fuzz {
namespace {

void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

}  // namespace

const FixedProject& TheFixedProject() {
  static testing::TempFolder folder;
  static const FixedProject project = [] {
    FixedProject made{folder.path(), folder.path() / "plant.qmp"};
    Require(testing::WriteProjectFile(made.projectFile.u16string(), testing::SampleSet()) == 0,
            "the fixed project is written");
    WriteText(made.folder / "page.htm", "<p>Tag1 level</p>\r\n<p>High level 0</p>\n");
    WriteText(made.folder / "scripts" / "on start.js", "// OnStart 0\nvar tag = 'Tag10';\r");
    WriteText(made.folder / "style.css", "p { color: red; }\n\xC3\xA9t\xC3\xA9 \xE2\x84\xAA\n");
    WriteText(made.folder / "notes.txt", "line one\r\rline three \xFF\x80 Tag2\n");
    return made;
  }();
  return project;
}

}  // namespace qm::fuzz
