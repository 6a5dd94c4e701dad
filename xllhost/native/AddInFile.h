// Looks at a file before the host loads it, so that a file that is no add-in
// for this host is refused with a reason instead of a loader error number.
#pragma once

#include <string>

namespace xllhost {

// Why the file cannot be an add-in of this host (not a DLL, or one of the
// other width), or an empty text when it can.
std::string WhyNotAnAddIn(const std::string& path);

// Why Windows could not load the file, given the loader's error: for a DLL
// it needs that cannot be found (error 126), that DLL's name.
std::string WhyNotLoaded(const std::string& path, unsigned long error);

}  // namespace xllhost
