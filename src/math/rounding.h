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

// minuend - subtrahend, rounded to float.
inline float Difference(float minuend, float subtrahend) {
  const double difference = static_cast<double>(minuend) - subtrahend;
  return Round(difference);
}

// factor * value at working precision (exact for two floats).
inline double Product(double factor, float value) {
  const double product = factor * value;
  return product;
}

}  // namespace morvane::math

#endif  // MORVANE_SRC_MATH_ROUNDING_H_
