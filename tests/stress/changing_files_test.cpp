// Finds while a writer changes the project's files under them for a
// minute: it appends to them, truncates them at random bytes, renames new
// files over them, deletes and re-creates them, and removes whole folders
// and makes them again. Every find must return (a watchdog aborts the
// test when one hangs) and every line it reports must be text that one of
// its file's versions held, at that line number.
//
// A read of a file that changes meanwhile is not atomic: it may take some
// pages before a change and some after. So that every such read is still
// the start of something the file held, each file (each inode: a file
// renamed over another, or made anew, is a new generation) only ever holds
// a prefix of its own stream of lines. Appends continue the stream from
// where the file ends; truncations cut it anywhere. A line of generation g
// and number k reads "g<g>:<k>:" and, on most lines, "zeta" with filler
// after it, so a reported line names the stream it must come from: a
// line of another file or generation (a stale buffer), a wrong line
// number, or bytes never written all show.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "core/project_find.h"
#include "support/config_sets.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr auto kRunTime = std::chrono::seconds(60);
// Far beyond what one find of these few files takes, even under ASan on a
// loaded machine: only a find that never ends reaches it.
constexpr auto kFindLimit = std::chrono::seconds(60);
// Larger than a page, so that one read takes several.
constexpr size_t kMaxFileBytes = 48 * 1024;

// The folders below the project folder; "" holds the project file and is
// never removed. A folder is listed after its parent.
const char* const kFolders[] = {"", "pages", "pages/sub", "scripts", "styles"};
const char* const kFileNames[] = {"f0.htm", "f1.js", "f2.txt", "f3.css", "f4.svg", "f5.html"};

