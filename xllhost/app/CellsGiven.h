// The cells the command line gives, or the workbook it names, read into the
// host's workbook.
#pragma once

#include <string>

#include "app/CommandLine.h"

namespace xllhost {

// Reads the cells given on the command line and its formulas, or the
// workbook it names, into the host's state; answers what is wrong, or an
// empty text.
std::string ReadCellsGiven(CommandLine& line);

}  // namespace xllhost
