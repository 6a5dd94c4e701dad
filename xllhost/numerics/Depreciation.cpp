#include "numerics/Depreciation.h"

#include <algorithm>
#include <cmath>

#include "builtins/Operators.h"
#include "builtins/ScalarFunctions.h"  // NumericN

namespace xllhost {

// SLN(cost, salvage, life): the depreciation of each period, in a
// straight line.
Value Sln(const BuiltinCall& c) {
  return NumericN(c, 3, [](const double* x) {
    return x[2] == 0 ? ErrorValue(xlerrDiv0) : FiniteNumber((x[0] - x[1]) / x[2]);
  });
}
// SYD(cost, salvage, life, per): the sum-of-years' digits depreciation of
// period `per`, from 1 to `life`.
Value Syd(const BuiltinCall& c) {
  return NumericN(c, 4, [](const double* x) {
    const double life = x[2], per = x[3];
    if (life <= 0 || per <= 0 || per > life) return ErrorValue(xlerrNum);
    return FiniteNumber((x[0] - x[1]) * (life - per + 1) * 2 / (life * (life + 1)));
  });
}

// DDB: each period takes `factor` / life of the value left, never below
// the salvage. A period that is not whole is left uncalculated: Microsoft's
// help does not say how Excel divides one.
Value Ddb(const BuiltinCall& c) {
  return NumericN(c, 5, [&](const double* x) {
    const double cost = x[0], salvage = x[1], life = x[2], period = x[3], factor = std::isnan(x[4]) ? 2 : x[4];
    if (cost < 0 || salvage < 0 || !(life > 0) || !(period > 0) || period > life || !(factor > 0))
      return ErrorValue(xlerrNum);
    if (period != std::floor(period)) return c.NotCalculated("DDB of a period that is not whole");
    double left = cost, taken = 0;
    for (double p = 1; p <= period; ++p) {
      taken = std::max(0.0, std::min(left * factor / life, left - salvage));
      left -= taken;
    }
    return FiniteNumber(taken);
  });
}

// DB: the fixed-declining balance, its rate 1 - (salvage/cost)^(1/life)
// rounded to three places; the first period counts `month` months (12 when
// absent), and the period after the life the months left over.
Value Db(const BuiltinCall& c) {
  return NumericN(c, 5, [](const double* x) {
    const double cost = x[0], salvage = x[1], life = std::trunc(x[2]), period = std::trunc(x[3]);
    const double month = std::isnan(x[4]) ? 12 : std::trunc(x[4]);
    if (!(cost > 0) || salvage < 0 || life < 1 || period < 1 || month < 1 || month > 12 ||
        period > (month < 12 ? life + 1 : life))
      return ErrorValue(xlerrNum);
    const double rate = std::round((1 - std::pow(salvage / cost, 1 / life)) * 1000) / 1000;
    double total = cost * rate * month / 12, taken = total;
    for (double p = 2; p <= period; ++p) {
      taken = p == life + 1 ? (cost - total) * rate * (12 - month) / 12 : (cost - total) * rate;
      total += taken;
    }
    return FiniteNumber(taken);
  });
}

// VDB(cost, salvage, life, start, end, [factor], [no_switch]): the
// declining balance of each period, switching to the straight line over
// the life left once that is more (unless no_switch), summed from `start`
// to `end`; a part of a period takes that part of its depreciation. A life
// that is not whole, or a part of a period once the straight line has
// taken over, is left uncalculated: Microsoft's help does not say how Excel
// divides them.
Value Vdb(const BuiltinCall& c) {
  bool noSwitch = false;
  Value error;
  if (c.Given(6) && !AsBoolean(c.Scalar(6), &noSwitch, &error)) return error;
  return NumericN(c, 6, [&](const double* x) {
    const double cost = x[0], salvage = x[1], life = x[2], start = x[3], end = x[4];
    const double factor = std::isnan(x[5]) ? 2 : x[5];
    if (cost < 0 || salvage < 0 || life <= 0 || start < 0 || end < start || end > life || factor <= 0)
      return ErrorValue(xlerrNum);
    if (life != std::floor(life)) return c.NotCalculated("VDB over a life that is not whole");
    double book = cost, total = 0;
    bool straight = false;
    for (double period = 0; period < std::ceil(end); ++period) {
      const double declining = std::min(book * factor / life, std::max(book - salvage, 0.0));
      const double line = (book - salvage) / (life - period);
      straight = straight || (!noSwitch && line > declining);
      const double taken = straight ? line : declining;
      const double part = std::min(end, period + 1) - std::max(start, period);
      if (part > 0 && part < 1 && straight) return c.NotCalculated("VDB over part of a period of the straight line");
      if (part > 0) total += taken * part;
      book -= taken;
    }
    return FiniteNumber(total);
  });
}

}  // namespace xllhost
