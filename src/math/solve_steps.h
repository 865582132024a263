// The steps of the recursive elimination behind X3DMath::SolveSystem, one
// level at a time. SolveSystem runs them unrolled for each of its three
// square shapes; the x3dmath fuzzer runs them in a plain loop over the levels
// and holds the unrolled levels to that, bit for bit.
#ifndef MORVANE_SRC_MATH_SOLVE_STEPS_H_
#define MORVANE_SRC_MATH_SOLVE_STEPS_H_

#include <cmath>

#include "math/rounding.h"

namespace morvane::math {

// The float nearest 0.0001 (9.99999975e-05): a first-row pivot strictly
// smaller in magnitude is replaced by row exchange.
constexpr float kPivotThreshold = 0.0001f;

// Each level's temporaries: at most three equations, rows four floats wide.
constexpr int kMaxRows = 3;
constexpr int kRowWidth = 4;

// A small pivot goes to the rows below in turn: every row that involves the
// last unknown (column n - 1) is exchanged with row 0, with no early stop and
// no comparison of sizes; only the first n floats of the rows move. The
// caller's matrix keeps the permutation.
inline void ExchangeSmallPivot(float (*const m)[4], int n, int k) {
  const int last = n - 1;
  if (k < 2 || !(std::fabs(m[0][last]) < kPivotThreshold)) return;
  for (int i = 1; i < k; ++i) {
    if (m[i][last] == 0.0f) continue;
    for (int j = 0; j < n; ++j) {
      const float held = m[0][j];
      m[0][j] = m[i][j];
      m[i][j] = held;
    }
  }
}

// One equation: any nonzero coefficient divides, however small; a zero one
// yields 0 rather than a division by zero.
inline float SolveOne(const float* row) {
  const float coefficient = row[1];
  return coefficient == 0.0f ? 0.0f : Quotient(row[0], coefficient);
}

// Elimination of column `last` from `row`: row 0 plus (-pivot / entry) times
// the row, which cancels the last column while row 0 keeps weight one. A row
// without the last unknown is taken over as it is.
inline void Reduce(const float* first, const float* row, int last, float pivot,
                   float* target) {
  const float entry = row[last];
  if (entry == 0.0f) {
    for (int j = 0; j < last; ++j) target[j] = row[j];
    return;
  }
  const double factor = -static_cast<double>(pivot) / entry;
  for (int j = 0; j < last; ++j) {
    const double combined = Product(factor, row[j]) + first[j];
    target[j] = Round(combined);
  }
}

// Back-substitution into row 0, subtracting in ascending column order and
// rounding once. A zero pivot gives an infinity or NaN, by design.
inline float BackSubstitute(const float* first, const float* lower, int last,
                            float pivot) {
  double rest = first[0];
  for (int j = 1; j < last; ++j) rest -= Product(lower[j - 1], first[j]);
  return Round(rest / pivot);
}

}  // namespace morvane::math

#endif  // MORVANE_SRC_MATH_SOLVE_STEPS_H_
