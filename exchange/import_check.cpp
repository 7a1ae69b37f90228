// The check and plan of an import (import_preview.h), for any record table.
#include <algorithm>
#include <array>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "exchange/csv_format.h"
#include "exchange/import_preview.h"
#include "exchange/json_format.h"
#include "exchange/record_cells.h"
#include "exchange/table_edits.h"
#include "find/tables/record_tables.h"
#include "platform/utf_conversion.h"

namespace qm::exchange {
namespace {

constexpr size_t kListedProblems = 1000;
constexpr int64_t kProgressStep = 4096;

std::u16string Utf16(std::string_view utf8) {
  std::u16string text;
  platform::AppendUtf8AsUtf16(utf8, &text);
  return text;
}

std::string Folded(std::string_view title) {
  const size_t first = title.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  std::string folded(title.substr(first, title.find_last_not_of(" \t") - first + 1));
  for (char& c : folded) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  return folded;
}

template <class Record>
class ImportChecker : public TableFileSink {
 public:
  ImportChecker(const ImportRequest& request, RecordTable<Record>* table, ImportPreview* preview)
      : request_(request),
        table_(table),
        preview_(*preview),
        referred_(request.working),
        cells_(&referred_),
        fieldCount_(FieldsOf<Record>().size()),
        seenAt_(fieldCount_),
        first_(fieldCount_),
        second_(fieldCount_),
        positions_(fieldCount_),
        fileColumnOf_(fieldCount_) {
    ForEachColumn<Record>([&](ColumnOfField column) {
      const std::string title = TitleText(ColumnTitle<Record>(column));
      known_.emplace(Folded(title), column);
      knownList_ += (knownList_.empty() ? "" : ", ") + title;
    });
    expectedRows_ = 1 + std::count(request.bytes.begin(), request.bytes.end(), '\n');
  }

  void Column(uint32_t column, std::string_view title, int64_t line,
              uint32_t position) override {
    ++headerCells_;
    if (columns_.size() <= column) columns_.resize(column + 1);
    if (titles_.size() <= column) titles_.resize(column + 1);
    titles_[column] = Utf16(title);
    const auto found = known_.find(Folded(title));
    if (found == known_.end()) {
      Problem(line, position, titles_[column],
              "unknown column; the columns of this table: " + knownList_);
      return;
    }
    const ColumnOfField field = found->second;
    uint32_t& seen = seenAt_[field.field][field.part];
    if (seen != 0) {
      Problem(line, position, titles_[column],
              "the column is given twice (also at " + std::to_string(seen) + ")");
      return;
    }
    seen = position;
    columns_[column] = field;
  }

  void Row(int64_t line, std::span<const ReadCell> cells) override {
    ++preview_.rows;
    if (request_.progress && preview_.rows % kProgressStep == 0 &&
        !request_.progress(preview_.rows, std::max(expectedRows_, preview_.rows))) {
      stopped_ = true;
    }
    if (csv_ && cells.size() != headerCells_) {
      Problem(line, static_cast<uint32_t>(std::min(cells.size(), headerCells_) + 1), u"",
              "the row has " + std::to_string(cells.size()) + " cells; the header has " +
                  std::to_string(headerCells_));
      return;
    }
    if (!PlaceCells(line, cells)) return;
    PlanRow(line);
  }

  void Fault(int64_t line, uint32_t position, std::string message) override {
    Problem(line, position, u"", std::move(message));
  }

  void set_csv(bool csv) { csv_ = csv; }
  void set_content(bool content) { sawContent_ = content; }
  bool stopped() const { return stopped_; }

  void Finish() {
    // A JSON array may be empty; a file without a byte of content may not,
    // lest an empty file taken for a list replace a table with nothing.
    if (headerCells_ == 0 && preview_.problems.empty() && (csv_ || !sawContent_)) {
      Problem(1, 0, u"", "the file holds no header line and no records");
    }
    if (table_ == nullptr) {
      Problem(0, 0, u"", "the project's table could not be read; nothing can be imported");
    }
    if (stopped_) Problem(0, 0, u"", "the check was stopped");
    if (!preview_.problems.empty()) return Refuse();
    if (request_.replace) PlanRemovals();
    CheckNames();
    GiveIds();
    if (!preview_.problems.empty()) return Refuse();
    edits_->sizeBefore = table_->size();
    preview_.edits = std::move(edits_);
  }

