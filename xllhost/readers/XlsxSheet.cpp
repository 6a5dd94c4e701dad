#include "readers/XlsxSheet.h"

#include <algorithm>
#include <cstdlib>
#include <map>

#include "readers/Limits.h"
#include "readers/SharedFormula.h"
#include "readers/Xml.h"
#include "readers/TextForm.h"

namespace xllhost {
namespace {

struct Block {
  int firstRow, lastRow, firstColumn, lastColumn;
  std::string line;                 // up to its values
  std::vector<std::string> values;  // row by row, "" for a cell without one
  size_t at;                        // where its line stands in the sheet's text
};

class SheetReader : public XmlReader {
 public:
  SheetReader(const SheetSource& source, std::string* lines) : source_(source), lines_(*lines) {}
  std::string why;
  size_t cells = 0;

  void Start(std::string_view name, const char** attributes) override {
    if (!why.empty()) return;
    if (name.size() == 1) {  // most elements: c, v, f, t
      Short(name[0], attributes);
      return;
    }
    text_ = nullptr;
    phonetic_ += name == "rPh";
    cell_.hasValue = cell_.hasValue || name == "is";
    if (name == "row") {
      const char* r = Attribute(attributes, "r");
      row_ = r != nullptr ? std::atoi(r) - 1 : row_ + 1;
      column_ = -1;
      while (!open_.empty() && blocks_[open_.front()].lastRow < row_) open_.erase(open_.begin());
    }
  }
  // The elements named by one letter, most of a sheet's: c, v, f, t, r.
  void Short(char name, const char** attributes) {
    text_ = name == 'f' ? &cell_.formulaText : name == 'v' ? &cell_.saved
            : name == 't' && phonetic_ == 0 ? &cell_.inlineText : nullptr;
    cell_.hasValue = cell_.hasValue || name == 'v';
    if (name == 'c') {
      cell_.Clear();
      const char *r = nullptr, *t = nullptr;
      for (const char** a = attributes; *a != nullptr; a += 2) {  // one pass: a sheet holds many cells
        if (a[0][0] == 'r' && a[0][1] == '\0') r = a[1];
        if (a[0][0] == 't' && a[0][1] == '\0') t = a[1];
      }
      if (r != nullptr ? !ReadCellReference(r, &cell_.row, &cell_.column) : (cell_.row = row_, cell_.column = column_ + 1) > LastColumn)
        why = "a cell " + std::string(r != nullptr ? r : "after the last column") + " outside the grid";
      column_ = cell_.column;
      cell_.type.assign(t != nullptr ? t : "n");
    } else if (name == 'f') {
      cell_.formula = true;
      const char* t = Attribute(attributes, "t");
      cell_.formulaType.assign(t != nullptr ? t : "");
      const char* ref = Attribute(attributes, "ref");
      cell_.ref.assign(ref != nullptr ? ref : "");
      const char* si = Attribute(attributes, "si");
      cell_.shared = si != nullptr ? std::atoi(si) : -1;
    }
  }
  void Text(std::string_view text) override {
    if (text_ != nullptr) text_->append(text);
  }
  void End(std::string_view name) override {
    text_ = nullptr;
    if (name.size() == 1) {
      if (name[0] == 'c' && why.empty()) Finish();
      return;
    }
    phonetic_ -= name == "rPh";
  }

  // The sheet's text with each block's line where its first cell stands.
  void Write(std::string* out) const {
    size_t from = 0;
    for (const Block& block : blocks_) {
      out->append(lines_, from, block.at - from);
      std::string line = block.line + " -> {";
      for (size_t i = 0; i < block.values.size(); ++i)
        line += (i == 0 ? "" : i % static_cast<size_t>(block.lastColumn - block.firstColumn + 1) == 0 ? ";" : ",") +
                block.values[i];
      AppendEscaped({line, "}"}, out);
      from = block.at;
    }
    out->append(lines_, from, std::string::npos);
  }

 private:
  // One record for every cell in turn, its texts cleared, not freed.
  struct Cell {
    int row = 0, column = 0;
    std::string type, formulaType, ref, formulaText, saved, inlineText;
    int shared = -1;
    bool formula = false, hasValue = false;
    void Clear() {
      for (std::string* text : {&type, &formulaType, &ref, &formulaText, &saved, &inlineText}) text->clear();
      shared = -1;
      formula = hasValue = false;
    }
  };

  // The value Excel saved, as the text form writes a constant; "" for none.
  // Written into `text`, which is cleared first.
  void Value(std::string* text) {
    text->clear();
    if (!cell_.hasValue) return;
    const std::string* saved = &cell_.saved;
    const std::string& type = cell_.type;
    if (type == "inlineStr") {
      *text = Quoted(cell_.inlineText);
      return;
    }
    if (type == "s") {
      const long index = std::strtol(saved->c_str(), nullptr, 10);
      if (index < 0 || static_cast<size_t>(index) >= source_.strings.size()) {
        why = "cell " + CellReference(cell_.row, cell_.column) + " names shared string " + *saved + " of " +
              std::to_string(source_.strings.size());
        return;
      }
      *text = Quoted(source_.strings[static_cast<size_t>(index)]);
      return;
    }
    if (type == "d") {
      if (!DateSerial(*saved, text)) text->clear();
      return;
    }
    if (type == "n" && saved->empty()) return;
    if (!ConstantText(type, *saved, text))
      why = "cell " + CellReference(cell_.row, cell_.column) + " holds " + Quoted(*saved) + ", which is no number";
  }

