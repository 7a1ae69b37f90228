// The one pass over the record tables: each record's id and name, the
// names it shares with earlier records of its table, every reference it
// holds (the fields that the tag list files carry as references), and a
// script's file. On the way it notes every tag that some record refers
// to, for the search of unused tags that follows.
#ifndef QMPECORE_CHECK_TABLE_CHECKS_H_
#define QMPECORE_CHECK_TABLE_CHECKS_H_

#include <cstdint>
#include <vector>

#include "check/check_finding.h"
#include "check/folder_files.h"
#include "exchange/referred_records.h"
#include "qmpecore/config_records.h"

namespace qm {

class TableChecks {
 public:
  // `set` and `folder` must outlive this object, and `set` must not change
  // while it checks.
  TableChecks(const ConfigTableSet& set, FolderFiles* folder, FindingSink* sink);
  TableChecks(const TableChecks&) = delete;
  TableChecks& operator=(const TableChecks&) = delete;

  // Checks every record of the table numbered `table` (a freed slot holds
  // none), in key order. False once the sink has ended the check.
  bool Check(int32_t table);

  // The ids of the tags referred to by the tables checked so far,
  // ascending, each once.
  std::vector<int32_t> ReferencedTags();

 private:
  template <class Record>
  bool CheckRecords(int32_t table, RecordTable<Record>& records);
  template <class Record>
  bool CheckReferences(int32_t table, Record& record);
  bool CheckFile(const ScriptRecord& script);
  template <class Record>
  bool CheckFile(const Record&) {
    return true;
  }
  bool Report(CheckFinding finding);

  const ConfigTableSet& set_;
  FolderFiles& folder_;
  FindingSink& sink_;
  exchange::ReferredRecords referred_;
  std::vector<int32_t> referencedTags_;
  bool stopped_ = false;
};

}  // namespace qm

#endif  // QMPECORE_CHECK_TABLE_CHECKS_H_
