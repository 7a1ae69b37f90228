// qmpe sample DIR [--scale small|large] [--seed N] [--force]
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <memory>
#include <string>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "sample/sample_config.h"
#include "sample/sample_error.h"
#include "sample/sample_files.h"
#include "sample/sample_words.h"

namespace qm::cli {
namespace {

using sample::kCommonNeedle;
using sample::kRareNeedle;
using sample::SampleFolder;

constexpr char kProjectFileName[] = "plant.qmp";

constexpr char kSampleFooter[] = R"(The same scale and seed always give the same bytes.

small (the default): a few hundred records and a few dozen files.
large (the benchmark project): 100 ports, 2,000 devices, 100,000 tags,
20,000 alarms, 2,000 scripts, 1,000 timers, 500 users, 200 databases,
200 outputs and 2,000 text files of about 160 MB.

Find needles in the text files:
  OverflowAlarmResetLatch  rare: on one line each of 3 (small) or 9 (large)
                           searched files, and in logs/runtime.log, which the
                           find does not read.
  value                    common: on many lines of every kind of file.
Files with lone-CR or mixed line breaks, a zero byte, UTF-16 text or no line
break at all, and files in .hidden/, hold no "value", so any line-oriented
tool that reads the seven searched types (extensions in any letter case)
counts the same lines.)";

struct SampleOptions {
  std::string dir;
  std::string scale = "small";
  uint64_t seed = 1;
  bool force = false;
};

void MakeFolder(const std::string& dir) {
  std::error_code error;
  const std::filesystem::path path = PathOf(dir);
  if (std::filesystem::exists(path, error) && !std::filesystem::is_directory(path, error)) {
    throw CommandError(dir + " exists and is not a folder");
  }
  std::filesystem::create_directories(path, error);
  if (error) throw CommandError("cannot create the folder " + dir + ": " + error.message());
  if (!std::filesystem::is_directory(path, error)) throw CommandError(dir + " is not a folder");
}

// Nothing of the user's is replaced without --force: neither a project
// file nor a file of the same name as one the sample writes.
void RefuseToReplace(const std::string& dir, const SampleFolder& folder) {
  const std::filesystem::path root = PathOf(dir);
  std::error_code error;
  if (std::filesystem::exists(root / kProjectFileName, error)) {
    throw CommandError(dir + "/" + kProjectFileName + " already exists; use --force to replace it");
  }
  for (const std::string& name : folder.Names()) {
    const std::filesystem::path path = root / PathOf(name);
    if (std::filesystem::exists(path, error)) {
      throw CommandError(dir + "/" + name +
                         " already exists; use --force to replace the sample's files");
    }
  }
}

// A replaced project starts from no file at all, so that the same seed
// gives the same bytes again (SQLite would reuse the old pages).
void RemoveProjectFile(const std::string& path) {
  for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
    std::error_code error;
    std::filesystem::remove(PathOf(path + suffix), error);
    if (error) throw CommandError("cannot replace " + path + suffix + ": " + error.message());
  }
}

void PrintSummary(const SampleOptions& options, const std::string& dir, const ConfigTableSet& set,
                  size_t files, uint64_t bytes, uint32_t rareLines) {
  const std::pair<const char*, size_t> tables[] = {
      {"general", set.general->size()},      {"timers", set.timers->size()},
      {"databases", set.databases->size()},  {"users", set.users->size()},
      {"trends", set.trends->size()},        {"io_ports", set.ioPorts->size()},
      {"io_devices", set.ioDevices->size()}, {"io_tags", set.ioTags->size()},
      {"outputs", set.outputs->size()},      {"alarms", set.alarms->size()},
      {"scripts", set.scripts->size()},
  };
  std::cout << "Sample project (" << options.scale << ", seed " << options.seed << ") in " << dir
            << "\n";
  std::cout << "  " << kProjectFileName << "\n";
  size_t records = 0;
  for (const auto& [name, count] : tables) {
    std::cout << "    " << std::left << std::setw(12) << name << std::right << std::setw(9) << count
              << "\n";
    records += count;
  }
  std::cout << "    " << std::left << std::setw(12) << "total" << std::right << std::setw(9)
            << records << "\n";
  std::cout << "  " << files << " files, " << std::fixed << std::setprecision(1)
            << static_cast<double>(bytes) / 1e6 << " MB\n";
  std::cout << "  find needles: rare \"" << kRareNeedle << "\" (on " << rareLines
            << " lines of searched files), common \"" << kCommonNeedle << "\"" << std::endl;
}

void RunSample(const SampleOptions& options) {
  const bool large = options.scale == "large";
  const std::string dir = AbsolutePath(options.dir);
  const SampleFolder folder(large ? sample::kLargeFilesSize : sample::kSmallFilesSize,
                            options.seed);
  MakeFolder(dir);
  const std::string projectPath = dir + "/" + kProjectFileName;
  if (options.force) {
    RemoveProjectFile(projectPath);
  } else {
    RefuseToReplace(dir, folder);
  }
  ConfigTableSet set;
  sample::BuildSampleConfig(large ? sample::kLargeConfigSize : sample::kSmallConfigSize,
                            options.seed, &set);
  uint64_t bytes = 0;
  try {
    sample::WriteSampleConfig(projectPath, set);
    bytes = folder.Write(dir);
  } catch (const sample::SampleError& e) {
    throw CommandError(e.what());
  }
  PrintSummary(options, dir, set, folder.Names().size(), bytes, folder.RareNeedleLines());
  ExitWith(kExitSuccess);
}

}  // namespace

void AddSampleCommand(CLI::App& app) {
  auto options = std::make_shared<SampleOptions>();
  CLI::App* command = app.add_subcommand(
      "sample", "Write a sample plant project (plant.qmp and a folder of text files) into DIR");
  command->add_option("DIR", options->dir, "Folder to write into; made when missing")->required();
  command
      ->add_option("--scale", options->scale, "small (the demo) or large (the benchmark project)")
      ->check(CLI::IsMember({"small", "large"}))
      ->capture_default_str();
  command->add_option("--seed", options->seed, "Seed of the generator")->capture_default_str();
  command->add_flag("--force", options->force,
                    "Replace an existing plant.qmp and sample files in DIR");
  command->footer(kSampleFooter);
  command->callback([options] { RunSample(*options); });
}

}  // namespace qm::cli
