// The native workbook reader on any bytes: it reads the file or refuses it
// with one line of reason, never more, never a crash (the sanitizers would
// say), and what it reads is text the text form's reader takes or refuses
// with a reason of its own.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "readers/Xlsx.h"
#include "workbook/CellsText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  xllhost::XlsxSource source;
  source.name = "Fuzz.xlsx";
  source.bytes = &bytes;
  std::string text, why;
  if (!xllhost::ReadXlsx(source, &text, &why)) {
    if (why.empty() || why.find('\n') != std::string::npos || why.rfind("Fuzz.xlsx ", 0) != 0) std::abort();
    return 0;
  }
  if (text.rfind("book Fuzz.xlsx\n", 0) != 0) std::abort();
  xllhost::Workbook book;
  std::string unread;
  if (!xllhost::ReadCells(text, &book, &unread) && unread.empty()) std::abort();
  return 0;
}
