#include "check/check_finding.h"

namespace qm {

std::string_view CheckKindName(CheckKind kind) {
  switch (kind) {
    case CheckKind::kMissingRecord:
      return "missing_record";
    case CheckKind::kSharedName:
      return "shared_name";
    case CheckKind::kBadId:
      return "bad_id";
    case CheckKind::kBadName:
      return "bad_name";
    case CheckKind::kUnusedTag:
      return "unused_tag";
    case CheckKind::kMissingFile:
      return "missing_file";
    case CheckKind::kUnreadFile:
      break;
  }
  return "unread_file";
}

}  // namespace qm
