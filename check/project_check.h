// The check of a whole project: what in its tables and files would make
// the plant misbehave or the editor refuse a later save, rename or import,
// each reported as a finding (check/check_finding.h).
//
// Order: table by table (timers, databases, outputs, alarms, users,
// scripts, IO ports, IO devices, IO tags, then trends), records in key
// order, each record's findings in this order: its id, its name, a name it
// shares with an earlier record of the table, its references in field
// order, a script's file. Then the project text files that cannot be read,
// then the tags that nothing uses.
#ifndef QMPECORE_CHECK_PROJECT_CHECK_H_
#define QMPECORE_CHECK_PROJECT_CHECK_H_

#include "check/check_finding.h"
#include "qmpecore/config_records.h"

namespace qm {

class CFileManager;

struct CheckRequest {
  const ConfigTableSet& tables;  // must not change during the check
  // The project folder's files as scanned; null for a project without a
  // folder to look into (every script's file is then missing).
  CFileManager* files;
};

// Hands every finding to `sink` in the order above. False when the sink
// ended the check early.
bool CheckProject(const CheckRequest& request, FindingSink* sink);

}  // namespace qm

#endif  // QMPECORE_CHECK_PROJECT_CHECK_H_
