// What the engine's tests share: a host whose names and functions are kept
// in memory, each function a body the test gives and each call recorded;
// and what a formula shows.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "engine/EngineHost.h"
#include "engine/Evaluation.h"
#include "workbook/CellsText.h"

class MemoryHost : public xllhost::EngineHost {
 public:
  using Body = std::function<xllhost::Value(const std::vector<xllhost::Value>&)>;

  void Define(const std::string& name, xllhost::Value value) {
    names_[name].kind = xllhost::AddInName::Kind::Value;
    names_[name].value = std::move(value);
  }
  // `typeText` must be one the type-text reader accepts.
  void Register(const std::string& name, const std::string& typeText, Body body) {
    Function& function = functions_[name];
    std::string why;
    xllhost::ParseTypeText(typeText, &function.signature, &why);
    function.body = std::move(body);
    function.text = name;
    xllhost::AddInName& entry = names_[name];
    entry.kind = xllhost::AddInName::Kind::Function;
    entry.function = xllhost::AddInFunction{&function.signature, function.text, static_cast<double>(functions_.size())};
  }
  void Retire(const std::string& name) { names_[name] = xllhost::AddInName{xllhost::AddInName::Kind::Retired, {}, {}}; }

  xllhost::AddInName Lookup(const std::string& name) const override {
    const auto found = names_.find(name);
    return found == names_.end() ? xllhost::AddInName{} : found->second;
  }
  xllhost::Value Call(const xllhost::AddInFunction& function, const std::vector<xllhost::Value>& args,
                      const xllhost::CalculatedCell& cell) override {
    {
      std::lock_guard<std::mutex> lock(calls_);  // cells may be calculated on several threads
      cells.push_back(std::string(cell.formula));
    }
    return functions_.at(std::string(function.text)).body(args);
  }

  std::vector<std::string> cells;  // the formula of each call's cell, in order

 private:
  struct Function {
    xllhost::Signature signature;
    std::string text;
    Body body;
  };
  std::map<std::string, Function> functions_;  // a map never moves what it holds
  std::map<std::string, xllhost::AddInName> names_;
  std::mutex calls_;
};

// What the formula shows in A1 of the book's first sheet; `why` says why it
// is not calculated.
inline std::string Shown(const xllhost::Workbook& book, xllhost::EngineHost& host, const std::string& text,
                         std::string* why = nullptr) {
  xllhost::Formula formula;
  std::string unread;
  if (!xllhost::ParseFormula(text, 0, 0, &formula, &unread)) return "unread: " + unread;
  const xllhost::Evaluated answer = xllhost::EvaluateFormula(
      book, host, formula, xllhost::CalculatedCell{xllhost::Place{}, xllhost::Area{0, 0, 0, 0}, text}, false);
  if (why != nullptr) *why = answer.notCalculated;
  return xllhost::Display(answer.value);
}

// A workbook of the cells, in their text form; empty when they do not read.
inline xllhost::Workbook BookOf(const std::string& cells) {
  xllhost::Workbook book;
  std::string why;
  if (!xllhost::ReadCells(cells, &book, &why)) ADD_FAILURE() << why;
  return book;
}

// Each formula, in a workbook of the cells given, shows what its case says.
inline void ExpectShown(const std::string& cells, std::initializer_list<std::pair<const char*, const char*>> cases) {
  const xllhost::Workbook book = BookOf(cells);
  MemoryHost host;
  for (const auto& [text, shown] : cases) EXPECT_EQ(Shown(book, host, text), shown) << text;
}
