// The commands that drive the library as the application does: exit codes
// a shell script can rely on, and the find's JSON output.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "qmpecore/version.h"
#include "support/run_command.h"
#include "support/sql.h"
#include "support/temp_folder.h"

namespace {

using qm::testing::Quoted;
using qm::testing::TempFolder;

class Commands : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new TempFolder();
    ASSERT_EQ(Run("sample " + folder_->path().string() + "/p --seed 5"), 0);
  }
  static void TearDownTestSuite() { delete folder_; }

  static int Run(const std::string& arguments, std::string* output = nullptr) {
    return qm::testing::RunQmpe(arguments, output);
  }
  static std::string Project() { return folder_->path().string() + "/p/plant.qmp"; }

  static TempFolder* folder_;
};

TempFolder* Commands::folder_ = nullptr;

// --version needs no command, and names the version that the library's
// header gives; --help offers it.
TEST_F(Commands, VersionIsTheLibrarysAndNeedsNoCommand) {
  std::string output;
  ASSERT_EQ(Run("--version", &output), 0);
  const std::string expected = "qmpe (qmpecore) " QMPECORE_VERSION;
  ASSERT_EQ(output.substr(0, expected.size()), expected);
  EXPECT_EQ(output.find_first_not_of("\r\n", expected.size()), std::string::npos) << output;
  ASSERT_EQ(Run("--help", &output), 0);
  EXPECT_NE(output.find("--version"), std::string::npos);
}

TEST_F(Commands, FindAnswersLikeGrep) {
  EXPECT_EQ(Run("find " + Project() + " OverflowAlarmResetLatch"), 0);
  EXPECT_EQ(Run("find " + Project() + " no-such-text-anywhere"), 1);
  EXPECT_EQ(Run("find " + folder_->path().string() + "/missing.qmp x"), 2);
  EXPECT_EQ(Run("find " + Project()), 2);  // the text is missing
}

TEST_F(Commands, FindJsonHoldsTheNineFieldsAndNothingElse) {
  std::string output;
  ASSERT_EQ(Run("find " + Project() + " Pump --scope " + Quoted("All Grid Tables,*.js") + " --json", &output), 0);
  nlohmann::json results = nlohmann::json::parse(output);
  ASSERT_TRUE(results.is_array());
  ASSERT_FALSE(results.empty());
  for (const auto& result : results) {
    EXPECT_EQ(result.size(), 9u);
    for (const char* field : {"tableNumber", "location", "recordId", "column", "columnName",
                              "label", "matchedText", "searchText", "parentId"}) {
      EXPECT_TRUE(result.contains(field)) << field;
    }
  }
  EXPECT_EQ(results.back()["tableNumber"], 24);  // the file pattern comes last
}

// A file hit reads path:line:column with the column in the line, counted
// from 1, as editors take it, at the match that the options allow; a
// pattern that does not compile is an error that says where.
TEST_F(Commands, FindPrintsTheColumnOfTheMatchTheOptionsAllow) {
  std::ofstream(folder_->path() / "p" / "columns.txt", std::ios::binary)
      << "first line\r\n  a NEEDLE and a needle\n";
  std::ofstream(folder_->path() / "p" / "words.txt", std::ios::binary)
      << "pumps pump_1 pump-2\nno match here\n";
  const std::pair<std::string, std::string> cases[] = {
      {"needle --scope columns.txt", "columns.txt:2:5:   a NEEDLE and a needle"},
      {"needle --scope columns.txt --match-case", "columns.txt:2:18:   a NEEDLE and a needle"},
      {"pump --scope words.txt --word", "words.txt:1:14: pumps pump_1 pump-2"},
      {Quoted("pump_\\d") + " --scope words.txt --regex", "words.txt:1:7: pumps pump_1 pump-2"},
      {Quoted("p\\w+") + " --scope words.txt --regex --word", "words.txt:1:1: pumps pump_1 pump-2"},
  };
  std::string output;
  for (const auto& [arguments, firstLine] : cases) {
    ASSERT_EQ(Run("find " + Project() + " " + arguments, &output), 0) << arguments;
    EXPECT_EQ(output.substr(0, output.find_first_of("\r\n")), firstLine) << arguments;
  }
  EXPECT_EQ(Run("find " + Project() + " " + Quoted("^match") + " --scope words.txt --regex"), 1);

  ASSERT_EQ(Run("find " + Project() + " " + Quoted("pump(") + " --regex", &output), 2);
  EXPECT_NE(output.find("does not compile at offset 5: missing closing parenthesis"),
            std::string::npos)
      << output;
}

