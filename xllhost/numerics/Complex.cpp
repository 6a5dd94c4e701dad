#include "numerics/Complex.h"

#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include "builtins/Aggregates.h"  // ForEachValue
#include "builtins/NumberTexts.h"  // ReadPlainNumber
#include "builtins/Operators.h"

namespace xllhost {
namespace {

using Number = std::complex<double>;

// A complex number, and the letter it was written with (0 for none).
struct Written {
  Number z;
  char suffix = 0;
};

// "x", "yi", "x+yi", "x-yi", "i", "-i", with i or j; anything else is
// #NUM!. An empty text is left uncalculated: Microsoft's help does not say
// what Excel makes of it.
bool ReadComplex(const BuiltinCall& c, const Value& value, Written* written, Value* error) {
  if (value.Is(xltypeErr)) return *error = value, false;
  if (value.Is(xltypeNum)) return written->z = Number(value.num, 0), true;
  if (!value.Is(xltypeStr)) return *error = ErrorValue(xlerrValue), false;
  const std::string& text = value.text;
  if (text.empty()) return *error = c.NotCalculated("a complex number written as an empty text"), false;
  double real = 0, imaginary = 0;
  const char last = text.back();
  if (last != 'i' && last != 'j') {
    if (!ReadPlainNumber(text, &real)) return *error = ErrorValue(xlerrNum), false;
    return written->z = Number(real, 0), true;
  }
  const std::string body = text.substr(0, text.size() - 1);
  size_t split = std::string::npos;  // where the imaginary part's sign stands
  for (size_t at = body.size(); at-- > 0;)
    if ((body[at] == '+' || body[at] == '-') && (at == 0 || (body[at - 1] != 'e' && body[at - 1] != 'E'))) {
      split = at;
      break;
    }
  const std::string realText = split == std::string::npos ? "" : body.substr(0, split);
  const std::string imaginaryText = split == std::string::npos ? body : body.substr(split);
  if (!realText.empty() && !ReadPlainNumber(realText, &real)) return *error = ErrorValue(xlerrNum), false;
  if (imaginaryText.empty() || imaginaryText == "+") imaginary = 1;
  else if (imaginaryText == "-") imaginary = -1;
  else if (!ReadPlainNumber(imaginaryText, &imaginary)) return *error = ErrorValue(xlerrNum), false;
  written->z = Number(real, imaginary);
  written->suffix = last;
  return true;
}

std::string Part(double number) { return Display(NumberValue(number + 0.0)); }  // + 0.0: never "-0"

// The number as Excel writes it: "3+4i", "i", "-2.5j", "7".
Value Text(Number z, char suffix) {
  if (!std::isfinite(z.real()) || !std::isfinite(z.imag())) return ErrorValue(xlerrNum);
  if (z.imag() == 0) return TextValue(Part(z.real()));
  std::string imaginary = Part(z.imag());
  if (imaginary == "1" || imaginary == "-1") imaginary.pop_back();
  imaginary += suffix == 0 ? 'i' : suffix;
  if (z.real() == 0) return TextValue(imaginary);
  return TextValue(Part(z.real()) + (z.imag() > 0 ? "+" : "") + imaginary);
}

// The suffix of numbers written together: one letter for all, else #VALUE!.
bool Agree(char* suffix, char other, Value* error) {
  if (other != 0 && *suffix != 0 && other != *suffix) return *error = ErrorValue(xlerrValue), false;
  if (other != 0) *suffix = other;
  return true;
}

// A function of one complex number, element by element.
Value OfOne(const BuiltinCall& c, Value (*f)(const Written&)) {
  return ElementWise({c.Scalar(0)}, [&](const std::vector<Value>& v) {
    Written z;
    Value error;
    return ReadComplex(c, v[0], &z, &error) ? f(z) : error;
  });
}

Value OfNumber(const BuiltinCall& c, Number (*f)(Number)) {
  return ElementWise({c.Scalar(0)}, [&](const std::vector<Value>& v) {
    Written z;
    Value error;
    return ReadComplex(c, v[0], &z, &error) ? Text(f(z.z), z.suffix) : error;
  });
}

// Two complex numbers: IMSUB and IMDIV.
Value OfTwo(const BuiltinCall& c, bool divide) {
  return ElementWise({c.Scalar(0), c.Scalar(1)}, [&](const std::vector<Value>& v) {
    Written a, b;
    Value error;
    char suffix = 0;
    if (!ReadComplex(c, v[0], &a, &error) || !ReadComplex(c, v[1], &b, &error) || !Agree(&suffix, a.suffix, &error) ||
        !Agree(&suffix, b.suffix, &error))
      return error;
    if (divide && b.z == Number(0, 0)) return ErrorValue(xlerrNum);
    return Text(divide ? a.z / b.z : a.z - b.z, suffix);
  });
}

// IMSUM and IMPRODUCT over every argument, a range's cells one by one.
Value Folded(const BuiltinCall& c, bool product) {
  Number total = product ? Number(1, 0) : Number(0, 0);
  char suffix = 0;
  Value error;
  const bool read = ForEachValue(c, [&](const Value& value, bool) {
    Written z;
    if (value.Is(xltypeNil)) return error = c.NotCalculated("IMSUM or IMPRODUCT of an empty cell"), false;
    if (!ReadComplex(c, value, &z, &error) || !Agree(&suffix, z.suffix, &error)) return false;
    total = product ? total * z.z : total + z.z;
    return true;
  });
  return read ? Text(total, suffix) : error;
}

Number Reciprocal(Number z) { return Number(1, 0) / z; }

}  // namespace

Value Complex(const BuiltinCall& c) {
  const Value suffixGiven = c.Given(2) ? c.Scalar(2) : TextValue("i");
  return ElementWise({c.Scalar(0), c.Scalar(1), suffixGiven}, [](const std::vector<Value>& v) {
    double real = 0, imaginary = 0;
    std::string suffix;
    Value error;
    if (!AsNumber(v[0], &real, &error) || !AsNumber(v[1], &imaginary, &error) || !AsText(v[2], &suffix, &error))
      return error;
    if (suffix.empty()) suffix = "i";
    if (suffix != "i" && suffix != "j") return ErrorValue(xlerrValue);
    return Text(Number(real, imaginary), suffix[0]);
  });
}
Value ImReal(const BuiltinCall& c) { return OfOne(c, [](const Written& z) { return NumberValue(z.z.real()); }); }
Value Imaginary(const BuiltinCall& c) { return OfOne(c, [](const Written& z) { return NumberValue(z.z.imag()); }); }
Value ImAbs(const BuiltinCall& c) { return OfOne(c, [](const Written& z) { return FiniteNumber(std::abs(z.z)); }); }
Value ImArgument(const BuiltinCall& c) {
  return OfOne(c, [](const Written& z) {
    return z.z == Number(0, 0) ? ErrorValue(xlerrDiv0) : NumberValue(std::atan2(z.z.imag(), z.z.real()));
  });
}
Value ImConjugate(const BuiltinCall& c) { return OfNumber(c, [](Number z) { return std::conj(z); }); }
Value ImSum(const BuiltinCall& c) { return Folded(c, false); }
Value ImProduct(const BuiltinCall& c) { return Folded(c, true); }
Value ImSub(const BuiltinCall& c) { return OfTwo(c, false); }
Value ImDiv(const BuiltinCall& c) { return OfTwo(c, true); }
Value ImPower(const BuiltinCall& c) {
  return ElementWise({c.Scalar(0), c.Scalar(1)}, [&](const std::vector<Value>& v) {
    Written z;
    double n = 0;
    Value error;
    if (!ReadComplex(c, v[0], &z, &error) || !AsNumber(v[1], &n, &error)) return error;
    if (z.z == Number(0, 0)) return n > 0 ? TextValue("0") : ErrorValue(xlerrNum);
    const double r = std::pow(std::abs(z.z), n), angle = n * std::arg(z.z);
    return Text(Number(r * std::cos(angle), r * std::sin(angle)), z.suffix);
  });
}
Value ImSqrt(const BuiltinCall& c) { return OfNumber(c, [](Number z) { return std::sqrt(z); }); }
Value ImExp(const BuiltinCall& c) { return OfNumber(c, [](Number z) { return std::exp(z); }); }
// The logarithms of 0 are no number: std::log answers an infinite part, which Text makes #NUM!.
Value ImLn(const BuiltinCall& c) { return OfNumber(c, [](Number z) { return std::log(z); }); }
Value ImLog10(const BuiltinCall& c) { return OfNumber(c, [](Number z) { return std::log(z) / std::log(10.0); }); }
Value ImLog2(const BuiltinCall& c) { return OfNumber(c, [](Number z) { return std::log(z) / std::log(2.0); }); }
Value ImSin(const BuiltinCall& c) { return OfNumber(c, [](Number z) { return std::sin(z); }); }
Value ImCos(const BuiltinCall& c) { return OfNumber(c, [](Number z) { return std::cos(z); }); }
Value ImTan(const BuiltinCall& c) { return OfNumber(c, [](Number z) { return std::tan(z); }); }
Value ImCot(const BuiltinCall& c) { return OfNumber(c, [](Number z) { return Reciprocal(std::tan(z)); }); }
Value ImSec(const BuiltinCall& c) { return OfNumber(c, [](Number z) { return Reciprocal(std::cos(z)); }); }
Value ImCsc(const BuiltinCall& c) { return OfNumber(c, [](Number z) { return Reciprocal(std::sin(z)); }); }
Value ImSinh(const BuiltinCall& c) { return OfNumber(c, [](Number z) { return std::sinh(z); }); }
Value ImCosh(const BuiltinCall& c) { return OfNumber(c, [](Number z) { return std::cosh(z); }); }
Value ImSech(const BuiltinCall& c) { return OfNumber(c, [](Number z) { return Reciprocal(std::cosh(z)); }); }
Value ImCsch(const BuiltinCall& c) { return OfNumber(c, [](Number z) { return Reciprocal(std::sinh(z)); }); }

}  // namespace xllhost
