// Measures xllhost calculating workbooks of add-in cells: rows of
// =Add(An,Bn), and a chain =Add(Dn-1,Cn) down column D, with adder.xll, a
// function that only adds. Prints the cells calculated per second inside
// xllhost (Wine's start excluded) by the fastest round, the growth of the
// time from 10,000 to 100,000 add-in cells by the median ratio of rounds
// that calculate both, and the memory each cell of the workbook takes.
// Then 100,000 cells of =Work(An), thread-safe and a few microseconds each,
// on one thread and on two: the speed-up, by the fastest round of each.
// Last, 100,000 cells of =Later(An), each answered from the add-in's worker
// thread through xlAsyncReturn, against =Echo(An), answered at once: the
// rate of the first over the second.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstddef>
#include <cstdlib>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "functions/AsyncCalls.h"
#include "session/XllHost.h"

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

constexpr int WorkRows = 100000;

// A workbook of `rows` rows: A and B numbers, C =Add(An,Bn), D the chain.
xllhost::Workbook Build(int rows) {
  xllhost::Workbook book;
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
  return book;
}

// Calculates the workbook of `rows` rows; answers the seconds it took, and
// the add-in cells calculated.
double Calculate(xllhost::Workbook& book, int rows, size_t* calculated) {
  *calculated = 0;
  xllhost::CalculationSteps steps;
  steps.after = [&](const xllhost::FormulaCell&, const xllhost::Evaluated&, const xllhost::CellRole&, int) {
    ++*calculated;
  };
  const double start = Seconds();
  xllhost::CalculateBook(book, xllhost::AddInsHost(), false, steps);
  const double seconds = Seconds() - start;
  const xllhost::Cell* last = book.Find(0, rows - 1, 3);
  if (last == nullptr || xllhost::Display(last->value) != std::to_string(3LL * rows * (rows - 1) / 2)) {
    std::fprintf(stderr, "bench: the chain ends wrong: %s\n", last ? xllhost::Display(last->value).c_str() : "none");
    std::exit(2);
  }
  return seconds;
}

// 100,000 rows of a number in A and =Function(An) in B, of a function that
// answers its argument.
xllhost::Workbook BuildWork(const std::string& function = "Work") {
  xllhost::Workbook book;
  book.AddSheet("Sheet1");
  std::string why;
  for (int r = 0; r < WorkRows; ++r) {
    book.SetValue(0, r, 0, xllhost::NumberValue(r));
    book.SetFormula(0, r, 1, "=" + function + "(A" + std::to_string(r + 1) + ")", nullptr, &why);
  }
  book.Finish(&why);
  return book;
}

double CalculateWork(xllhost::Workbook& book, int threads) {
  xllhost::CalculationSteps steps;
  const double start = Seconds();
  xllhost::CalculateBook(book, xllhost::AddInsHost(threads), false, steps, threads);
  xllhost::EndAsynchronousCalls();
  const double seconds = Seconds() - start;
  const xllhost::Cell* last = book.Find(0, WorkRows - 1, 1);
  if (last == nullptr || xllhost::Display(last->value) != std::to_string(WorkRows - 1)) {
    std::fprintf(stderr, "bench: column B ends wrong on %d threads\n", threads);
    std::exit(2);
  }
  return seconds;
}

// The fastest of `rounds` runs of each of two calculations, interleaved,
// each round in the other order: a busy moment of the machine only slows a
// round, so each is judged by its fastest.
template <typename First, typename Second>
std::pair<double, double> FastestOfEach(int rounds, First first, Second second) {
  double firstFastest = 1e9, secondFastest = 1e9;
  for (int round = 0; round < rounds; ++round) {
    if (round % 2 == 0) firstFastest = std::min(firstFastest, first());
    secondFastest = std::min(secondFastest, second());
    if (round % 2 == 1) firstFastest = std::min(firstFastest, first());
  }
  return {firstFastest, secondFastest};
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
  constexpr int SmallRows = 5000, LargeRows = 50000, Rounds = 15;
  xllhost::Workbook small = Build(SmallRows);
  const long long before = LiveBytes;
  xllhost::Workbook large = Build(LargeRows);
  size_t calculated = 0;
  Calculate(large, LargeRows, &calculated);  // also warms the heap and the caches
  const double bytesPerCell = static_cast<double>(LiveBytes - before) / static_cast<double>(large.CellCount());
  // The sizes interleaved, each round in the other order, so that a busy
  // moment of the machine falls on both; the growth is the median ratio.
  double fastest = 1e9;
  std::vector<double> ratios;
  for (int round = 0; round < Rounds; ++round) {
    size_t smallCells = 0;
    double smallSeconds = 0, largeSeconds = 0;
    if (round % 2 == 0) smallSeconds = Calculate(small, SmallRows, &smallCells);
    largeSeconds = Calculate(large, LargeRows, &calculated);
    if (round % 2 == 1) smallSeconds = Calculate(small, SmallRows, &smallCells);
    fastest = std::min(fastest, largeSeconds);
    ratios.push_back(largeSeconds / smallSeconds);
  }
  std::nth_element(ratios.begin(), ratios.begin() + Rounds / 2, ratios.end());
  const double rate = static_cast<double>(calculated) / fastest;
  const double growth = ratios[Rounds / 2];
  // What one call of Work takes alone, for the row's label.
  using WorkFunction = double(WINAPI*)(double);
  const auto workAlone =
      reinterpret_cast<WorkFunction>(reinterpret_cast<void (*)()>(GetProcAddress(adder.module, "Work")));
  const double aloneStart = Seconds();
  for (int i = 0; i < 10000; ++i) workAlone(i);
  const double workMicroseconds = (Seconds() - aloneStart) * 1e6 / 10000;
  xllhost::Workbook work = BuildWork();
  const auto [oneFastest, twoFastest] =
      FastestOfEach(10, [&] { return CalculateWork(work, 1); }, [&] { return CalculateWork(work, 2); });
  const double speedUp = oneFastest / twoFastest;
  // The same answers, from Echo and from Later's worker thread.
  xllhost::Workbook echoes = BuildWork("Echo"), answeredLater = BuildWork("Later");
  const auto [echoFastest, laterFastest] =
      FastestOfEach(6, [&] { return CalculateWork(echoes, 1); }, [&] { return CalculateWork(answeredLater, 1); });
  const double asyncShare = echoFastest / laterFastest;
  const bool rateMet = rate >= 1e6, growthMet = growth <= 11, memoryMet = bytesPerCell < 200, threadsMet = speedUp >= 1.8,
             asyncMet = asyncShare >= 0.5;
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
              bytesPerCell, "< 200 B", memoryMet ? "met" : "MISSED");
  char label[64];
  std::snprintf(label, sizeof label, "thread-safe cells of %.1f us, 2 threads over 1", workMicroseconds);
  std::printf("| %-50s | %13.2fx | %12s | %-7s |\n", label, speedUp, ">= 1.8x", threadsMet ? "met" : "MISSED");
  std::printf("| %-50s | %13.2fx | %12s | %-7s |\n", "asynchronous cells answered by a thread over alone", asyncShare,
              ">= 0.5x", asyncMet ? "met" : "MISSED");
  xllhost::Close(adder);
  return rateMet && growthMet && memoryMet && threadsMet && asyncMet ? 0 : 1;
}
