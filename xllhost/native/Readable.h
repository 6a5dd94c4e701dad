// Whether memory an add-in points the host at can be read: an answer, or a
// record it hands to a callback, is checked before the host reads it.
#pragma once

#include <cstddef>
#include <string>

#include "UTypes.h"

namespace xllhost {

// What is wrong with reading `bytes` at `address`, or empty when nothing:
// memory that is not committed or not readable, and, given `deadBelow`, the
// thread's stack below that address, which held the frames of a call that
// has returned. Memory a heap has freed and not given back to Windows reads
// as any other, and so cannot be recognised here.
std::string WhyNotReadable(const void* address, std::size_t bytes, const void* deadBelow = nullptr);

// What is wrong with reading a whole record: the record, its text, its
// array and the text of each element; empty when nothing. Phrased to follow
// "the answer" or "argument 2", such as "is a record whose text points to
// no memory (0x10)".
std::string WhyRecordUnreadable(const XLOPER* record, const void* deadBelow = nullptr);
std::string WhyRecordUnreadable(const XLOPER12* record, const void* deadBelow = nullptr);

}  // namespace xllhost
