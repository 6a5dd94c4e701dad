// What an exception that no handler caught was, in words: an access
// violation and the address it touched, a breakpoint, a stack overflow, a
// C++ exception with its type where Visual C++'s record of it can be read.
// For the crash report: it allocates nothing and reads the record's memory
// only where Windows says it can be read.
#pragma once

#include <windows.h>

#include <cstddef>

namespace xllhost {

// Writes the words into `out` (at most `size` bytes, ending in a NUL), such
// as "an access violation writing address 0x0000000000000010".
void DescribeException(const EXCEPTION_RECORD& record, char* out, std::size_t size);

}  // namespace xllhost