 private:
  struct Added {
    size_t change;  // its entry in preview_.changes
    int64_t line;
  };

  void Problem(int64_t line, uint32_t position, std::u16string column, std::string message) {
    if (preview_.problems.size() >= kListedProblems) {
      ++preview_.moreProblems;
      return;
    }
    preview_.problems.push_back({line, position, std::move(column), Utf16(message)});
  }

  void Refuse() {
    preview_.changes.clear();
    preview_.edits.reset();
  }

  // Puts each cell of the row with its field; false (with a problem)
  // when a column is given twice.
  bool PlaceCells(int64_t line, std::span<const ReadCell> cells) {
    std::fill(first_.begin(), first_.end(), nullptr);
    std::fill(second_.begin(), second_.end(), nullptr);
    texts_.assign(cells.size(), {});
    for (size_t i = 0; i < cells.size(); ++i) {
      const ReadCell& cell = cells[i];
      if (cell.column >= columns_.size() || !columns_[cell.column]) continue;
      const ColumnOfField column = *columns_[cell.column];
      const std::string_view*& slot =
          column.part == 0 ? first_[column.field] : second_[column.field];
      if (slot != nullptr) {
        Problem(line, cell.position, titles_[cell.column], "the column is given twice");
        return false;
      }
      texts_[i] = cell.text;
      slot = &texts_[i];
      positions_[column.field][column.part] = cell.position;
      fileColumnOf_[column.field][column.part] = cell.column;
    }
    return true;
  }

  std::u16string TitleOf(uint16_t field, uint8_t part) const {
    return titles_[fileColumnOf_[field][part]];
  }

  void CellProblem(int64_t line, uint16_t field, uint8_t part, std::string message) {
    Problem(line, positions_[field][part], TitleOf(field, part), std::move(message));
  }

  // The record the row names: by ID, else by Name; null for a new one.
  // False (with a problem) when the row cannot name one.
  bool Match(int64_t line, int32_t* id, const Record** existing) {
    *id = 0;
    *existing = nullptr;
    if (first_[0] != nullptr && first_[0]->find_first_not_of(" \t") != std::string_view::npos) {
      int64_t number = 0;
      if (std::string message = ParseInteger(*first_[0], 1, INT32_MAX, &number);
          !message.empty()) {
        CellProblem(line, 0, 0, message);
        return false;
      }
      *id = static_cast<int32_t>(number);
      if (const auto found = table_->find(RecordKey(*id)); found != table_->end()) {
        *existing = &found->second;
      }
    } else if (first_[1] != nullptr && !first_[1]->empty()) {
      const std::u16string name = Utf16(*first_[1]);
      MakeNameIndex();
      const auto [begin, end] = names_.equal_range(name);
      if (begin != end && std::next(begin) != end) {
        CellProblem(line, 1, 0, "several records are named so; give the ID");
        return false;
      }
      if (begin != end) {
        *id = begin->second;
        *existing = &table_->at(RecordKey(*id));
      }
    }
    if (*id != 0) {
      const auto [at, added] = matched_.emplace(*id, line);
      if (!added) {
        const uint16_t by = first_[0] != nullptr ? 0 : 1;
        CellProblem(line, by, 0, "names the same record as line " + std::to_string(at->second));
        return false;
      }
    }
    return true;
  }

  void MakeNameIndex() {
    if (namesMade_) return;
    namesMade_ = true;
    names_.reserve(table_->size());
    for (const auto& [key, record] : *table_) names_.emplace(record.head.name, record.head.id);
  }