  // A cell of an open block other than its first holds only a saved value.
  Block* InBlock() {
    for (size_t index : open_) {
      Block& b = blocks_[index];
      if (cell_.row >= b.firstRow && cell_.row <= b.lastRow && cell_.column >= b.firstColumn &&
          cell_.column <= b.lastColumn)
        return &b;
    }
    return nullptr;
  }

  void Finish() {
    if (++cells % 4096 == 0) source_.progress(cells);
    std::string& value = value_;
    Value(&value);
    if (!why.empty()) return;
    if (Block* block = InBlock()) {
      block->values[static_cast<size_t>((cell_.row - block->firstRow) * (block->lastColumn - block->firstColumn + 1) +
                                        cell_.column - block->firstColumn)] = value;
      return;
    }
    const std::string where = CellReference(cell_.row, cell_.column);
    std::string& formula = cell_.formulaText;
    if (cell_.formula && cell_.formulaType == "shared" && cell_.shared >= 0) {
      if (!cell_.ref.empty() && !formula.empty()) {
        masters_[cell_.shared] = {cell_.row, cell_.column, formula};
      } else if (const auto master = masters_.find(cell_.shared); master != masters_.end()) {
        formula = MoveFormula(master->second.text, cell_.row - master->second.row, cell_.column - master->second.column);
      } else {
        cell_.formula = false;  // a shared formula never given: the cell keeps its value
      }
    }
    if (cell_.formula && cell_.formulaType == "array" && !cell_.ref.empty()) {
      StartBlock(where, formula, value);
    } else if (cell_.formula) {
      AppendEscaped({where, " =", formula, value.empty() ? "" : " -> ", value}, &lines_);
    } else if (!value.empty()) {
      AppendEscaped({where, " ", value}, &lines_);
    }
  }

  void StartBlock(const std::string& where, const std::string& formula, const std::string& value) {
    Block block{cell_.row, cell_.row, cell_.column, cell_.column, cell_.ref + " {=" + formula + "}", {}, lines_.size()};
    const size_t colon = cell_.ref.find(':');
    int lastRow = cell_.row, lastColumn = cell_.column;
    if (colon != std::string::npos && !ReadCellReference(cell_.ref.substr(colon + 1).c_str(), &lastRow, &lastColumn)) {
      why = "cell " + where + " has an array formula over " + cell_.ref + ", which is no rectangle of the grid";
      return;
    }
    block.lastRow = std::max(lastRow, cell_.row);
    block.lastColumn = std::max(lastColumn, cell_.column);
    const std::size_t cells = static_cast<std::size_t>(block.lastRow - block.firstRow + 1) *
                              static_cast<std::size_t>(block.lastColumn - block.firstColumn + 1);
    if (cells > MostBlockCells) {
      why = "cell " + where + " has an array formula over " + std::to_string(cells) + " cells, more than the " +
            std::to_string(MostBlockCells) + " xllhost keeps";
      return;
    }
    block.values.assign(cells, "");
    block.values[0] = value;
    blocks_.push_back(std::move(block));
    if (blocks_.back().lastRow > cell_.row || blocks_.back().lastColumn > cell_.column) open_.push_back(blocks_.size() - 1);
  }

  struct Master {
    int row, column;
    std::string text;
  };
  const SheetSource& source_;
  std::string& lines_;
  Cell cell_;
  std::string value_;  // the cell's saved value, its storage kept from cell to cell
  std::string* text_ = nullptr;
  int phonetic_ = 0, row_ = -1, column_ = -1;
  std::map<int, Master> masters_;
  std::vector<Block> blocks_;
  std::vector<size_t> open_;  // the blocks later cells may still fall in
};

}  // namespace

bool ReadSheetCells(const SheetSource& source, std::string* out, std::string* why) {
  std::string lines;
  SheetReader reader(source, &lines);
  XmlStream stream(reader);
  std::string said;
  const bool read =
      source.zip.Read(source.part,
                      [&](const char* bytes, std::size_t size) { return stream.Feed(bytes, size, &said) && reader.why.empty(); },
                      why);
  if (read && said.empty() && reader.why.empty()) stream.Finish(&said);
  if (!said.empty() || !reader.why.empty()) *why = source.part + ": " + (said.empty() ? reader.why : said);
  if (!read || !said.empty() || !reader.why.empty()) return false;
  reader.Write(out);
  return true;
}

}  // namespace xllhost
