// xlCoerce's conversions, as a table: a value, the types asked for, the
// interface, and what comes out (or nothing, when it cannot convert).
#include <gtest/gtest.h>

#include <cmath>

#include "records/Coerce.h"

namespace {

TEST(Coerce, ConvertsAsAWorksheetConvertsArguments) {
  using xllhost::Interface;
  xllhost::Value array;
  array.xltype = xltypeMulti;
  array.rows = array.columns = 1;
  array.elements = {xllhost::TextValue(" 2.5 ")};
  const struct {
    xllhost::Value from;
    std::uint32_t mask;
    Interface via;
    const char* shown;  // null: it cannot convert
  } cases[] = {
      {xllhost::TextValue(" 2.5 "), xltypeNum, Interface::Excel4, "2.5"},
      {xllhost::TextValue("true"), xltypeBool, Interface::Excel4, "TRUE"},
      {xllhost::NumberValue(1.0 / 3), xltypeStr, Interface::Excel4, "0.333333333333333"},
      {xllhost::NumberValue(-7.9), xltypeInt, Interface::Excel4, "-7"},
      {xllhost::NumberValue(40000), xltypeInt, Interface::Excel4, nullptr},  // past 16 bits
      {xllhost::NumberValue(40000), xltypeInt, Interface::Excel12, "40000"},
      {xllhost::TextValue("x"), xltypeNum, Interface::Excel4, nullptr},
      {array, xltypeNum, Interface::Excel4, "2.5"},                            // the top-left element
      {xllhost::NumberValue(3), xltypeMulti, Interface::Excel4, "3"},          // a one-element array
      {xllhost::TextValue("4"), xltypeNum | xltypeStr, Interface::Excel4, "4"},  // already one of them
      {xllhost::NumberValue(NAN), xltypeInt, Interface::Excel12, nullptr},  // no cell holds it
      {xllhost::TextValue("1E-310"), xltypeNum, Interface::Excel4, "9.99999999999997E-311"},  // its nearest double
      {xllhost::CellReference(0, 0), xltypeNil, Interface::Excel4, ""},       // a bare reference: an empty cell
      {xllhost::ErrorValue(xlerrNA), 0, Interface::Excel4, "#N/A"},           // no mask: as it is
  };
  for (const auto& c : cases) {
    xllhost::Value result;
    bool converted = xllhost::CoerceValue(c.from, c.mask, c.via, &result);
    EXPECT_EQ(converted, c.shown != nullptr) << xllhost::Display(c.from) << " to mask " << c.mask;
    if (converted && c.shown) {
      EXPECT_EQ(xllhost::Display(result), c.shown) << xllhost::Display(c.from);
    }
  }
}

}  // namespace