TEST_F(Commands, FindJsonLinesAreTheJsonResultsOneALine) {
  std::string array, output;
  ASSERT_EQ(Run("find " + Project() + " Pump --json", &array), 0);
  ASSERT_EQ(Run("find " + Project() + " Pump --json-lines", &output), 0);
  nlohmann::json lines = nlohmann::json::array();
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
  EXPECT_EQ(lines, nlohmann::json::parse(array));
  EXPECT_EQ(Run("find " + Project() + " Pump --json --json-lines"), 2);
}

// --count, -l, --max-count and --threads against what the plain find
// gives, the scope by table name against the scope by number, and --color
// against --color never with its escapes taken out.
TEST_F(Commands, FindOptionsAgreeWithThePlainFind) {
  const std::string find = "find " + Project() + " tank ";
  // Lines as written, whatever line end the platform's text output gives.
  const auto run = [](const std::string& arguments, std::string* output) {
    const int status = Run(arguments, output);
    std::erase(*output, '\r');
    return status;
  };
  std::string plainLines, output;
  ASSERT_EQ(run(find + "--json-lines", &plainLines), 0);
  std::vector<std::pair<std::string, int>> places;  // in order, with their counts
  std::istringstream in(plainLines);
  for (std::string line; std::getline(in, line);) {
    const std::string place = nlohmann::json::parse(line)["location"];
    if (places.empty() || places.back().first != place) places.emplace_back(place, 0);
    ++places.back().second;
  }
  ASSERT_GT(places.size(), 3u);
  std::string counts, listed;
  int total = 0;
  for (const auto& [place, count] : places) {
    counts += place + ":" + std::to_string(count) + "\n";
    listed += place + "\n";
    total += count;
  }
  ASSERT_EQ(run(find + "--count", &output), 0);
  EXPECT_EQ(output, counts + std::to_string(total) + " results\n");
  ASSERT_EQ(run(find + "-l", &output), 0);
  EXPECT_EQ(output, listed);
  ASSERT_EQ(run(find + "--max-count 1", &output), 0);
  EXPECT_NE(output.find("\n" + std::to_string(places.size()) + " results\n"), std::string::npos);
  std::string threaded;
  for (const char* threads : {"1", "3"}) {
    ASSERT_EQ(run(find + "--json-lines --threads " + threads, &threaded), 0);
    EXPECT_EQ(threaded, plainLines) << threads;
  }
  EXPECT_EQ(Run(find + "--threads 0"), 2);
  EXPECT_EQ(Run(find + "--threads 256"), 2);

  std::string byName, byNumber;
  ASSERT_EQ(run(find + "--scope " + Quoted("alarm, io_tags,*.js"), &byName), 0);
  ASSERT_EQ(run(find + "--scope " + Quoted("6|,21|-1,*.js"), &byNumber), 0);
  EXPECT_EQ(byName, byNumber);
  EXPECT_EQ(Run(find + "--scope trend"), 2);

  std::string plain, colored;
  ASSERT_EQ(run(find + "--color never", &plain), 0);
  ASSERT_EQ(run(find + "--color always", &colored), 0);
  EXPECT_EQ(plain.find('\033'), std::string::npos);
  EXPECT_NE(colored.find("\033[1;31m"), std::string::npos);
  std::string stripped;
  for (size_t at = 0; at < colored.size(); ++at) {
    if (colored[at] == '\033') {
      at = colored.find('m', at);
    } else {
      stripped.push_back(colored[at]);
    }
  }
  EXPECT_EQ(stripped, plain);
}

