// Working precision of the math operations and the points where they round.
//
// Products, sums and quotients are carried in double; a value is rounded to
// float only where an operation stores it. Every rounding goes through a
// float variable: with excess precision (x87) the compiler is told to store
// such variables for real (see src/CMakeLists.txt), so the stored value is a
// true float and not a wider register.
#ifndef MORVANE_SRC_MATH_ROUNDING_H_
#define MORVANE_SRC_MATH_ROUNDING_H_

namespace morvane::math {

// The working-precision value rounded to float.
inline float Round(double value) {
  const float rounded = static_cast<float>(value);
  return rounded;
}

// minuend - subtrahend, rounded to float: the difference taken in double
// and then rounded. Taken directly in float arithmetic it is the same value,
// bit for bit: rounding an exact sum, difference, product or quotient of two
// floats first to double and then to float gives the float that rounding it
// once gives, because double carries more than twice float's precision plus
// two bits (53 >= 2 * 24 + 2), and double's wider range keeps overflow and
// subnormal results the same too. So the float operation, a single
// instruction, stands in for the two conversions, the subtraction in double
// and the rounding.
inline float Difference(float minuend, float subtrahend) {
  const float difference = minuend - subtrahend;
  return difference;
}

// numerator / denominator, rounded to float: the same reasoning as for
// Difference makes the float division the quotient taken in double and
// rounded.
inline float Quotient(float numerator, float denominator) {
  const float quotient = numerator / denominator;
  return quotient;
}

// factor * value at working precision (exact for two floats).
inline double Product(double factor, float value) {
  const double product = factor * value;
  return product;
}

}  // namespace morvane::math

#endif  // MORVANE_SRC_MATH_ROUNDING_H_