  // The cells of field `i` all read as `record` shows them already.
  bool ShowsAlready(const Record& record, uint16_t i) {
    for (uint8_t part = 0; part < 2; ++part) {
      const std::string_view* cell = part == 0 ? first_[i] : second_[i];
      if (cell == nullptr) continue;
      shown_.clear();
      cells_.Render(record, {i, part}, &shown_);
      if (shown_ != *cell) return false;
    }
    return true;
  }

  void PlanRow(int64_t line) {
    if (table_ == nullptr) return;
    int32_t id;
    const Record* existing;
    if (!Match(line, &id, &existing)) return;
    Record record = existing != nullptr ? *existing : Record{};
    if (existing == nullptr) {
      record.head.id = id;
      record.head.ownerTable = request_.tableNumber;
    }
    bool faulty = false;
    const auto fields = FieldsOf<Record>();
    for (uint16_t i = 1; i < fieldCount_; ++i) {
      if (first_[i] == nullptr && second_[i] == nullptr) continue;
      if (ShowsAlready(record, i)) continue;
      // A row that names its record by ID may leave the Name empty.
      if (i == 1 && existing != nullptr && first_[0] != nullptr && first_[i]->empty()) continue;
      const exchange::CellProblem problem = cells_.Parse(&record, i, {first_[i], second_[i]});
      if (!problem.message.empty()) {
        CellProblem(line, i, problem.part, problem.message);
        faulty = true;
      }
    }
    if (existing == nullptr && !faulty) {
      for (uint16_t i = 1; i < fieldCount_; ++i) {
        if (fields[i].form != FieldForm::kOwner) continue;
        const int64_t owner = IntegerAt(fields[i].at(record));
        if (referred_.NameOf(fields[i].referred, static_cast<int32_t>(owner)) == nullptr) {
          Problem(line, 0, u"",
                  "a new record needs its " + TitleText(fields[i].title) + ": give " +
                      TitleText(fields[i].title) + " or " + TitleText(fields[i].secondTitle));
          faulty = true;
        }
      }
    }
    if (faulty || !preview_.problems.empty()) return;
    if (existing != nullptr) {
      // Equal cells are an equal record, even where == is not (a NaN).
      bool differs = false;
      if (!(record == *existing)) {
        cells_.ForEachDifference(*existing, record,
                                 [&](ColumnOfField, const std::string&, const std::string&) {
                                   differs = true;
                                 });
      }
      if (!differs) {
        ++preview_.unchanged;
        return;
      }
      const bool renamed = record.head.name != existing->head.name;
      preview_.changes.push_back({ChangeKind::kChanged, id, record.head.name, line, renamed});
      if (renamed) renamed_.insert(id);
      edits_->AddChanged(*existing, record);
      return;
    }
    added_.push_back({preview_.changes.size(), line});
    preview_.changes.push_back({ChangeKind::kAdded, id, record.head.name, line});
    edits_->added.push_back(std::move(record));
  }

  void PlanRemovals() {
    for (const auto& [key, record] : *table_) {
      if (matched_.count(record.head.id) != 0) continue;
      removedIds_.insert(record.head.id);
      preview_.changes.push_back({ChangeKind::kRemoved, record.head.id, record.head.name, 0});
      edits_->removed.push_back(record);
    }
  }

  // Every Name the import gives (new records, new Names) is not empty and
  // names no other record of the table as it will be.
  void CheckNames() {
    std::unordered_map<std::u16string_view, int64_t> given;  // Name -> first line
    auto check = [&](const std::u16string& name, int32_t id, int64_t line) {
      if (name.empty()) {
        Problem(line, positions_[1][0], u"Name", "a record needs a Name");
        return;
      }
      const auto [at, added] = given.emplace(name, line);
      if (!added) {
        Problem(line, 0, u"Name",
                "the Name " + TitleText(name) + " is also given on line " +
                    std::to_string(at->second));
        return;
      }
      MakeNameIndex();
      const auto [begin, end] = names_.equal_range(name);
      for (auto holder = begin; holder != end; ++holder) {
        const int32_t other = holder->second;
        if (other == id || removedIds_.count(other) != 0 || renamed_.count(other) != 0) continue;
        Problem(line, 0, u"Name",
                "the Name " + TitleText(name) + " is record " + std::to_string(other) +
                    "'s, which keeps it");
        return;
      }
    };
    for (const Added& added : added_) {
      const RecordChange& change = preview_.changes[added.change];
      check(change.name, change.id, added.line);
    }
    for (const RecordChange& change : preview_.changes) {
      if (change.renamed) {
        check(change.name, change.id, change.line);
      }
    }
  }

