// The tags that nothing uses: no record refers to them (as the table pass
// noted) and no line of the project's text files names them as a whole
// word with the same letter case, the rule by which the usages of a tag
// find it in a file.
#ifndef QMPECORE_CHECK_UNUSED_TAGS_H_
#define QMPECORE_CHECK_UNUSED_TAGS_H_

#include <cstdint>
#include <span>

#include "check/check_finding.h"
#include "qmpecore/config_records.h"

namespace qm {

class CFileManager;

// Reads each of the project text files that a find searches once (`files`
// may be null: there are none) and hands `sink` an unread-file finding for
// each that cannot be read, then an unused-tag finding for each tag of
// `tags` (in key order) whose id is not in `referenced` (ascending) and
// whose name no file holds. False when the sink ended the check.
bool ReportUnusedTags(const IoTagTable& tags, std::span<const int32_t> referenced,
                      CFileManager* files, FindingSink* sink);

}  // namespace qm

#endif  // QMPECORE_CHECK_UNUSED_TAGS_H_
