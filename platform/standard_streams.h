// The standard streams of this process: whether one is an interactive
// terminal (a console on Windows), for output that only a person watching
// needs, and standard output made to pass bytes unchanged.
#ifndef QMPECORE_PLATFORM_STANDARD_STREAMS_H_
#define QMPECORE_PLATFORM_STANDARD_STREAMS_H_

namespace qm::platform {

enum class StandardStream { kOutput, kError };

bool IsTerminal(StandardStream stream);

// Standard output writes every byte as given (Windows' C runtime would
// otherwise turn each LF into CR LF); nothing to do elsewhere.
void MakeStandardOutputBinary();

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_STANDARD_STREAMS_H_