uint64_t Mix(uint64_t x) {  // splitmix64
  x += 0x9E3779B97F4A7C15ULL;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

// Line `k` (from 1) of generation `gen`, with its break: LF or CR LF.
// The filler has no "z", so "zeta" stands only where it is put.
std::string StreamLine(uint64_t gen, uint64_t k) {
  uint64_t bits = Mix(gen * 0x100000001B3ULL + k);
  // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on a
  // literal + std::string&& at -O3.
  std::string line = "g";
  line.append(std::to_string(gen)).append(":").append(std::to_string(k)).append(":");
  if (bits % 5 != 0) line += "zeta ";
  bits = Mix(bits);
  const size_t filler = bits % 120;
  const bool crlf = (bits >> 8) % 3 == 0;
  for (size_t i = 0; i < filler; ++i) {
    if (i % 8 == 0) bits = Mix(bits);
    const unsigned pick = (bits >> (i % 8 * 8)) & 0xFF;
    line.push_back(pick % 7 == 0 ? ' ' : static_cast<char>('a' + pick % 25));
  }
  line += crlf ? "\r\n" : "\n";
  return line;
}

// The number that `line` holds from `at` up to `stop`, after which `at`
// stands past `stop`; false when there is none.
bool ReadNumber(std::u16string_view line, size_t* at, char16_t stop, uint64_t* number) {
  const size_t start = *at;
  *number = 0;
  for (; *at < line.size() && line[*at] >= u'0' && line[*at] <= u'9' && *at - start < 18; ++*at) {
    *number = *number * 10 + (line[*at] - u'0');
  }
  if (*at == start || *at == line.size() || line[*at] != stop) return false;
  ++*at;
  return true;
}

// The generation and line number of "g<gen>:<k>:" at the start of `line`.
bool ReadHeader(std::u16string_view line, uint64_t* gen, uint64_t* k) {
  size_t at = 1;
  return !line.empty() && line[0] == u'g' && ReadNumber(line, &at, u':', gen) &&
         ReadNumber(line, &at, u':', k);
}

std::string Narrow(std::u16string_view text) { return {text.begin(), text.end()}; }

// A generation's stream up to kMaxFileBytes, and where each line starts.
struct Stream {
  std::string text;
  std::vector<size_t> lineStarts;

  explicit Stream(uint64_t gen) {
    for (uint64_t k = 1; text.size() < kMaxFileBytes; ++k) {
      lineStarts.push_back(text.size());
      text += StreamLine(gen, k);
    }
    lineStarts.push_back(text.size());
  }
};

// What the writer has made a generation hold: its file and the most bytes
// it ever had. Recorded before the bytes are written, so a find that saw
// them finds them recorded.
struct Generation {
  size_t slot = 0;
  size_t maxBytes = 0;
};

struct Changes {
  uint64_t appends = 0, truncations = 0, replacements = 0, deletions = 0, creations = 0,
           folderRemovals = 0, folderCreations = 0, refused = 0;
  uint64_t total() const {
    return appends + truncations + replacements + deletions + creations + folderRemovals +
           folderCreations;
  }
};

class ChangingProject {
 public:
  explicit ChangingProject(const testing::TempFolder& folder) : root_(folder.path()) {
    for (size_t f = 0; f < std::size(kFolders); ++f) {
      for (const char* name : kFileNames) {
        const fs::path relative = fs::path(kFolders[f]) / name;
        slots_.push_back({f, root_ / relative, 0, 0, false, {}});
        slotByLocation_[fs::path(relative).make_preferred().u16string()] = slots_.size() - 1;
      }
    }
    folderExists_.assign(std::size(kFolders), false);
    folderExists_[0] = true;
    for (size_t f = 1; f < std::size(kFolders); ++f) MakeFolder(f);
    std::mt19937_64 random(1);
    for (size_t s = 0; s < slots_.size(); ++s) Create(s, random() % kMaxFileBytes);
  }

  // One random change; the writer thread's loop body.
  void ChangeOnce(std::mt19937_64& random) {
    if (random() % 100 == 0) {
      Flicker(random() % slots_.size(), random);
      return;
    }
    if (random() % 400 == 0) {
      const size_t f = 1 + random() % (std::size(kFolders) - 1);
      if (folderExists_[f]) RemoveFolder(f);
      return;
    }
    const size_t s = random() % slots_.size();
    if (!folderExists_[slots_[s].folder]) {
      if (random() % 20 == 0) MakeFolder(slots_[s].folder);
      return;
    }
    if (!slots_[s].exists) {
      Create(s, random() % kMaxFileBytes);
      return;
    }
    const uint64_t pick = random() % 100;
    if (pick < 40) {
      Append(s, 1 + random() % 6000);
    } else if (pick < 70) {
      Truncate(s, slots_[s].bytes == 0 ? 0 : random() % slots_[s].bytes);
    } else if (pick < 94) {
      Replace(s, random() % kMaxFileBytes);
    } else {
      Delete(s);
    }
  }

  // A burst of small truncations on one file, grown back now and then: a
  // find that reads it meanwhile most likely sees it shrink between taking
  // its size and reading its bytes, or while reading them.
  void Flicker(size_t s, std::mt19937_64& random) {
    for (int i = 1; i <= 200 && slots_[s].exists; ++i) {
      const size_t bytes = slots_[s].bytes;
      if (i % 10 == 0) {
        Append(s, random() % 8000);
      } else {
        Truncate(s, bytes - random() % (bytes / 16 + 1));
      }
    }
  }

  const Changes& changes() const { return changes_; }

  // Called before the results of each find are checked: what the writer
  // recorded may have grown since the last.
  void NewFind() { checked_ = Checked(); }

  // Empty when the result is a line that the file at its location held
  // at its line number; else what is wrong with it. The results of one
  // file come one after the other, and all from one read of one generation.
  std::string Check(const FindResult& result) {
    if (result.tableNumber != 24) return "a table result";
    if (result.location != checked_.location) {
      const auto slot = slotByLocation_.find(result.location);
      if (slot == slotByLocation_.end()) return "a file the writer never made";
      checked_ = Checked{result.location, slot->second, 0, {}, nullptr};
    }
    const std::u16string_view line = result.matchedText;
    if (line.find(u"zeta") == line.npos) return "no zeta in " + Narrow(line);
    uint64_t gen = 0, k = 0;
    if (!ReadHeader(line, &gen, &k)) return "no header: " + Narrow(line);
    if (gen != checked_.gen) {
      {
        const std::lock_guard<std::mutex> lock(mutex_);
        const auto found = generations_.find(gen);
        if (found == generations_.end()) return "generation never made: " + Narrow(line);
        checked_.made = found->second;
      }
      if (checked_.made.slot != checked_.slot) return "a line of another file: " + Narrow(line);
      checked_.stream = &StreamOf(gen);
      checked_.gen = gen;
    }
    if (k != static_cast<uint64_t>(result.recordId)) {
      return std::string("line ").append(std::to_string(result.recordId)).append(" holds line ")
          .append(std::to_string(k));
    }
    const Stream& stream = *checked_.stream;
    if (k == 0 || k >= stream.lineStarts.size()) return "beyond the stream: " + Narrow(line);
    const size_t start = stream.lineStarts[k - 1];
    if (start + line.size() > stream.text.size() ||
        !std::equal(line.begin(), line.end(), stream.text.begin() + static_cast<ptrdiff_t>(start))) {
      return "not the stream's: " + Narrow(line);
    }
    if (start + line.size() > checked_.made.maxBytes) return "never written so far: " + Narrow(line);
    return {};
  }

 private:
  struct Slot {
    size_t folder;
    fs::path path;
    uint64_t gen;
    size_t bytes;  // as the writer left it
    bool exists;
    std::string text;  // the stream of `gen`
  };

  const Stream& StreamOf(uint64_t gen) {
    if (streams_.size() > 512) streams_.clear();  // only ever called for a new checked_.gen
    auto found = streams_.find(gen);
    if (found == streams_.end()) found = streams_.emplace(gen, Stream(gen)).first;
    return found->second;
  }

  // A new generation for the slot, recorded with `bytes` before any is
  // written, and its stream.
  std::pair<uint64_t, std::string> NewGeneration(size_t s, size_t bytes) {
    const uint64_t gen = ++lastGeneration_;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      generations_[gen] = {s, bytes};
    }
    return {gen, Stream(gen).text};
  }
  void Grow(const Slot& slot, size_t bytes) {
    const std::lock_guard<std::mutex> lock(mutex_);
    Generation& made = generations_[slot.gen];
    made.maxBytes = std::max(made.maxBytes, bytes);
  }

  static bool WriteFile(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
  }

  void Create(size_t s, size_t bytes) {
    Slot& slot = slots_[s];
    std::tie(slot.gen, slot.text) = NewGeneration(s, bytes);
    if (!WriteFile(slot.path, std::string_view(slot.text).substr(0, bytes))) {
      ++changes_.refused;
      return;
    }
    slot.bytes = bytes;
    slot.exists = true;
    ++changes_.creations;
  }

  void Append(size_t s, size_t more) {
    Slot& slot = slots_[s];
    const size_t bytes = std::min(kMaxFileBytes, slot.bytes + more);
    Grow(slot, bytes);
    std::ofstream out(slot.path, std::ios::binary | std::ios::app);
    out.write(slot.text.data() + slot.bytes, static_cast<std::streamsize>(bytes - slot.bytes));
    if (!out.flush()) {
      // Part of it may be there: the file no longer follows the model.
      ++changes_.refused;
      out.close();
      Delete(s);
      return;
    }
    slot.bytes = bytes;
    ++changes_.appends;
  }

  void Truncate(size_t s, size_t bytes) {
    std::error_code error;
    fs::resize_file(slots_[s].path, bytes, error);
    if (error) {
      ++changes_.refused;
      return;
    }
    slots_[s].bytes = bytes;
    ++changes_.truncations;
  }

  void Replace(size_t s, size_t bytes) {
    Slot& slot = slots_[s];
    auto [gen, text] = NewGeneration(s, bytes);
    fs::path temporary = slot.path;
    temporary += ".tmp~";  // no type the find searches
    std::error_code error;
    if (!WriteFile(temporary, std::string_view(text).substr(0, bytes)) ||
        (fs::rename(temporary, slot.path, error), error)) {
      fs::remove(temporary, error);
      ++changes_.refused;
      return;
    }
    slot.gen = gen;
    slot.text = std::move(text);
    slot.bytes = bytes;
    ++changes_.replacements;
  }

  void Delete(size_t s) {
    std::error_code error;
    fs::remove(slots_[s].path, error);
    if (error) {
      ++changes_.refused;
      return;
    }
    slots_[s].exists = false;
    ++changes_.deletions;
  }

  void RemoveFolder(size_t f) {
    std::error_code error;
    fs::remove_all(root_ / kFolders[f], error);
    if (error) {
      ++changes_.refused;  // part of it may be gone: find out what is left
    } else {
      ++changes_.folderRemovals;
    }
    for (size_t g = 1; g < std::size(kFolders); ++g) {
      folderExists_[g] = fs::is_directory(root_ / kFolders[g]);
    }
    for (Slot& slot : slots_) slot.exists = slot.exists && fs::exists(slot.path);
  }

  void MakeFolder(size_t f) {
    std::error_code error;
    fs::create_directories(root_ / kFolders[f], error);
    if (error) {
      ++changes_.refused;
      return;
    }
    for (size_t g = 1; g < std::size(kFolders); ++g) {
      folderExists_[g] = fs::is_directory(root_ / kFolders[g]);
    }
    ++changes_.folderCreations;
  }

  fs::path root_;
  std::vector<Slot> slots_;
  std::map<std::u16string, size_t> slotByLocation_;
  std::vector<bool> folderExists_;
  uint64_t lastGeneration_ = 0;
  Changes changes_;

  std::mutex mutex_;  // guards generations_, which the writer fills and the checker reads
  std::unordered_map<uint64_t, Generation> generations_;
  // The checker's: the streams it has read, and the file it checks.
  std::unordered_map<uint64_t, Stream> streams_;
  struct Checked {
    std::u16string location;
    size_t slot = 0;
    uint64_t gen = 0;  // 0 until a line of the file was checked
    Generation made;   // as recorded when the find had returned
    const Stream* stream = nullptr;  // of `gen`, in streams_
  };
  Checked checked_;
};

