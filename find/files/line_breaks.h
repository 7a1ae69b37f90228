// The line breaks of a project text file, as the file search counts them.
//
// The file's text has its breaks normalised by four replacements, each
// over the whole text from left to right without overlap: CR by CR LF,
// then CR LF LF by CR LF, then LF by CR LF, then CR CR LF by CR LF. They
// come to one rule, which is all the file search ever applies:
//
//   Read the raw text from left to right; a CR followed by an LF is one
//   break, any other CR is one break, any other LF is one break. Each break
//   becomes CR LF; nothing else changes.
//
// Why: the patterns hold only CR and LF, so each run of CRs and LFs is
// rewritten on its own. Take such a run cut into those breaks. The first
// replacement turns every CR into CR LF; the second then meets CR LF LF
// exactly where a raw CR was followed by a raw LF (matches cannot overlap,
// as the pattern ends in LF and starts with CR), so a CR LF break and a
// lone CR now both read CR LF and a lone LF reads LF. The third makes those
// CR CR LF and CR LF. In that sequence every run of CRs ends at its break's
// LF, so the fourth matches exactly the CR CR LF breaks and leaves CR LF
// for every break. (CR CR LF is thus two breaks, LF CR two, CR LF LF two.)
//
// So a stretch of raw text with r CRs, l LFs and p CR LF pairs holds
// r + l - p breaks, and normalised it is r + l - 2p units longer
// (find/text_stretch.h counts so).
#ifndef QMPECORE_FIND_FILES_LINE_BREAKS_H_
#define QMPECORE_FIND_FILES_LINE_BREAKS_H_

#include <cstddef>

namespace qm {

template <class Char>
constexpr bool IsBreakUnit(Char c) {
  return c == Char('\r') || c == Char('\n');
}

// The first CR or LF in text[from, end), or `end` when there is none.
template <class Char>
size_t FindBreak(const Char* text, size_t from, size_t end);

// The last CR or LF in text[from, end), or SIZE_MAX when there is none.
template <class Char>
size_t FindLastBreak(const Char* text, size_t from, size_t end);

// The end of the break that starts at text[at] (a CR or LF, at < end):
// after its LF when it is CR LF, else just after it.
template <class Char>
size_t BreakEnd(const Char* text, size_t at, size_t end) {
  return text[at] == Char('\r') && at + 1 < end && text[at + 1] == Char('\n') ? at + 2 : at + 1;
}

}  // namespace qm

#endif  // QMPECORE_FIND_FILES_LINE_BREAKS_H_