// Context lines as grep prints them (path-line-text, "--" between groups,
// also across files and with no context at all), against the lines as the
// find numbers them: breaks CR LF, CR and LF, hits on the first and last
// line, a final break that ends the file.
TEST_F(Commands, FindContextLinesAsGrepPrintsThem) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> files = {
      {"context_a.txt", {"KEY first", "b", "c", "d key", "e", "f", "g", "h", "i key", "Key last"}},
      {"context_b.txt", {"one", "two key"}}};
  const std::string breaks[] = {"\r\n", "\r", "\n"};
  for (const auto& [name, lines] : files) {
    std::ofstream out(folder_->path() / "p" / name, std::ios::binary);
    for (size_t i = 0; i < lines.size(); ++i) out << lines[i] << breaks[i % 3];
  }
  const auto expected = [&files](int before, int after) {
    std::string text;
    bool anyGroup = false;
    for (const auto& [name, lines] : files) {
      const auto hit = [&lines](int number) {
        return number >= 1 && number <= static_cast<int>(lines.size()) &&
               lines[number - 1].find_first_of("Kk") != std::string::npos;
      };
      int last = 0;
      for (int number = 1; number <= static_cast<int>(lines.size()); ++number) {
        bool shown = false;
        for (int at = number - after; at <= number + before; ++at) shown = shown || hit(at);
        if (!shown) continue;
        if (last == 0 ? anyGroup : number > last + 1) text += "--\n";
        const char mark = hit(number) ? ':' : '-';
        text += name + mark + std::to_string(number) + mark + lines[number - 1] + "\n";
        last = number;
        anyGroup = true;
      }
    }
    return text;
  };
  const struct {
    std::string options;
    int before, after;
  } cases[] = {{"-C 1", 1, 1}, {"-A 2", 0, 2}, {"-B 3", 3, 0}, {"-C 0", 0, 0},
               {"-C 4 -A 0", 4, 0}, {"-B 1 -A 9", 1, 9}};
  for (const auto& c : cases) {
    std::string output;
    ASSERT_EQ(Run("find " + Project() + " key --scope " + Quoted("context_a.txt,context_b.txt") + " " +
                      c.options,
                  &output),
              0);
    std::erase(output, '\r');
    // The column of a hit is not grep's; the count line neither.
    output = std::regex_replace(output, std::regex("^([^:\n]+:[0-9]+):[0-9]+: ", std::regex::multiline), "$1:");
    output.erase(output.rfind("5 results\n"));
    EXPECT_EQ(output, expected(c.before, c.after)) << c.options;
  }
  EXPECT_EQ(Run("find " + Project() + " key -C 1 --json"), 2);
  for (const auto& file : files) std::filesystem::remove(folder_->path() / "p" / file.first);
}

// The usages of a timer and its rename there and back through qmpe: the
// file line found by the whole name, the preview writing nothing, apply
// and its reverse giving back every byte, a name in use refused.
TEST_F(Commands, UsagesAndRenameThereAndBack) {
  const std::filesystem::path uses = folder_->path() / "p" / "timer_uses.txt";
  const std::string original = "Run(\"Every second\");\r\nEvery seconds\n";
  qm::testing::WriteFileBytes(uses, original);
  const auto contents = [&uses] { return qm::testing::ReadFileBytes(uses); };
  std::string output;
  ASSERT_EQ(Run("usages " + Project() + " timer " + Quoted("Every second"), &output), 0);
  EXPECT_NE(output.find("timer_uses.txt:1:6: Run(\"Every second\");"), std::string::npos) << output;
  EXPECT_EQ(output.find("timer_uses.txt:2"), std::string::npos) << output;
  std::string threaded;
  ASSERT_EQ(Run("usages " + Project() + " timer " + Quoted("Every second") + " --threads 3",
                &threaded), 0);
  EXPECT_EQ(threaded, output);
  EXPECT_EQ(Run("usages " + Project() + " timer " + Quoted("No such timer")), 2);

  ASSERT_EQ(Run("rename " + Project() + " timer " + Quoted("Every second") + " Tick", &output), 0);
  EXPECT_EQ(contents(), original);  // a preview writes nothing
  ASSERT_EQ(Run("rename " + Project() + " timer " + Quoted("Every second") + " Tick --apply"), 0);
  EXPECT_EQ(contents(), "Run(\"Tick\");\r\nEvery seconds\n");
  EXPECT_EQ(Run("usages " + Project() + " timer " + Quoted("Every second")), 2);
  EXPECT_EQ(Run("rename " + Project() + " timer Tick " + Quoted("Every 100 ms") + " --apply"), 2);
  ASSERT_EQ(Run("rename " + Project() + " timer Tick " + Quoted("Every second") + " --apply"), 0);
  EXPECT_EQ(contents(), original);
  std::filesystem::remove(uses);
}

