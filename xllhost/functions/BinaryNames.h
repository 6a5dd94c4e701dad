// Binary names: data an add-in keeps by name with the workbook
// (xlDefineBinaryName) and gets back as a handle (xlGetBinaryName). xllhost
// keeps them for the session; the transcript shows each call.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "records/HostAnswer.h"

namespace xllhost {

// xlDefineBinaryName(name, data): keeps a copy of the data under the name
// (a name as a defined name may be), or without data deletes it.
Answer DefineBinaryName(const Request& request);
// xlGetBinaryName(name): the data as a global memory handle, which the host
// owns, and its size.
Answer GetBinaryName(const Request& request);

// Each name defined, and the bytes it holds, by name.
std::vector<std::pair<std::string, size_t>> BinaryNames();

}  // namespace xllhost
