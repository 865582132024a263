// X3DMath::SolveSystem: recursive elimination of the last unknown, and the
// class's stateless copy assignment.
#include <morvane/X3DMath.h>

#include <cmath>

#include "math/rounding.h"

namespace {

using morvane::math::Product;
using morvane::math::Round;

// The float nearest 0.0001 (9.99999975e-05): a first-row pivot strictly
// smaller in magnitude is replaced by row exchange.
constexpr float kPivotThreshold = 0.0001f;

// Each level's temporaries: at most three equations, rows four floats wide.
constexpr int kMaxRows = 3;
constexpr int kRowWidth = 4;

// Exchanges the first `columns` floats of two rows; the rest stay in place.
void SwapLeadingColumns(float* first, float* second, int columns) {
  for (int j = 0; j < columns; ++j) {
    const float held = first[j];
    first[j] = second[j];
    second[j] = held;
  }
}

}  // namespace

void X3DMath::SolveSystem(float (*const m)[4], int n, int k, float* const x) {
  const int last = n - 1;  // column of the unknown this level eliminates

  // A small pivot goes to the rows below in turn: every row that involves
  // the last unknown is exchanged with row 0, with no early stop and no
  // comparison of sizes. The caller's matrix keeps the permutation.
  if (k >= 2 && std::fabs(m[0][last]) < kPivotThreshold) {
    for (int i = 1; i < k; ++i) {
      if (m[i][last] != 0.0f) SwapLeadingColumns(m[0], m[i], n);
    }
  }

  // One equation: any nonzero coefficient divides, however small; a zero
  // one yields 0 rather than a division by zero.
  if (k <= 1) {
    const float coefficient = m[0][1];
    x[0] = coefficient == 0.0f
               ? 0.0f
               : Round(static_cast<double>(m[0][0]) / coefficient);
    return;
  }

  // Elimination: row 0 plus (-pivot / entry) times row i, which cancels the
  // last column while row 0 keeps weight one. Rows without the last unknown
  // are taken over as they are.
  const float pivot = m[0][last];
  float reduced[kMaxRows][kRowWidth];
  for (int i = 1; i < k; ++i) {
    float* const target = reduced[i - 1];
    const float entry = m[i][last];
    if (entry == 0.0f) {
      for (int j = 0; j < last; ++j) target[j] = m[i][j];
      continue;
    }
    const double factor = -static_cast<double>(pivot) / entry;
    for (int j = 0; j < last; ++j) {
      const double combined = Product(factor, m[i][j]) + m[0][j];
      target[j] = Round(combined);
    }
  }

  float lower[kMaxRows];
  SolveSystem(reduced, n - 1, k - 1, lower);

  // Back-substitution into row 0, subtracting in ascending column order and
  // rounding once. A zero pivot gives an infinity or NaN, by design.
  double rest = m[0][0];
  for (int j = 1; j < last; ++j) rest -= Product(lower[j - 1], m[0][j]);
  for (int j = 0; j < k - 1; ++j) x[j] = lower[j];
  x[k - 1] = Round(rest / pivot);
}

X3DMath& X3DMath::operator=(const X3DMath&) { return *this; }