// The finds, run in turn: each selects files and asks for the lines that
// hold "zeta", plainly, by whole word or by a pattern.
struct FindKind {
  const char16_t* scope;
  const char16_t* text;
  FindOptions options;
};
const FindKind kFinds[] = {
    {u"Entire Project", u"zeta", {}},
    {u"All Files", u"ZETA", {}},
    {u"*.js", u"zeta", {true, true, false}},
    {u"All Files", u"z[e]ta ", {false, false, true}},
};

TEST(ChangingFilesTest, FindsUnderAWriterReportOnlyLinesTheFilesHeld) {
  testing::TempFolder folder;
  ConfigTableSet empty;
  empty.Renew();
  const std::u16string project = folder.Text("plant.qmp");
  ASSERT_EQ(testing::WriteProjectFile(project, empty), kCfgOk);
  ChangingProject files(folder);

  std::atomic<bool> stop{false};
  std::atomic<int64_t> findStarted{-1};  // ms since `begin` when the running find began
  const Clock::time_point begin = Clock::now();
  const auto now = [begin] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - begin).count();
  };
  std::thread watchdog([&] {
    while (!stop) {
      const int64_t started = findStarted;
      if (started >= 0 && now() - started > std::chrono::milliseconds(kFindLimit).count()) {
        std::cerr << "a find has not returned after " << kFindLimit.count() << " s" << std::endl;
        std::abort();
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  });
  std::thread writer([&] {
    std::mt19937_64 random(std::random_device{}());
    while (!stop) files.ChangeOnce(random);
  });

  uint64_t finds = 0, linesChecked = 0, failures = 0;
  std::vector<std::string> firstFailures;
  FindResultList results;
  while (Clock::now() - begin < kRunTime) {
    const FindKind& kind = kFinds[finds % std::size(kFinds)];
    results.clear();
    ResultListSink sink(&results);
    findStarted = now();
    const ProjectFindStatus status =
        FindInProject(project.c_str(), kind.scope, kind.text, kind.options, sink,
                      /*folderHandler=*/nullptr, /*folderContext=*/nullptr);
    findStarted = -1;
    ++finds;
    if (status != ProjectFindStatus::kDone) {
      ++failures;
      if (firstFailures.size() < 5) firstFailures.push_back("a find that did not finish");
    }
    files.NewFind();
    for (const FindResult& result : results) {
      ++linesChecked;
      std::string wrong = files.Check(result);
      if (wrong.empty()) continue;
      ++failures;
      if (firstFailures.size() < 5) {
        firstFailures.push_back(std::string(result.location.begin(), result.location.end()) +
                                ": " + wrong);
      }
    }
  }
  stop = true;
  writer.join();
  watchdog.join();

  const Changes& changes = files.changes();
  std::cout << "finds: " << finds << " finds, " << linesChecked << " lines checked, "
            << changes.total() << " files changed (" << changes.appends << " appends, "
            << changes.truncations << " truncations, " << changes.replacements
            << " renamed over, " << changes.deletions << " deletions, " << changes.creations
            << " creations, " << changes.folderRemovals << " folders removed, "
            << changes.folderCreations << " made again, " << changes.refused << " refused), "
            << failures << " failures\n";
  for (const std::string& failure : firstFailures) ADD_FAILURE() << failure;
  EXPECT_EQ(failures, 0u);
  EXPECT_GT(linesChecked, 0u);
  EXPECT_GT(changes.total(), finds);  // files did change under the finds
}

}  // namespace
}  // namespace qm
