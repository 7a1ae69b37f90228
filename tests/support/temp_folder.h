// A fresh folder under the system's temporary folder, removed with
// everything in it when the object goes.
#ifndef QMPECORE_TESTS_SUPPORT_TEMP_FOLDER_H_
#define QMPECORE_TESTS_SUPPORT_TEMP_FOLDER_H_

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace qm::testing {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qmpe-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  // The path of `name` inside the folder as UTF-16 (test names are ASCII).
  std::u16string Text(const std::string& name = "") const {
    std::string narrow = name.empty() ? path_.string() : (path_ / name).string();
    return std::u16string(narrow.begin(), narrow.end());
  }

 private:
  std::filesystem::path path_;
};

inline std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace qm::testing

#endif  // QMPECORE_TESTS_SUPPORT_TEMP_FOLDER_H_
