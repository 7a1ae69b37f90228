// A fresh folder under the system's temporary folder, removed with
// everything in it when the object goes.
#ifndef QMPECORE_TESTS_SUPPORT_TEMP_FOLDER_H_
#define QMPECORE_TESTS_SUPPORT_TEMP_FOLDER_H_

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <stdexcept>
#include <string>

namespace qm::testing {

class TempFolder {
 public:
  // A name that no other folder has: create_directory reports whether it
  // made the folder, so two tests never share one.
  TempFolder() {
    std::random_device seed;
    std::mt19937_64 random(seed());
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
      path_ = base / ("qmpe-test-" + std::to_string(random() % 100000000));
      if (std::filesystem::create_directory(path_)) return;
    }
    throw std::runtime_error("no fresh temporary folder");
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
  // The path of `name` (written with "/") inside the folder as UTF-16, with
  // the platform's separators.
  std::u16string Text(const std::string& name = "") const {
    std::filesystem::path path = name.empty() ? path_ : path_ / name;
    return path.make_preferred().u16string();
  }

 private:
  std::filesystem::path path_;
};

// Writes `bytes` as they stand (no line-end translation), making the
// folders on the way.
inline void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every file under `folder` (its sub-folders too) by relative path, with
// its bytes.
inline std::map<std::string, std::string> FolderBytes(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    files[std::filesystem::relative(entry.path(), folder).generic_string()] =
        ReadFileBytes(entry.path());
  }
  return files;
}

}  // namespace qm::testing

#endif  // QMPECORE_TESTS_SUPPORT_TEMP_FOLDER_H_
