// Whether memory an add-in points the host at can be read: an answer, or a
// record it hands to a callback, is checked before the host reads it.
#pragma once

#include <cstddef>
#include <string>

namespace xllhost {

// What is wrong with reading `bytes` at `address`, or empty when nothing:
// memory that is not committed or not readable, and, given `deadBelow`, the
// thread's stack below that address, which held the frames of a call that
// has returned. Memory a heap has freed and not given back to Windows reads
// as any other, and so cannot be recognised here.
std::string WhyNotReadable(const void* address, std::size_t bytes, const void* deadBelow = nullptr);

}  // namespace xllhost
