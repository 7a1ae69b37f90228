// The POSIX backend folds with Unicode's simple case folding (ICU), and
// traces to standard error.
#include <gtest/gtest.h>

#include "platform/text_case.h"
#include "qmshared/qmshared.h"

namespace qm::platform {
namespace {

TEST(TextCaseTest, UnicodeSimpleFolding) {
  EXPECT_EQ(CompareTextIgnoreCase(u"\u017Fun", u"SUN"), 0);  // the long s folds to "s"
  // Turkish dotless and dotted i have no simple fold of their own.
  EXPECT_EQ(FoldUnit(u'\u0131'), u'\u0131');
  EXPECT_EQ(FoldUnit(u'\u0130'), u'\u0130');
  EXPECT_EQ(UnitsFoldingTo(u'k'), u"K\u212A");
  EXPECT_EQ(CompareTextIgnoreCase(u"\U00010400", u"\U00010428"), 0);  // Deseret
  EXPECT_EQ(FoldCodePoint(0x10400), 0x10428u);
  EXPECT_EQ(FindTextIgnoreCase(u"x\U00010400y", u"\U00010428Y"), 1u);
}

TEST(TraceTest, OneLineToStandardError) {
  testing::internal::CaptureStderr();
  TraceText(u"Application: Failed to create shared memory.\n");
  TraceText(u"caf\u00E9 \xD800");
  TraceText(nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Application: Failed to create shared memory.\ncaf\xC3\xA9 \xEF\xBF\xBD\n");
}

}  // namespace
}  // namespace qm::platform