// A replace there and back through qmpe: the preview in JSON writing
// nothing, the apply and its reverse giving back every byte, nothing to
// replace, and a Name that another timer has refused.
TEST_F(Commands, ReplaceThereAndBack) {
  const std::filesystem::path notes = folder_->path() / "p" / "replace_notes.txt";
  const std::string original = "Valve-7 and valve-7\r\nVALVE-7\n";
  qm::testing::WriteFileBytes(notes, original);
  const auto contents = [&notes] { return qm::testing::ReadFileBytes(notes); };
  const std::string replace = "replace " + Project() + " ";
  std::string output;
  ASSERT_EQ(Run(replace + "Valve-7 Ventil-7 --match-case --json", &output), 0);
  const nlohmann::json changes = nlohmann::json::parse(output);
  ASSERT_EQ(changes.size(), 1u) << output;
  EXPECT_EQ(changes[0]["kind"], "line");
  EXPECT_EQ(changes[0]["after"], "Ventil-7 and valve-7");
  EXPECT_EQ(contents(), original);
  std::string threaded;
  ASSERT_EQ(Run(replace + "Valve-7 Ventil-7 --match-case --json --threads 3", &threaded), 0);
  EXPECT_EQ(threaded, output);
  ASSERT_EQ(Run(replace + Quoted("v(alve)-7") + " " + Quoted("W${1}x") + " --regex --apply"), 0);
  EXPECT_EQ(contents(), "Walvex and Walvex\r\nWALVEx\n");
  EXPECT_EQ(Run(replace + Quoted("W(alve|ALVE)x") + " " + Quoted("V$1-7") + " --regex --match-case --apply"), 0);
  EXPECT_EQ(Run(replace + Quoted("(?<=and )Valve") + " valve --regex --match-case --apply"), 0);
  EXPECT_EQ(contents(), original);
  EXPECT_EQ(Run(replace + "no-such-text-anywhere x"), 1);
  EXPECT_EQ(Run(replace + Quoted("Every second") + " " + Quoted("Every 100 ms") + " --match-case --apply", &output), 2);
  EXPECT_NE(output.find("the same Name"), std::string::npos) << output;
  std::filesystem::remove(notes);
}

// A tag list out and in: unchanged is no change, a bad cell is named as
// compilers name a line, and --apply makes a change that the next export
// shows.
TEST_F(Commands, ExportAndImportThereAndBack) {
  const std::string list = folder_->path().string() + "/tags.csv";
  ASSERT_EQ(Run("export " + Project() + " io_tags -o " + list), 0);
  std::ifstream in(list, std::ios::binary);
  std::string header, first;
  std::getline(in, header);
  std::getline(in, first);
  const std::string id = first.substr(0, first.find(','));  // the first tag's
  std::string output;
  ASSERT_EQ(Run("import " + Project() + " io_tags " + list, &output), 0);
  EXPECT_NE(output.find(" 0 added, 0 changed, "), std::string::npos) << output;
  EXPECT_NE(output.find("(no change)"), std::string::npos) << output;

  const std::string bad = folder_->path().string() + "/bad.csv";
  std::ofstream(bad, std::ios::binary) << "ID;Name;Address\r\n" << id << ";x;forty\r\n";
  ASSERT_EQ(Run("import " + Project() + " io_tags " + bad + " --apply", &output), 1);
  EXPECT_NE(output.find(bad + ":2:3: Address: \"forty\" is not a whole number"),
            std::string::npos) << output;

  const std::string changed = folder_->path().string() + "/changed.csv";
  std::ofstream(changed, std::ios::binary) << "ID,Address\n" << id << ",77\n";
  ASSERT_EQ(Run("import " + Project() + " io_tags " + changed + " --json", &output), 0);
  EXPECT_NE(output.find("\"after\": \"77\""), std::string::npos) << output;
  ASSERT_EQ(Run("import " + Project() + " io_tags " + changed + " --apply", &output), 0);
  EXPECT_NE(output.find(" -> 77"), std::string::npos) << output;  // listed after the apply
  std::string after;
  ASSERT_EQ(Run("export " + Project() + " io_tags --format json", &after), 0);
  EXPECT_NE(after.find("{\"ID\":" + id + ","), std::string::npos);
  EXPECT_NE(after.find("\"Address\":77,"), std::string::npos) << after;
  EXPECT_EQ(Run("export " + Project() + " general"), 2);
}

