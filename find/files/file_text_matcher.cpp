#include "find/files/file_text_matcher.h"

#include <algorithm>

#include "find/files/fold_units.h"
#include "find/files/line_breaks.h"
#include "find/files/text_stretch.h"
#include "find/files/utf8_decode.h"

namespace qm {
namespace {

constexpr size_t kNone = SIZE_MAX;

// A needle that is not plain has its lines found by the text every match
// holds, where it has one, and each such line confirmed by its own rule.
FileMatchPlan PlanFor(const SearchNeedle& needle) {
  FileMatchPlan plan;
  if (needle.empty()) return plan;
  if (!needle.requiredText().empty()) {
    return PlanFileMatch(needle.requiredText(), needle.caseSensitive());
  }
  plan.way = FileMatchPlan::Way::kLines;
  return plan;
}

}  // namespace

FileTextMatcher::FileTextMatcher(const SearchNeedle& needle, size_t sliceBytes)
    : needle_(needle),
      plan_(PlanFor(needle)),
      confirm_(!needle.options().plain()),
      sliceBytes_(std::max<size_t>(sliceBytes, 1)),
      foreignNext_(plan_.foreignVariants.size()) {}

void FileTextMatcher::Search(std::string_view text, LineSink* sink) {
  switch (plan_.way) {
    case FileMatchPlan::Way::kNever:
      return;
    case FileMatchPlan::Way::kBytes:
      return SearchBytes(text, sink);
    case FileMatchPlan::Way::kUnits:
      return SearchDecoded(text, sink);
    case FileMatchPlan::Way::kLines:
      return SearchLines(text, sink);
  }
}

// An empty text is one empty line, and a text that ends with a break has
// an empty last line after it: a pattern can match an empty line.
void FileTextMatcher::SearchLines(std::string_view text, LineSink* sink) {
  Place place;
  size_t start = 0;
  do {
    const size_t end = SliceEnd(text, start);
    const std::string_view slice = text.substr(start, end - start);
    if (decoded_.size() < slice.size()) decoded_.resize(slice.size());
    const size_t units = DecodeUtf8(slice, decoded_.data());
    TestLines({decoded_.data(), units}, end == text.size(), &place, sink);
    start = end;
  } while (start < text.size());
}

// The slice ends just after a break or at the text's end, so it holds
// whole lines; the line after its last break is in the next slice, unless
// the slice is the text's last.
void FileTextMatcher::TestLines(std::u16string_view slice, bool isLast, Place* place,
                                LineSink* sink) {
  const char16_t* const units = slice.data();
  for (size_t lineStart = 0;;) {
    const size_t lineEnd = FindBreak(units, lineStart, slice.size());
    const std::u16string_view line = slice.substr(lineStart, lineEnd - lineStart);
    const size_t hit = needle_.FindIn(line);
    if (hit != SearchNeedle::npos) sink->OnLine(place->line, place->offset + hit, line);
    place->offset += line.size();
    if (lineEnd == slice.size()) break;
    place->line += 1;
    place->offset += 2;  // the break, normalised to CR LF
    lineStart = BreakEnd(units, lineEnd, slice.size());
    if (lineStart == slice.size() && !isLast) break;
  }
}

void FileTextMatcher::SearchBytes(std::string_view text, LineSink* sink) {
  for (size_t i = 0; i < foreignNext_.size(); ++i) {
    foreignNext_[i] = plan_.foreignVariants[i].Find(text.data(), 0, text.size());
  }
  Place place;
  Walk(plan_.bytes, text.data(), text.data(), text.size(), false, &place, sink);
}

void FileTextMatcher::SearchDecoded(std::string_view text, LineSink* sink) {
  Place place;
  for (size_t start = 0; start < text.size();) {
    const size_t end = SliceEnd(text, start);
    const std::string_view slice = text.substr(start, end - start);
    if (decoded_.size() < slice.size()) decoded_.resize(slice.size());
    const size_t units = DecodeUtf8(slice, decoded_.data());
    const char16_t* searched = decoded_.data();
    if (plan_.fold) searched = Folded({decoded_.data(), units});
    Walk(plan_.units, searched, decoded_.data(), units, end < text.size(), &place, sink);
    start = end;
  }
}

// Just after the last break that starts in the window of sliceBytes_ bytes
// from `start`; when the window holds none, just after the next break, or
// at the text's end.
size_t FileTextMatcher::SliceEnd(std::string_view text, size_t start) const {
  const size_t size = text.size();
  if (size - start <= sliceBytes_) return size;
  size_t lastBreak = FindLastBreak(text.data(), start, start + sliceBytes_);
  if (lastBreak == kNone) {
    lastBreak = FindBreak(text.data(), start + sliceBytes_, size);
    if (lastBreak == size) return size;
  }
  return BreakEnd(text.data(), lastBreak, size);
}

// Reports the matching lines of text[0, size), which starts at a line's
// start. `searched` is what the pattern is looked for in, `shown` the same
// text as the lines are reported (they differ when the search is folded).
// With `carryOn` the place moves on to the end, for the next slice.
//
// The next line to look at is the line of the next hit or of the next
// foreign variant, whichever comes first; a line holding a foreign variant
// is decided by its folded text, any other by the hit. `from` is where the
// look for the next line starts: a line's start or the break that ends a
// line looked at. `counted` is where `place` stands, at or before `from`
// and likewise a line's start or a break: lines and units are counted only
// for a line that is reported, from the last one reported up to it, in one
// pass that also finds its start.
template <class Char>
void FileTextMatcher::Walk(const MaskedPattern<Char>& pattern, const Char* searched,
                           const Char* shown, size_t size, bool carryOn, Place* place,
                           LineSink* sink) {
  size_t from = 0;
  size_t counted = 0;
  size_t hit = pattern.Find(searched, 0, size);
  for (;;) {
    const size_t foreign = NextForeignVariant(shown, from, size);
    const size_t next = std::min(hit, foreign);
    if (next == kNone) break;
    const size_t lineEnd = FindBreak(shown, next, size);
    size_t hitUnits = 0;
    std::u16string_view line;
    if (foreign < lineEnd) {
      // A lone CR before the line start is never followed by an LF, which
      // would be the later break.
      const size_t lastBreak = FindLastBreak(shown, from, next);
      const size_t lineStart = lastBreak == kNone ? from : lastBreak + 1;
      line = LineText(shown, lineStart, lineStart, lineEnd, &hitUnits);
      hitUnits = confirm_ ? needle_.FindIn(line) : FindFolded(line);
      if (hitUnits != kNone) Move(place, MeasureStretch(shown, counted, lineStart, size));
    } else {
      const Stretch upToHit = MeasureStretch(shown, counted, hit, size);
      const size_t lineStart = upToHit.lastBreak == kNone ? counted : upToHit.lastBreak + 1;
      line = LineText(shown, lineStart, hit, lineEnd, &hitUnits);
      Move(place, upToHit);
      place->offset -= hitUnits;  // back to the line's start
      if (confirm_) {
        hitUnits = needle_.FindIn(line);
        if (hitUnits == kNone) counted = lineStart;  // where the place now stands
      }
    }
    if (hitUnits != kNone) {
      sink->OnLine(place->line, place->offset + hitUnits, line);
      place->offset += line.size();
      counted = lineEnd;
    }
    from = lineEnd;
    if (hit < from) hit = pattern.Find(searched, from, size);
  }
  if (carryOn) Move(place, MeasureStretch(shown, counted, size, size));
}

// The first start at or after `from` of any foreign variant, each found
// again only once the walk has passed it.
size_t FileTextMatcher::NextForeignVariant(const char* text, size_t from, size_t size) {
  size_t first = kNone;
  for (size_t i = 0; i < foreignNext_.size(); ++i) {
    if (foreignNext_[i] < from) foreignNext_[i] = plan_.foreignVariants[i].Find(text, from, size);
    first = std::min(first, foreignNext_[i]);
  }
  return first;
}

const char16_t* FileTextMatcher::Folded(std::u16string_view text) {
  if (folded_.size() < text.size()) folded_.resize(text.size());
  FoldUnits(text, folded_.data());
  return folded_.data();
}

size_t FileTextMatcher::FindFolded(std::u16string_view line) {
  return plan_.units.Find(Folded(line), 0, line.size());
}

// A hit starts at an ASCII or lead byte, where decoding may be cut.
std::u16string_view FileTextMatcher::LineText(const char* text, size_t start, size_t hit,
                                              size_t end, size_t* hitUnits) {
  if (line_.size() < end - start) line_.resize(end - start);
  char16_t* const out = line_.data();
  *hitUnits = DecodeUtf8({text + start, hit - start}, out);
  return {out, *hitUnits + DecodeUtf8({text + hit, end - hit}, out + *hitUnits)};
}

std::u16string_view FileTextMatcher::LineText(const char16_t* text, size_t start, size_t hit,
                                              size_t end, size_t* hitUnits) {
  *hitUnits = hit - start;
  return {text + start, end - start};
}

}  // namespace qm
