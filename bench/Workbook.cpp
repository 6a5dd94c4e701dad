// Measures xllhost calculating workbooks of add-in cells: rows of
// =Add(An,Bn), and a chain =Add(Dn-1,Cn) down column D, with adder.xll, a
// function that only adds. Prints the cells calculated per second inside
// xllhost (Wine's start excluded), the growth of the time from 10,000 to
// 100,000 add-in cells, and the memory each cell of the workbook takes.
#include <windows.h>

#include <cstdio>
#include <cstddef>
#include <cstdlib>
#include <new>
#include <string>

#include "XllHost.h"

// Every allocation of the program counted, so that the memory a workbook
// takes is the bytes it holds, not what the heap keeps in reserve.
namespace {
long long LiveBytes;
}  // namespace

void* operator new(size_t size) {
  auto* block = static_cast<size_t*>(std::malloc(size + sizeof(std::max_align_t)));
  if (block == nullptr) throw std::bad_alloc();
  *block = size;
  LiveBytes += static_cast<long long>(size);
  return reinterpret_cast<char*>(block) + sizeof(std::max_align_t);
}
void operator delete(void* memory) noexcept {
  if (memory == nullptr) return;
  auto* block = reinterpret_cast<size_t*>(static_cast<char*>(memory) - sizeof(std::max_align_t));
  LiveBytes -= static_cast<long long>(*block);
  std::free(block);
}
void operator delete(void* memory, size_t) noexcept { operator delete(memory); }

namespace {

double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Measured {
  double seconds;         // calculating, the fastest of seven rounds
  double bytesPerCell;    // of the workbook's cells, built and calculated
  size_t addInCells, cells;
};

// A workbook of `rows` rows: A and B numbers, C =Add(An,Bn), D the chain.
Measured Measure(int rows) {
  Measured measured{1e9, 0, 0, 0};
  for (int round = 0; round < 7; ++round) {
    xllhost::State().book = xllhost::Workbook{};
    const long long before = LiveBytes;
    xllhost::Workbook& book = xllhost::State().book;
    book.AddSheet("Sheet1");
    std::string why;
    for (int r = 0; r < rows; ++r) {
      const std::string n = std::to_string(r + 1);
      book.SetValue(0, r, 0, xllhost::NumberValue(r));
      book.SetValue(0, r, 1, xllhost::NumberValue(2.0 * r));
      book.SetFormula(0, r, 2, "=Add(A" + n + ",B" + n + ")", nullptr, &why);
      book.SetFormula(0, r, 3, r == 0 ? "=Add(0,C1)" : "=Add(D" + std::to_string(r) + ",C" + n + ")", nullptr, &why);
    }
    book.Finish(&why);
    size_t calculated = 0;
    xllhost::CalculationSteps steps;
    steps.after = [&](const xllhost::FormulaCell&, const xllhost::Evaluated&, bool) { ++calculated; };
    const double start = Seconds();
    xllhost::CalculateBook(xllhost::Book(), xllhost::AddInsHost(), false, steps);
    const double seconds = Seconds() - start;
    const long long after = LiveBytes;
    measured.cells = book.CellCount();
    measured.addInCells = calculated;
    if (seconds < measured.seconds) measured.seconds = seconds;
    measured.bytesPerCell = static_cast<double>(after - before) / static_cast<double>(measured.cells);
    const xllhost::Cell* last = book.Find(0, rows - 1, 3);
    if (last == nullptr || xllhost::Display(last->value) != std::to_string(3LL * rows * (rows - 1) / 2)) {
      std::fprintf(stderr, "bench: the chain ends wrong: %s\n", last ? xllhost::Display(last->value).c_str() : "none");
      std::exit(2);
    }
  }
  return measured;
}

}  // namespace

int main() {
  xllhost::ExitOnCrash();
  xllhost::Behave().recordCalls = false;
  const std::string path = xllhost::BesideThisProgram("adder.xll");
  xllhost::AddIn adder = xllhost::Load(path);
  if (adder.module == nullptr || xllhost::Open(adder) != 1) {
    std::fprintf(stderr, "bench: cannot open adder.xll beside the program\n");
    return 2;
  }
  Measure(50000);  // a first workbook warms the heap and the caches
  const Measured small = Measure(5000), large = Measure(50000);
  const double rate = static_cast<double>(large.addInCells) / large.seconds;
  const double growth = large.seconds / small.seconds;
  const bool rateMet = rate >= 1e6, growthMet = growth <= 11, memoryMet = large.bytesPerCell < 200;
  std::printf("xllhost workbook benchmark, %d-bit: =Add(An,Bn) and a chain of =Add(Dn-1,Cn)\n\n",
              static_cast<int>(sizeof(void*) * 8));
  std::printf("| %-50s | %14s | %12s | %-7s |\n", "figure", "measured", "target", "");
  std::printf("|%s|%s|%s|%s|\n", std::string(52, '-').c_str(), std::string(16, '-').c_str(),
              std::string(14, '-').c_str(), std::string(9, '-').c_str());
  std::printf("| %-50s | %10.0f c/s | %12s | %-7s |\n", "add-in cells calculated per second (100,000)", rate,
              ">= 1000000", rateMet ? "met" : "MISSED");
  std::printf("| %-50s | %13.1fx | %12s | %-7s |\n", "time for 100,000 add-in cells over 10,000", growth, "<= 11x",
              growthMet ? "met" : "MISSED");
  std::printf("| %-50s | %12.0f B | %12s | %-7s |\n", "memory per cell of the workbook (200,000 cells)",
              large.bytesPerCell, "< 200 B", memoryMet ? "met" : "MISSED");
  xllhost::Close(adder);
  return rateMet && growthMet && memoryMet ? 0 : 1;
}