TEST_F(Commands, FilesAndOpenAndTables) {
  std::string output;
  ASSERT_EQ(Run("files " + Project() + " --include " + Quoted("*.CSS"), &output), 0);
  EXPECT_NE(output.find("styles"), std::string::npos);
  EXPECT_EQ(output.find("plant.qmp"), std::string::npos);
  EXPECT_EQ(output.find(".js\n"), std::string::npos);
  EXPECT_EQ(Run("files " + Project() + " --include " + Quoted("*.nothing")), 1);
  EXPECT_EQ(Run("open " + Project() + " --editor-id 0"), 2);
  ASSERT_EQ(Run("open " + Project() + " --editor-id 77", &output), 0);
  EXPECT_NE(output.find("files:"), std::string::npos);
  EXPECT_EQ(Run("tables " + folder_->path().string()), 2);  // a folder, not a project file
  EXPECT_EQ(Run("save-as " + Project() + " " + folder_->path().string() + "/none/x.qmp"), 2);
  EXPECT_EQ(Run("save-as " + Project() + " " + folder_->path().string() + "/copy.qmp"), 0);
  EXPECT_EQ(Run("tables " + folder_->path().string() + "/copy.qmp"), 0);
  // Names outside ASCII pass through the command line (UTF-16 on Windows).
  const std::filesystem::path outside = folder_->path() / std::filesystem::path(u8"Kopie \u00FC \u0416.qmp");
  EXPECT_EQ(Run("save-as " + Project() + " " + Quoted(outside)), 0);
  EXPECT_TRUE(std::filesystem::exists(outside));
  EXPECT_EQ(Run("tables " + Quoted(outside)), 0);
}

TEST_F(Commands, ADamagedTableIsNamedAndNeverSavedOver) {
  const std::string damaged = folder_->path().string() + "/damaged.qmp";
  ASSERT_EQ(Run("save-as " + Project() + " " + damaged), 0);
  qm::testing::Sql(damaged, "INSERT INTO alarms (id) VALUES (0)");
  const std::string alarms = qm::testing::Sql(damaged, "SELECT count(*) FROM alarms");
  std::string output;
  EXPECT_EQ(Run("tables " + damaged, &output), 2);
  EXPECT_NE(output.find("Alarm (code 205)"), std::string::npos) << output;
  EXPECT_EQ(Run("open " + damaged + " --editor-id 78", &output), 2);
  EXPECT_NE(output.find("Alarm (code 205)"), std::string::npos) << output;
  EXPECT_EQ(Run("save-as " + damaged + " " + damaged), 2);
  EXPECT_EQ(qm::testing::Sql(damaged, "SELECT count(*) FROM alarms"), alarms);
}

// qmpe check: 0 for a clean project (the sample's file with every record
// deleted, in a folder of its own), 1 with findings (the sample has them),
// 2 for a project it cannot open; --json gives an object a line with the
// eight fields.
TEST_F(Commands, CheckAnswersCleanFindingsOrError) {
  const std::filesystem::path clean = folder_->path() / "clean";
  std::filesystem::create_directories(clean);
  std::filesystem::copy_file(Project(), clean / "plant.qmp",
                             std::filesystem::copy_options::overwrite_existing);
  for (const char* table : {"general", "timers", "databases", "users", "trends", "io_ports",
                            "io_devices", "io_tags", "outputs", "alarms", "scripts"}) {
    qm::testing::Sql(clean / "plant.qmp", std::string("DELETE FROM ") + table);
  }
  std::string output;
  EXPECT_EQ(Run("check " + (clean / "plant.qmp").string(), &output), 0);
  EXPECT_EQ(output, "");
  ASSERT_EQ(Run("check " + Project(), &output), 1);
  EXPECT_NE(output.find("unused_tag io_tags #"), std::string::npos) << output;
  ASSERT_EQ(Run("check " + Project() + " --json", &output), 1);
  std::istringstream lines(output);
  size_t count = 0;
  for (std::string line; std::getline(lines, line); ++count) {
    const nlohmann::json finding = nlohmann::json::parse(line);
    EXPECT_EQ(finding.size(), 8u) << line;
    for (const char* field : {"kind", "table", "record", "name", "field", "file", "line", "message"}) {
      EXPECT_TRUE(finding.contains(field)) << field;
    }
  }
  EXPECT_GT(count, 0u);
  EXPECT_EQ(Run("check " + folder_->path().string() + "/missing.qmp"), 2);
  EXPECT_EQ(Run("check"), 2);
}

}  // namespace
