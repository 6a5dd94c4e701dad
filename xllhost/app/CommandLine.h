// The command line of the xllhost programs: the usage it prints, and what
// it asks for, read and checked.
#pragma once

#include <cstdio>
#include <string>

#include "session/SessionSteps.h"

namespace xllhost {

// What the command line asks for.
struct CommandLine {
  xllhost::SessionOptions options;
  std::string path, scenarioName = "manager", officeVersion = "16.0";
  std::string cellsFile, cellsText, workbookFile;
  bool fromRegistry = false, scenarioGiven = false, help = false;
  double timeout = 60;  // seconds a call into the add-in may take
  int dialogAnswer = 0;  // the button a message box is answered with; 0: the one that goes on
};

void PrintUsage(FILE* to);

// Reads the command line; on an error answers what is wrong, in one line.
std::string ReadCommandLine(int argc, char** argv, CommandLine& line);

}  // namespace xllhost