  // New records without an ID get the next ones after every ID in the
  // table and in the file.
  void GiveIds() {
    int64_t last = 0;
    if (!table_->empty()) last = table_->rbegin()->second.head.id;
    for (const auto& [id, line] : matched_) last = std::max<int64_t>(last, id);
    for (size_t i = 0; i < added_.size(); ++i) {
      Record& record = edits_->added[i];
      if (record.head.id != 0) continue;
      if (last >= INT32_MAX) {
        Problem(added_[i].line, 0, u"ID", "no ID is left for a new record; give one");
        return;
      }
      record.head.id = static_cast<int32_t>(++last);
      preview_.changes[added_[i].change].id = record.head.id;
    }
  }

  const ImportRequest& request_;
  RecordTable<Record>* table_;
  ImportPreview& preview_;
  ReferredRecords referred_;
  RecordCells<Record> cells_;
  const size_t fieldCount_;
  std::unique_ptr<RecordEdits<Record>> edits_ =
      std::make_unique<RecordEdits<Record>>(request_.tableNumber);

  std::unordered_map<std::string, ColumnOfField> known_;  // by folded title
  std::string knownList_;
  std::vector<std::optional<ColumnOfField>> columns_;  // by the file's column
  std::vector<std::u16string> titles_;                 // by the file's column
  std::vector<std::array<uint32_t, 2>> seenAt_;        // by field part: header position
  size_t headerCells_ = 0;
  bool csv_ = false;
  bool sawContent_ = false;
  int64_t expectedRows_ = 0;
  bool stopped_ = false;

  // The row being read: each field's cells, where they stand, which column.
  std::vector<std::string_view> texts_;
  std::vector<const std::string_view*> first_, second_;
  std::vector<std::array<uint32_t, 2>> positions_;
  std::vector<std::array<uint32_t, 2>> fileColumnOf_;  // by field part: the file's column
  std::string shown_;

  bool namesMade_ = false;
  std::unordered_multimap<std::u16string_view, int32_t> names_;  // of the table as it is
  std::unordered_map<int32_t, int64_t> matched_;                  // id -> line
  std::unordered_set<int32_t> renamed_;                           // changed ids with new Names
  std::unordered_set<int32_t> removedIds_;
  std::vector<Added> added_;
};

}  // namespace

ImportPreview CheckImport(const ImportRequest& request) {
  ImportPreview preview;
  preview.tableNumber = request.tableNumber;
  preview.fileName = request.fileName;
  preview.replace = request.replace;
  preview.projectPath = request.projectPath;
  preview.projectStamp = platform::StampOfFile(request.projectPath);
  const bool known = WithRecordTable(request.tableNumber, request.working, [&](auto* table,
                                                                               const auto&) {
    using Record = typename std::remove_pointer_t<decltype(table)>::mapped_type;
    ImportChecker<Record> checker(request, table, &preview);
    const FileFormat format = FormatOfBytes(request.bytes);
    checker.set_csv(format == FileFormat::kCsv);
    checker.set_content(WithoutByteOrderMark(request.bytes).find_first_not_of(" \t\r\n") !=
                        std::string_view::npos);
    if (format == FileFormat::kCsv) {
      ReadCsv(request.bytes, &checker);
    } else {
      ReadJson(request.bytes, format == FileFormat::kJsonLines, &checker);
    }
    checker.Finish();
  });
  if (!known) {
    preview.problems.push_back(
        {0, 0, u"", u"table " + Utf16(std::to_string(request.tableNumber)) +
                        u" is not a record table"});
  }
  if (request.progress && preview.problems.empty()) request.progress(preview.rows, preview.rows);
  return preview;
}

}  // namespace qm::exchange
