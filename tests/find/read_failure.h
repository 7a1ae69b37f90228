// The check that both backends' read-failure tests make: after a good read,
// a read of `path` fails at the step and with the system error given, and
// leaves no bytes of the read before in the buffer.
#ifndef QMPECORE_TESTS_FIND_READ_FAILURE_H_
#define QMPECORE_TESTS_FIND_READ_FAILURE_H_

#include <gtest/gtest.h>

#include <string_view>

#include "platform/file_read.h"

namespace qm::platform {

inline void ExpectReadFailure(std::u16string_view goodFile, std::u16string_view path,
                              FileReadError error, int systemError, FileBuffer* buffer) {
  ASSERT_TRUE(ReadFileText(goodFile, buffer).ok());
  const FileReadStatus status = ReadFileText(path, buffer);
  EXPECT_EQ(status.error, error);
  EXPECT_EQ(status.systemError, systemError);
  EXPECT_EQ(buffer->bytes(), "");
}

}  // namespace qm::platform

#endif  // QMPECORE_TESTS_FIND_READ_FAILURE_H_
