// The workbook calculated: each formula cell after those it needs, arrays
// laid over their blocks, and only what an add-in reaches when asked.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "EngineTest.h"
#include "engine/Calculation.h"

namespace {

class Calculating : public ::testing::Test {
 protected:
  void Read(const std::string& cells) {
    std::string why;
    ASSERT_TRUE(xllhost::ReadCells(cells, &book, &why)) << why;
  }
  // Calculates the book; answers why each calculated cell is not, "" when it is.
  std::map<std::string, std::string> Calculate(bool onlyAddInCells) {
    std::map<std::string, std::string> calculated;
    xllhost::CalculationSteps steps;
    steps.after = [&](const xllhost::FormulaCell& cell, const xllhost::Evaluated& answer, const xllhost::CellRole&, int) {
      calculated[xllhost::CellName(cell.row, cell.column)] = answer.notCalculated;
    };
    xllhost::CalculateBook(book, host, onlyAddInCells, steps);
    return calculated;
  }
  std::string Value(int row, int column) { return xllhost::Display(book.Find(0, row, column)->value); }

  xllhost::Workbook book;
  MemoryHost host;
};

TEST_F(Calculating, CalculatesCellsAfterThoseTheyNeedAndLaysArraysOverTheirBlocks) {
  Read("A1 =B1*2\nB1 =C1+1\nC1 1\nA2:C3 {={1,2;3,4}}\nA4:B4 {=C1}\nD1 =D2\nD2 =D1\nD3 =D1+1\n");
  auto why = Calculate(false);
  EXPECT_EQ(Value(0, 0), "4");
  EXPECT_EQ(Value(1, 1), "2");
  EXPECT_EQ(Value(2, 2), "#N/A") << "beyond the answer";
  EXPECT_EQ(Value(3, 1), "1") << "one value fills the block";
  EXPECT_EQ(why["D1"], "a circular reference: Sheet1!D1 -> Sheet1!D2 -> Sheet1!D1");
  EXPECT_EQ(why["D3"], "needs Sheet1!D1, which is not calculated");
}

TEST_F(Calculating, RecalculatesOnlyWhatAnAddInReachesWhenAsked) {
  host.Register("TWICE", "BB", [](const std::vector<xllhost::Value>& args) {
    return xllhost::NumberValue(args[0].num * 2);
  });
  Read("A1 5\nB1 =Twice(A1) -> 0\nC1 =B1+1 -> 0\nD1 =A1+1 -> 99\n");
  const auto calculated = Calculate(true);
  EXPECT_EQ(Value(0, 1), "10");
  EXPECT_EQ(Value(0, 2), "11") << "it needs the add-in's cell";
  EXPECT_EQ(Value(0, 3), "99") << "it keeps what Excel saved";
  EXPECT_EQ(calculated.count("D1"), 0u);
}

TEST_F(Calculating, ReadsNamesAsExcelAllowsThemAndLeavesOnlyAnUnreadNamesCellsNotCalculated) {
  // The text form writes a backslash twice.
  Read("A1 2\nname _1234\\\\5678\\\\90 =Sheet1!$A$1\nname R1C1 =3\nB1 =_1234\\\\5678\\\\90*2\nC1 =R1C1+1\n");
  auto why = Calculate(false);
  EXPECT_EQ(Value(0, 1), "4");
  EXPECT_NE(why["C1"].find("R1C1"), std::string::npos) << why["C1"];
}

TEST(CellsText, RefusesABlockPastWhatXllhostKeepsInsteadOfTakingItsMemory) {
  xllhost::Workbook book;
  std::string why;
  EXPECT_FALSE(xllhost::ReadCells("A1:XFD1048576 {=F()}\n", &book, &why));
  EXPECT_NE(why.find("more than the 1048576 xllhost keeps"), std::string::npos) << why;
}

// Excel follows a reference that OFFSET or INDIRECT makes as it goes;
// xllhost orders cells by the references written, so such a cell may be
// reached before it is calculated: never read stale.
TEST_F(Calculating, LeavesNotCalculatedACellWhoseIndirectReferenceIsNotCalculatedYet) {
  Read("A1 =INDIRECT(\"B1\")\nB1 =1+1\nA2 =INDIRECT(\"C1\")*2\nC1 3\n");
  auto why = Calculate(false);
  EXPECT_EQ(why["A1"], "needs Sheet1!B1, which is not calculated");
  EXPECT_EQ(Value(1, 0), "6");
}

// On several threads, the thread-safe cells run on the calculation threads
// as soon as what they need is calculated, every other cell in its turn on
// the calling thread, and each is reported in the order of one thread.
TEST_F(Calculating, GivesOnSeveralThreadsWhatOneGivesInTheSameOrder) {
  auto slow = [](double factor) {
    return [factor](const std::vector<xllhost::Value>& args) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
      return xllhost::NumberValue(args[0].num * factor);
    };
  };
  host.Register("SAFE", "BB$", slow(2));
  host.Register("UNSAFE", "BB", slow(3));
  std::string cells;
  for (int row = 1; row <= 20; ++row) {
    const std::string r = std::to_string(row), above = std::to_string(row - 1);
    cells += "A" + r + " " + r + "\nB" + r + " =Safe(A" + r + ")\nC" + r + " =Unsafe(B" + r + ")\n";
    cells += "D" + r + (row == 1 ? " =Safe(C1)" : " =Safe(D" + above + "+C" + r + ")") + "\n";
  }
  cells += "E1 =Safe(E2)\nE2 =Safe(E1)\nE3 =Safe(D20)+Unsafe(1)\n";
  Read(cells);
  struct Reported {
    std::vector<std::string> cells;
    std::map<std::string, int> threads;
  };
  auto calculate = [&](int threads) {
    Reported reported;
    std::mutex beginning;
    xllhost::CalculationSteps steps;
    steps.before = [&](const xllhost::FormulaCell& cell, int thread) {
      std::lock_guard<std::mutex> lock(beginning);
      reported.threads[xllhost::CellName(cell.row, cell.column)] = thread;
    };
    steps.after = [&](const xllhost::FormulaCell& cell, const xllhost::Evaluated& answer, const xllhost::CellRole&,
                      int) {
      reported.cells.push_back(xllhost::CellName(cell.row, cell.column) + " " + xllhost::Display(answer.value) + " " +
                               answer.notCalculated);
    };
    xllhost::CalculateBook(book, host, false, steps, threads);
    return reported;
  };
  const Reported one = calculate(1), four = calculate(4);
  EXPECT_EQ(four.cells, one.cells);
  EXPECT_EQ(Value(19, 3), one.cells.empty() ? "" : Value(19, 3));
  int onCalculationThreads = 0;
  for (const auto& [cell, thread] : four.threads) {
    const bool safe = cell[0] == 'B' || cell[0] == 'D';
    EXPECT_EQ(thread != 0, safe) << cell << " on thread " << thread;
    onCalculationThreads += thread >= 2;
  }
  EXPECT_GT(onCalculationThreads, 0);
}

