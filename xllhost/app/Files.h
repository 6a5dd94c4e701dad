// The files the command line names: read whole, their extension, and
// whether an output can be written.
#pragma once

#include <string>

namespace xllhost {

// False when the file cannot be read.
bool ReadFile(const std::string& file, std::string& text);

// The file's extension, lower-cased, with its dot; empty without one.
std::string Extension(const std::string& file);

// Whether an output can be written, tried before anything runs; a file made
// to find out is taken away again.
bool CanWrite(const std::string& file);

}  // namespace xllhost
