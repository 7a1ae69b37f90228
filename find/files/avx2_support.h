// Whether this processor runs AVX2 code, and the system saves its wide
// registers: what the wide counters and scans of the file search need
// (find/files/*_avx2.cpp).
#ifndef QMPECORE_FIND_FILES_AVX2_SUPPORT_H_
#define QMPECORE_FIND_FILES_AVX2_SUPPORT_H_

namespace qm {

// Asked of the processor once, then remembered.
bool ProcessorHasAvx2();

}  // namespace qm

#endif  // QMPECORE_FIND_FILES_AVX2_SUPPORT_H_
