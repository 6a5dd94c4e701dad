// The reader of a registration's type text, on any text: it accepts or
// refuses with a reason, never both nor neither, and what it accepts,
// written out again, reads the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "records/TypeText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  xllhost::Signature signature;
  std::string why;
  const bool read = xllhost::ParseTypeText(text, &signature, &why);
  if (read != why.empty()) std::abort();
  if (!read) return 0;
  // An asynchronous function returns void, written >; one that modifies an
  // argument names it by its number.
  std::string written = signature.Asynchronous() ? ">"
                        : signature.resultArgument != 0 && signature.result == xllhost::TypeCode::None
                            ? std::to_string(signature.resultArgument)
                            : xllhost::Info(signature.result).letters;
  for (xllhost::TypeCode code : signature.args) written += xllhost::Info(code).letters;
  written += signature.markers;
  xllhost::Signature again;
  std::string whyAgain;
  if (!xllhost::ParseTypeText(written, &again, &whyAgain)) std::abort();
  if (again.args != signature.args || again.result != signature.result || again.markers != signature.markers)
    std::abort();
  return 0;
}