// A host whose asynchronous function is answered only between rounds: each
// call awaits, and AwaitAnswers answers every call made so far with twice
// its number. A cell meets its calls again, in order, when calculated again.
class AwaitingHost : public MemoryHost {
 public:
  xllhost::Value Call(const xllhost::AddInFunction&, const std::vector<xllhost::Value>& args,
                      const xllhost::CalculatedCell& cell) override {
    Cell& at = cells_[std::string(cell.formula)];
    if (at.waits) return xllhost::ErrorValue(xlerrGettingData);
    if (at.next == at.calls.size()) at.calls.push_back({args[0].num, std::nullopt});
    const std::optional<double> answer = at.calls[at.next++].second;
    at.waits = !answer;
    return answer ? xllhost::NumberValue(*answer) : xllhost::ErrorValue(xlerrGettingData);
  }
  bool AwaitsAnswer(const xllhost::CalculatedCell& cell) override {
    Cell& at = cells_[std::string(cell.formula)];
    at.next = 0;
    return std::exchange(at.waits, false);
  }
  void AwaitAnswers() override {
    ++rounds;
    for (auto& [formula, at] : cells_)
      for (auto& [number, answer] : at.calls)
        if (!answer) answer = 2 * number;
  }

  int rounds = 0;

 private:
  struct Cell {
    std::vector<std::pair<double, std::optional<double>>> calls;  // each call's number, and its answer once come
    size_t next = 0;
    bool waits = false;
  };
  std::map<std::string, Cell> cells_;
};

TEST(CalculatingInRounds, CellsAwaitingAnswersAndThoseThatNeedThemAreCalculatedOnceTheAnswersCame) {
  AwaitingHost host;
  host.Register("LATER", ">BX", {});
  xllhost::Workbook book;
  std::string why;
  ASSERT_TRUE(xllhost::ReadCells("A1 =Later(1)\nB1 =A1+1\nC1 =Later(B1)+Later(5)\nD1 7\n", &book, &why)) << why;
  std::map<std::string, int> reported;
  xllhost::CalculationSteps steps;
  steps.after = [&](const xllhost::FormulaCell& cell, const xllhost::Evaluated& answer, const xllhost::CellRole&, int) {
    ++reported[xllhost::CellName(cell.row, cell.column) + " " + xllhost::Display(answer.value)];
  };
  xllhost::CalculateBook(book, host, false, steps);
  const std::map<std::string, int> once = {{"A1 2", 1}, {"B1 3", 1}, {"C1 16", 1}};
  EXPECT_EQ(reported, once);
  EXPECT_EQ(host.rounds, 3) << "A1; then C1's first call, after B1; then its second";
}

}  // namespace
