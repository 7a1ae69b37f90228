// The arguments that a program was started with, as UTF-8 on POSIX and on
// Windows alike: POSIX passes bytes, which are taken as they are; a Windows
// program's narrow argv is in the ANSI code page and loses every character
// outside it, so there the wide command line is split and converted.
#ifndef QMPECORE_PLATFORM_COMMAND_LINE_H_
#define QMPECORE_PLATFORM_COMMAND_LINE_H_

#include <string>
#include <vector>

namespace qm::platform {

// argv[0] first. `argc` and `argv` are main's.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_COMMAND_LINE_H_
